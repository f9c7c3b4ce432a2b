#!/usr/bin/python3
"""A raster too large to read whole, read by window: a sparse tiled 9000 × 8000 Byte GeoTIFF with
overviews (72,000,000 cells, of which a few blocks hold data). --at and --profile give GDAL's
cells, --info counts every cell, --render --size draws a picture fitted into the size asked
whose world file places its pixels, and --export writes every cell as GDAL reads it."""
import csv
import io
import os
import subprocess
import sys
import tempfile

import numpy
from osgeo import gdal, osr

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "peer"))
from map_dump import report  # noqa: E402

gdal.UseExceptions()

COLS, ROWS, BLOCK = 9000, 8000, 256
TRANSFORM = (139.0, 0.0001, 0.0, 36.0, 0.0, -0.0001)
NO_DATA = 255
# The blocks written, by their first column and row.
BLOCKS = [(0, 0), (4096, 3072), (4352, 3072), (8704, 7680)]
# (picture, region or None, size asked, size drawn)
PICTURES = [("whole.png", None, "300x300", (300, 267)),
            ("region.png", (4096, 3072, 512, 256), "128x128", (128, 64))]


def make(path):
    dataset = gdal.GetDriverByName("GTiff").Create(
        path, COLS, ROWS, 1, gdal.GDT_Byte,
        ["TILED=YES", "BLOCKXSIZE=%d" % BLOCK, "BLOCKYSIZE=%d" % BLOCK, "COMPRESS=DEFLATE",
         "SPARSE_OK=TRUE"])
    reference = osr.SpatialReference()
    reference.ImportFromEPSG(6668)
    dataset.SetProjection(reference.ExportToWkt())
    dataset.SetGeoTransform(TRANSFORM)
    band = dataset.GetRasterBand(1)
    band.SetNoDataValue(NO_DATA)
    rng = numpy.random.default_rng(7)
    for col, row in BLOCKS:
        cells = rng.integers(1, 250, size=(BLOCK, BLOCK)).astype(numpy.uint8)
        cells[3, 5] = NO_DATA
        band.WriteArray(cells, col, row)
    dataset.BuildOverviews("NEAREST", [2, 4, 8, 16])
    dataset = None


def fields(output):
    return [line.split(": ", 1) for line in output.splitlines()]


def check_cells(talvo, path, cells, problems):
    for col, row in [(0, 0), (5, 3), (4100, 3100), (4400, 3327), (8999, 7999), (2000, 5000)]:
        run = subprocess.run([talvo, "--at", path, "%d:%d" % (col, row)], capture_output=True,
                             text=True)
        got = fields(run.stdout)
        if run.returncode != 0 or len(got) != 5:
            problems.append("--at %d:%d: exit %d %s" % (col, row, run.returncode, run.stderr))
            continue
        height = got[-1][1]
        expected = cells[row, col]
        if (int(got[2][1]), int(got[3][1])) != (col, row) or \
           (expected != NO_DATA and height != "%d.0" % expected) or \
           (expected == NO_DATA and height[0].isdigit()):
            problems.append("--at %d:%d: %r, GDAL %d" % (col, row, got, expected))
    start, end = (4090, 3080), (4600, 3300)
    point = lambda c, r: "%r,%r" % (TRANSFORM[0] + (c + 0.5) * TRANSFORM[1],
                                    TRANSFORM[3] + (r + 0.5) * TRANSFORM[5])
    run = subprocess.run([talvo, "--profile", path, "--from", point(*start), "--to",
                          point(*end)], capture_output=True, text=True)
    samples = list(csv.DictReader(io.StringIO(run.stdout)))
    if run.returncode != 0 or len(samples) != end[0] - start[0] + 1:
        problems.append("--profile: exit %d, %d samples %s" % (run.returncode, len(samples),
                                                                run.stderr))
    for sample in samples:
        expected = cells[int(sample["row"]), int(sample["col"])]
        if sample["height_m"] != ("" if expected == NO_DATA else "%d.0" % expected):
            problems.append("--profile %s:%s: %r, GDAL %d" % (sample["col"], sample["row"],
                                                             sample["height_m"], expected))
            break


def check_info(talvo, path, cells, problems):
    run = subprocess.run([talvo, "--info", path], capture_output=True, text=True)
    info = dict(fields(run.stdout))
    data = cells[cells != NO_DATA]
    expected = {"Pts_WE": str(COLS), "Pts_NS": str(ROWS), "Cells": str(cells.size),
                "NoData": str(cells.size - data.size), "Min": str(data.min()),
                "Max": str(data.max())}
    got = {key: info.get(key) for key in expected}
    if run.returncode != 0 or got != expected or "CountedOn" in info:
        problems.append("--info: %r, expected %r %s" % (got, expected, run.stderr))


def check_pictures(talvo, path, folder, problems):
    for name, region, size, drawn in PICTURES:
        out = os.path.join(folder, name)
        command = [talvo, "--render", path, "--size", size, "-o", out]
        if region:
            command += ["--region", ",".join(map(str, region))]
        run = subprocess.run(command, capture_output=True, text=True)
        if run.returncode != 0:
            problems.append("%s: exit %d %s" % (" ".join(command[3:]), run.returncode, run.stderr))
            continue
        picture = gdal.Open(out)
        x, y, w, h = region or (0, 0, COLS, ROWS)
        across, down = TRANSFORM[1] * w / drawn[0], TRANSFORM[5] * h / drawn[1]
        # A world file names the centre of the first pixel.
        expected = [across, 0.0, 0.0, down, TRANSFORM[0] + x * TRANSFORM[1] + across / 2,
                    TRANSFORM[3] + y * TRANSFORM[5] + down / 2]
        world = [float(v) for v in open(out[:-4] + ".pgw").read().split()]
        if (picture.RasterXSize, picture.RasterYSize) != drawn or \
           any(abs(a - b) > 1e-9 for a, b in zip(world, expected)):
            problems.append("%s: %d x %d, world file %r, expected %r %r" % (
                name, picture.RasterXSize, picture.RasterYSize, world, drawn, expected))


def check_export(talvo, path, cells, folder, problems):
    out = os.path.join(folder, "export.tif")
    run = subprocess.run([talvo, "--export", path, "-o", out], capture_output=True, text=True)
    if run.returncode != 0:
        problems.append("--export: exit %d %s" % (run.returncode, run.stderr))
        return
    exported = gdal.Open(out)
    written = exported.GetRasterBand(1).ReadAsArray()
    expected = numpy.where(cells == NO_DATA, -9999.0, cells).astype(numpy.float32)
    wrong = numpy.argwhere(written != expected)
    if len(wrong):
        row, col = wrong[0]
        problems.append("--export: %d cells differ, first at %d:%d: %r, GDAL %r" % (
            len(wrong), col, row, written[row, col], expected[row, col]))


def main():
    talvo = sys.argv[1]
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "sparse.tif")
        make(path)
        dataset = gdal.Open(path)
        cells = dataset.GetRasterBand(1).ReadAsArray()
        check_cells(talvo, path, cells, problems)
        check_info(talvo, path, cells, problems)
        check_pictures(talvo, path, folder, problems)
        check_export(talvo, path, cells, folder, problems)
    return report(problems)


if __name__ == "__main__":
    sys.exit(main())

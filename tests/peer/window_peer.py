#!/usr/bin/python3
"""Windows of a raster read by window, at several resolutions, against GDAL's reading of the level
of detail that resolution comes from: a tiled Int16 GeoTIFF with NEAREST overviews, north up and
south up, each cell in tenths as a whole load gives it (no data -99990)."""
import os
import sys
import tempfile

import numpy
from osgeo import gdal, osr

import map_dump

gdal.UseExceptions()

COLS, ROWS = 600, 400
NO_DATA = -9999
# (x, y, w, h) of the raster, read at (cols, rows): the map's own cells, each overview, between
# levels, and windows that do not start or end on a cell of the overview.
CASES = [
    ((0, 0, COLS, ROWS), (COLS, ROWS)),
    ((0, 0, COLS, ROWS), (300, 200)),
    ((0, 0, COLS, ROWS), (75, 50)),
    ((0, 0, COLS, ROWS), (200, 133)),
    ((100, 50, 256, 128), (64, 32)),
    ((100, 50, 256, 128), (128, 64)),
    ((37, 11, 301, 177), (100, 59)),
    ((599, 399, 1, 1), (1, 1)),
    ((5, 7, 40, 30), (80, 60)),
]


def make(path, heights, south_up):
    dataset = gdal.GetDriverByName("GTiff").Create(
        path, COLS, ROWS, 1, gdal.GDT_Int16,
        ["TILED=YES", "BLOCKXSIZE=128", "BLOCKYSIZE=128", "COMPRESS=DEFLATE"])
    reference = osr.SpatialReference()
    reference.ImportFromEPSG(6668)
    dataset.SetProjection(reference.ExportToWkt())
    if south_up:
        dataset.SetGeoTransform((139.0, 0.001, 0, 35.0, 0, 0.001))
    else:
        dataset.SetGeoTransform((139.0, 0.001, 0, 35.4, 0, -0.001))
    band = dataset.GetRasterBand(1)
    band.SetNoDataValue(NO_DATA)
    band.WriteArray(heights[::-1] if south_up else heights)
    dataset.BuildOverviews("NEAREST", [2, 4, 8])
    dataset = None


def gdal_window(path, window, size, south_up):
    """The window (x, y from the north-west corner) at size from GDAL's cells of the level it
    reads that resolution from (the coarsest no coarser than the window's cells a pixel, none of
    the cases near a threshold): each pixel the cell nearest its centre, north row first, in
    tenths."""
    x, y, w, h = window
    dataset = gdal.Open(path)
    band = dataset.GetRasterBand(1)
    across, down = w / size[0], h / size[1]
    levels = [band] + [band.GetOverview(i) for i in range(band.GetOverviewCount())]
    level = max((l for l in levels if COLS / l.XSize <= max(min(across, down), 1) + 1e-9),
                key=lambda l: COLS / l.XSize)
    scale_x, scale_y = COLS / level.XSize, ROWS / level.YSize
    # A south-up raster's window lies mirrored in the file.
    top = ROWS - y - h if south_up else y
    cols = [min(int((x + (i + 0.5) * across) / scale_x), level.XSize - 1) for i in range(size[0])]
    rows = [min(int((top + (j + 0.5) * down) / scale_y), level.YSize - 1) for j in range(size[1])]
    cells = level.ReadAsArray().astype(numpy.int64)[numpy.ix_(rows, cols)]
    if south_up:
        cells = cells[::-1]
    return numpy.where(cells == NO_DATA, -99990, cells * 10)


def main():
    dump = sys.argv[1]
    rng = numpy.random.default_rng(36)
    heights = rng.integers(-50, 3000, size=(ROWS, COLS)).astype(numpy.int16)
    heights[rng.random((ROWS, COLS)) < 0.05] = NO_DATA
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        for south_up in (False, True):
            path = os.path.join(folder, "south-up.tif" if south_up else "north-up.tif")
            make(path, heights, south_up)
            for window, size in CASES:
                ours = map_dump.run(dump, path, *window, *size)
                theirs = gdal_window(path, window, size, south_up)
                label = "%s %r at %dx%d" % (os.path.basename(path), window, *size)
                if (ours.width, ours.height, ours.rows_read) != (size[0], size[1], size[1]):
                    problems.append("%s: %d x %d, %d rows" % (label, ours.width, ours.height,
                                                              ours.rows_read))
                    continue
                differ = numpy.argwhere(numpy.array(ours.rows) != theirs)
                if len(differ):
                    row, col = differ[0]
                    problems.append("%s: %d cells differ, first at %d:%d: ours %d, GDAL %d" % (
                        label, len(differ), col, row, ours.rows[row][col], theirs[row][col]))
    return map_dump.report(problems)


if __name__ == "__main__":
    sys.exit(main())

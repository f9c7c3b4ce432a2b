#!/usr/bin/python3
"""Cross-checks our 30-second raster reader against GDAL's EHdr driver.

Copies of the bundled .bil sample, each with its header changed as a row of VARIANTS says, are
read by GDAL and by map_dump: every cell and every corner must agree, ULXMAP/ULYMAP being the
centre of the first cell for both. A NODATA value marks its cells as no data, but -9999 stays
the sea; a .prj gives the CRS, which the export carries; Float32 cells open through GDAL.
"""
import os
import struct
import subprocess
import sys
import tempfile

from osgeo import gdal

import map_dump

gdal.UseExceptions()

SEA, MARKED_NO_DATA, GDAL_NO_DATA = -99990, -99992, -99990
NAD83 = ('GEOGCS["GCS_North_American_1983",DATUM["D_North_American_1983",SPHEROID["GRS_1980",'
         '6378137.0,298.257222101]],PRIMEM["Greenwich",0.0],UNIT["Degree",0.0174532925199433]]')
FLOAT = {"NBITS": "32", "PIXELTYPE": "FLOAT", "BANDROWBYTES": "1612", "TOTALROWBYTES": "1612"}

VARIANTS = [  # label, header keys, cells changed (row, col, value), cell format, .prj, --info lines
    ("little-endian", {}, [], "<h", None, ["MapKind: BL", "CRS: WGS 84 (EPSG:4326)"]),
    ("big-endian", {"BYTEORDER": "M"}, [(0, 0, -9999)], ">h", None, ["MapKind: BL", "Sea: 1"]),
    ("NODATA -32768", {"NODATA": "-32768"}, [(0, 0, -32768), (5, 7, -32768), (3, 3, -9999)], "<h",
     None, ["Sea: 1", "NoData: 2"]),
    (".prj", {}, [], "<h", NAD83, ["MapKind: BL", "CRS: EPSG:4269"]),
    ("Float32", FLOAT, [(0, 0, -9999), (2, 2, 300.5)], "<f", None,
     ["MapKind: GD", "Driver: EHdr", "NoData: 1"]),
]


def write_variant(folder, sample, label, keys, changes, cell_format, prj):
    path = os.path.join(folder, label.replace(" ", "_") + ".bil")
    with open(sample, "rb") as source:
        data = source.read()
    cells = list(struct.unpack("<%dh" % (len(data) // 2), data))
    for row, col, value in changes:
        cells[row * 403 + col] = value
    with open(path, "wb") as out:
        out.write(struct.pack("%s%d%s" % (cell_format[0], len(cells), cell_format[1]), *cells))
    with open(sample[:-4] + ".hdr") as source:
        header = [line for line in source.read().splitlines() if line.split()[0] not in keys]
    files = {".hdr": "\r\n".join(header + ["%s %s" % item for item in keys.items()]), ".prj": prj}
    for extension, text in files.items():
        if text:
            with open(path[:-4] + extension, "w") as out:
                out.write(text + "\r\n")
    return path


def expected(value, nodata, through_gdal):
    if through_gdal:
        return GDAL_NO_DATA if value == nodata else round(value * 10)
    if value == -9999:
        return SEA
    return MARKED_NO_DATA if value == nodata else int(value) * 10


def compare(dump, talvo, path, label, info_lines, problems):
    dataset = gdal.OpenEx(path, allowed_drivers=["EHdr"])
    band = dataset.GetRasterBand(1)
    theirs = band.ReadAsArray()
    t = dataset.GetGeoTransform()
    ours = map_dump.run(dump, path)
    if (ours.width, ours.height) != (dataset.RasterXSize, dataset.RasterYSize):
        problems.append("%s: size %d x %d against GDAL's %d x %d" % (
            label, ours.width, ours.height, dataset.RasterXSize, dataset.RasterYSize))
        return
    corners = [t[3] + t[5] * ours.height, t[0], t[3], t[0] + t[1] * ours.width]
    if any(abs(a - b) > 1e-9 for a, b in zip(ours.corners, corners)):
        problems.append("%s: corners %r against GDAL's %r" % (label, ours.corners, corners))
    through_gdal = "MapKind: GD" in info_lines
    for row in range(ours.height):
        for col in range(ours.width):
            want = expected(float(theirs[row][col]), band.GetNoDataValue(), through_gdal)
            if ours.rows[row][col] != want:
                problems.append("%s: cell (%d, %d) ours %d, expected %d" % (
                    label, row, col, ours.rows[row][col], want))
    info = subprocess.run([talvo, "--info", path], capture_output=True, text=True).stdout
    for line in info_lines:
        if line not in info.splitlines():
            problems.append("%s: --info lacks %r" % (label, line))
    # The export lies on GDAL's cells, in the CRS GDAL reads from the .prj.
    out = path[:-4] + ".tif"
    subprocess.run([talvo, "--export", path, "-o", out], check=True)
    exported = gdal.Open(out)
    if any(abs(a - b) > 1e-9 for a, b in zip(exported.GetGeoTransform(), t)):
        problems.append("%s: exported at %r, GDAL reads %r" % (
            label, exported.GetGeoTransform(), t))
    srs = dataset.GetSpatialRef()
    same = ["IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES"]
    if srs and not srs.IsSame(exported.GetSpatialRef(), same):
        problems.append("%s: exported in %s" % (label, exported.GetSpatialRef().GetName()))
    print("%s: %d x %d cells compared" % (label, ours.width, ours.height))


def main():
    dump, samples = sys.argv[1], sys.argv[2]
    talvo = os.path.join(os.path.dirname(dump), "talvo")
    sample = os.path.join(samples, "jacksboro", "jacksboro.bil")
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        for label, keys, changes, cell_format, prj, info_lines in VARIANTS:
            path = write_variant(folder, sample, label, keys, changes, cell_format, prj)
            compare(dump, talvo, path, label, info_lines, problems)
    return map_dump.report(problems)


if __name__ == "__main__":
    sys.exit(main())

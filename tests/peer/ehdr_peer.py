#!/usr/bin/python3
"""Cross-checks our 30-second raster reader against GDAL's EHdr driver.

Reads the bundled .bil sample (little-endian) and a big-endian copy written here with
BYTEORDER M, with GDAL and with map_dump, and compares every cell and the corners.
"""
import os
import shutil
import struct
import sys
import tempfile

from osgeo import gdal

import map_dump

gdal.UseExceptions()


def compare(dump, path, problems, label):
    dataset = gdal.OpenEx(path, allowed_drivers=["EHdr"])
    theirs = dataset.GetRasterBand(1).ReadAsArray()
    transform = dataset.GetGeoTransform()
    ours = map_dump.run(dump, path)
    if (ours.width, ours.height) != (dataset.RasterXSize, dataset.RasterYSize):
        problems.append("%s: size %d x %d against GDAL's %d x %d" % (
            label, ours.width, ours.height, dataset.RasterXSize, dataset.RasterYSize))
        return
    # GDAL's origin is the outer edge of the first cell; the header's ULXMAP/ULYMAP, which we
    # keep, name the centre of that cell.
    ido_ws, kei_ws, ido_en, kei_en = ours.corners
    if abs(transform[0] + transform[1] / 2 - kei_ws) > 1e-9 or \
       abs(transform[3] + transform[5] / 2 - ido_en) > 1e-9:
        problems.append("%s: corner %r, %r against GDAL's %r" % (label, kei_ws, ido_en, transform))
    for row in range(ours.height):
        for col in range(ours.width):
            if ours.rows[row][col] != int(theirs[row][col]) * 10:
                problems.append("%s: cell (%d, %d) ours %d, GDAL %d m" % (
                    label, row, col, ours.rows[row][col], theirs[row][col]))
    print("%s: %d x %d cells compared" % (label, ours.width, ours.height))


def main():
    dump, samples = sys.argv[1], sys.argv[2]
    problems = []
    little = os.path.join(samples, "jacksboro", "jacksboro.bil")
    compare(dump, little, problems, "little-endian")

    with tempfile.TemporaryDirectory() as folder:
        big = os.path.join(folder, "swapped.bil")
        with open(little, "rb") as source:
            data = source.read()
        cells = struct.unpack("<%dh" % (len(data) // 2), data)
        with open(big, "wb") as out:
            out.write(struct.pack(">%dh" % len(cells), *cells))
        with open(little[:-4] + ".hdr") as source:
            header = [line for line in source.read().splitlines() if not line.startswith("BYTEORDER")]
        with open(big[:-4] + ".hdr", "w") as out:
            out.write("BYTEORDER      M\r\n" + "\r\n".join(header) + "\r\n")
        compare(dump, big, problems, "big-endian")
        shutil.rmtree(folder, ignore_errors=True)

    return map_dump.report(problems)


if __name__ == "__main__":
    sys.exit(main())

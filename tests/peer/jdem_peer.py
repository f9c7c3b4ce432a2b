#!/usr/bin/python3
"""Cross-checks our numeric map reader against GDAL's JDEM driver.

Writes a numeric map the way real files are laid out (a header record of 1009 characters,
records in line order, CR LF line ends), reads it with GDAL and with num_map_dump, and compares
every cell and the corners.
"""
import os
import random
import sys
import tempfile

from osgeo import gdal

import map_dump

gdal.UseExceptions()

WIDTH, HEIGHT = 37, 23
MESH = "533945"
# d.mmss corners written as unsigned DDDMMSS digits.
CORNERS = {"ido_ws": "0353015", "kei_ws": "1393000", "ido_en": "0354045", "kei_en": "1394510"}


def header():
    text = (MESH + "25000" + "1992" + "1998" + "2001" + "%3d" % WIDTH + "%3d" % HEIGHT
            + CORNERS["ido_ws"] + CORNERS["kei_ws"] + CORNERS["ido_en"] + CORNERS["kei_en"]
            + "1" + ("Peer".ljust(20) + "1") + (" " * 21) * 3 + "%3d" % HEIGHT
            + "GDAL peer check".ljust(80) + "0" * 320)
    return text.ljust(1009)


def dms_to_degrees(value):
    negative = value < 0
    value = abs(value)
    degrees = int(value)
    minutes = int(round((value - degrees) * 100, 6))
    seconds = round(((value - degrees) * 100 - minutes) * 100, 4)
    result = degrees + minutes / 60 + seconds / 3600
    return -result if negative else result


def main():
    dump = sys.argv[1]
    rng = random.Random(2026)
    cells = [[rng.choice([rng.randint(-9999, 99999), rng.randint(0, 40000)]) for _ in range(WIDTH)]
             for _ in range(HEIGHT)]
    cells[0][0], cells[0][1], cells[1][0] = 37760, -9999, 99999

    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, MESH + ".Mem")
        with open(path, "wb") as out:
            out.write((header() + "\r\n").encode("ascii"))
            for row, values in enumerate(cells):
                record = MESH + "%3d" % (row + 1) + "".join("%5d" % v for v in values)
                out.write((record + "\r\n").encode("ascii"))

        dataset = gdal.OpenEx(path, allowed_drivers=["JDEM"])
        theirs = dataset.GetRasterBand(1).ReadAsArray()
        transform = dataset.GetGeoTransform()
        ours = map_dump.run(dump, path)

    problems = []
    if (ours.width, ours.height, ours.rows_read) != (WIDTH, HEIGHT, HEIGHT):
        problems.append("size %d x %d, %d rows read" % (ours.width, ours.height, ours.rows_read))
    if (dataset.RasterXSize, dataset.RasterYSize) != (WIDTH, HEIGHT):
        problems.append("GDAL size %d x %d" % (dataset.RasterXSize, dataset.RasterYSize))

    ido_ws, kei_ws, ido_en, kei_en = ours.corners
    expected_corners = [(transform[0], kei_ws), (transform[3], ido_en),
                        (transform[0] + transform[1] * WIDTH, kei_en),
                        (transform[3] + transform[5] * HEIGHT, ido_ws)]
    for gdal_degrees, our_dms in expected_corners:
        if abs(gdal_degrees - dms_to_degrees(our_dms)) > 1e-6:
            problems.append("corner %r (GDAL) against %r d.mmss (ours)" % (gdal_degrees, our_dms))

    for row, values in enumerate(ours.rows):
        if ours.line_numbers[row] != row + 1:
            problems.append("row %d has line number %d" % (row, ours.line_numbers[row]))
        for col, ours_tenths in enumerate(values):
            theirs_tenths = round(float(theirs[row][col]) * 10)
            if ours_tenths != theirs_tenths or ours_tenths != cells[row][col]:
                problems.append("cell (%d, %d): ours %d, GDAL %d, written %d"
                                % (row, col, ours_tenths, theirs_tenths, cells[row][col]))

    return map_dump.report(problems)


if __name__ == "__main__":
    sys.exit(main())

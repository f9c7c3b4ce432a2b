#!/usr/bin/python3
"""Makes a sparse tiled GeoTIFF of COLS x ROWS Int16 heights for the bench of maps read by window:
512 x 512 DEFLATE tiles of which only BLOCKS hold data (a ridge of terrain), the rest never
written, and overviews by NEAREST down to a few hundred cells a side.

    make-sparse-raster.py OUT.tif [COLS ROWS BLOCKS]
"""
import math
import sys
import time

import numpy
from osgeo import gdal, osr

gdal.UseExceptions()
BLOCK = 512


def main():
    out = sys.argv[1]
    cols, rows, blocks = (int(v) for v in (sys.argv[2:5] or (100000, 100000, 300)))
    started = time.monotonic()
    dataset = gdal.GetDriverByName("GTiff").Create(
        out, cols, rows, 1, gdal.GDT_Int16,
        ["TILED=YES", "BLOCKXSIZE=512", "BLOCKYSIZE=512", "COMPRESS=DEFLATE", "SPARSE_OK=TRUE",
         "BIGTIFF=YES"])
    reference = osr.SpatialReference()
    reference.ImportFromEPSG(6668)
    dataset.SetProjection(reference.ExportToWkt())
    # 0.2 arc-seconds, as the 5 m FG-GML tiles: the raster spans some 5.6 degrees.
    cell = 0.2 / 3600
    dataset.SetGeoTransform((135.0, cell, 0, 38.0, 0, -cell))
    band = dataset.GetRasterBand(1)
    band.SetNoDataValue(-9999)
    across, down = cols // BLOCK, rows // BLOCK
    y, x = numpy.mgrid[0:BLOCK, 0:BLOCK]
    for index in range(blocks):
        # Blocks along a diagonal ridge, a few beside it.
        t = index / max(blocks - 1, 1)
        bx = min(int(t * (across - 1)) + index % 3, across - 1)
        by = min(int(t * (down - 1)), down - 1)
        heights = (500 + 400 * numpy.sin((x + bx * BLOCK) / 900.0) *
                   numpy.cos((y + by * BLOCK) / 700.0)).astype(numpy.int16)
        band.WriteArray(heights, bx * BLOCK, by * BLOCK)
    written = time.monotonic()
    levels = []
    factor = 2
    while max(cols, rows) // factor >= 256:
        levels.append(factor)
        factor *= 2
    dataset.BuildOverviews("NEAREST", levels)
    dataset = None
    print("%s: %d x %d, %d blocks written in %.1f s, overviews %s in %.1f s" % (
        out, cols, rows, blocks, written - started, levels, time.monotonic() - written))


if __name__ == "__main__":
    main()

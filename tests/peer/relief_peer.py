#!/usr/bin/python3
"""`talvo --export --product` against `gdaldem` on the same projected DEM.

The Jacksboro heights are laid on UTM zone 16 at 90 m (bilinear, Float32, no data where the
turned grid leaves the source), and every product is made by both, with and without
-compute_edges: the same cells without data, the shades within one grey level, the slope within
0.01°, the same place. The red relief has no peer: its cells without data are the hillshade's. On the
sample in degrees, which gdaldem 3.6 takes as units, the slope is Horn's computed here with each
line's cells measured on the GRS80 ellipsoid at the line's latitude.
"""
import os
import subprocess
import sys
import tempfile

import numpy
from osgeo import gdal

import map_dump

gdal.UseExceptions()

# Talvo's options and gdaldem's.
PLAIN = ([], [])
LIGHT = (["--altitude", "30", "-z", "3"], ["-alt", "30", "-z", "3"])
AZIMUTH = (["--azimuth", "200", "-z", "2"], ["-az", "200", "-z", "2"])
# Talvo's product, gdaldem's processing and options, the largest difference allowed, and the
# shadings gdaldem takes with it.
PRODUCTS = (
    ("hillshade", "hillshade", [], 1, (PLAIN, LIGHT, AZIMUTH)),
    ("hillshade:multidirectional", "hillshade", ["-multidirectional"], 1, (PLAIN, LIGHT)),
    ("hillshade:combined", "hillshade", ["-combined"], 1, (PLAIN, LIGHT, AZIMUTH)),
    ("hillshade:igor", "hillshade", ["-igor"], 1, (PLAIN, AZIMUTH)),
    ("slope", "slope", [], 0.01, (PLAIN,)),
)
EDGES = (([], []), (["--compute-edges"], ["-compute_edges"]))


def cells(path):
    dataset = gdal.Open(path)
    band = dataset.GetRasterBand(1)
    return dataset, band.ReadAsArray().astype(numpy.float64), band.GetNoDataValue()


def compare(label, ours_path, theirs_path, tolerance, problems):
    ours, mine, no_data = cells(ours_path)
    theirs, peer, peer_no_data = cells(theirs_path)
    if no_data != peer_no_data:
        problems.append("%s: no-data value %r, gdaldem's %r" % (label, no_data, peer_no_data))
    if ours.GetGeoTransform() != theirs.GetGeoTransform():
        problems.append("%s: lies at %r, gdaldem's at %r" % (
            label, ours.GetGeoTransform(), theirs.GetGeoTransform()))
    missing, peer_missing = mine == no_data, peer == peer_no_data
    apart = numpy.argwhere(missing != peer_missing)
    for row, col in apart[:3]:
        problems.append("%s: cell (%d, %d) is %r, gdaldem's %r" % (
            label, row, col, mine[row, col], peer[row, col]))
    both = ~missing & ~peer_missing
    difference = numpy.abs(mine - peer)[both]
    largest = difference.max() if difference.size else 0.0
    if largest > tolerance:
        problems.append("%s: %d cells differ by more than %g, at most %g" % (
            label, int((difference > tolerance).sum()), tolerance, largest))
    print("%s: %d cells with data, %d without, largest difference %g" % (
        label, int(both.sum()), int(missing.sum()), largest))
    return missing


def geographic_slope(path):
    """Horn's slope in degrees of a raster in degrees, its lines' cells measured on GRS80."""
    dataset = gdal.Open(path)
    heights = dataset.GetRasterBand(1).ReadAsArray().astype(numpy.float64)
    heights[heights == dataset.GetRasterBand(1).GetNoDataValue()] = numpy.nan
    west, width, _, north, _, height = dataset.GetGeoTransform()
    a, f = 6378137.0, 1 / 298.257222101
    e2 = f * (2 - f)
    latitude = numpy.radians(north + (numpy.arange(heights.shape[0]) + 0.5) * height)
    w = numpy.sqrt(1 - e2 * numpy.sin(latitude) ** 2)
    east = numpy.radians(width) * a * numpy.cos(latitude) / w
    south = numpy.radians(-height) * a * (1 - e2) / w ** 3
    z = numpy.pad(heights, 1, constant_values=numpy.nan)
    cell = lambda dy, dx: z[1 + dy:z.shape[0] - 1 + dy, 1 + dx:z.shape[1] - 1 + dx]
    x = ((cell(-1, -1) + 2 * cell(0, -1) + cell(1, -1)) -
         (cell(-1, 1) + 2 * cell(0, 1) + cell(1, 1))) / (8 * east[:, None])
    y = ((cell(-1, -1) + 2 * cell(-1, 0) + cell(-1, 1)) -
         (cell(1, -1) + 2 * cell(1, 0) + cell(1, 1))) / (8 * south[:, None])
    return numpy.degrees(numpy.arctan(numpy.hypot(x, y)))


def main():
    talvo, samples = sys.argv[1], sys.argv[2]
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        dem = os.path.join(folder, "utm.tif")
        gdal.Warp(dem, os.path.join(samples, "jacksboro", "jacksboro.tif"), dstSRS="EPSG:32616",
                  xRes=90, yRes=90, resampleAlg="bilinear", outputType=gdal.GDT_Float32)
        for product, processing, peer_options, tolerance, shadings in PRODUCTS:
            for shading, peer_shading in shadings:
                for edges, peer_edges in EDGES:
                    label = " ".join([product] + shading + edges)
                    ours = os.path.join(folder, "ours.tif")
                    theirs = os.path.join(folder, "theirs.tif")
                    done = subprocess.run([talvo, "--export", dem, "--product", product, "-o", ours]
                                          + shading + edges, capture_output=True, text=True)
                    if done.returncode != 0:
                        problems.append("%s: exit %d: %s" % (label, done.returncode, done.stderr))
                        continue
                    subprocess.run(["gdaldem", processing, "-q", dem, theirs] + peer_options
                                   + peer_shading + peer_edges, check=True)
                    compare(label, ours, theirs, tolerance, problems)
        geographic = os.path.join(samples, "jacksboro", "jacksboro.tif")
        ours = os.path.join(folder, "geographic.tif")
        subprocess.run([talvo, "--export", geographic, "--product", "slope", "-o", ours], check=True)
        _, mine, no_data = cells(ours)
        expected = geographic_slope(geographic)
        expected[[0, -1], :] = expected[:, [0, -1]] = numpy.nan
        if not numpy.array_equal(mine == no_data, numpy.isnan(expected)):
            problems.append("slope in degrees: its cells without data are not Horn's")
        both = (mine != no_data) & ~numpy.isnan(expected)
        largest = numpy.abs(mine - expected)[both].max()
        if largest > 0.01:
            problems.append("slope in degrees: differs from Horn's on GRS80 by %g" % largest)
        print("slope in degrees: %d cells, largest difference %g" % (int(both.sum()), largest))
        red = os.path.join(folder, "red.tif")
        subprocess.run([talvo, "--export", dem, "--product", "redrelief", "-o", red], check=True)
        subprocess.run([talvo, "--export", dem, "--product", "hillshade", "-o", os.path.join(
            folder, "shade.tif")], check=True)
        picture = gdal.Open(red)
        rgb = numpy.stack([picture.GetRasterBand(b).ReadAsArray() for b in (1, 2, 3)])
        _, shade, _ = cells(os.path.join(folder, "shade.tif"))
        if picture.RasterCount != 3 or not numpy.array_equal((rgb == 0).all(axis=0), shade == 0):
            problems.append("redrelief: its cells without data are not the hillshade's")
    return map_dump.report(problems)


if __name__ == "__main__":
    sys.exit(main())

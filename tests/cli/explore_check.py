#!/usr/bin/python3
"""talvo --at and --profile against GDAL's reading of the same cells: the .bil sample and its
GeoTIFF twin written here by gdal_translate, at points a quarter and three quarters of a cell
inside a cell. Both readings take ULXMAP/ULYMAP as the centre of the first cell: they name the same
cell everywhere. A projected twin, warped to UTM, takes longitude and latitude on WGS 84 and its
own easting and northing after --xy, and reads out both, as PROJ converts them."""
import csv
import io
import math
import os
import subprocess
import sys
import tempfile

from osgeo import gdal, osr

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "peer"))
from map_dump import report  # noqa: E402

gdal.UseExceptions()

POINTS = [(0, 0), (196, 159), (402, 343), (17, 300), (350, 12)]


def at(talvo, path, point):
    run = subprocess.run([talvo, "--at", path, point], capture_output=True, text=True)
    if run.returncode != 0:
        return run.returncode, run.stderr, {}
    return 0, run.stderr, dict(line.split(": ", 1) for line in run.stdout.splitlines())


def gdal_value(path, x, y):
    out = subprocess.run(["gdallocationinfo", "-valonly", "-geoloc", path, repr(x), repr(y)],
                         capture_output=True, text=True, check=True).stdout.strip()
    return int(float(out))


def check_at(talvo, path, grid, problems):
    """Our cells at quarter points of GDAL's grid (origin, cell) against GDAL's at the same
    points."""
    west, cell, north = grid
    for col, row in POINTS:
        for inside in (0.25, 0.75):
            x, y = west + (col + inside) * cell, north - (row + inside) * cell
            status, err, fields = at(talvo, path, "%r,%r" % (x, y))
            if status != 0:
                problems.append("%s at %r,%r: exit %d %s" % (path, x, y, status, err))
                continue
            if (int(fields["Col"]), int(fields["Row"])) != (col, row):
                problems.append("%s at %r,%r: ours %s:%s, expected %d:%d" % (
                    path, x, y, fields["Col"], fields["Row"], col, row))
            if float(fields["Height"]) != gdal_value(path, x, y):
                problems.append("%s at %r,%r: ours %s m, GDAL %d m" % (
                    path, x, y, fields["Height"], gdal_value(path, x, y)))
            theirs = gdal.Open(path).GetGeoTransform()
            gdal_col = int((x - theirs[0]) // theirs[1])
            if gdal_col != col:
                problems.append("%s at %r: GDAL's column %d, ours %d" % (path, x, gdal_col, col))
    # Just outside the last column: an error naming the point, nothing on standard output.
    outside = "%r,%r" % (west + 403.01 * cell, north - cell)
    status, err, fields = at(talvo, path, outside)
    if status != 1 or fields or outside not in err:
        problems.append("%s at %s: exit %d, %r" % (path, outside, status, err))


def check_profile(talvo, tif, problems):
    dataset = gdal.Open(tif)
    heights = dataset.GetRasterBand(1).ReadAsArray()
    west, cell, _, north, _, _ = dataset.GetGeoTransform()
    start, end = (12, 30), (200, 90)
    point = lambda c, r: "%r,%r" % (west + (c + 0.25) * cell, north - (r + 0.25) * cell)
    run = subprocess.run([talvo, "--profile", tif, "--from", point(*start), "--to", point(*end)],
                         capture_output=True, text=True)
    rows = list(csv.DictReader(io.StringIO(run.stdout)))
    if run.returncode != 0 or len(rows) != end[0] - start[0] + 1:
        problems.append("profile: exit %d, %d samples %s" % (run.returncode, len(rows), run.stderr))
        return
    if (int(rows[0]["col"]), int(rows[0]["row"])) != start or \
       (int(rows[-1]["col"]), int(rows[-1]["row"])) != end:
        problems.append("profile ends: %r %r" % (rows[0], rows[-1]))
    for sample in rows:
        c, r = int(sample["col"]), int(sample["row"])
        if float(sample["height_m"]) != heights[r][c]:
            problems.append("profile %d:%d: ours %s, GDAL %d" % (c, r, sample["height_m"],
                                                                 heights[r][c]))
    # A loose independent length: the line on a sphere of the ellipsoid's mean radius at 36.6° N
    # is within half a per cent of the geodesic.
    lon0, lat0, lon1, lat1 = (float(rows[i][k]) for i in (0, -1) for k in ("lon", "lat"))
    metres_per_degree = 6371008.8 * math.pi / 180
    rough = math.hypot((lon1 - lon0) * math.cos(math.radians((lat0 + lat1) / 2)),
                       lat1 - lat0) * metres_per_degree
    if abs(float(rows[-1]["distance_m"]) - rough) > 0.005 * rough:
        problems.append("profile length %s m, roughly %.1f m" % (rows[-1]["distance_m"], rough))
    # Written to a file, the same CSV; never over an input.
    out = os.path.join(os.path.dirname(tif), "profile.csv")
    for target, status in ((out, 0), (tif, 1)):
        before = open(tif, "rb").read()
        written = subprocess.run([talvo, "--profile", tif, "--from", point(*start), "--to",
                                  point(*end), "-o", target], capture_output=True, text=True)
        if written.returncode != status or open(tif, "rb").read() != before:
            problems.append("profile -o %s: exit %d %s" % (target, written.returncode,
                                                           written.stderr))
    if open(out).read() != run.stdout:
        problems.append("profile -o wrote another CSV than standard output")
    print("profile: %d samples, %s m" % (len(rows), rows[-1]["distance_m"]))


def check_projected(talvo, tif, folder, problems):
    utm = os.path.join(folder, "jacksboro-utm.tif")
    gdal.Warp(utm, tif, dstSRS="EPSG:32616", xRes=500, yRes=500, resampleAlg="near")
    west, cell, _, north, _, step = gdal.Open(utm).GetGeoTransform()
    source, wgs84 = osr.SpatialReference(), osr.SpatialReference()
    source.ImportFromEPSG(32616)
    wgs84.ImportFromEPSG(4326)
    for srs in (source, wgs84):
        srs.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
    to_lonlat = osr.CoordinateTransformation(source, wgs84)
    for col, row in ((31, 32), (12, 40), (50, 20)):
        east, north_ = west + (col + 0.5) * cell, north + (row + 0.5) * step
        lon, lat, _ = to_lonlat.TransformPoint(east, north_)
        for point in (["%r,%r" % (lon, lat)], ["--xy", "%r,%r" % (east, north_)]):
            run = subprocess.run([talvo, "--at", utm, *point], capture_output=True, text=True)
            fields = dict(line.split(": ", 1) for line in run.stdout.splitlines())
            expected = {"Col": str(col), "Row": str(row), "Easting": "%.2f" % east,
                        "Northing": "%.2f" % north_, "CRS": "EPSG:32616"}
            if run.returncode != 0 or any(fields.get(k) != v for k, v in expected.items()) or \
               not abs(float(fields.get("Lon", "nan").split()[0]) - lon) <= 1e-6 or \
               not abs(float(fields.get("Lat", "nan").split()[0]) - lat) <= 1e-6:
                problems.append("UTM --at %s (%.6f,%.6f): exit %d %r %s" % (
                    " ".join(point), lon, lat, run.returncode, fields, run.stderr))
    # The corner outside the warped sample, given in degrees, lies outside the map.
    run = subprocess.run([talvo, "--at", utm, "-80,36"], capture_output=True, text=True)
    if run.returncode != 1 or "-80,36" not in run.stderr:
        problems.append("UTM --at -80,36: exit %d %s" % (run.returncode, run.stderr))


def main():
    talvo, samples = sys.argv[1], sys.argv[2]
    bil = os.path.join(samples, "jacksboro", "jacksboro.bil")
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        tif = os.path.join(folder, "jacksboro.tif")
        gdal.Translate(tif, bil, format="GTiff", outputSRS="EPSG:4326")
        for path in (bil, tif):
            theirs = gdal.Open(path).GetGeoTransform()
            check_at(talvo, path, (theirs[0], theirs[1], theirs[3]), problems)
        check_profile(talvo, tif, problems)
        check_projected(talvo, tif, folder, problems)
    return report(problems)


if __name__ == "__main__":
    sys.exit(main())

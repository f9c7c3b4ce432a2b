#!/usr/bin/python3
"""Cross-checks our ARC/INFO export reader against GDAL's AVCE00 driver.

Reads the bundled county boundaries (ad533945.e00 beside the elevation raster, ad.e00 beside
the .bil) with OGR's layer "ARC" and with map_dump, and compares every vertex of every arc.
"""
import os
import sys

from osgeo import gdal, ogr

import map_dump

gdal.UseExceptions()


def arcs_of(points):
    """Our flat vertex list split into arcs where Seq starts again at 0."""
    arcs = []
    for seq, lon, lat in points:
        if seq == 0:
            arcs.append([])
        arcs[-1].append((lon, lat))
    return arcs


def compare(dump, map_path, e00_path, problems):
    label = os.path.basename(e00_path)
    source = ogr.Open(e00_path)
    theirs = []
    for feature in source.GetLayerByName("ARC"):
        geometry = feature.GetGeometryRef()
        theirs.append([(geometry.GetX(i), geometry.GetY(i)) for i in range(geometry.GetPointCount())])
    ours = arcs_of(map_dump.run(dump, map_path).layers.get("ad", []))
    if len(ours) != len(theirs):
        problems.append("%s: %d arcs, GDAL %d" % (label, len(ours), len(theirs)))
        return
    for number, (our_arc, their_arc) in enumerate(zip(ours, theirs)):
        if len(our_arc) != len(their_arc):
            problems.append("%s arc %d: %d vertices, GDAL %d" % (label, number, len(our_arc), len(their_arc)))
            continue
        for (lon, lat), (x, y) in zip(our_arc, their_arc):
            if abs(lon - x) > 1e-9 or abs(lat - y) > 1e-9:
                problems.append("%s arc %d: (%r, %r) against GDAL's (%r, %r)" % (label, number, lon, lat, x, y))
    print("%s: %d arcs, %d vertices compared" % (label, len(ours), sum(map(len, ours))))


def main():
    dump, samples = sys.argv[1], os.path.join(sys.argv[2], "jacksboro")
    problems = []
    compare(dump, os.path.join(samples, "EL533945.hdr"), os.path.join(samples, "ad533945.e00"), problems)
    compare(dump, os.path.join(samples, "jacksboro.bil"), os.path.join(samples, "ad.e00"), problems)
    return map_dump.report(problems)


if __name__ == "__main__":
    sys.exit(main())

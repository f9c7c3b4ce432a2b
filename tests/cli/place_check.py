#!/usr/bin/env python3
"""Pictures another GIS can place: talvo --render writes a world file and the CRS beside a PNG,
JPEG or BMP, which GDAL reads as the map's own place; --no-world-file and a device leave them out.

place_check.py TALVO SAMPLES"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "peer"))

from osgeo import gdal, osr

from map_dump import report

gdal.UseExceptions()


def main():
    talvo, samples = sys.argv[1], sys.argv[2]
    folder = os.path.join(samples, "jacksboro")
    ini = os.path.join(folder, "Talvo.ini")
    problems = []
    with tempfile.TemporaryDirectory() as out:
        def render(source, name, *options):
            path = os.path.join(out, name)
            subprocess.run([talvo, "--render", os.path.join(folder, source), "-o", path,
                            "--ini", ini, *options], check=True)
            return path

        # A GeoTIFF's picture lies where GDAL reads the GeoTIFF, to the last bit.
        tif = gdal.Open(os.path.join(folder, "jacksboro.tif"))
        for name, world in (("tif.png", ".pgw"), ("tif.jpg", ".jgw"), ("tif.bmp", ".bpw")):
            path = render("jacksboro.tif", name)
            if not os.path.exists(os.path.splitext(path)[0] + world):
                problems.append("%s: no %s" % (name, world))
            picture = gdal.Open(path)
            if picture.GetGeoTransform() != tif.GetGeoTransform():
                problems.append("%s: placed at %s, the GeoTIFF at %s"
                                % (name, picture.GetGeoTransform(), tif.GetGeoTransform()))
            srs = osr.SpatialReference(wkt=picture.GetProjection())
            if srs.GetAuthorityCode(None) != "4326":
                problems.append("%s: CRS %s" % (name, srs.GetAuthorityCode(None)))

        # A numeric map in the Tokyo datum, its corners converted from d.mmss.
        picture = gdal.Open(render("533945.Mem", "mem.png"))
        srs = osr.SpatialReference(wkt=picture.GetProjection())
        if srs.GetAuthorityCode(None) != "4301":
            problems.append("numeric map: CRS %s" % srs.GetAuthorityCode(None))
        origin = picture.GetGeoTransform()
        if abs(origin[3] - (36 + 40 / 60 + 22 / 3600)) > 1e-9:  # Ido_EN 36.4022
            problems.append("numeric map: north edge %r" % origin[3])

        render("EL533945.hdr", "plain.png", "--no-world-file")
        for left in ("plain.pgw", "plain.png.aux.xml"):
            if os.path.exists(os.path.join(out, left)):
                problems.append("--no-world-file wrote " + left)
    return report(problems)


if __name__ == "__main__":
    sys.exit(main())

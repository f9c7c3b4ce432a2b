#!/usr/bin/env python3
"""talvo --mesh --drape on the elevation sample with its county boundaries: the picture written
beside the OBJ is the --render picture's pixels of the region, with the settings' shading and
with --shade's, and every vertex's texture coordinate falls on the centre of its own cell's
texel.

drape_check.py TALVO SAMPLES"""

import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "peer"))

from osgeo import gdal

from map_dump import report

START_X, START_Y, WIDTH, HEIGHT, STEP = 37, 150, 61, 43, 3
BOUNDARY = (200, 0, 200)  # the sample palette's ad=C800C8


def pixels(path):
    data = gdal.Open(path)
    bands = [data.GetRasterBand(b + 1).ReadAsArray() for b in range(3)]
    return [[tuple(int(band[y][x]) for band in bands) for x in range(data.RasterXSize)]
            for y in range(data.RasterYSize)]


def main():
    talvo, samples = sys.argv[1], sys.argv[2]
    sample = os.path.join(samples, "jacksboro", "EL533945.hdr")
    ini = os.path.join(samples, "jacksboro", "Talvo.ini")
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        region = "%d,%d,%d,%d" % (START_X, START_Y, WIDTH, HEIGHT)
        for shading in ([], ["--shade", "multidirectional"]):
            picture = os.path.join(folder, "whole.png")
            obj = os.path.join(folder, "draped.obj")
            subprocess.run([talvo, "--render", sample, "-o", picture, "--layers", "ad", "--ini",
                            ini] + shading, check=True)
            subprocess.run([talvo, "--mesh", sample, "--region", region, "--step", str(STEP),
                            "--drape", "--layers", "ad", "-o", obj, "--ini", ini] + shading,
                           check=True)
            with open(obj) as text:
                lines = text.read().splitlines()
            materials = open(os.path.join(folder, lines[1].removeprefix("mtllib "))).read()
            texture_name = materials.split("map_Kd ")[-1].strip()
            whole, texture = pixels(picture), pixels(os.path.join(folder, texture_name))
            if len(texture) != HEIGHT or len(texture[0]) != WIDTH:
                problems.append("the texture is %d x %d" % (len(texture[0]), len(texture)))
            region_pixels = [row[START_X:START_X + WIDTH]
                             for row in whole[START_Y:START_Y + HEIGHT]]
            if texture != region_pixels:
                problems.append("the texture %s is not the picture's region" % shading)
            boundary = sum(row.count(BOUNDARY) for row in region_pixels)
            if not boundary:
                problems.append("no boundary crosses the region: choose another")
            if not re.fullmatch(r"draped\.[0-9a-f]{8}\.png", texture_name):
                problems.append("the material names the picture %s" % texture_name)
        coords = [tuple(map(float, line.split()[1:])) for line in lines if line.startswith("vt ")]
        columns = WIDTH // STEP
        for k, (u, v) in enumerate(coords):
            c, r = k % columns * STEP, k // columns * STEP
            if abs(u - (c + 0.5) / WIDTH) > 1e-6 or abs(v - (1 - (r + 0.5) / HEIGHT)) > 1e-6:
                problems.append("vertex %d: vt %g %g is not the centre of cell (%d, %d)"
                                % (k, u, v, c, r))
                break
        if len(coords) != columns * (HEIGHT // STEP):
            problems.append("%d texture coordinates" % len(coords))
        print("%d texels compared, %d of the boundaries; %d texture coordinates"
              % (WIDTH * HEIGHT, boundary, len(coords)))
    return report(problems)


if __name__ == "__main__":
    sys.exit(main())

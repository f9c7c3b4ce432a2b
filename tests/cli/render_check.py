#!/usr/bin/python3
"""talvo --render on every bundled sample, and on FG-GML DEM and GeoTIFF twins written here,
against pictures computed here from the data files and the palette by the drawing rules,
independently of the program's renderer."""
import array
import configparser
import os
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "peer"))

from osgeo import gdal, osr

from fg_gml_text import fg_gml_document
from map_dump import report

gdal.UseExceptions()

# The sample's edges (degrees) and cell size, as its Global Map header gives them.
SOUTH, WEST, NORTH, EAST = 36.446250, -84.413750, 36.732917, -84.077917
CELL = 0.0008333333


def trunc_div(a, b):
    q = abs(a) // abs(b)
    return q if (a >= 0) == (b > 0) else -q


def clamp(v, low, high):
    return max(low, min(high, v))


def split(c):
    return c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF


class Palette:
    def __init__(self, path):
        ini = configparser.ConfigParser()
        ini.read(path)
        colour = lambda section, key: int(ini.get(section, key, fallback="0"), 16)
        self.sea, self.out = colour("Palette", "Sea"), colour("Palette", "Out")
        self.anchors = [colour("Palette", "Set%d" % i) for i in range(6)]
        self.land_use = [colour("GmpPal", "LU%d" % i) for i in range(1, 10)]
        self.vegetation = [colour("GmpPal", "VG%d" % i) for i in range(1, 16)]
        self.ad = colour("GmpPal", "ad")
        self.min, self.max = ini.getint("Height", "Min"), ini.getint("Height", "Max")
        self.pit, self.gain = ini.getint("Height", "Pit"), ini.getint("Height", "ShadowKK")
        self.ramp = []
        for k in range(5):
            (r0, g0, b0), (r1, g1, b1) = split(self.anchors[k]), split(self.anchors[k + 1])
            sr, sg, sb = trunc_div(r1 - r0, 10), trunc_div(g1 - g0, 10), trunc_div(b1 - b0, 10)
            self.ramp.append(self.anchors[k])
            self.ramp += [(b0 + sb * i) << 16 | (g0 + sg * i) << 8 | (r0 + sr * i) for i in range(1, 10)]
        self.ramp.append(self.anchors[5])

    def height(self, metres, rise, spacing):
        if metres < self.min:
            return self.sea
        if metres > self.max:
            return self.out
        r, g, b = split(self.ramp[clamp(trunc_div(metres, max(self.pit, 1)), 0, 50)])
        d = round(rise / spacing * self.gain)  # Python rounds halves to even
        return clamp(b + d, 0, 255) << 16 | clamp(g + d, 0, 255) << 8 | clamp(r + d, 0, 255)

    def land(self, code):
        return self.anchors[5] if code < 10 else self.land_use[code // 10 - 1]

    def plant(self, code):
        return self.land_use[8] if code < 10 else self.vegetation[code // 10 - 1]


def raster(path, width, height, size):
    cells = array.array("h" if size == 2 else "B")
    with open(path, "rb") as data:
        cells.frombytes(data.read(width * height * size))
    rows = [list(cells[r * width:(r + 1) * width]) for r in range(height)]
    return [[v * 10 for v in row] for row in rows] if size == 2 else rows, list(range(1, height + 1))


def numeric_map(path):
    with open(path, "rb") as text:
        lines = text.read().split(b"\r\n")
    width, height = int(lines[0][23:26]), int(lines[0][26:29])
    rows, numbers = [], []
    for line in lines[1:]:
        if line:
            numbers.append(int(line[6:9]))
            rows.append([int(line[9 + 5 * j:14 + 5 * j]) for j in range(width)])
    return rows, numbers, width, height


def write_twins(samples, folder):
    """The elevation sample as an FG-GML DEM tile of 10 m points (with its boundaries beside it)
    and as a geographic GeoTIFF."""
    rows, _ = raster(os.path.join(samples, "EL533945"), 403, 344, 2)
    points = "".join("\n地表面,%d." % (v // 10) for row in rows for v in row)
    with open(os.path.join(folder, "FG-GML-5339-45-DEM10B.xml"), "wb") as out:
        out.write(fg_gml_document(points, 403, 344, SOUTH, WEST, NORTH, EAST, "533945", "10m"))
    shutil.copy(os.path.join(samples, "ad533945.e00"), folder)
    tif = gdal.GetDriverByName("GTiff").Create(os.path.join(folder, "jacksboro.tif"), 403, 344, 1,
                                               gdal.GDT_Int16)
    tif.SetGeoTransform((WEST, CELL, 0, NORTH, 0, -CELL))
    wgs84 = osr.SpatialReference()
    wgs84.ImportFromEPSG(4326)
    tif.SetProjection(wgs84.ExportToWkt())
    tif.GetRasterBand(1).WriteRaster(0, 0, 403, 344, array.array(
        "h", [v // 10 for row in rows for v in row]).tobytes())
    tif = None


def expected(name, samples, palette):
    path = os.path.join(samples, name)
    if name.endswith(".Mem"):
        rows, numbers, width, height = numeric_map(path)
        kind, spacing = "NM", 500
    elif name.endswith((".xml", ".zip", ".tif")):
        rows, numbers = raster(os.path.join(samples, "EL533945"), 403, 344, 2)
        width, height, kind = 403, 344, "EL"
        # 10 m points; the GeoTIFF's north-south cell in metres, in tenths
        spacing = 100 if name.endswith((".xml", ".zip")) else round(CELL * 111320 * 10)
    else:
        width, height, kind, spacing = 403, 344, name[:2].upper(), 10000
        data = path[:-4] if name.endswith(".hdr") else path
        rows, numbers = raster(data, width, height, 1 if kind in ("LU", "VG") else 2)
    picture = [[0xFFFFFF] * width for _ in range(height)]
    for row, line in zip(rows, numbers):
        out = picture[line - 1]
        previous = row[0]
        for j, v in enumerate(row):
            if kind == "LU":
                out[j] = palette.land(v)
            elif kind == "VG":
                out[j] = palette.plant(v)
            else:
                out[j] = palette.height(trunc_div(v, 10), v - previous, spacing)
            previous = v
    return picture


def read_bmp(path):
    with open(path, "rb") as bmp:
        data = bmp.read()
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    picture = []
    for y in range(height):
        base = 54 + stride * (height - 1 - y)
        picture.append([data[base + 3 * x + 2] | data[base + 3 * x + 1] << 8 | data[base + 3 * x] << 16
                        for x in range(width)])
    return picture


def main():
    talvo, samples = sys.argv[1], os.path.join(sys.argv[2], "jacksboro")
    ini = os.path.join(samples, "Talvo.ini")
    palette = Palette(ini)
    problems = []
    with tempfile.TemporaryDirectory() as folder:
        write_twins(samples, folder)
        # The bundled FG-GML zip and GeoTIFF hold the same heights as the twins.
        maps = [(samples, name) for name in ("533945.Mem", "EL533945.hdr", "LU533945.hdr",
                                             "VG533945.hdr", "jacksboro.bil",
                                             "FG-GML-5339-45-DEM10B.zip", "jacksboro.tif")]
        maps += [(folder, name) for name in ("FG-GML-5339-45-DEM10B.xml", "jacksboro.tif")]
        for place, name in maps:
            path = os.path.join(place, name)
            out = os.path.join(folder, "picture.bmp")
            subprocess.run([talvo, "--render", path, "-o", out, "--layers", "", "--ini", ini], check=True)
            ours, want = read_bmp(out), expected(name, samples, palette)
            wrong = [(x, y) for y, row in enumerate(want) for x, c in enumerate(row) if ours[y][x] != c]
            if wrong:
                x, y = wrong[0]
                problems.append("%s: %d pixels differ, first at (%d, %d): %06X, expected %06X"
                                % (path, len(wrong), x, y, ours[y][x], want[y][x]))
            # With the boundaries: every changed pixel is in the layer's colour.
            subprocess.run([talvo, "--render", path, "-o", out, "--layers", "ad", "--ini", ini], check=True)
            layered = read_bmp(out)
            changed = [layered[y][x] for y in range(len(want)) for x in range(len(want[0]))
                       if layered[y][x] != ours[y][x]]
            # A GDAL raster has no mesh code: no layer is its.
            drawn = name != "jacksboro.tif"
            if bool(changed) != drawn or any(c != palette.ad for c in changed):
                problems.append("%s: %d pixels changed by the boundaries" % (path, len(changed)))
            print("%s: %d pixels compared, %d drawn by the boundaries" % (path, len(want) * len(want[0]), len(changed)))
    return report(problems)


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/python3
"""Reads back with GDAL what `talvo --export` and `talvo --render` write.

Every cell of the exported GeoTIFF must be the Float32 of the value the source wrote (the class
code for land use), -9999 where the source has no data, and the sea as no data or as --sea's
value; the CRS and the geotransform are the map's, the file a valid Cloud Optimized GeoTIFF. The
picture of the same map, as PNG with its world file or as an RGB GeoTIFF, lies on the same cells;
a palette's NoData colour paints exactly the cells without data. --info counts what the points
say.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

import numpy
from osgeo import gdal
from osgeo_utils.samples import validate_cloud_optimized_geotiff

import map_dump
from fg_gml_text import fg_gml_document

gdal.UseExceptions()

NO_DATA = -9999.0
CELL_LON, CELL_LAT = 0.0015, 0.001
WEST, NORTH = 139.5, 35.75
# Point types and what they mean for a cell: a height, the sea, or no data.
SEA_TYPES = ("海水面", "内水面")


def fg_gml(points, cols, south, west, mesh, spacing, datum="jgd2011"):
    """An FG-GML DEM tile of (type, value text) points, west to east then north to south."""
    rows = len(points) // cols
    tuples = "".join("\n%s,%s" % point for point in points)
    return fg_gml_document(tuples, cols, rows, south, west, south + rows * CELL_LAT,
                           west + cols * CELL_LON, mesh, spacing, datum)


def tile_points(seed, cols, rows, decimals):
    """Points of every type, heights with the given decimals."""
    points = []
    for index in range(cols * rows):
        pick = (index * 7 + seed) % 23
        if pick == 0:
            points.append((SEA_TYPES[index % 2], "-9999."))
        elif pick == 1:
            points.append(("データなし", "-9999."))
        elif pick == 2:
            points.append(("地表面", "-9999."))
        else:
            value = ((index * 7919 + seed * 104729) % 400000 - 20000) / 10 ** decimals
            points.append((("地表面", "表層面", "その他")[index % 3], "%.*f" % (decimals, value)))
    return points


def expected_of_points(points, cols, sea=NO_DATA):
    """The cells an export must hold, and the sea and no-data counts --info must give."""
    cells = []
    for kind, text in points:
        if kind in SEA_TYPES:
            cells.append(sea)
        elif kind == "データなし" or float(text) == -9999.0:
            cells.append(NO_DATA)
        else:
            cells.append(float(text))
    return numpy.array(cells, dtype=numpy.float32).reshape(-1, cols)


def counts_of(cells, sea_cells):
    return {"Sea": int(sea_cells), "NoData": int((cells == NO_DATA).sum()) - int(sea_cells)}


def dms(value):
    """d.mmss as degrees."""
    degrees = int(value)
    minutes = int(round((value - degrees) * 100, 6))
    seconds = round(((value - degrees) * 100 - minutes) * 100, 6)
    return degrees + minutes / 60 + seconds / 3600


class Check:
    def __init__(self, talvo, folder):
        self.talvo, self.folder, self.problems = talvo, folder, []

    def run(self, *args, expect=0):
        done = subprocess.run([self.talvo, *args], capture_output=True, text=True)
        if done.returncode != expect:
            self.problems.append("%s: exit %d: %s" % (" ".join(args), done.returncode, done.stderr))
        return done

    def export(self, label, source, expected, epsg, transform, *options):
        out = os.path.join(self.folder, label.replace(" ", "_") + ".tif")
        if self.run("--export", source, "-o", out, *options).returncode != 0:
            return None
        dataset = gdal.Open(out)
        cells = dataset.GetRasterBand(1).ReadAsArray()
        if dataset.GetRasterBand(1).GetNoDataValue() != NO_DATA:
            self.problems.append("%s: no-data value %r" % (label, dataset.GetRasterBand(1).GetNoDataValue()))
        if cells.shape != expected.shape:
            self.problems.append("%s: %r cells, expected %r" % (label, cells.shape, expected.shape))
            return out
        wrong = numpy.argwhere(cells != expected)
        for row, col in wrong[:5]:
            self.problems.append("%s: cell (%d, %d) is %r, expected %r" % (
                label, row, col, cells[row, col], expected[row, col]))
        code = dataset.GetSpatialRef().GetAuthorityCode(None) if dataset.GetSpatialRef() else None
        if code != str(epsg):
            self.problems.append("%s: EPSG %r, expected %d" % (label, code, epsg))
        if any(abs(a - b) > 1e-9 for a, b in zip(dataset.GetGeoTransform(), transform)):
            self.problems.append("%s: geotransform %r, expected %r" % (
                label, dataset.GetGeoTransform(), transform))
        warnings, errors, _ = validate_cloud_optimized_geotiff.validate(out, full_check=True)
        if errors:
            self.problems.append("%s: not a valid COG: %s" % (label, errors))
        print("%s: %d x %d cells, %d differ" % (label, cells.shape[1], cells.shape[0], len(wrong)))
        return out

    def info_counts(self, label, source, counts):
        lines = self.run("--info", source).stdout.splitlines()
        for key, value in counts.items():
            if "%s: %d" % (key, value) not in lines:
                self.problems.append("%s: --info lacks '%s: %d'" % (label, key, value))

    def pictures(self, label, source, exported, ini):
        """The PNG and the RGB GeoTIFF lie where the export does; NoData= paints its cells."""
        heights = gdal.Open(exported)
        png = os.path.join(self.folder, label + ".png")
        tif = os.path.join(self.folder, label + "_picture.tif")
        for out in (png, tif):
            self.run("--render", source, "-o", out, "--ini", ini, "--layers", "")
        for out, bands in ((png, 3), (tif, 3)):
            picture = gdal.Open(out)
            if picture.RasterCount != bands or \
               any(abs(a - b) > 1e-9 for a, b in zip(picture.GetGeoTransform(), heights.GetGeoTransform())):
                self.problems.append("%s: %s lies at %r, the heights at %r" % (
                    label, out, picture.GetGeoTransform(), heights.GetGeoTransform()))
        picture = gdal.Open(tif)
        if picture.GetSpatialRef().GetAuthorityCode(None) != heights.GetSpatialRef().GetAuthorityCode(None):
            self.problems.append("%s: the picture's CRS is not the heights'" % label)
        rgb = numpy.stack([picture.GetRasterBand(b).ReadAsArray() for b in (1, 2, 3)], axis=-1)
        png_picture = gdal.Open(png)
        png_rgb = numpy.stack([png_picture.GetRasterBand(b).ReadAsArray() for b in (1, 2, 3)], axis=-1)
        if not numpy.array_equal(rgb, png_rgb):
            self.problems.append("%s: the GeoTIFF picture differs from the PNG" % label)
        magenta = numpy.all(rgb == (255, 0, 255), axis=-1)
        no_data = heights.GetRasterBand(1).ReadAsArray() == NO_DATA
        return magenta, no_data


def main():
    talvo, dump, samples = sys.argv[1], sys.argv[2], sys.argv[3]
    jacksboro = os.path.join(samples, "jacksboro")
    with tempfile.TemporaryDirectory() as folder:
        check = Check(talvo, folder)
        ini = os.path.join(folder, "Talvo.ini")
        with open(os.path.join(jacksboro, "Talvo.ini"), encoding="utf-8") as source:
            palette = source.read().replace("[Palette]\n", "[Palette]\nNoData=FF00FF\n", 1)
        with open(ini, "w", encoding="utf-8") as out:
            out.write(palette)

        # A 5 m tile with centimetres, a 10 m tile with tenths, both with every point type.
        for label, spacing, decimals, cols, rows in (("5m tile", "5m", 2, 30, 20),
                                                     ("10m tile", "10m", 1, 25, 16)):
            points = tile_points(len(label) + decimals, cols, rows, decimals)
            path = os.path.join(folder, label.replace(" ", "_") + ".xml")
            with open(path, "wb") as out:
                out.write(fg_gml(points, cols, 35.7, 139.5, "53394500", spacing))
            transform = (139.5, CELL_LON, 0, 35.7 + rows * CELL_LAT, 0, -CELL_LAT)
            sea_cells = sum(kind in SEA_TYPES for kind, _ in points)
            expected = expected_of_points(points, cols)
            exported = check.export(label, path, expected, 6668, transform)
            check.export(label + " sea 0", path, expected_of_points(points, cols, sea=0.0), 6668,
                         transform, "--sea", "0")
            check.info_counts(label, path, dict(counts_of(expected, sea_cells), Cells=cols * rows))
            if exported:
                magenta, no_data = check.pictures(label.replace(" ", "_"), path, exported, ini)
                sea = expected_of_points(points, cols, sea=1.0) == 1.0
                if not numpy.array_equal(magenta, no_data & ~sea):
                    check.problems.append("%s: NoData's colour is not on exactly the no-data cells" % label)

        # A zip of a 2 × 2 block of 5 m tiles, the south-east one missing, in JGD2000.
        cols, rows = 10, 6
        expected = numpy.full((2 * rows, 2 * cols), NO_DATA, dtype=numpy.float32)
        zipped = os.path.join(folder, "tiles.zip")
        sea_cells = 0
        with zipfile.ZipFile(zipped, "w") as archive:
            for index, (row, col) in enumerate(((0, 0), (0, 1), (1, 0))):
                points = tile_points(index, cols, rows, 2)
                sea_cells += sum(kind in SEA_TYPES for kind, _ in points)
                south = NORTH - (row + 1) * rows * CELL_LAT
                archive.writestr("FG-GML-5339-45-%d%d-DEM5A-20161001.xml" % (row, col),
                                 fg_gml(points, cols, south, WEST + col * cols * CELL_LON,
                                        "5339450%d" % index, "5m", datum="jgd2000"))
                expected[row * rows:(row + 1) * rows, col * cols:(col + 1) * cols] = \
                    expected_of_points(points, cols)
        check.export("zip with a missing tile", zipped, expected, 4612,
                     (WEST, CELL_LON, 0, NORTH, 0, -CELL_LAT))
        check.info_counts("zip", zipped, dict(counts_of(expected, sea_cells), Cells=expected.size))

        # The bundled .bil and land-use raster. The .bil's cells and corners as GDAL reads them.
        bil = os.path.join(jacksboro, "jacksboro.bil")
        theirs = gdal.OpenEx(bil, allowed_drivers=["EHdr"])
        cells = theirs.GetRasterBand(1).ReadAsArray().astype(numpy.float32)
        check.export(".bil", bil, numpy.where(cells == NO_DATA, NO_DATA, cells), 4326,
                     theirs.GetGeoTransform())
        land_use = numpy.fromfile(os.path.join(jacksboro, "LU533945"), dtype=numpy.uint8)
        check.export("land use", os.path.join(jacksboro, "LU533945.hdr"),
                     land_use.reshape(344, 403).astype(numpy.int16), 4326,
                     (-84.41375, (-84.077917 + 84.41375) / 403, 0, 36.732917, 0,
                      -(36.732917 - 36.44625) / 344))

        # The numeric map: tenths of a metre, -999.9 m the sea; corners in d.mmss, Tokyo datum.
        mem = os.path.join(jacksboro, "533945.Mem")
        ours = map_dump.run(dump, mem)
        tenths = numpy.array(ours.rows, dtype=numpy.int64)
        heights = numpy.where(tenths == -9999, NO_DATA, tenths / 10).astype(numpy.float32)
        south, west, north, east = map(dms, ours.corners)
        check.export("numeric map", mem, heights, 4301,
                     (west, (east - west) / ours.width, 0, north, 0, -(north - south) / ours.height))

        # A picture is no height export, an unknown EPSG code is refused by name.
        check.run("--export", mem, "-o", os.path.join(folder, "x.png"), expect=1)
        done = check.run("--export", mem, "-o", os.path.join(folder, "x.tif"), "--crs", "EPSG:99999",
                         expect=1)
        if "EPSG:99999" not in done.stderr or os.path.exists(os.path.join(folder, "x.tif")):
            check.problems.append("--crs EPSG:99999: %r" % done.stderr)
        check.run("--export", mem, "-o", os.path.join(folder, "x.tif"), "--sea", "deep", expect=2)
        return map_dump.report(check.problems)


if __name__ == "__main__":
    sys.exit(main())

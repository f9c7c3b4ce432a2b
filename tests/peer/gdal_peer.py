#!/usr/bin/python3
"""Cross-checks our GDAL rasters and FG-GML DEM readers against GDAL and against each other.

GDAL writes a Float64 GeoTIFF; its FG-GML twin holds the same values as decimal text, once as one
tile and once as a zip of tiles with one tile missing. Every cell of all three must be equal, and
equal to GDAL's own value rounded to tenths. Then the variants of a GeoTIFF (scale and offset,
south-up, projected, rotated, placed by ground control points) and the zips that must be
refused.
"""
import io
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

from osgeo import gdal, osr

import map_dump
from fg_gml_text import fg_gml_document

gdal.UseExceptions()

NO_DATA = -99990
# A tile: 10 × 6 points, 0.0015° × 0.001° apart; the mosaic is 2 × 2 tiles, north-west first.
TILE_COLS, TILE_ROWS = 10, 6
CELL_LON, CELL_LAT = 0.0015, 0.001
WEST, NORTH = 139.5, 35.75
MESHES = [["53394510", "53394511"], ["53394500", "53394501"]]


def tenths(text):
    """A decimal text in tenths, rounded half to even on its digits, as the readers round."""
    negative = text.startswith("-")
    whole, _, fraction = text.lstrip("+-").partition(".")
    fraction = fraction.ljust(2, "0")
    value = int(whole or "0") * 10 + int(fraction[0])
    after = fraction[1:]
    if after[0] > "5" or (after[0] == "5" and (after[1:].strip("0") or value % 2)):
        value += 1
    return -value if negative else value


def fg_gml(values, south, west, mesh, spacing="5m"):
    """An FG-GML DEM document of the rows of values (None: no data)."""
    rows, cols = len(values), len(values[0])
    points = "".join("\n%s,%s" % (("地表面", repr(v)) if v is not None else ("データなし", "-9999."))
                     for row in values for v in row)
    return fg_gml_document(points, cols, rows, south, west, south + rows * CELL_LAT,
                           west + cols * CELL_LON, mesh, spacing)


def geotiff(path, values, transform, data_type=gdal.GDT_Float64, nodata=-9999.0, scale=None,
            offset=None, epsg=6668):
    rows, cols = len(values), len(values[0])
    dataset = gdal.GetDriverByName("GTiff").Create(path, cols, rows, 1, data_type)
    dataset.SetGeoTransform(transform)
    reference = osr.SpatialReference()
    reference.ImportFromEPSG(epsg)
    dataset.SetProjection(reference.ExportToWkt())
    band = dataset.GetRasterBand(1)
    band.SetNoDataValue(nodata)
    if scale is not None:
        band.SetScale(scale)
        band.SetOffset(offset)
    band.WriteRaster(0, 0, cols, rows,
                     struct.pack("<%d%s" % (rows * cols, "d" if data_type == gdal.GDT_Float64 else "h"),
                                 *[nodata if v is None else v for row in values for v in row]),
                     buf_type=data_type)
    dataset = None


def heights(rng, rows, cols):
    """Heights with 0 to 4 decimals, ties included; None where the north-east tile is missing.

    The last ties' tenfold rounds to a tie in binary, yet their digits are no tie."""
    ties = [12.35, 12.25, 0.25, -0.15, 1.05, 1234.45, -0.05, 0.0, 0.8500000000000001,
            3.3499999999999996, -1.6500000000000001]
    values = []
    for row in range(rows):
        values.append([])
        for col in range(cols):
            if row < TILE_ROWS and col >= TILE_COLS:
                values[-1].append(None)
            elif ties and rng.random() < 0.2:
                values[-1].append(ties.pop())
            else:
                values[-1].append(round(rng.uniform(-20.0, 3800.0), rng.randint(0, 4)))
    return values


def check_cells(label, ours, expected, problems):
    if (ours.width, ours.height, ours.rows_read) != (len(expected[0]), len(expected), len(expected)):
        problems.append("%s: %d x %d, %d rows read" % (label, ours.width, ours.height, ours.rows_read))
        return
    for row, values in enumerate(expected):
        for col, value in enumerate(values):
            if ours.rows[row][col] != value:
                problems.append("%s: cell (%d, %d) is %d, not %d" % (label, row, col,
                                                                     ours.rows[row][col], value))
    print("%s: %d x %d cells compared" % (label, ours.width, ours.height))


def check_corners(label, ours, expected, problems):
    if any(abs(a - b) > 1e-9 for a, b in zip(ours.corners, expected)):
        problems.append("%s: corners %r, not %r" % (label, ours.corners, expected))


def refused(dump, path, says, problems, timeout=None):
    result = subprocess.run([dump, path], capture_output=True, text=True, timeout=timeout)
    if result.returncode != 1 or says not in result.stderr:
        problems.append("%s: exit %d, %r" % (os.path.basename(path), result.returncode,
                                             result.stderr))


def declare_sizes(path, size):
    """Makes every entry of the zip declare size bytes unpacked, as a zip bomb may."""
    with open(path, "r+b") as archive:
        data = bytearray(archive.read())
        for signature, offset in ((b"PK\x01\x02", 24), (b"PK\x03\x04", 22)):
            at = data.find(signature)
            while at >= 0:
                data[at + offset:at + offset + 4] = struct.pack("<I", size)
                at = data.find(signature, at + 4)
        archive.seek(0)
        archive.write(data)


def vrt(path, source, relative=True, srs="", transform="0, 1, 0, 0, 0, -1", size=(2, 2)):
    """A VRT of band 1 of source."""
    with open(path, "w") as out:
        out.write("""<VRTDataset rasterXSize="%d" rasterYSize="%d"><SRS>%s</SRS>
<GeoTransform>%s</GeoTransform><VRTRasterBand dataType="Float64" band="1">
<SimpleSource><SourceFilename relativeToVRT="%d">%s</SourceFilename><SourceBand>1</SourceBand>
</SimpleSource></VRTRasterBand></VRTDataset>""" % (size + (srs, transform, relative, source)))


def zip_of(entries):
    """The bytes of a zip of (name, bytes) entries."""
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            archive.writestr(name, data)
    return out.getvalue()


def tile_name(mesh, date):
    return "FG-GML-5339-45-%s-DEM5A-%s.xml" % (mesh[6:], date)


def check_pack(dump, talvo, path, tiles, older, expected, problems):
    """The three tiles packed as GSI's bulk download packs them, zips of meshes in one zip: one
    tile labelled JGD2024 (JGD2011 horizontally), two meshes also there in an older version (by the
    date in the name) of other heights, before and after the newer; a zip inside a zip of the pack
    holds no tile that is read."""
    deep = zip_of([("deeper.zip", zip_of([(tile_name("53394511", "20161001"), b"<x/>")]))])
    first = zip_of([(tile_name("53394510", "20161001"), tiles["53394510"]),
                    (tile_name("53394500", "20150101"), older["53394500"])])
    second = zip_of([(tile_name("53394500", "20161001"),
                      tiles["53394500"].replace(b"jgd2011", b"jgd2024")),
                     (tile_name("53394510", "20150101"), older["53394510"]),
                     ("deep.zip", deep)])
    with zipfile.ZipFile(path("PackDLMap.zip"), "w") as archive:
        archive.writestr("FG-GML-5339-45-DEM5A-1.zip", first)
        archive.writestr("FG-GML-5339-45-DEM5A-2.zip", second)
        archive.writestr(tile_name("53394501", "20161001"), tiles["53394501"])
    check_cells("pack of zips", map_dump.run(dump, path("PackDLMap.zip")), expected, problems)
    info = subprocess.run([talvo, "--info", path("PackDLMap.zip")], capture_output=True,
                          text=True)
    if "CRS: JGD2011 (EPSG:6668)" not in info.stdout.splitlines() or \
            info.stderr != "Older tiles set aside: 2; each mesh is laid from its tile whose " \
                           "name has the newest date\n":
        problems.append("pack --info: %r, %r" % (info.stdout[-200:], info.stderr))

    # Refused: a mix of datums that names an unknown label as it is; a mesh twice at one date; a
    # zip bomb inside the pack; a zip inside that is no zip.
    refusals = [
        ("labels.zip", [("a.xml", tiles["53394510"]),
                        ("b.xml", tiles["53394500"].replace(b"jgd2011", b"jgd2099"))],
         "The archive mixes datums: %s is in JGD2011 (EPSG:6668), this tile in fguuid:jgd2099.bl"
         % path("labels.zip/a.xml")),
        ("dates.zip", [("in.zip", zip_of([(tile_name("53394510", "20161001"), tiles["53394510"])])),
                       (tile_name("53394510", "20161001"), tiles["53394510"])],
         "The mesh 53394510 is given twice: here and in %s"
         % path("dates.zip/" + tile_name("53394510", "20161001"))),
        ("notzip.zip", [("in.zip", b"PK\x03\x04 no zip")],
         "Not a zip archive\n%s" % path("notzip.zip/in.zip")),
    ]
    for name, entries, says in refusals:
        with open(path(name), "wb") as out:
            out.write(zip_of(entries))
        refused(dump, path(name), says, problems)
    with open(path("inner-bomb.zip"), "wb") as out:
        out.write(zip_of([("a.xml", tiles["53394510"]), ("b.xml", tiles["53394500"])]))
    declare_sizes(path("inner-bomb.zip"), 0xF0000000)
    with zipfile.ZipFile(path("pack-bomb.zip"), "w") as archive:
        archive.write(path("inner-bomb.zip"), "inner-bomb.zip")
    refused(dump, path("pack-bomb.zip"), "refused as a zip bomb\n%s"
            % path("pack-bomb.zip/inner-bomb.zip"), problems)


def check_zipped_raster(dump, talvo, path, from_gdal, problems):
    """A zip of one GeoTIFF, its name in CP932 without the zip's UTF-8 flag, as Japanese Windows
    zips it: read through GDAL as the GeoTIFF is, and never overwritten as an output."""
    with zipfile.ZipFile(path("zipped.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
        archive.write(path("dem.tif"), "XXXX.tif")
    with open(path("zipped.zip"), "rb") as archive:
        data = archive.read().replace(b"XXXX.tif", "標高.tif".encode("cp932"))
    with open(path("zipped.zip"), "wb") as archive:
        archive.write(data)
    check_cells("zipped GeoTIFF", map_dump.run(dump, path("zipped.zip")), from_gdal, problems)
    info = subprocess.run([talvo, "--info", path("zipped.zip")], capture_output=True,
                          text=True).stdout.splitlines()
    if "DataFileName: %s/標高.tif" % path("zipped.zip") not in info:
        problems.append("zipped GeoTIFF --info: %s" % [line for line in info if "File" in line])
    os.link(path("zipped.zip"), path("zipped-link.tif"))
    result = subprocess.run([talvo, "--export", path("zipped.zip"), "-o", path("zipped-link.tif")],
                            capture_output=True, text=True)
    if result.returncode != 1 or open(path("zipped-link.tif"), "rb").read() != data:
        problems.append("the zip was replaced by its raster's export: %r" % result.stderr)
    with zipfile.ZipFile(path("rasters.zip"), "w") as archive:
        archive.write(path("dem.tif"), "a.tif")
        archive.write(path("dem.tif"), "b.tif")
    refused(dump, path("rasters.zip"), "holds no FG-GML DEM tile and 2 rasters", problems)


def check_descriptions(dump, talvo, samples, path, problems):
    """Raster descriptions that would reach out, overwrite their source or turn their map."""
    geographic = ('GEOGCS["x",DATUM["WGS_1984",SPHEROID["WGS 84",6378137,298.257223563]],'
                  'PRIMEM["Greenwich",0],UNIT["degree",%s]]')
    projected = ('PROJCS["x",%s,PROJECTION["Transverse_Mercator"],UNIT["metre",%%s]]'
                 % (geographic % "0.0174532925199433"))
    rows = [  # file, its source, then what the message says
        ("curl.vrt", "/vsicurl/http://10.255.255.1/x.tif", "not a plain file on this computer"),
        ("url.vrt", "https://10.255.255.1/x.tif", "not a plain file on this computer"),
        ("wms-source.vrt", "wms.xml", "wms.xml, which is not a raster Talvo opens"),
        ("missing.vrt", "gone.tif", "gone.tif, which cannot be opened: File not found"),
        ("wms.tif", None, "Not a raster Talvo opens through GDAL"),
        ("raw.vrt", None, "reads /etc/passwd as raw bytes"),
        ("negative-unit.vrt", None, "coordinate unit -1 is not a positive finite number"),
        ("turned.vrt", None, "coordinate unit -1.0000000000000002 is not"),
        ("huge-unit.vrt", None, "coordinate unit inf is not"),
        ("huge-cell.vrt", None, "corners or cell size lie beyond what a map holds"),
    ]
    wms = ("<GDAL_WMS><Service name=\"TMS\"><ServerUrl>http://10.255.255.1/${z}/${x}/${y}.png"
           "</ServerUrl></Service><DataWindow><UpperLeftX>-180</UpperLeftX><UpperLeftY>90"
           "</UpperLeftY><LowerRightX>180</LowerRightX><LowerRightY>-90</LowerRightY><TileLevel>2"
           "</TileLevel></DataWindow><Cache><Path>%s</Path></Cache></GDAL_WMS>" % path("cache"))
    for name in ("wms.xml", "wms.tif"):
        with open(path(name), "w") as out:
            out.write(wms)
    for name, source, _ in rows:
        if source:
            vrt(path(name), source, relative="://" not in source)
    with open(path("raw.vrt"), "w") as out:
        out.write('<VRTDataset rasterXSize="8" rasterYSize="8"><VRTRasterBand dataType="Byte" '
                  'band="1" subClass="VRTRawRasterBand"><SourceFilename relativeToVRT="0">'
                  '/etc/passwd</SourceFilename><ImageOffset>0</ImageOffset><PixelOffset>1'
                  '</PixelOffset><LineOffset>8</LineOffset></VRTRasterBand></VRTDataset>')
    vrt(path("negative-unit.vrt"), "dem.tif", srs=projected % "-1")
    vrt(path("turned.vrt"), "dem.tif", srs=geographic % "-0.0174532925199433")
    vrt(path("huge-unit.vrt"), "dem.tif", srs=geographic % "1e308")
    vrt(path("huge-cell.vrt"), "dem.tif", transform="0, 1, 0, 0, 0, -1e300")
    for name, _, says in rows:
        try:
            refused(dump, path(name), says, problems, timeout=10)
        except subprocess.TimeoutExpired:
            problems.append("%s: no answer within 10 s" % name)
    if os.path.exists(path("cache")):
        problems.append("GDAL wrote a cache folder for a map description")

    # A VRT's source is an input like any other: an output of that name is refused.
    shutil.copy(path("dem.tif"), path("heights.png"))
    vrt(path("heights.vrt"), "heights.png")
    before = open(path("heights.png"), "rb").read()
    result = subprocess.run([talvo, "--render", path("heights.vrt"), "-o", path("heights.png"),
                             "--ini", os.path.join(samples, "jacksboro", "Talvo.ini")],
                            capture_output=True, text=True)
    if result.returncode != 1 or open(path("heights.png"), "rb").read() != before:
        problems.append("the VRT's source was replaced: exit %d, %r" % (result.returncode,
                                                                        result.stderr))

    # A row longer than the blocks rasters are read in: read in pieces, every cell in place.
    wide = [[col % 5000 - 100 for col in range(1100000)], [col % 7 for col in range(1100000)]]
    geotiff(path("wide.tif"), wide, (WEST, CELL_LON, 0, NORTH, 0, -CELL_LAT), gdal.GDT_Int16)
    check_cells("a 1,100,000-cell row", map_dump.run(dump, path("wide.tif")),
                [[v * 10 for v in row] for row in wide], problems)


def check_gcps(dump, talvo, samples, path, problems):
    """Rasters placed by ground control points alone (no geotransform, or GDAL's default one):
    drawn as stored, in no CRS; --info says the points are not applied; the export and the
    picture's GeoTIFF carry them and their CRS, and no geotransform or CRS of their own."""
    raw = [[row * 10 + col for col in range(4)] for row in range(3)]
    points = [gdal.GCP(139.5, 35.75, 0, 0, 0), gdal.GCP(139.6, 35.75, 0, 4, 0),
              gdal.GCP(139.5, 35.7, 0, 0, 3), gdal.GCP(139.61, 35.69, 0, 4, 3)]
    wgs84 = osr.SpatialReference()
    wgs84.ImportFromEPSG(4326)
    tif = gdal.GetDriverByName("GTiff").Create(path("gcps.tif"), 4, 3, 1, gdal.GDT_Int16)
    tif.GetRasterBand(1).WriteRaster(0, 0, 4, 3, struct.pack("<12h", *sum(raw, [])))
    tif.SetGCPs(points, wgs84.ExportToWkt())
    tif = None
    identity = gdal.Translate(path("identity.vrt"), path("gcps.tif"), format="VRT")
    identity.SetGeoTransform((0, 1, 0, 0, 0, 1))
    identity = None
    for name in ("gcps.tif", "identity.vrt"):
        check_cells(name, map_dump.run(dump, path(name)), [[v * 10 for v in row] for row in raw],
                    problems)
        info = subprocess.run([talvo, "--info", path(name)], capture_output=True, text=True).stdout
        said = "\nGCPs: 4 in WGS 84 (EPSG:4326), not applied: the raster is drawn as stored\n"
        if said not in info or "\nCRS:" in info:
            problems.append("%s: --info says %r" % (name, info))
        ini = os.path.join(samples, "jacksboro", "Talvo.ini")
        for out, options in (("x.tif", ["--export"]), ("p.tif", ["--render", "--ini", ini]),
                             ("p.png", ["--render", "--ini", ini])):
            subprocess.run([talvo, *options, path(name), "-o", path(out)], check=True)
        for out in ("x.tif", "p.tif"):
            written = gdal.Open(path(out))
            theirs = [(p.GCPPixel, p.GCPLine, p.GCPX, p.GCPY) for p in written.GetGCPs()]
            if theirs != [(p.GCPPixel, p.GCPLine, p.GCPX, p.GCPY) for p in points] or \
               written.GetGCPSpatialRef().GetAuthorityCode(None) != "4326" or \
               written.GetSpatialRef() or written.GetGeoTransform(can_return_null=True):
                problems.append("%s: %s holds GCPs %r" % (name, out, theirs))
        if os.path.exists(path("p.pgw")):
            problems.append("%s: a world file places the picture on pixel coordinates" % name)


def main():
    dump, samples = sys.argv[1], sys.argv[2]
    talvo = os.path.join(os.path.dirname(dump), "talvo")
    rng = random.Random(17)
    rows, cols = 2 * TILE_ROWS, 2 * TILE_COLS
    values = heights(rng, rows, cols)
    expected = [[NO_DATA if v is None else tenths(repr(v)) for v in row] for row in values]
    south = NORTH - rows * CELL_LAT
    problems = []

    with tempfile.TemporaryDirectory() as folder:
        def path(name):
            return os.path.join(folder, name)

        geotiff(path("dem.tif"), values, (WEST, CELL_LON, 0, NORTH, 0, -CELL_LAT))
        dataset = gdal.Open(path("dem.tif"))  # kept while its band is read
        theirs = dataset.GetRasterBand(1).ReadAsArray()
        dataset = None
        from_gdal = [[NO_DATA if v == -9999 else tenths(repr(float(v))) for v in row]
                     for row in theirs]
        if from_gdal != expected:
            problems.append("GDAL does not read back the GeoTIFF written")
        check_cells("GeoTIFF as GDAL reads it", map_dump.run(dump, path("dem.tif")), from_gdal,
                    problems)
        check_corners("GeoTIFF", map_dump.run(dump, path("dem.tif")),
                      [south, WEST, NORTH, WEST + cols * CELL_LON], problems)

        with open(path("dem.xml"), "wb") as out:
            out.write(fg_gml(values, south, WEST, "53394500"))
        check_cells("FG-GML twin", map_dump.run(dump, path("dem.xml")), expected, problems)

        # Tiles in the order 2 × 2 tiles would be listed, the north-east one missing; a text file
        # is no tile.
        tiles, older = {}, {}
        for ty in range(2):
            for tx in range(2):
                if ty == 0 and tx == 1:
                    continue
                part = [row[tx * TILE_COLS:(tx + 1) * TILE_COLS]
                        for row in values[ty * TILE_ROWS:(ty + 1) * TILE_ROWS]]
                tile_south = NORTH - (ty + 1) * TILE_ROWS * CELL_LAT
                tile_west = WEST + tx * TILE_COLS * CELL_LON
                tiles[MESHES[ty][tx]] = fg_gml(part, tile_south, tile_west, MESHES[ty][tx])
                older[MESHES[ty][tx]] = fg_gml([[1.5] * TILE_COLS] * TILE_ROWS, tile_south,
                                               tile_west, MESHES[ty][tx])
        with zipfile.ZipFile(path("tiles.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
            for mesh in sorted(tiles, reverse=True):
                archive.writestr("FG-GML-5339-45-%s-DEM5A-20161001.xml" % mesh[6:], tiles[mesh])
            archive.writestr("readme.txt", "not a tile")
        mosaic = map_dump.run(dump, path("tiles.zip"))
        check_cells("zip of three tiles", mosaic, expected, problems)
        check_corners("zip of three tiles", mosaic, [south, WEST, NORTH, WEST + cols * CELL_LON],
                      problems)
        info = subprocess.run([talvo, "--info", path("tiles.zip")], capture_output=True,
                              text=True).stdout.splitlines()
        for line in ("MeshCode: 533945", "MapKind: FG", "CellSpacing: 50"):
            if line not in info:
                problems.append("zip --info lacks %r" % line)

        check_pack(dump, talvo, path, tiles, older, expected, problems)
        check_zipped_raster(dump, talvo, path, from_gdal, problems)

        # GDAL rasters: scale and offset, south-up rows, a projection, a rotation.
        raw = [[rng.randint(-300, 3000) for _ in range(7)] for _ in range(5)]
        raw[1][2] = -32768
        geotiff(path("scaled.tif"), raw, (WEST, 0.5, 0, NORTH, 0, -0.25), gdal.GDT_Int16,
                nodata=-32768, scale=0.1, offset=100.0)
        check_cells("scale and offset", map_dump.run(dump, path("scaled.tif")),
                    [[NO_DATA if v == -32768 else tenths(repr(v * 0.1 + 100.0)) for v in row]
                     for row in raw], problems)
        geotiff(path("south-up.tif"), raw[::-1], (WEST, 0.5, 0, NORTH - 1.25, 0, 0.25),
                gdal.GDT_Int16, nodata=-32768)
        check_cells("south-up", map_dump.run(dump, path("south-up.tif")),
                    [[NO_DATA if v == -32768 else v * 10 for v in row] for row in raw], problems)
        check_corners("south-up", map_dump.run(dump, path("south-up.tif")),
                      [NORTH - 1.25, WEST, NORTH, WEST + 3.5], problems)
        geotiff(path("utm.tif"), raw, (500000, 30, 0, 4000000, 0, -30), gdal.GDT_Int16,
                nodata=-32768, epsg=32654)
        check_corners("projected", map_dump.run(dump, path("utm.tif")),
                      [4000000 - 150, 500000, 4000000, 500000 + 210], problems)
        info = subprocess.run([talvo, "--info", path("utm.tif")], capture_output=True,
                              text=True).stdout.splitlines()
        for line in ("MapKind: GD", "Driver: GTiff", "Comment: GTiff", "CellSpacing: 300",
                     "Ido_EN: 4000000.000000", "MeshCode: "):
            if line not in info:
                problems.append("GeoTIFF --info lacks %r" % line)
        geotiff(path("rotated.tif"), raw, (WEST, 0.5, 0.1, NORTH, 0, -0.25), gdal.GDT_Int16)
        refused(dump, path("rotated.tif"), "rotated", problems)

        # Zips that are refused.
        with zipfile.ZipFile(path("spacings.zip"), "w") as archive:
            archive.writestr("a.xml", tiles["53394510"])
            archive.writestr("b.xml", fg_gml([[1.0]], 35.0, 139.0, "53394599", "10m"))
        refused(dump, path("spacings.zip"), "tiles of different spacings", problems)
        with zipfile.ZipFile(path("twice.zip"), "w") as archive:
            archive.writestr("a.xml", tiles["53394510"])
            archive.writestr("b.xml", tiles["53394510"])
        refused(dump, path("twice.zip"), "The mesh 53394510 is given twice", problems)
        # Tiles of two datums lie up to 400 m apart: no one map.
        with zipfile.ZipFile(path("datums.zip"), "w") as archive:
            archive.writestr("a.xml", tiles["53394510"])
            archive.writestr("b.xml", tiles["53394500"].replace(b"jgd2011", b"jgd2000"))
        refused(dump, path("datums.zip"),
                "The archive mixes datums: %s is in JGD2011 (EPSG:6668), this tile in JGD2000 "
                "(EPSG:4612)" % path("datums.zip/a.xml"), problems)
        with zipfile.ZipFile(path("bomb.zip"), "w", zipfile.ZIP_DEFLATED) as archive:
            archive.writestr("a.xml", tiles["53394510"])
            archive.writestr("b.xml", tiles["53394500"])
        declare_sizes(path("bomb.zip"), 0xF0000000)
        refused(dump, path("bomb.zip"), "refused as a zip bomb", problems)
        with zipfile.ZipFile(path("none.zip"), "w") as archive:
            archive.writestr("readme.txt", "no tile")
        refused(dump, path("none.zip"), "holds no FG-GML DEM tile", problems)
        # Two small tiles far apart would make a mosaic of almost nothing but no data.
        with zipfile.ZipFile(path("sparse.zip"), "w") as archive:
            archive.writestr("near.xml", tiles["53394510"])
            archive.writestr("far.xml", fg_gml(part, NORTH - 300 * CELL_LAT, WEST + 90 * CELL_LON,
                                               "53394599"))
        refused(dump, path("sparse.zip"), "less than 1 %% of the map they span; the tiles farthest "
                "apart are %s and %s" % (path("sparse.zip/near.xml"), path("sparse.zip/far.xml")),
                problems)
        # A zip whose name holds a brace, its tiles in a folder.
        with zipfile.ZipFile(path("tiles {1.zip"), "w") as archive:
            archive.writestr("DEM/a.xml", tiles["53394510"])
        check_cells("zip named with a brace", map_dump.run(dump, path("tiles {1.zip")),
                    [row[:TILE_COLS] for row in expected[:TILE_ROWS]], problems)

        check_descriptions(dump, talvo, samples, path, problems)
        check_gcps(dump, talvo, samples, path, problems)

    return map_dump.report(problems)


if __name__ == "__main__":
    sys.exit(main())

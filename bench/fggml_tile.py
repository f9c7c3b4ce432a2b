"""The 10 m FG-GML DEM tile of the comparisons (1125 × 750 points, about 14 MB of XML: the sample
DEM tiled, with centimetres added) and the same grid as a .bil beside it."""
import array
import os

W, H = 1125, 750


def write_tile(root, work, float_bil=False):
    """Writes work/FG-GML-5339-45-DEM10B.xml and work/tile.bil with its .hdr: 16-bit whole metres,
    or with float_bil the tile's own heights as 32-bit floats."""
    w, h = 403, 344
    cells = array.array("h")
    with open(os.path.join(root, "samples/jacksboro/jacksboro.bil"), "rb") as f:
        cells.frombytes(f.read())
    grid = [[cells[(y % h) * w + x % w] for x in range(W)] for y in range(H)]
    texts = [["%d.%02d" % (v, (x * 7 + y * 13) % 100) for x, v in enumerate(row)]
             for y, row in enumerate(grid)]
    points = "".join("\n地表面," + text for row in texts for text in row)
    with open(os.path.join(work, "FG-GML-5339-45-DEM10B.xml"), "w", encoding="utf-8") as out:
        out.write("""<?xml version="1.0" encoding="UTF-8"?>
<Dataset xmlns="http://fgd.gsi.go.jp/spec/2008/FGD_GMLSchema" xmlns:gml="http://www.opengis.net/gml/3.2">
<DEM><type>10mメッシュ（標高）</type><mesh>533945</mesh><coverage>
<gml:boundedBy><gml:Envelope><gml:lowerCorner>36.5 -84.5</gml:lowerCorner>
<gml:upperCorner>36.5833333333 -84.375</gml:upperCorner></gml:Envelope></gml:boundedBy>
<gml:gridDomain><gml:Grid dimension="2"><gml:limits><gml:GridEnvelope><gml:low>0 0</gml:low>
<gml:high>%d %d</gml:high></gml:GridEnvelope></gml:limits></gml:Grid></gml:gridDomain>
<gml:rangeSet><gml:DataBlock><gml:tupleList>%s
</gml:tupleList></gml:DataBlock></gml:rangeSet>
<gml:coverageFunction><gml:GridFunction><gml:sequenceRule order="+x-y">Linear</gml:sequenceRule>
<gml:startPoint>0 0</gml:startPoint></gml:GridFunction></gml:coverageFunction>
</coverage></DEM></Dataset>
""" % (W - 1, H - 1, points))
    if float_bil:
        values, bits, kind = array.array("f", [float(t) for row in texts for t in row]), 32, "FLOAT"
    else:
        values, bits, kind = array.array("h", [v for row in grid for v in row]), 16, "SIGNEDINT"
    with open(os.path.join(work, "tile.bil"), "wb") as out:
        out.write(values.tobytes())
    with open(os.path.join(work, "tile.hdr"), "w") as hdr:
        hdr.write("BYTEORDER I\nLAYOUT BIL\nNROWS %d\nNCOLS %d\nNBANDS 1\nNBITS %d\nPIXELTYPE %s\n"
                  "ULXMAP -84.5\nULYMAP 36.5833333333\nXDIM 0.000111111111\nYDIM 0.000111111111\n"
                  % (H, W, bits, kind))

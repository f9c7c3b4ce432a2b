"""FG-GML DEM documents as the tests write them."""


def fg_gml_document(tuples, cols, rows, south, west, north, east, mesh, spacing, datum="jgd2011"):
    """A tile of cols × rows points from tuples, the tuple list's text ("\\ntype,value" ...),
    west to east then north to south, in JGD2011 or JGD2000."""
    return ("""<?xml version="1.0" encoding="UTF-8"?>
<Dataset xmlns="http://fgd.gsi.go.jp/spec/2008/FGD_GMLSchema" xmlns:gml="http://www.opengis.net/gml/3.2">
<DEM><type>%sメッシュ（標高）</type><mesh>%s</mesh><coverage>
<gml:boundedBy><gml:Envelope srsName="fguuid:%s.bl">
<gml:lowerCorner>%.10f %.10f</gml:lowerCorner>
<gml:upperCorner>%.10f %.10f</gml:upperCorner>
</gml:Envelope></gml:boundedBy>
<gml:gridDomain><gml:Grid dimension="2"><gml:limits><gml:GridEnvelope>
<gml:low>0 0</gml:low><gml:high>%d %d</gml:high>
</gml:GridEnvelope></gml:limits></gml:Grid></gml:gridDomain>
<gml:rangeSet><gml:DataBlock><gml:tupleList>%s
</gml:tupleList></gml:DataBlock></gml:rangeSet>
<gml:coverageFunction><gml:GridFunction><gml:sequenceRule order="+x-y">Linear</gml:sequenceRule>
<gml:startPoint>0 0</gml:startPoint></gml:GridFunction></gml:coverageFunction>
</coverage></DEM></Dataset>
""" % (spacing, mesh, datum, south, west, north, east, cols - 1, rows - 1, tuples)).encode("utf-8")

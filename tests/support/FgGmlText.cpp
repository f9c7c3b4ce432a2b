#include "support/FgGmlText.h"

namespace talvo::test {

namespace {

std::string Element(const std::string& Name, const std::string& Text) {
    return "<" + Name + ">" + Text + "</" + Name + ">\n";
}

} // namespace

std::string FormatFgGml(const TFgGmlText& P) {
    std::string Text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<Dataset xmlns=\"http://fgd.gsi.go.jp/spec/2008/FGD_GMLSchema\" "
                       "xmlns:gml=\"http://www.opengis.net/gml/3.2\" gml:id=\"Dataset1\">\n"
                       "<DEM gml:id=\"DEM001\">\n";
    Text += Element("type", P.Type) + Element("mesh", P.Mesh);
    Text += "<coverage gml:id=\"DEM001-3\">\n"
            "<gml:boundedBy>\n<gml:Envelope srsName=\"fguuid:jgd2011.bl\">\n";
    Text += Element("gml:lowerCorner", P.Lower) + Element("gml:upperCorner", P.Upper);
    Text += "</gml:Envelope>\n</gml:boundedBy>\n"
            "<gml:gridDomain>\n<gml:Grid gml:id=\"DEM001-4\" dimension=\"2\">\n<gml:limits>\n"
            "<gml:GridEnvelope>\n";
    Text += Element("gml:low", P.Low) + Element("gml:high", P.High);
    Text += "</gml:GridEnvelope>\n</gml:limits>\n<gml:axisLabels>x y</gml:axisLabels>\n"
            "</gml:Grid>\n</gml:gridDomain>\n"
            "<gml:rangeSet>\n<gml:DataBlock>\n<gml:rangeParameters>\n"
            "<gml:QuantityList uom=\"DEM構成点\"></gml:QuantityList>\n</gml:rangeParameters>\n";
    Text += Element("gml:tupleList", P.Tuples);
    Text += "</gml:DataBlock>\n</gml:rangeSet>\n"
            "<gml:coverageFunction>\n<gml:GridFunction>\n";
    if (!P.Order.empty()) {
        Text += "<gml:sequenceRule order=\"" + P.Order + "\">Linear</gml:sequenceRule>\n";
    }
    if (!P.StartPoint.empty()) {
        Text += Element("gml:startPoint", P.StartPoint);
    }
    return Text + "</gml:GridFunction>\n</gml:coverageFunction>\n</coverage>\n</DEM>\n</Dataset>\n";
}

std::string FgGmlPoints(const std::vector<std::string>& Values) {
    std::string Text;
    for (const std::string& Value : Values) {
        Text += "\n地表面," + Value;
    }
    return Text + "\n";
}

} // namespace talvo::test

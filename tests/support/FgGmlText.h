#pragma once

#include <string>
#include <vector>

namespace talvo::test {

// The parts of an FG-GML DEM document as text; the defaults make a 3 × 2 tile of 5 m points with
// an empty list. Empty Order and StartPoint leave those elements out.
struct TFgGmlText {
    std::string Type = "5mメッシュ（標高）";
    std::string Mesh = "53394501";
    std::string Lower = "36.5 -84.5";
    std::string Upper = "36.5083333333 -84.4875";
    std::string Low = "0 0";
    std::string High = "2 1";
    std::string Order = "+x-y";
    std::string StartPoint = "0 0";
    std::string Tuples; // the tuple list's content, between its tags
};

// The document, laid out as the published tiles are: one element per line, one point per line.
std::string FormatFgGml(const TFgGmlText& Parts);

// One "地表面,VALUE" line per value, each after a line end.
std::string FgGmlPoints(const std::vector<std::string>& Values);

} // namespace talvo::test

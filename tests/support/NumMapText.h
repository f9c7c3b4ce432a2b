#pragma once

#include <array>
#include <string>
#include <vector>

namespace talvo::test {

// The fields of a numeric map header line as text; the defaults make a valid 2 × 2 header.
struct TNumHeaderText {
    std::string MeshCode = "533945";
    std::string SourceScale = "25000";
    std::string SurveyYear = "1992";
    std::string RevisionYear = "1998";
    std::string DigitisedYear = "2001";
    std::string Columns = "2";
    std::string Rows = "2";
    std::string SouthLatitude = "0353000";
    std::string WestLongitude = "1393000";
    std::string NorthLatitude = "0354000";
    std::string EastLongitude = "1394500";
    std::string SheetCount = "1";
    std::array<std::string, 4> SheetNames = {"Sheet", "", "", ""};
    std::array<std::string, 4> SheetFlags = {"1", "", "", ""};
    std::string RecordCount = "2";
    std::string Comment = "test";
    std::string RecordFlags = std::string(320, '0');
};

// The header line, each field in its columns (545 bytes, no line end).
std::string FormatNumHeader(const TNumHeaderText& Header);

// A data line: record code and sub-code, the line number in columns 7–9 and the values in
// five columns each (no line end).
std::string FormatNumRecord(int LineNumber, const std::vector<int>& Values);

// A whole file: the header for Values' dimensions and one record per row, numbered from 1,
// each line ended by LineEnd.
std::string FormatNumMap(const std::vector<std::vector<int>>& Rows,
                         const std::string& LineEnd = "\r\n");

// Writes Bytes to a fresh file under the test temporary folder and returns its path.
std::string WriteTempFile(const std::string& Name, const std::string& Bytes);

// The bytes of the file at Path ("" when it cannot be read).
std::string FileText(const std::string& Path);

} // namespace talvo::test

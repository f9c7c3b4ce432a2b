#pragma once

#include <array>
#include <string>
#include <vector>

namespace talvo::test {

// The fields of a numeric map header line as text; the defaults make a valid 2 × 2 header.
struct TNumHeaderText {
    std::string MeshCode = "533945";
    std::string Org_Scale = "25000";
    std::string Org_Surv = "1992";
    std::string Org_Mod = "1998";
    std::string NumericY = "2001";
    std::string Pts_WE = "2";
    std::string Pts_NS = "2";
    std::string Ido_WS = "0353000";
    std::string Kei_WS = "1393000";
    std::string Ido_EN = "0354000";
    std::string Kei_EN = "1394500";
    std::string Zuyou_Su = "1";
    std::array<std::string, 4> Zu_name = {"Sheet", "", "", ""};
    std::array<std::string, 4> Zu_Flg = {"1", "", "", ""};
    std::string RecCnt = "2";
    std::string Comment = "test";
    std::string RecFlg = std::string(320, '0');
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

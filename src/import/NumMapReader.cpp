// Numeric map meshes (*.Mem 50 m, *.Sem 250 m, *.Tem 1 km): Shift-JIS text, a header line and
// then one record line per mesh row, every field in fixed byte columns counted from 1.
//   header  1-6 MeshCode, 7-11 SourceScale, 12-15 SurveyYear, 16-19 RevisionYear, 20-23 DigitisedYear,
//           24-26 Columns, 27-29 Rows, four corners of 3 + 4 digits (d.mmss) at 30, 37, 44
//           and 51, 58 SheetCount, four sheets of a 20-byte name and a 1-byte flag from 59,
//           143-145 RecordCount, 146-225 Comment, 226-545 RecordFlags
//   record  1-4 RecCode, 5-6 RecSub, 7-9 the 1-based picture line of the row, then Columns
//           heights of 5 columns each from column 10, in tenths of a metre
// Records may come in any order: each names its own picture line.

#include "import/NumMapReader.h"

#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

// The bytes at 1-based columns First to First + Width - 1; fewer (or none) where the line
// ends early.
std::string_view Field(std::string_view Line, size_t First, size_t Width) {
    if (First > Line.size()) {
        return {};
    }
    return Line.substr(First - 1, Width);
}

// Trailing blanks and control characters go; no byte of a double-byte character is one.
std::string TrimmedField(std::string_view Line, size_t First, size_t Width) {
    std::string_view Text = Field(Line, First, Width);
    while (!Text.empty() && static_cast<unsigned char>(Text.back()) <= ' ') {
        Text.remove_suffix(1);
    }
    return std::string(Text);
}

int32_t IntegerField(std::string_view Line, size_t First, size_t Width) {
    return StrToInt(Field(Line, First, Width));
}

// Degree digits, a point, then minute-second digits: "035" and "3000" give 35.3.
double CoordinateField(std::string_view Line, size_t First) {
    std::string Text(Field(Line, First, 3));
    Text += '.';
    Text += Field(Line, First + 3, 4);
    return StrToFloat(Text);
}

} // namespace

void ReadNumMap(TTextFile& File, int32_t CellSpacing, TLoadedMap& Map, TProgress& Progress) {
    try {
        ReadNumHeader(File.ReadLine(), Map);
        Map.NumHeader.CellSpacing = CellSpacing;
        Map.RowsRead = 0;
        Progress.Start(Map.NumHeader.Rows);
        while (!File.Eof()) {
            Progress.StopIfCancelled();
            ReadNumRecord(File.ReadLine(), Map);
            Map.RowsRead = CheckedAdd(Map.RowsRead, 1);
            Progress.Advance(1);
        }
    } catch (ETalvoError& Error) {
        Error.AddPlace(File.Name(), File.LineNumber());
        throw;
    }
}

void ReadNumHeader(std::string_view Line, TLoadedMap& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    H.MeshCode = Field(Line, 1, 6);
    H.SourceScale = IntegerField(Line, 7, 5);
    H.SurveyYear = Field(Line, 12, 4);
    H.RevisionYear = Field(Line, 16, 4);
    H.DigitisedYear = Field(Line, 20, 4);
    H.Columns = IntegerField(Line, 24, 3);
    H.Rows = IntegerField(Line, 27, 3);
    H.SouthLatitude = CoordinateField(Line, 30);
    H.WestLongitude = CoordinateField(Line, 37);
    H.NorthLatitude = CoordinateField(Line, 44);
    H.EastLongitude = CoordinateField(Line, 51);
    H.SheetCount = IntegerField(Line, 58, 1);
    for (size_t Sheet = 0; Sheet < 4; ++Sheet) {
        H.SheetNames[Sheet] = TrimmedField(Line, 59 + 21 * Sheet, 20);
        H.SheetFlags[Sheet] = TrimmedField(Line, 79 + 21 * Sheet, 1);
    }
    H.RecordCount = IntegerField(Line, 143, 3);
    H.Comment = TrimmedField(Line, 146, 80);
    H.RecordFlags = Field(Line, 226, 320);

    // No row of the new map is read yet, whatever the grids held before; and a failure in
    // the dimensioning below must not leave a row count of the previous map.
    Map.RowsRead = 0;
    Map.NumData.RowLineGrid.ReDim(1, H.Rows, false);
    Map.NumData.HeightGrid.ReDim(H.Rows, H.Columns, false);
    H.MapKind = TMapKind::Numeric;
}

void ReadNumRecord(std::string_view Line, TLoadedMap& Map) {
    TNum_DataRec& D = Map.NumData;
    D.RecCode = Field(Line, 1, 4);
    D.RecSub = Field(Line, 5, 2);
    D.RowLineGrid.SetVal(0, Map.RowsRead, IntegerField(Line, 7, 3));
    int32_t* Cells = HeightRow(Map, Map.RowsRead);
    const int32_t Columns = Map.NumHeader.Columns;
    for (int32_t J = 0; J < Columns; ++J) {
        Cells[J] = IntegerField(Line, 10 + 5 * static_cast<size_t>(J), 5);
    }
}

int32_t NumMapCellSpacing(std::string_view UpperExt) {
    if (UpperExt == ".MEM") {
        return 500;
    }
    if (UpperExt == ".SEM") {
        return 2500;
    }
    if (UpperExt == ".TEM") {
        return 10000;
    }
    return 0;
}

} // namespace talvo

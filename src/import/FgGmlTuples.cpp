#include "import/FgGmlTuples.h"

#include <algorithm>
#include <charconv>

#include "import/DecimalTenths.h"
#include "platform/Errors.h"

namespace talvo {

namespace {

// Points between two looks at a cancel: a few milliseconds of parsing.
constexpr int64_t CancelPoints = int64_t{1} << 18;

// The point types that are not land: sea and inland water are the sea, and a point without data
// has none whatever value it carries.
constexpr std::string_view SeaWater = "海水面";
constexpr std::string_view InlandWater = "内水面";
constexpr std::string_view NoData = "データなし";

// The decimal [First, Last) as the float nearest its double, as GDAL and numpy read it.
float MetresAsWritten(const char* First, const char* Last) {
    if (First != Last && *First == '+') {
        ++First;
    }
    double Metres = 0.0;
    std::from_chars(First, Last, Metres);
    return static_cast<float>(Metres);
}

bool IsXmlSpace(char C) {
    return C == ' ' || C == '\n' || C == '\r' || C == '\t';
}

// The point that starts at Tuple as a message shows it: up to the white space after it, at most
// 64 bytes, never cut inside a UTF-8 character, its control bytes escaped.
std::string Quoted(const char* Tuple, const char* End) {
    const char* Stop = std::find_if(Tuple, std::min(End, Tuple + 64), IsXmlSpace);
    if (Stop != End && !IsXmlSpace(*Stop)) {
        while (Stop != Tuple && (static_cast<unsigned char>(*Stop) & 0xC0) == 0x80) {
            --Stop;
        }
    }
    std::string Shown = "'";
    Shown += Printable(std::string_view(Tuple, static_cast<size_t>(Stop - Tuple)));
    Shown += '\'';
    return Shown;
}

} // namespace

TFgGmlCells ReadFgGmlTuples(const TFgGmlTile& Tile, std::string_view Bytes, const std::string& File,
                            const TProgress& Progress) {
    const int64_t Total = int64_t{Tile.Cols} * Tile.Rows;
    const char* const Begin = Bytes.data() + Tile.ListBegin;
    const char* const End = Bytes.data() + Tile.ListEnd;
    auto Raise = [&](const char* Tuple, const std::string& What) {
        throw Placed(ETalvoError(What), File, Tile.ListLine + std::count(Begin, Tuple, '\n'));
    };
    TFgGmlCells Read;
    Read.Tenths.assign(static_cast<size_t>(Total), NoDataHeight);
    int32_t* const Cells = Read.Tenths.data();
    int64_t Index = Tile.StartIndex;
    const char* P = Begin;
    for (int64_t Points = 0;; ++Points) {
        if (Points % CancelPoints == 0) {
            Progress.StopIfCancelled();
        }
        while (P != End && IsXmlSpace(*P)) {
            ++P;
        }
        if (P == End) {
            break;
        }
        const char* Tuple = P;
        while (P != End && *P != ',' && !IsXmlSpace(*P)) {
            ++P;
        }
        const std::string_view Type(Tuple, static_cast<size_t>(P - Tuple));
        int64_t Tenths = 0;
        bool Finer = false;
        const char* Stop =
            P != End && *P == ',' ? ParseDecimalTenths(P + 1, End, Tenths, Finer) : nullptr;
        if (!Stop || (Stop != End && !IsXmlSpace(*Stop))) {
            Raise(Tuple, Text(TText::FgNotAPoint, {Quoted(Tuple, End)}));
        }
        if (Index == Total) {
            Raise(Tuple, Text(TText::FgTooManyPoints,
                              {std::to_string(Tile.Cols), std::to_string(Tile.Rows)}));
        }
        const std::optional<int32_t> Height = GridTenths(Tenths);
        if (!Height) {
            Raise(Tuple, Text(TText::FgHeightBeyond, {Quoted(Tuple, End)}));
        }
        if (Type == SeaWater || Type == InlandWater) {
            Cells[Index] = MarkedSeaHeight;
        } else if (Type == NoData) {
            Cells[Index] = NoDataHeight;
        } else {
            Cells[Index] = *Height;
            if (Finer && Read.Metres.empty()) {
                Read.Metres.resize(static_cast<size_t>(Total));
                std::transform(Cells, Cells + Index, Read.Metres.begin(), MetresOfTenths);
            }
            if (!Read.Metres.empty()) {
                Read.Metres[static_cast<size_t>(Index)] =
                    Finer ? MetresAsWritten(P + 1, Stop) : MetresOfTenths(*Height);
            }
        }
        ++Index;
        P = Stop;
    }
    return Read;
}

void PlaceFgGmlCells(const TFgGmlTile& Tile, const TFgGmlCells& Cells, int32_t Row, int32_t Col,
                     TLoadedMap& Map) {
    TDimGrid<float>& Metres = Map.NumData.SourceHeights;
    const TNum_HeaderRec& H = Map.NumHeader;
    if (!Cells.Metres.empty() && Metres.Rows() == 0) {
        Metres.SetDim(H.Rows, H.Columns);
        for (int32_t R = 0; R < H.Rows; ++R) {
            std::transform(HeightRow(Map, R), HeightRow(Map, R) + H.Columns, Metres.RowData(R),
                           MetresOfTenths);
        }
    }
    for (int32_t R = 0; R < Tile.Rows; ++R) {
        const size_t From = static_cast<size_t>(R) * static_cast<size_t>(Tile.Cols);
        std::copy_n(Cells.Tenths.data() + From, Tile.Cols, HeightRow(Map, Row + R) + Col);
        if (Metres.Rows() == 0) {
            continue;
        }
        float* To = Metres.RowData(Row + R) + Col;
        if (Cells.Metres.empty()) {
            std::transform(Cells.Tenths.data() + From, Cells.Tenths.data() + From + Tile.Cols, To,
                           MetresOfTenths);
        } else {
            std::copy_n(Cells.Metres.data() + From, Tile.Cols, To);
        }
    }
}

} // namespace talvo

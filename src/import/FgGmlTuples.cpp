#include "import/FgGmlTuples.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

// Whether the bytes at P begin with Known, which they hold at least as many of: the types of
// points are 9 or 15 bytes long, two overlapping words each.
bool SameBytes(std::string_view Known, const char* P) {
    const size_t Size = Known.size();
    if (Size < sizeof(uint64_t) || Size > 2 * sizeof(uint64_t)) {
        return std::equal(Known.begin(), Known.end(), P);
    }
    auto Word = [](const char* At) {
        uint64_t Bytes = 0;
        std::memcpy(&Bytes, At, sizeof Bytes);
        return Bytes;
    };
    const size_t Last = Size - sizeof(uint64_t);
    return Word(Known.data()) == Word(P) && Word(Known.data() + Last) == Word(P + Last);
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
    float* Metres = nullptr; // Read.Metres once a height needs them
    int64_t Index = Tile.StartIndex;
    const char* P = Begin;
    // The type of the point before, and what it makes of a point.
    std::string_view Type;
    enum class TKind { Height, Sea, Empty } Kind = TKind::Height;
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
        // Points mostly repeat the type before them: its bytes and the comma are compared first.
        if (static_cast<size_t>(End - P) > Type.size() && SameBytes(Type, P) &&
            P[Type.size()] == ',') {
            P += Type.size();
        } else {
            while (P != End && *P != ',' && !IsXmlSpace(*P)) {
                ++P;
            }
            Type = std::string_view(Tuple, static_cast<size_t>(P - Tuple));
            Kind = Type == SeaWater || Type == InlandWater ? TKind::Sea
                   : Type == NoData                        ? TKind::Empty
                                                           : TKind::Height;
        }
        TDecimal Number;
        const char* Stop = P != End && *P == ',' ? ParseDecimal(P + 1, End, Number) : nullptr;
        if (!Stop || (Stop != End && !IsXmlSpace(*Stop))) [[unlikely]] {
            Raise(Tuple, Text(TText::FgNotAPoint, {Quoted(Tuple, End)}));
        }
        if (Index == Total) [[unlikely]] {
            Raise(Tuple, Text(TText::FgTooManyPoints,
                              {std::to_string(Tile.Cols), std::to_string(Tile.Rows)}));
        }
        const std::optional<int32_t> Height = GridTenths(Number.Tenths);
        if (!Height) [[unlikely]] {
            Raise(Tuple, Text(TText::FgHeightBeyond, {Quoted(Tuple, End)}));
        }
        if (Kind == TKind::Sea) {
            Cells[Index] = MarkedSeaHeight;
        } else if (Kind == TKind::Empty) {
            Cells[Index] = NoDataHeight;
        } else {
            Cells[Index] = *Height;
            if (Number.Finer && !Metres) [[unlikely]] {
                Read.Metres.resize(static_cast<size_t>(Total));
                Metres = Read.Metres.data();
                std::transform(Cells, Cells + Index, Metres, MetresOfTenths);
            }
            if (Metres) {
                // The digits as written; when the tenths hold them, the tenths' metres, which are
                // the same value but for the sign of a zero ("-0.0" is 0): chosen without a
                // branch, which the digits would take either way.
                const float Written = DecimalAsFloat(Number, P + 1, Stop);
                Metres[Index] = Number.Finer || *Height != 0 ? Written : 0.0F;
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

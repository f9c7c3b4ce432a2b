#include "import/FgGmlTuples.h"

#include <algorithm>

#include "import/DecimalTenths.h"
#include "platform/Errors.h"

namespace talvo {

namespace {

// Points between two looks at a cancel: a few milliseconds of parsing.
constexpr int64_t CancelPoints = int64_t{1} << 18;

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

void ReadFgGmlTuples(const TFgGmlTile& Tile, std::string_view Bytes, const std::string& File,
                     int32_t* Cells, const TProgress& Progress) {
    const int64_t Total = int64_t{Tile.Cols} * Tile.Rows;
    const char* const Begin = Bytes.data() + Tile.ListBegin;
    const char* const End = Bytes.data() + Tile.ListEnd;
    auto Raise = [&](const char* Tuple, const std::string& What) {
        throw Placed(ETalvoError(What), File, Tile.ListLine + std::count(Begin, Tuple, '\n'));
    };
    std::fill_n(Cells, Tile.StartIndex, NoDataHeight);
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
        int64_t Tenths = 0;
        const char* Stop = P != End && *P == ',' ? ParseDecimalTenths(P + 1, End, Tenths) : nullptr;
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
        Cells[Index++] = *Height;
        P = Stop;
    }
    std::fill(Cells + Index, Cells + Total, NoDataHeight);
}

} // namespace talvo

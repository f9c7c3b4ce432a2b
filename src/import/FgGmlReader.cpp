// FG-GML DEM (基盤地図情報 数値標高モデル): one XML document per tile, points 1 m, 5 m or 10 m
// apart. Elements are matched by their local names, whatever their namespace prefix:
//   type                   the spacing, as the leading "1m", "5m" or "10m" of "5mメッシュ（標高）"
//   mesh                   the tile's mesh code
//   gml:Envelope srsName   the datum: "fguuid:jgd2011.bl" (JGD2011), "fguuid:jgd2000.bl" or
//                          "fguuid:jgd2024.bl" (since April 2025; JGD2011 horizontally)
//   gml:lowerCorner        the south-west edge, latitude then longitude (degrees); gml:upperCorner
//                          the north-east one
//   gml:low, gml:high      of gml:GridEnvelope: the first and the last column and row, "x y"
//   gml:tupleList          one "type,value" point after another, apart by white space; the type
//                          (地表面, 表層面, 海水面, 内水面, データなし, その他) tells sea and
//                          inland water, and no data, from heights; -9999. is no data too
//   gml:sequenceRule       order="+x-y": west to east, then north to south, the only order read
//   gml:startPoint         "x y" of the list's first point; the points before it, and those after
//                          a list that ends early, have no data
// The tuple list is nearly the whole file, and expat's text callbacks would read it several times
// slower than the disk delivers it: its bytes are found first and left out of what expat is given,
// and expat then confirms that they are exactly the list's content. The list is read afterwards,
// straight into the grid, once the structure has said where every point goes.

#include "import/FgGmlReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <expat.h>
#include <memory>
#include <optional>
#include <utility>

#include "import/FgGmlTuples.h"
#include "import/FileBytes.h"
#include "import/ReadLimits.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"

namespace talvo {

namespace {

constexpr char NamespaceSeparator = '|';
// The text of an element the reader keeps; a longer one is no number or mesh code.
constexpr size_t MaxFieldBytes = 4096;
// A grid over this many points (64 MiB of heights) is refused when its tuple list cannot fill
// even half of it: a short document must not take gigabytes.
constexpr int64_t LargeGridCells = (int64_t{64} << 20) / 4;
// The fewest bytes a point takes in the list: ",0" and the blank before the next.
constexpr int64_t MinPointBytes = 3;

enum TField { Type, Mesh, LowerCorner, UpperCorner, Low, High, StartPoint, FieldCount };
// Local names, as expat gives them, and names as a reader of the file sees them.
constexpr std::string_view FieldLocalNames[FieldCount] = {
    "type", "mesh", "lowerCorner", "upperCorner", "low", "high", "startPoint"};
constexpr std::string_view FieldNames[FieldCount] = {
    "type", "mesh", "gml:lowerCorner", "gml:upperCorner", "gml:low", "gml:high", "gml:startPoint"};

bool IsXmlSpace(char C) {
    return C == ' ' || C == '\n' || C == '\r' || C == '\t';
}

bool IsNameByte(char C) {
    const auto U = static_cast<unsigned char>(C);
    return U >= 0x80 || (U >= 'a' && U <= 'z') || (U >= 'A' && U <= 'Z') ||
           (U >= '0' && U <= '9') || U == '-' || U == '_' || U == '.';
}

// "namespace|local" → "local".
std::string_view LocalName(std::string_view Name) {
    const size_t Separator = Name.rfind(NamespaceSeparator);
    return Separator == std::string_view::npos ? Name : Name.substr(Separator + 1);
}

// The content of the first gml:tupleList start tag in Bytes, as [Begin, End): from after the
// tag to the next "<". Nothing when no such tag is found.
std::optional<std::pair<size_t, size_t>> FindTupleList(std::string_view Bytes) {
    constexpr std::string_view Word = "tupleList";
    for (size_t At = Bytes.find(Word); At != std::string_view::npos;
         At = Bytes.find(Word, At + 1)) {
        size_t Open = At;
        if (Open > 0 && Bytes[Open - 1] == ':') {
            for (--Open; Open > 0 && IsNameByte(Bytes[Open - 1]);) {
                --Open;
            }
        }
        const size_t After = At + Word.size();
        if (Open == 0 || Bytes[Open - 1] != '<' || After >= Bytes.size() ||
            !(IsXmlSpace(Bytes[After]) || Bytes[After] == '>' || Bytes[After] == '/')) {
            continue;
        }
        const size_t Close = Bytes.find('>', After);
        if (Close == std::string_view::npos) {
            return std::nullopt;
        }
        const size_t Begin = Close + 1;
        if (Bytes[Close - 1] == '/') {
            return std::make_pair(Begin, Begin);
        }
        return std::make_pair(Begin, std::min(Bytes.find('<', Begin), Bytes.size()));
    }
    return std::nullopt;
}

// The line ends among Bytes, which are most of a tile: counted a few hundred bytes at a time into
// byte-sized sums, which the compiler keeps many of in one register.
int64_t CountLineEnds(std::string_view Bytes) {
    constexpr size_t Piece = 255; // what a byte-sized sum holds
    int64_t Count = 0;
    for (size_t At = 0; At < Bytes.size(); At += Piece) {
        const std::string_view Part = Bytes.substr(At, Piece);
        uint8_t Sum = 0;
        for (const char C : Part) {
            Sum = static_cast<uint8_t>(Sum + (C == '\n'));
        }
        Count += Sum;
    }
    return Count;
}

// A line as expat counts it, and whether the list it was not given lies before it.
struct TWhere {
    int64_t Line = 0;
    bool PastList = false;
};

// What expat has told of one document so far.
struct TParsedDocument {
    XML_Parser Parser = nullptr;
    std::optional<std::pair<size_t, size_t>> List; // the bytes left out for the direct read
    std::string_view ListText; // those bytes, whose lines are counted only for a message
    std::array<std::optional<std::string>, FieldCount> Fields;
    std::array<TWhere, FieldCount> FieldLines{};
    std::string* Collecting = nullptr;
    int CollectingDepth = 0;
    int Depth = 0;
    bool ListFound = false;
    bool InList = false;
    std::optional<std::string> Order;
    TWhere OrderLine;
    std::string SrsName;
    std::string Problem;
    TWhere ProblemLine;

    // Where expat is.
    TWhere Line() const {
        return {static_cast<int64_t>(XML_GetCurrentLineNumber(Parser)),
                List && XML_GetCurrentByteIndex(Parser) >= static_cast<XML_Index>(List->first)};
    }
    // The line At is on in the whole file, counting the lines of the list expat was not given.
    int64_t LineOf(TWhere At) const {
        return At.Line + (At.PastList ? CountLineEnds(ListText) : 0);
    }

    void Fail(std::string What) {
        if (Problem.empty()) {
            Problem = std::move(What);
            ProblemLine = Line();
        }
        XML_StopParser(Parser, XML_FALSE);
    }
};

void XMLCALL StartElement(void* Data, const XML_Char* Name, const XML_Char** Attributes) {
    auto& Doc = *static_cast<TParsedDocument*>(Data);
    ++Doc.Depth;
    if (Doc.InList) {
        return Doc.Fail(Text(TText::FgMarkupInList));
    }
    const std::string_view Local = LocalName(Name);
    if (Local == "tupleList") {
        if (Doc.ListFound) {
            return Doc.Fail(Text(TText::FgTwoLists));
        }
        const XML_Index TagEnd =
            XML_GetCurrentByteIndex(Doc.Parser) + XML_GetCurrentByteCount(Doc.Parser);
        if (!Doc.List || TagEnd != static_cast<XML_Index>(Doc.List->first)) {
            return Doc.Fail(Text(TText::FgListTag));
        }
        Doc.ListFound = Doc.InList = true;
        return;
    }
    if (Local == "Envelope") {
        for (const XML_Char** Attribute = Attributes; *Attribute; Attribute += 2) {
            if (LocalName(Attribute[0]) == "srsName") {
                Doc.SrsName = Attribute[1];
            }
        }
        return;
    }
    if (Local == "sequenceRule") {
        for (const XML_Char** Attribute = Attributes; *Attribute; Attribute += 2) {
            if (LocalName(Attribute[0]) == "order") {
                Doc.Order = Attribute[1];
                Doc.OrderLine = Doc.Line();
            }
        }
        return;
    }
    for (int Field = 0; Field < FieldCount; ++Field) {
        if (Local == FieldLocalNames[Field]) {
            if (Doc.Fields[Field]) {
                return Doc.Fail(Text(TText::FgFieldTwice, {FieldNames[Field]}));
            }
            Doc.Collecting = &Doc.Fields[Field].emplace();
            Doc.CollectingDepth = Doc.Depth;
            Doc.FieldLines[Field] = Doc.Line();
        }
    }
}

void XMLCALL EndElement(void* Data, const XML_Char*) {
    auto& Doc = *static_cast<TParsedDocument*>(Data);
    if (Doc.Collecting && Doc.Depth == Doc.CollectingDepth) {
        Doc.Collecting = nullptr;
    }
    Doc.InList = false; // no element opens inside the list: this end is the list's
    --Doc.Depth;
}

void XMLCALL Text(void* Data, const XML_Char* Chars, int Length) {
    auto& Doc = *static_cast<TParsedDocument*>(Data);
    const std::string_view Piece(Chars, static_cast<size_t>(Length));
    if (Doc.InList) {
        for (char C : Piece) {
            if (!IsXmlSpace(C)) {
                return Doc.Fail(Text(TText::FgMarkupInList));
            }
        }
    } else if (Doc.Collecting) {
        if (Doc.Collecting->size() + Piece.size() > MaxFieldBytes) {
            return Doc.Fail(Text(TText::FgTextTooLong, {std::to_string(MaxFieldBytes)}));
        }
        Doc.Collecting->append(Piece);
    }
}

// The datums FG-GML tiles are published in, by the name srsName holds, and their EPSG codes.
// JGD2024 (GSI's tiles since April 2025) moved heights only: horizontally it is JGD2011.
constexpr std::pair<std::string_view, std::string_view> KnownDatums[] = {
    {"JGD2024", "EPSG:6668"},
    {"JGD2011", "EPSG:6668"},
    {"JGD2000", "EPSG:4612"},
};

void SetDatum(const std::string& SrsName, TFgGmlTile& Tile) {
    const std::string Upper = UpperAscii(SrsName);
    for (const auto& [Datum, Crs] : KnownDatums) {
        if (Upper.find(Datum) != std::string::npos) {
            Tile.Datum = Datum;
            Tile.Crs = Crs;
            return;
        }
    }
    Tile.Datum = SrsName;
}

struct TParserFree {
    void operator()(XML_Parser Parser) const { XML_ParserFree(Parser); }
};

// Gives expat Bytes; false, with the problem in Doc, when the document is refused.
bool Feed(TParsedDocument& Doc, std::string_view Bytes, bool Final) {
    // expat copies each call's bytes into a buffer of its own: pieces keep that small.
    constexpr size_t Chunk = size_t{16} << 20;
    do {
        const size_t Length = std::min(Bytes.size(), Chunk);
        const bool Last = Final && Length == Bytes.size();
        if (XML_Parse(Doc.Parser, Bytes.data(), static_cast<int>(Length), Last) != XML_STATUS_OK) {
            if (Doc.Problem.empty()) {
                Doc.Problem =
                    Text(TText::FgNotWellFormed, {XML_ErrorString(XML_GetErrorCode(Doc.Parser))});
                Doc.ProblemLine = Doc.Line();
            }
            return false;
        }
        Bytes.remove_prefix(Length);
    } while (!Bytes.empty());
    return true;
}

// N numbers apart by white space, as the field's text holds them.
template <typename T, size_t N>
std::array<T, N> Numbers(const TParsedDocument& Doc, TField Field, const std::string& File) {
    const std::string& Text = *Doc.Fields[Field];
    std::array<T, N> Values{};
    size_t Count = 0;
    const char* P = Text.data();
    const char* End = P + Text.size();
    while (true) {
        while (P != End && IsXmlSpace(*P)) {
            ++P;
        }
        if (P == End) {
            break;
        }
        T Value{};
        const auto [Stop, Error] = std::from_chars(P, End, Value);
        if (Error != std::errc() || (Stop != End && !IsXmlSpace(*Stop)) || Count == N ||
            !std::isfinite(static_cast<double>(Value))) {
            Count = N + 1;
            break;
        }
        Values[Count++] = Value;
        P = Stop;
    }
    if (Count != N) {
        throw Placed(
            ETalvoError(talvo::Text(TText::FgFieldNumbers,
                                    {FieldNames[Field], std::to_string(N), Printable(Text)})),
            File, Doc.LineOf(Doc.FieldLines[Field]));
    }
    return Values;
}

// "5mメッシュ（標高）" → 50: the leading whole metres in tenths; 0 without them.
int32_t SpacingOfType(std::string_view Type) {
    while (!Type.empty() && IsXmlSpace(Type.front())) {
        Type.remove_prefix(1);
    }
    int32_t Metres = 0;
    const auto [Stop, Error] = std::from_chars(Type.data(), Type.data() + Type.size(), Metres);
    if (Error != std::errc() || Stop == Type.data() + Type.size() || *Stop != 'm' || Metres < 1 ||
        Metres > 100000) {
        return 0;
    }
    return Metres * 10;
}

std::string Trimmed(std::string_view Text) {
    while (!Text.empty() && IsXmlSpace(Text.front())) {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && IsXmlSpace(Text.back())) {
        Text.remove_suffix(1);
    }
    return std::string(Text);
}

TFgGmlTile TileOf(const TParsedDocument& Doc, const std::string& File) {
    if (!Doc.ListFound) {
        throw Placed(ETalvoError(Text(TText::FgNoList)), File);
    }
    for (TField Field : {LowerCorner, UpperCorner, Low, High}) {
        if (!Doc.Fields[Field]) {
            throw Placed(ETalvoError(Text(TText::FgLacks, {FieldNames[Field]})), File);
        }
    }
    if (Doc.Order && Trimmed(*Doc.Order) != "+x-y") {
        throw Placed(ETalvoError(Text(TText::FgOrder, {Printable(*Doc.Order)})), File,
                     Doc.LineOf(Doc.OrderLine));
    }
    TFgGmlTile Tile;
    SetDatum(Doc.SrsName, Tile);
    const auto Lower = Numbers<double, 2>(Doc, LowerCorner, File);
    const auto Upper = Numbers<double, 2>(Doc, UpperCorner, File);
    Tile.South = Lower[0];
    Tile.West = Lower[1];
    Tile.North = Upper[0];
    Tile.East = Upper[1];
    if (!(Tile.South < Tile.North && Tile.West < Tile.East)) {
        throw Placed(ETalvoError(Text(TText::FgNoArea)), File,
                     Doc.LineOf(Doc.FieldLines[UpperCorner]));
    }
    const auto First = Numbers<int32_t, 2>(Doc, Low, File);
    const auto Last = Numbers<int32_t, 2>(Doc, High, File);
    const int64_t Cols = int64_t{Last[0]} - First[0] + 1;
    const int64_t Rows = int64_t{Last[1]} - First[1] + 1;
    if (Cols < 1 || Rows < 1 || Cols > MaxGridCells || Rows > MaxGridCells ||
        Cols * Rows > MaxGridCells) {
        throw Placed(
            ETalvoError(Text(TText::FgGridSize, {std::to_string(Cols), std::to_string(Rows),
                                                 std::to_string(MaxGridCells)})),
            File, Doc.LineOf(Doc.FieldLines[High]));
    }
    const auto ListBytes = static_cast<int64_t>(Doc.List->second - Doc.List->first);
    if (Cols * Rows > LargeGridCells && (ListBytes + 1) / MinPointBytes < (Cols * Rows + 1) / 2) {
        throw Placed(
            ETalvoError(Text(TText::FgListTooShort, {std::to_string(Cols), std::to_string(Rows)})),
            File, Doc.LineOf(Doc.FieldLines[High]));
    }
    Tile.Cols = static_cast<int32_t>(Cols);
    Tile.Rows = static_cast<int32_t>(Rows);
    if (Doc.Fields[StartPoint]) {
        const auto Start = Numbers<int32_t, 2>(Doc, StartPoint, File);
        const int64_t X = int64_t{Start[0]} - First[0];
        const int64_t Y = int64_t{Start[1]} - First[1];
        if (X < 0 || X >= Cols || Y < 0 || Y >= Rows) {
            throw Placed(ETalvoError(Text(TText::FgStartOutside)), File,
                         Doc.LineOf(Doc.FieldLines[StartPoint]));
        }
        Tile.StartIndex = Y * Cols + X;
    }
    if (Doc.Fields[Type]) {
        Tile.CellSpacing = SpacingOfType(*Doc.Fields[Type]);
    }
    if (Doc.Fields[Mesh]) {
        Tile.Mesh = Trimmed(*Doc.Fields[Mesh]);
    }
    Tile.ListBegin = Doc.List->first;
    Tile.ListEnd = Doc.List->second;
    return Tile;
}

} // namespace

TFgGmlTile ReadFgGmlTile(std::string_view Bytes, const std::string& File) {
    const std::unique_ptr<XML_ParserStruct, TParserFree> Parser(
        XML_ParserCreateNS(nullptr, NamespaceSeparator));
    if (!Parser) {
        throw Placed(ETalvoError(Text(TText::FgNoMemory)), File);
    }
    TParsedDocument Doc;
    Doc.Parser = Parser.get();
    Doc.List = FindTupleList(Bytes);
    XML_SetUserData(Doc.Parser, &Doc);
    XML_SetElementHandler(Doc.Parser, StartElement, EndElement);
    XML_SetCharacterDataHandler(Doc.Parser, Text);
    const size_t Begin = Doc.List ? Doc.List->first : Bytes.size();
    const size_t End = Doc.List ? Doc.List->second : Bytes.size();
    if (Doc.List) {
        Doc.ListText = Bytes.substr(Begin, End - Begin);
    }
    if (!Feed(Doc, Bytes.substr(0, Begin), false) || !Feed(Doc, Bytes.substr(End), true)) {
        throw Placed(ETalvoError(Doc.Problem), File, Doc.LineOf(Doc.ProblemLine));
    }
    TFgGmlTile Tile = TileOf(Doc, File);
    Tile.ListLine = 1 + std::count(Bytes.begin(), Bytes.begin() + Begin, '\n');
    return Tile;
}

void RequireXmlStart(std::string_view FirstBytes, const std::string& File) {
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (FirstBytes.starts_with(ByteOrderMark)) {
        FirstBytes.remove_prefix(ByteOrderMark.size());
    }
    const auto Start = std::find_if_not(FirstBytes.begin(), FirstBytes.end(), IsXmlSpace);
    if (Start == FirstBytes.end() || *Start != '<') {
        throw Placed(ETalvoError(Text(TText::FgNotXml)), File);
    }
}

void SetFgGmlPlace(const TFgGmlTile& Bounds, int32_t Cols, int32_t Rows, TLoadedMap& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    H.MapKind = TMapKind::FgGml;
    Map.Georeference.Crs = Bounds.Crs;
    Map.Georeference.Datum = Bounds.Crs.empty() ? "" : Bounds.Datum;
    H.MeshCode = Bounds.Mesh.substr(0, 6);
    H.CellSpacing = Bounds.CellSpacing;
    H.Columns = Cols;
    H.Rows = Rows;
    H.SouthLatitude = Bounds.South;
    H.WestLongitude = Bounds.West;
    H.NorthLatitude = Bounds.North;
    H.EastLongitude = Bounds.East;
    H.CellWidthLat = (Bounds.North - Bounds.South) / Rows;
    H.CellWidthLon = (Bounds.East - Bounds.West) / Cols;
    Map.RowsRead = 0;
}

void SetFgGmlHeader(const TFgGmlTile& Bounds, int32_t Cols, int32_t Rows, TLoadedMap& Map) {
    SetFgGmlPlace(Bounds, Cols, Rows, Map);
    Map.NumData.RowLineGrid.ReDim(1, Rows, false);
    Map.NumData.HeightGrid.ReDim(Rows, Cols, false);
    for (int32_t Row = 0; Row < Rows; ++Row) {
        Map.NumData.RowLineGrid.SetVal(0, Row, Row + 1);
    }
}

bool IdentifyFgGml(const TFileStart& File) {
    if (File.UpperExt == ".XML") {
        return true;
    }
    // An XML document, perhaps after a byte-order mark, that declares the namespace (an
    // attribute's value, not a mere mention).
    std::string_view Start = File.Bytes;
    if (Start.starts_with("\xEF\xBB\xBF")) {
        Start.remove_prefix(3);
    }
    Start.remove_prefix(std::min(Start.find_first_not_of(" \t\r\n"), Start.size()));
    std::string Declared = "=\"";
    Declared += FgGmlNamespace;
    Declared += '"';
    return Start.starts_with("<") && Start.find(Declared) != std::string_view::npos;
}

TOpenedMap OpenFgGml(const std::string& Path, TLoadedMap Map, TProgress& Progress) {
    const TFileBytes Bytes = ReadFileBytes(Path, MaxUnpackedBytes, RequireXmlStart);
    Progress.StopIfCancelled();
    return OpenFgGmlBytes(Bytes.View(), Path, std::move(Map), Progress);
}

TOpenedMap OpenFgGmlBytes(std::string_view Bytes, const std::string& Path, TLoadedMap Map,
                          TProgress& Progress) {
    const TFgGmlTile Tile = ReadFgGmlTile(Bytes, Path);
    SetFgGmlHeader(Tile, Tile.Cols, Tile.Rows, Map);
    Map.NumHeader.DataFileName = Path;
    Progress.Start(1);
    PlaceFgGmlCells(Tile, ReadFgGmlTuples(Tile, Bytes, Path, Progress), 0, 0, Map);
    Progress.Advance(1);
    Map.RowsRead = Tile.Rows;
    return {TOpenOutcome::Loaded, std::move(Map), {}};
}

} // namespace talvo

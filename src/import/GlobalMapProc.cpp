#include "import/GlobalMapProc.h"

#include <cerrno>
#include <memory>
#include <vector>

#include "platform/AsciiCase.h"
#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/FileErrors.h"
#include "platform/FileHandle.h"
#include "platform/FileLookup.h"
#include "platform/StreamBuffer.h"
#include "platform/TextConvert.h"

namespace talvo {

namespace {

constexpr int64_t MaxGridBytes = INT32_MAX;

std::string_view FileNameOf(std::string_view Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string_view::npos ? Path : Path.substr(Slash + 1);
}

// The text before the first ",": "24.000000, 24.004167" reads as 24.0.
std::string_view BeforeComma(std::string_view Value) {
    return Value.substr(0, Value.find(','));
}

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && Text.front() == ' ') {
        Text.remove_prefix(1);
    }
    while (!Text.empty() && Text.back() == ' ') {
        Text.remove_suffix(1);
    }
    return Text;
}

// The descriptions of a Global Map header and the fields they fill.
struct TGmpField {
    std::string_view Description;
    int32_t TNum_HeaderRec::*Integer;
    double TNum_HeaderRec::*Real;
};

const TGmpField GmpFields[] = {
    {"Number of bytes per cell", &TNum_HeaderRec::BytesPerCell, nullptr},
    {"Number of cells in longitude direction", &TNum_HeaderRec::Pts_WE, nullptr},
    {"Number of cells in latitude direction", &TNum_HeaderRec::Pts_NS, nullptr},
    {"Southern latitude and center latitude of the cell on the southern edge", nullptr,
     &TNum_HeaderRec::Ido_WS},
    {"Western longitude and center longitude of the cell on the western edge", nullptr,
     &TNum_HeaderRec::Kei_WS},
    {"Northern latitude and center latitude of the cell on the northern edge", nullptr,
     &TNum_HeaderRec::Ido_EN},
    {"Eastern longitude and center longitude of the cell on the eastern edge", nullptr,
     &TNum_HeaderRec::Kei_EN},
    {"Width of a cell in latitude direction", nullptr, &TNum_HeaderRec::CellWidthLat},
    {"Width of a cell in longitude direction", nullptr, &TNum_HeaderRec::CellWidthLon},
};

void DisableMapControls(TMapHost& Host) {
    Host.SetControlEnabled(TMapControl::btnSel, false);
    Host.SetControlEnabled(TMapControl::btnRedraw, false);
    Host.SetControlEnabled(TMapControl::grp3D, false);
}

// Sizes come from a header anyone can write: refuse what cannot be held before allocating.
void CheckRasterSize(const TNum_HeaderRec& H) {
    if (H.BytesPerCell > 2) {
        throw ETalvoError("The raster's cells are " + std::to_string(H.BytesPerCell) +
                          " bytes wide; Talvo reads cells of 1 or 2 bytes");
    }
    if (H.Pts_NS > 0 && static_cast<int64_t>(H.Pts_NS) * H.Pts_WE * 4 > MaxGridBytes) {
        throw ETalvoError("The raster is too large to load: " + std::to_string(H.Pts_WE) + " × " +
                          std::to_string(H.Pts_NS) + " cells");
    }
}

} // namespace

void LoadRaster(const std::string& Path, MapState& Map, TMapHost& Host) {
    TNum_HeaderRec& H = Map.NumHeader;
    const std::string Base = Path.substr(0, Path.size() >= 4 ? Path.size() - 4 : 0);
    const std::string_view FileName = FileNameOf(Path);
    const size_t Dot = FileName.find_last_of('.');
    const std::string Ext = Dot == std::string_view::npos ? "" : UpperAscii(FileName.substr(Dot));

    if (Ext == ".BIL") {
        std::optional<std::string> Header = FindFileIgnoringCase(Base + ".hdr");
        if (!Header) {
            Host.ShowMessage("ヘッダーファイルがみつかりません\n\r" + Base + ".hdr");
            DisableMapControls(Host);
            return;
        }
        ReadBilHeader(*Header, Map);
        H.MapKind = MapKindBil;
        H.DataFileName = Path;
    } else {
        std::optional<std::string> Data = FindFileIgnoringCase(Base);
        if (!Data) {
            Host.ShowMessage("メッシュファイルがみつかりません\n\r" + Base);
            DisableMapControls(Host);
            return;
        }
        ReadGmpHeader(Path, Map);
        H.MapKind = UpperAscii(FileName.substr(0, 2));
        H.DataFileName = *Data;
    }

    if (H.BytesPerCell < 1 || H.Pts_WE < 1) {
        return; // not a raster this program can show; nothing to read or draw
    }
    CheckRasterSize(H);
    {
        TStreamBuffer Buffer; // rows are a few kilobytes: read the file in large blocks
        errno = 0;
        TFileHandle Data(std::fopen(H.DataFileName.c_str(), "rb"));
        if (!Data) {
            RaiseInOutError(errno);
        }
        Buffer.Attach(Data.get());
        ReadRasterRows(Data.get(), Map, Host);
    }
    Host.RenderMap(H.MapKind);
    Host.SetControlEnabled(TMapControl::grp3D, H.MapKind == MapKindElevation);
}

void ReadGmpHeader(const std::string& Path, MapState& Map) {
    Map.NumHeader.MeshCode = FileNameOf(Path).substr(2, 6);
    TTextFile File(Path);
    ReadGmpLines(File, Map);
}

void ReadGmpLines(TTextFile& File, MapState& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    while (!File.Eof()) {
        std::string_view Line = File.ReadLine();
        size_t Colon = Line.find(':');
        if (Colon == std::string_view::npos || Colon == 0) {
            continue;
        }
        // "description :value": the description ends one character before the colon.
        std::string_view Description = Line.substr(0, Colon - 1);
        std::string_view Value = BeforeComma(Line.substr(Colon + 1));
        for (const TGmpField& Field : GmpFields) {
            if (Description == Field.Description) {
                if (Field.Integer) {
                    H.*Field.Integer = StrToInt(Value);
                } else {
                    H.*Field.Real = StrToFloat(Value);
                }
            }
        }
    }
}

void ReadBilHeader(const std::string& Path, MapState& Map) {
    Map.NumHeader.MeshCode.clear();
    TTextFile File(Path);
    ReadBilLines(File, Map);
}

void ReadBilLines(TTextFile& File, MapState& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    while (!File.Eof()) {
        ParseBilKey(File.ReadLine(), Map);
    }
    H.Ido_WS = H.Ido_EN - H.Pts_NS * H.CellWidthLat;
    H.Kei_EN = H.Kei_WS + H.Pts_WE * H.CellWidthLon;
}

void ParseBilKey(std::string_view Line, MapState& Map) {
    TNum_HeaderRec& H = Map.NumHeader;
    size_t Blank = Line.find(' ');
    if (Blank == std::string_view::npos) {
        return;
    }
    const std::string Key = UpperAscii(Line.substr(0, Blank));
    const std::string_view Value = BeforeComma(Line.substr(Blank + 1));
    if (Key == "NBITS") {
        H.BytesPerCell = StrToInt(Value) / 8;
    } else if (Key == "NCOLS") {
        H.Pts_WE = StrToInt(Value);
    } else if (Key == "NROWS") {
        H.Pts_NS = StrToInt(Value);
    } else if (Key == "ULXMAP") {
        H.Kei_WS = StrToFloat(Value);
    } else if (Key == "ULYMAP") {
        H.Ido_EN = StrToFloat(Value);
    } else if (Key == "YDIM") {
        H.CellWidthLat = StrToFloat(Value);
    } else if (Key == "XDIM") {
        H.CellWidthLon = StrToFloat(Value);
    } else if (Key == "BYTEORDER") {
        // Motorola order: 30-second tiles are distributed this way.
        std::string Order = UpperAscii(Trimmed(Value));
        H.BigEndian = Order == "M" || Order == "MSBFIRST";
    }
}

void ReadRasterRows(std::FILE* Data, MapState& Map, TMapHost& Host) {
    TNum_HeaderRec& H = Map.NumHeader;
    Map.RowsRead = 0;
    Map.NumData.RowLineGrid.ReDim(1, H.Pts_NS, false);
    Map.NumData.HeightGrid.ReDim(H.Pts_NS, H.Pts_WE, false);
    Host.SetProgressMax(H.Pts_NS);
    H.CellSpacing = 10000;

    const size_t RowBytes = static_cast<size_t>(CheckedMul(H.BytesPerCell, H.Pts_WE));
    std::vector<unsigned char> Row(RowBytes);
    for (int32_t R = 0; R < H.Pts_NS; ++R) {
        // RowsRead counts the rows stored: a short file leaves it at the rows that arrived.
        Map.RowsRead = R;
        if (std::fread(Row.data(), 1, RowBytes, Data) != RowBytes) {
            if (std::ferror(Data)) {
                RaiseInOutError(errno);
            }
            throw EInOutError("ﾌｧｲﾙの末尾以降を読み込みました");
        }
        StoreRasterRow(Row.data(), Map);
    }
    Map.RowsRead = H.Pts_NS;
}

void StoreRasterRow(const unsigned char* Row, MapState& Map) {
    const TNum_HeaderRec& H = Map.NumHeader;
    const int32_t R = Map.RowsRead;
    Map.NumData.RowLineGrid.SetVal(0, R, R + 1);
    int32_t* Cells = HeightRow(Map, R);
    if (H.BytesPerCell == 1) {
        for (int32_t C = 0; C < H.Pts_WE; ++C) {
            Cells[C] = Row[C];
        }
        return;
    }
    // Signed 16-bit metres, stored in tenths of a metre; 32-bit cells hold every product.
    const int High = H.BigEndian ? 0 : 1;
    for (int32_t C = 0; C < H.Pts_WE; ++C) {
        const unsigned char* Cell = Row + 2 * static_cast<size_t>(C);
        auto Metres = static_cast<int16_t>(Cell[High] << 8 | Cell[1 - High]);
        Cells[C] = Metres * 10;
    }
}

} // namespace talvo

// A GDAL raster read window by window. Each window is read through GDAL's RasterIO into a grid of
// the size asked, from the overview GDAL finds nearest to that resolution, and becomes a map of
// its own: the header and georeference of that grid, its values as a whole load converts them.

#include "import/GdalCellWindows.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "import/GdalFailure.h"
#include "import/GdalModuleLoader.h"
#include "model/CellWindows.h"
#include "platform/Errors.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

class TGdalCellWindows final : public TCellWindows {
  public:
    TGdalCellWindows(TRaster Raster, const TalvoGdalRasterInfo& Info, std::string Path,
                     const TLoadedMap& Whole)
        : Raster(std::move(Raster)), Info(Info), Path(std::move(Path)) {
        Header.NumHeader = Whole.NumHeader;
        Header.Georeference = Whole.Georeference;
        Header.Georeference.Gcps.clear();
        const TalvoGdalApi& Gdal = GdalModule();
        FLevels.push_back({Info.Width, Info.Height});
        for (int32_t Index = 0; Index < Gdal.OverviewCount(this->Raster.get()); ++Index) {
            TLevelSize Level;
            Gdal.OverviewSize(this->Raster.get(), Index, &Level.Cols, &Level.Rows);
            if (Level.Cols > 0 && Level.Rows > 0) {
                FLevels.push_back(Level);
            }
        }
    }

    const std::vector<TLevelSize>& Levels() const override { return FLevels; }

    TLoadedMap Read(const TCellWindow& Window, int32_t Cols, int32_t Rows,
                    TProgress& Progress) const override;

  private:
    // The rows of the grid of Cols × Rows cells over Window whose cells, at the level they are
    // read from, make about a block: a read of many cells is split into bands that small, between
    // which a cancel is seen and the progress moves.
    int64_t BandRowsRead(const TCellWindow& Window, int32_t Cols, int32_t Rows) const;
    // The header of the grid of Cols × Rows cells over Window.
    TLoadedMap WindowHeader(const TCellWindow& Window, int32_t Cols, int32_t Rows) const;

    TRaster Raster;
    TalvoGdalRasterInfo Info;
    std::string Path;
    TLoadedMap Header; // the whole raster's header and georeference, north up
    std::vector<TLevelSize> FLevels;
};

TLoadedMap TGdalCellWindows::WindowHeader(const TCellWindow& Window, int32_t Cols,
                                          int32_t Rows) const {
    const std::array<double, 6>& T = Header.Georeference.Transform;
    const double CellX = T[1] * Window.Cols / Cols;
    const double CellY = T[5] * Window.Rows / Rows;
    TalvoGdalRasterInfo Grid = Info;
    Grid.Width = Cols;
    Grid.Height = Rows;
    Grid.HasTransform = 1;
    const double Transform[6] = {T[0] + T[1] * Window.Col, CellX, 0.0,
                                 T[3] + T[5] * Window.Row, 0.0,   CellY};
    std::copy(std::begin(Transform), std::end(Transform), Grid.Transform);
    TLoadedMap Map;
    InitLoadedMap(Map);
    Map.Georeference = Header.Georeference;
    DescribeRaster(Grid, Path, Map, MaxGridCells);
    Map.Georeference.Georeferenced = Header.Georeference.Georeferenced;
    return Map;
}

int64_t TGdalCellWindows::BandRowsRead(const TCellWindow& Window, int32_t Cols,
                                       int32_t Rows) const {
    // The level GDAL reads from: about the coarsest whose cells are no larger than the grid's.
    const double ColCells = static_cast<double>(Window.Cols) / Cols;
    const double RowCells = static_cast<double>(Window.Rows) / Rows;
    double Factor = 1.0;
    for (const TLevelSize& Level : FLevels) {
        const double Coarser = static_cast<double>(Info.Width) / Level.Cols;
        if (Coarser <= std::min(ColCells, RowCells)) {
            Factor = std::max(Factor, Coarser);
        }
    }
    const double CellsARow = (Window.Cols / Factor) * (RowCells / Factor);
    return static_cast<int64_t>(static_cast<double>(BlockCells) / std::max(CellsARow, 1.0));
}

TLoadedMap TGdalCellWindows::Read(const TCellWindow& Window, int32_t Cols, int32_t Rows,
                                  TProgress& Progress) const {
    const bool Inside = Window.Col >= 0 && Window.Row >= 0 && Window.Cols > 0 && Window.Rows > 0 &&
                        Window.Cols <= Info.Width - Window.Col &&
                        Window.Rows <= Info.Height - Window.Row;
    if (!Inside || Cols < 1 || Rows < 1) {
        throw ETalvoError(Text(TText::WindowOutsideMap,
                               {std::to_string(Window.Col), std::to_string(Window.Row),
                                std::to_string(Window.Cols), std::to_string(Window.Rows)}));
    }
    TLoadedMap Map = WindowHeader(Window, Cols, Rows);
    Map.NumData.RowLineGrid.ReDim(1, Rows, false);
    Map.NumData.HeightGrid.ReDim(Rows, Cols, false);
    const bool Finer = FinerThanTenths(Info);
    if (Finer) {
        Map.NumData.SourceHeights.SetDim(Rows, Cols);
    }
    // Rows are stored north first; a south-up raster's window lies mirrored in the file.
    const bool SouthUp = Info.HasTransform && Info.Transform[5] > 0.0;
    const double RowCells = static_cast<double>(Window.Rows) / Rows;
    const auto BandRows = static_cast<int32_t>(std::clamp<int64_t>(
        std::min<int64_t>(BlockCells / Cols, BandRowsRead(Window, Cols, Rows)), 1, Rows));
    std::vector<double> Values(static_cast<size_t>(BandRows) * static_cast<size_t>(Cols));
    const TalvoGdalApi& Gdal = GdalModule();
    TalvoGdalFailure Failure{};
    Progress.Start(Rows);
    for (int32_t First = 0; First < Rows; First += BandRows) {
        Progress.StopIfCancelled();
        const int32_t Count = std::min(BandRows, Rows - First);
        const double Top = Window.Row + First * RowCells;
        const double Span = Count * RowCells;
        const double FileRow = SouthUp ? Info.Height - Top - Span : Top;
        if (!Gdal.ReadWindow(Raster.get(), Window.Col, std::max(0.0, FileRow), Window.Cols,
                             std::min(Span, Info.Height - std::max(0.0, FileRow)), Cols, Count,
                             Values.data(), &Failure)) {
            throw Placed(ETalvoError(GdalFailureText(Failure)), Path);
        }
        for (int32_t R = 0; R < Count; ++R) {
            const int32_t Row = First + (SouthUp ? Count - 1 - R : R);
            const double* Raw = Values.data() + static_cast<size_t>(R) * static_cast<size_t>(Cols);
            const int32_t Beyond =
                ConvertRow(Raw, Cols, Info, HeightRow(Map, Row),
                           Finer ? Map.NumData.SourceHeights.RowData(Row) : nullptr);
            if (Beyond >= 0) {
                throw Placed(ETalvoError(HeightBeyondText(Raw[Beyond], Info, Row, Beyond)), Path);
            }
            Map.NumData.RowLineGrid.SetVal(0, Row, Row + 1);
        }
        Progress.Advance(Count);
    }
    Map.RowsRead = Rows;
    if (Finer && TenthsHoldEveryHeight(Map)) {
        Map.NumData.SourceHeights.ClearDim();
    }
    return Map;
}

} // namespace

TOpenedMap WindowedRaster(TRaster Raster, const TalvoGdalRasterInfo& Info,
                          const TRasterPlace& Place, TLoadedMap Map) {
    Map.Windows = std::make_shared<TGdalCellWindows>(std::move(Raster), Info, Place.Named(), Map);
    Map.RowsRead = 0;
    Map.NumData.RowLineGrid.ReDim(1, 1, false);
    Map.NumData.HeightGrid.ReDim(1, 1, false);
    Map.NumData.SourceHeights.ClearDim();
    return {TOpenOutcome::Loaded, std::move(Map), {}};
}

TLoadedMap OpenGdalRasterByWindow(const std::string& Path) {
    TLoadedMap Map;
    InitLoadedMap(Map);
    Map.NumHeader.MapFileName = Path;
    TalvoGdalRasterInfo Info{};
    const TRasterPlace Place{Path, ""};
    TRaster Raster = OpenDescribed(Place, Info, Map, std::numeric_limits<int64_t>::max());
    return WindowedRaster(std::move(Raster), Info, Place, std::move(Map)).Map;
}

} // namespace talvo

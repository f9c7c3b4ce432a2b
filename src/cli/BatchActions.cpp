#include "cli/BatchActions.h"

#include "import/OpenMap.h"
#include "import/ReadLimits.h"
#include "platform/Errors.h"
#include "platform/PictureFiles.h"
#include "platform/SameFile.h"
#include "platform/WorldFile.h"

namespace talvo {

void TRenderTiles::Write(TLoadedMap Map, const std::string& Output) const {
    TDocument Document = Settings;
    const int32_t Width = Map.NumHeader.Columns;
    const int32_t Height = Map.NumHeader.Rows;
    Document.Accept({TOpenOutcome::Loaded, std::move(Map), {}});
    const TDrawing Drawing = Document.StartDrawing(Layers);
    if (!Drawing.OverlayFailure.empty()) {
        throw ETalvoError(Drawing.OverlayFailure);
    }
    CheckPictureSize(Output, Width, Height);
    TProgress Unwatched;
    Document.SavePicture(*Drawing.Job(Unwatched), Output, WorldFiles);
}

std::vector<std::string> TRenderTiles::Files(const std::string& Output) const {
    std::vector<std::string> Written = {Output};
    if (WorldFiles) {
        for (std::string& Beside : WorldFilePaths(Output)) {
            Written.push_back(std::move(Beside));
        }
    }
    return Written;
}

void TExportTiles::Write(TLoadedMap Map, const std::string& Output) const {
    TDocument Document;
    Document.Accept({TOpenOutcome::Loaded, std::move(Map), {}});
    RefuseOverwritingInput(Output, Document.InputFiles());
    TProgress Unwatched;
    ExportHeights(*Document.Map(), Options, Output, Unwatched);
}

bool TRenderTiles::DecodesWhole(const std::string& Output) const {
    return PngDecodesWhole(Output, MaxGridCells);
}

bool TExportTiles::DecodesWhole(const std::string& Output) const {
    // Read as any GeoTIFF the viewer opens: every cell, through GDAL.
    try {
        OpenMap(Output);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace talvo

#include "cli/BatchActions.h"

#include "platform/Errors.h"
#include "platform/PictureFiles.h"
#include "platform/WorldFile.h"

namespace talvo {

void TRenderTiles::Write(TDocument& Document, const std::string& Output) const {
    const TDrawing Drawing = Document.StartDrawing(Layers);
    if (!Drawing.OverlayFailure.empty()) {
        throw ETalvoError(Drawing.OverlayFailure);
    }
    const TNum_HeaderRec& H = Document.Map()->NumHeader;
    CheckPictureSize(Output, H.Columns, H.Rows);
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

void TExportTiles::Write(TDocument& Document, const std::string& Output) const {
    TProgress Unwatched;
    Document.Export(Options, Output, Unwatched);
}

bool TRenderTiles::DecodesWhole(const std::string& Output) const {
    return PngDecodesWhole(Output, MaxGridCells);
}

bool TExportTiles::DecodesWhole(const std::string& Output) const {
    // Read as any GeoTIFF the viewer opens: every cell, through GDAL.
    try {
        TProgress Unwatched;
        TDocument().Open(Output, Unwatched);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace talvo

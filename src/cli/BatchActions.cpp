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

bool TRenderTiles::IsOutputOf(const std::string& Output, const TLoadedMap& Map) const {
    return PngDecodesWhole(Output, Map.NumHeader.Columns, Map.NumHeader.Rows);
}

bool TExportTiles::IsOutputOf(const std::string& Output, const TLoadedMap& Map) const {
    return IsExportOf(Output, Map);
}

} // namespace talvo

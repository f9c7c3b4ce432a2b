#pragma once

#include "app/HeightExport.h"
#include "cli/Batch.h"

namespace talvo {

// Each tile drawn as the viewer would, into a PNG picture with its world file and CRS beside it.
class TRenderTiles : public TTileAction {
  public:
    TRenderTiles(TDocument Settings, TLayerFlags Layers, bool WorldFiles)
        : Settings(std::move(Settings)), Layers(Layers), WorldFiles(WorldFiles) {}

    std::string Extension() const override { return ".png"; }
    TDocument Start() const override { return Settings; }
    void Write(TDocument& Document, const std::string& Output) const override;
    std::vector<std::string> Files(const std::string& Output) const override;
    std::vector<std::string> Reads() const override { return {Settings.SettingsFile().Path}; }
    bool IsOutputOf(const std::string& Output, const TLoadedMap& Map) const override;

  private:
    TDocument Settings; // the settings and colours every tile is drawn with
    TLayerFlags Layers;
    bool WorldFiles;
};

// Each tile's cells as a Cloud Optimized GeoTIFF.
class TExportTiles : public TTileAction {
  public:
    explicit TExportTiles(THeightExport Options) : Options(Options) {}

    std::string Extension() const override { return ".tif"; }
    TDocument Start() const override { return {}; }
    void Write(TDocument& Document, const std::string& Output) const override;
    bool IsOutputOf(const std::string& Output, const TLoadedMap& Map) const override;

  private:
    THeightExport Options;
};

} // namespace talvo

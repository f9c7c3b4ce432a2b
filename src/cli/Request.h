#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/BatchTiles.h"
#include "model/OverlayLayers.h"
#include "model/Region.h"

namespace talvo {

// A command line that asks for something talvo does not do.
class EMisuse : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A command that failed: its message, for standard error.
class EFailed : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Everything the command line may be given.
struct TRequest {
    bool Help = false;
    bool Version = false;
    bool Info = false;
    bool Render = false;
    bool Export = false;
    bool Mesh = false;
    bool Drape = false;
    bool NoWorldFile = false;
    bool At = false;
    bool Profile = false;
    bool Verify = false;
    bool Mosaic = false; // every FILE's tiles as one map
    // A batch: -o DIR/, one output per tile.
    int Jobs = 0;
    bool Force = false;
    bool Quiet = false;
    std::string Manifest;
    TShard Shard;
    std::vector<std::string> Files;
    // --at's point: the FILE after the map, or --xy's easting and northing as "xy:E,N".
    std::string AtPoint;
    // --profile's line: --from, then every --to in turn.
    std::string From;
    std::vector<std::string> To;
    std::string OutPath;
    std::optional<std::string> Layers;
    std::optional<std::string> IniPath;
    std::optional<std::string> Sea;
    std::string Crs;
    // --mesh's --region, --step and --hscale.
    TRegion Region{0, 0, 0, 0, 1, 1.0f};
    // --export --product: a product of the heights in place of the heights, and how it is made.
    std::string Product;
    std::string Azimuth = "315";
    std::string Altitude = "45";
    std::string Z = "1";
    std::optional<std::string> Radius;
    bool ComputeEdges = false;
    // --render --shade: the picture's shading in place of the settings'.
    std::string Shade;
    // --render --size: the most pixels across and down of the picture the map (or its --region,
    // whose step and height scale are 1) is fitted into.
    std::optional<std::pair<int32_t, int32_t>> Size;
};

// Reads Args into a request; a command line that cannot be one raises EMisuse.
TRequest ParseArguments(const std::vector<std::string>& Args);

// "ad,rw" → the check boxes of those layers; "" → none. An unknown code raises EMisuse.
TLayerFlags ParseLayers(const std::string& Codes);

// --sea's value as a number a single-precision cell holds; any other text raises EMisuse.
std::optional<double> SeaValue(const std::optional<std::string>& Given);

// --render or --export with -o DIR/: a folder, one output per tile.
bool IsBatch(const TRequest& Request);

} // namespace talvo

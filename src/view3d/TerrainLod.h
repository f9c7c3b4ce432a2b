#pragma once

#include <array>
#include <cstdint>
#include <glm/glm.hpp>
#include <memory>
#include <vector>

#include "model/LoadedMap.h"
#include "model/Region.h"
#include "platform/Bitmap.h"
#include "render/HeightColourTable.h"
#include "settings/ViewSettings.h"
#include "view3d/Frame.h"
#include "view3d/MeshBuilder.h"

namespace talvo {

// A large terrain drawn in square chunks whose detail follows their distance to the camera
// (geomipmapping): every sample once in one vertex array, and for each chunk shape, level and set
// of coarser neighbours one list of indices, made once. Level L keeps every 2^L-th sample; a
// chunk keeps a level whose height error, seen from the camera, is about a pixel at most. Chunks
// next to each other differ by one level at most, and the finer one drops the samples along
// their common edge that the coarser one lacks, so no crack opens between them.
class TTerrainLod : public TVisual {
  public:
    static constexpr int32_t ChunkCells = 32;
    static constexpr int Levels = 6;           // steps 1, 2, 4, ..., 32
    static constexpr int FloatsPerVertex = 14; // position, normal twice, colour, texture

    // One draw: the indices [First, First + Count) of Indices from vertex BaseVertex on.
    struct TDraw {
        uint32_t First = 0;
        uint32_t Count = 0;
        int32_t BaseVertex = 0;
    };

    int32_t Rows = 0; // samples
    int32_t Cols = 0;
    std::vector<float> Vertices;   // FloatsPerVertex each, row by row
    std::vector<uint32_t> Indices; // every chunk shape's lists, one after another
    std::shared_ptr<const TTexture> Texture;

    // The draws of a frame seen from Eye (in this mesh's coordinates) through a projection of
    // PixelsPerUnit pixels for one unit at distance one; Triangles counts what they draw.
    std::vector<TDraw> Select(glm::vec3 Eye, float PixelsPerUnit, size_t& Triangles) const;

    // Filled by BuildTerrainLod.
    struct TChunk {
        int32_t Row = 0, Col = 0; // first sample
        int Shape = 0;            // index of its width and height among the shapes
        glm::vec3 Low{0.0f}, High{0.0f};
        std::array<float, Levels> Error{}; // height error of each level, in units
    };
    struct TList {
        uint32_t First = 0, Count = 0;
    };
    int32_t ChunkRows = 0, ChunkCols = 0;
    std::vector<TChunk> Chunks;
    // Lists[((Shape * Levels) + Level) * 16 + Coarser], Coarser a bit per edge whose neighbour
    // is one level coarser: 1 north, 2 east, 4 south, 8 west.
    std::vector<TList> Lists;
};

// The most samples the 3D view takes: their vertices alone fill about 900 MiB of the card.
constexpr int64_t MaxTerrainSamples = int64_t{4096} * 4096;

// Whether a region is large enough to be drawn in chunks: many faces, that the full mesh would
// draw too slowly.
bool WantsLevelsOfDetail(const TRegion& Region);

// The terrain of Region of Map as BuildTerrainMesh makes it (the same samples, heights, colours
// by height or the picture Drape laid on it), for drawing in chunks.
std::shared_ptr<TTerrainLod> BuildTerrainLod(const TLoadedMap& Map, const TRegion& Region,
                                             const TViewSettings& Settings,
                                             const THeightColourTable& Table, const TBitmap* Drape);

} // namespace talvo

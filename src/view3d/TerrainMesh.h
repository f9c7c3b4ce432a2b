#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "model/DimGrid.h"
#include "model/LoadedMap.h"
#include "model/Region.h"
#include "platform/Bitmap.h"
#include "render/HeightColourTable.h"
#include "settings/ViewSettings.h"
#include "view3d/MeshBuilder.h"
#include "view3d/ViewScene.h"

namespace talvo {

// What the terrain mesh keeps between builds.
struct TTerrainMesh {
    TVertexGrid MeshVertexTable; // 1 row of vertices, handed to the builder whole
    TDelDim MeshFaceList;        // "3, a, b, c" per triangle, ending in 0
    TFrame* MeshFrame = nullptr; // owned by the frame it hangs under
    uint32_t MeshFaceCount = 0;
    std::shared_ptr<const TTexture> MeshTexture;
    std::shared_ptr<TMesh> TexturedMesh;
    std::optional<TWrap> MeshWrap;
};

// Start-up: both containers 1 × 1, no mesh.
void InitTerrainMesh(TTerrainMesh& Mesh);

// The one rule of the 3D view and --mesh, checked before anything is changed: Region is refused,
// with a message, unless its step is 1 or more, it gives at least 2 samples each way, every sample
// lies inside HeightGrid (the header's grid of a map read by window), and the map has a cell
// spacing.
void CheckTerrainRegion(const TLoadedMap& Map, const TRegion& Region);

// The box of the terrain BuildTerrainMesh makes of Region (checked): its samples' extent and the
// lowest and highest of their heights, scaled as the mesh is.
TViewScene::TModelBox TerrainBox(const TLoadedMap& Map, const TRegion& Region,
                                 const TViewSettings& Settings);

// Builds the mesh of Region of Map under Parent: one vertex per sample lifted to its height in
// cell units, two triangles per cell coloured by their mean height (or, for the "MAPPING"
// quality, one colour and the texture "Test.bmp"), heights scaled by the region's HScale. With
// Drape (the region's cells of the map's picture, DrapeTexture), the faces are white and the
// picture lies on them: the vertex of cell (c, r) of the region takes its texel's centre,
// ((c + 0.5) / SizeX, (r + 0.5) / SizeY). Returns the builder.
std::shared_ptr<TMeshBuilder> BuildTerrainMesh(TRenderer& Renderer, TFrame& Parent,
                                               TTerrainMesh& Mesh, const TLoadedMap& Map,
                                               const TRegion& Region, const TViewSettings& Settings,
                                               const THeightColourTable& Table,
                                               const TBitmap* Drape = nullptr);

} // namespace talvo

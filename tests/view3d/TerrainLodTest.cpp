// The terrain in chunks: whatever the camera, the chunks' triangles cover the region once,
// with no crack between chunks of different detail.
#include "view3d/TerrainLod.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace talvo {
namespace {

// A 300 × 200 map of hills, drawn whole from every step.
TLoadedMap Hills() {
    TLoadedMap Map;
    InitLoadedMap(Map);
    Map.NumHeader.CellSpacing = 100;
    Map.NumHeader.Pts_WE = 300;
    Map.NumHeader.Pts_NS = 200;
    Map.NumData.HeightGrid.ReDim(200, 300, false);
    for (int32_t R = 0; R < 200; ++R) {
        for (int32_t C = 0; C < 300; ++C) {
            Map.NumData.HeightGrid.SetVal(
                R, C, static_cast<int32_t>(3000 + 2500 * std::sin(R / 13.0) * std::cos(C / 17.0)));
        }
    }
    return Map;
}

TEST(TerrainLod, ChunksCoverTheRegionOnceWithoutCracks) {
    const TLoadedMap Map = Hills();
    TViewSettings Settings;
    const THeightColourTable Table{};
    for (const TRegion& Region : {TRegion{0, 0, 300, 200, 1, 1}, TRegion{5, 7, 290, 190, 3, 2}}) {
        const auto Lod = BuildTerrainLod(Map, Region, Settings, Table, nullptr);
        const int32_t Rows = Lod->Rows, Cols = Lod->Cols;
        // From above the middle, close and far, and from off one corner.
        for (const glm::vec3 Eye : {glm::vec3(0, 40, 0), glm::vec3(0, 4000, 0),
                                    glm::vec3(-200, 30, 150), glm::vec3(0, 1e6f, 0)}) {
            SCOPED_TRACE(Eye.y);
            size_t Triangles = 0;
            std::map<std::pair<uint32_t, uint32_t>, int> Edges;
            double Area = 0;
            for (const TTerrainLod::TDraw& Draw : Lod->Select(Eye, 600.0f, Triangles)) {
                for (uint32_t K = Draw.First; K < Draw.First + Draw.Count; K += 3) {
                    uint32_t V[3];
                    glm::vec2 P[3];
                    for (int I = 0; I < 3; ++I) {
                        V[I] = Lod->Indices[K + static_cast<uint32_t>(I)] +
                               static_cast<uint32_t>(Draw.BaseVertex);
                        P[I] = {static_cast<float>(V[I] % static_cast<uint32_t>(Cols)),
                                static_cast<float>(V[I] / static_cast<uint32_t>(Cols))};
                    }
                    // Clockwise seen from above, as the full mesh's (rows run south); flat only
                    // where a corner stitches two coarser edges, standing up to close the seam.
                    const double Cross = (P[1].x - P[0].x) * (P[2].y - P[0].y) -
                                         (P[1].y - P[0].y) * (P[2].x - P[0].x);
                    EXPECT_GE(Cross, 0);
                    Area += Cross / 2;
                    for (int I = 0; I < 3; ++I) {
                        const uint32_t A = V[I], B = V[(I + 1) % 3];
                        ++Edges[{std::min(A, B), std::max(A, B)}];
                    }
                }
            }
            EXPECT_DOUBLE_EQ(Area, double(Rows - 1) * (Cols - 1));
            // An edge of one triangle only lies on the region's border: none opens inside.
            int Inside = 0;
            for (const auto& [Edge, Count] : Edges) {
                EXPECT_LE(Count, 2);
                const uint32_t A = Edge.first, B = Edge.second;
                const bool SameBorder =
                    (A / Cols == B / Cols && (A / Cols == 0 || A / Cols == uint32_t(Rows - 1))) ||
                    (A % Cols == B % Cols && (A % Cols == 0 || A % Cols == uint32_t(Cols - 1)));
                Inside += Count == 1 && !SameBorder;
            }
            EXPECT_EQ(Inside, 0);
            EXPECT_EQ(Triangles * 3, [&] {
                size_t Sum = 0;
                for (const auto& [Edge, Count] : Edges) {
                    Sum += static_cast<size_t>(Count);
                }
                return Sum;
            }());
        }
    }
}

TEST(TerrainLod, DetailFollowsTheDistance) {
    const TLoadedMap Map = Hills();
    const auto Lod = BuildTerrainLod(Map, {0, 0, 300, 200, 1, 1}, TViewSettings{},
                                     THeightColourTable{}, nullptr);
    size_t Near = 0, Far = 0;
    Lod->Select(glm::vec3(0, 20, 0), 600.0f, Near);
    Lod->Select(glm::vec3(0, 20000, 0), 600.0f, Far);
    EXPECT_EQ(Near > 0 && Far > 0, true);
    EXPECT_LT(Far * 10, Near); // far away, a fraction of the triangles
    EXPECT_LE(Near, size_t{2} * 299 * 199);
}

} // namespace
} // namespace talvo

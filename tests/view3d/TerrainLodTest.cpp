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
    Map.NumHeader.Columns = 300;
    Map.NumHeader.Rows = 200;
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

// A 257 × 257 map whose height in tenths of a metre at column C, row R is Height(C, R).
template <typename THeight> TLoadedMap Surface(THeight Height) {
    TLoadedMap Map;
    InitLoadedMap(Map);
    Map.NumHeader.CellSpacing = 100;
    Map.NumHeader.Columns = 257;
    Map.NumHeader.Rows = 257;
    Map.NumData.HeightGrid.ReDim(257, 257, false);
    for (int32_t R = 0; R < 257; ++R) {
        for (int32_t C = 0; C < 257; ++C) {
            Map.NumData.HeightGrid.SetVal(R, C, static_cast<int32_t>(Height(C - 128, R - 128)));
        }
    }
    return Map;
}

// The largest height error of the triangles drawn from Eye, in pixels: at every sample, the
// distance between the height drawn there and its own, as it shows from Eye.
float ScreenError(const TTerrainLod& Lod, glm::vec3 Eye, float PixelsPerUnit) {
    auto Position = [&](uint32_t Vertex) {
        const float* V = Lod.Vertices.data() + size_t{Vertex} * TTerrainLod::FloatsPerVertex;
        return glm::vec3(V[0], V[1], V[2]);
    };
    const auto Cols = static_cast<uint32_t>(Lod.Cols);
    float Worst = 0;
    size_t Triangles = 0;
    for (const TTerrainLod::TDraw& Draw : Lod.Select(Eye, PixelsPerUnit, Triangles)) {
        for (uint32_t K = Draw.First; K < Draw.First + Draw.Count; K += 3) {
            glm::ivec2 At[3];
            glm::vec3 P[3];
            for (int I = 0; I < 3; ++I) {
                const uint32_t V = Lod.Indices[K + static_cast<uint32_t>(I)] +
                                   static_cast<uint32_t>(Draw.BaseVertex);
                At[I] = {static_cast<int>(V % Cols), static_cast<int>(V / Cols)};
                P[I] = Position(V);
            }
            const glm::ivec2 Low = glm::min(glm::min(At[0], At[1]), At[2]);
            const glm::ivec2 High = glm::max(glm::max(At[0], At[1]), At[2]);
            auto Edge = [](glm::ivec2 A, glm::ivec2 B, glm::ivec2 C) {
                return (B.x - A.x) * (C.y - A.y) - (B.y - A.y) * (C.x - A.x);
            };
            const int Area = Edge(At[0], At[1], At[2]);
            if (Area == 0) {
                continue; // a stitch standing on its edge
            }
            for (int Y = Low.y; Y <= High.y; ++Y) {
                for (int X = Low.x; X <= High.x; ++X) {
                    const glm::ivec2 S{X, Y};
                    const int W0 = Edge(At[1], At[2], S), W1 = Edge(At[2], At[0], S),
                              W2 = Edge(At[0], At[1], S);
                    if (W0 * Area < 0 || W1 * Area < 0 || W2 * Area < 0) {
                        continue;
                    }
                    const float Drawn =
                        (static_cast<float>(W0) * P[0].y + static_cast<float>(W1) * P[1].y +
                         static_cast<float>(W2) * P[2].y) /
                        static_cast<float>(Area);
                    const glm::vec3 Own =
                        Position(static_cast<uint32_t>(Y) * Cols + static_cast<uint32_t>(X));
                    Worst = std::max(Worst, std::abs(Drawn - Own.y) * PixelsPerUnit /
                                                glm::length(Own - Eye));
                }
            }
        }
    }
    return Worst;
}

TEST(TerrainLod, NoSurfaceShowsMoreThanAPixelOfError) {
    const struct {
        const char* Name;
        TLoadedMap Map;
    } Surfaces[] = {
        {"saddle", Surface([](int X, int Y) { return X * Y * 4; })},
        {"ridges across the quads' diagonals",
         Surface([](int X, int Y) { return 2000 - 300 * std::abs((X - Y + 256) % 12 - 6); })},
        {"plane", Surface([](int X, int Y) { return 5000 + 7 * X - 3 * Y; })},
    };
    for (const auto& Case : Surfaces) {
        const auto Lod = BuildTerrainLod(Case.Map, {0, 0, 257, 257, 1, 1}, TViewSettings{},
                                         THeightColourTable{}, nullptr);
        for (const glm::vec3 Eye : {glm::vec3(0, 60, 0), glm::vec3(-300, 80, 200),
                                    glm::vec3(90, 15, -120), glm::vec3(0, 3000, 0)}) {
            SCOPED_TRACE(std::string(Case.Name) + " from " + std::to_string(Eye.x) + "," +
                         std::to_string(Eye.y) + "," + std::to_string(Eye.z));
            EXPECT_LE(ScreenError(*Lod, Eye, 600.0f), 1.0f);
        }
    }
}

} // namespace
} // namespace talvo

#include "view3d/TerrainMesh.h"

#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "render/ColourValue.h"
#include "support/ScopedEnv.h"

namespace talvo {
namespace {

class TerrainMesh : public ::testing::Test {
  protected:
    TerrainMesh() {
        InitLoadedMap(Map);
        InitTerrainMesh(Terrain);
        Settings.Min = 0;
        Settings.Max = 5000;
        Settings.Pit = 100;
        Settings.Sea = 0x0000AA;
        for (int I = 0; I < 6; ++I) {
            PaletteColour(Settings, static_cast<size_t>(I)) = 0x203040 * I;
        }
        Settings.Quality = "GOURAUD";
        BuildHeightColourTable(Settings, Table);
    }

    // A 10 × 10 map of heights Value(row, column) in tenths of a metre, spacing 500.
    template <typename F> void SetMap(F Value) {
        Map.NumHeader.CellSpacing = 500;
        Map.NumHeader.Columns = Map.NumHeader.Rows = 10;
        Map.NumData.HeightGrid.ReDim(10, 10, false);
        for (int32_t R = 0; R < 10; ++R) {
            for (int32_t C = 0; C < 10; ++C) {
                Map.NumData.HeightGrid.SetVal(R, C, Value(R, C));
            }
        }
    }
    void Region(int32_t X, int32_t Y, int32_t W, int32_t H, int32_t Step = 1, float Scale = 1) {
        Chosen = {X, Y, W, H, Step, Scale};
    }
    std::shared_ptr<TMeshBuilder> Build() {
        return BuildTerrainMesh(Renderer, *Renderer.Scene, Terrain, Map, Chosen, Settings, Table);
    }
    glm::vec3 Vertex(int32_t K) const {
        TVertex V = Terrain.MeshVertexTable.GetVal(0, K);
        return {V.x, V.y, V.z};
    }

    TLoadedMap Map;
    TRegion Chosen;
    TTerrainMesh Terrain;
    TViewSettings Settings;
    THeightColourTable Table{};
    TRenderer Renderer;
};

TEST_F(TerrainMesh, SamplesVerticesAndTwoTrianglesPerCell) {
    SetMap([](int32_t R, int32_t C) { return 1000 + 10 * R + C; });
    Region(0, 0, 4, 4);
    auto Builder = Build();
    EXPECT_EQ(Terrain.MeshFaceCount, 18u);
    EXPECT_EQ(Builder->Triangles().Vertices.size(), 16u); // the second call's vertices are the same
    EXPECT_EQ(Vertex(0), glm::vec3(-2, 1000 / 500.0f, 2));
    EXPECT_EQ(Vertex(15), glm::vec3(1, 1033 / 500.0f, -1));
    // First the north-west halves, then the south-east halves of the cells.
    const std::vector<uint32_t>& Idx = Builder->Triangles().Indices;
    EXPECT_EQ(std::vector<uint32_t>(Idx.begin(), Idx.begin() + 3),
              (std::vector<uint32_t>{0, 1, 4}));
    EXPECT_EQ(std::vector<uint32_t>(Idx.begin() + 27, Idx.begin() + 30),
              (std::vector<uint32_t>{1, 5, 4}));

    Region(1, 2, 5, 7, 2);
    Build();
    EXPECT_EQ(Terrain.MeshFaceCount, 4u);
    EXPECT_EQ(Vertex(0), glm::vec3(-2, 1021 / 500.0f, 3));
    EXPECT_EQ(Vertex(5), glm::vec3(0, 1063 / 500.0f, -1)); // row 2 + 4, column 1 + 2
}

TEST_F(TerrainMesh, FacesTakeTheColourOfTheirMeanHeight) {
    SetMap([](int32_t R, int32_t C) {
        return R == 0 && C == 1 ? 1010 : R == 1 && C == 0 ? 1020 : 1000;
    });
    Region(0, 0, 2, 2, 1, 3);
    auto Builder = Build();
    const glm::vec3 Colour = Builder->Triangles().FaceColour(0);
    const TRgb Want = SplitColour(talvo::HeightColour(101, 0, Settings, Table, 500));
    EXPECT_EQ(Colour, glm::vec3(Want.R, Want.G, Want.B) / 255.0f);
    // Scaled after colouring.
    EXPECT_FLOAT_EQ(Builder->GetVertex(0, 0).y, 3 * 1000 / 500.0f);
}

TEST_F(TerrainMesh, SeaCellsAndScales) {
    SetMap([](int32_t, int32_t) { return -9999; });
    Region(0, 0, 3, 3, 1, 0);
    Settings.SeaExp = true;
    auto Flat = Build();
    EXPECT_FLOAT_EQ(Vertex(0).y, -10 / 500.0f);
    EXPECT_EQ(Flat->Triangles().FaceColour(0), glm::vec3(0xAA, 0, 0) / 255.0f); // height -1: sea
    EXPECT_EQ(Flat->GetVertex(0, 0).y, 0.0f);                                   // scale 0: flat
    Settings.SeaExp = false;
    Region(0, 0, 3, 3, 1, -1);
    auto Deep = Build();
    EXPECT_FLOAT_EQ(Vertex(0).y, -9999 / 500.0f);
    EXPECT_FLOAT_EQ(Deep->GetVertex(0, 0).y, 9999 / 500.0f); // upside down
}

TEST_F(TerrainMesh, MappingQuality) {
    SetMap([](int32_t, int32_t) { return 1000; });
    Region(0, 0, 4, 4);
    Settings.Quality = "mapping"; // not MAPPING: coloured faces
    auto Coloured = Build();
    EXPECT_FALSE(Terrain.TexturedMesh);
    Settings.Quality = "MAPPING";
    auto Plain = Build(); // no Test.bmp anywhere: no texture
    ASSERT_TRUE(Terrain.TexturedMesh);
    EXPECT_FALSE(Terrain.MeshTexture);
    EXPECT_EQ(Terrain.TexturedMesh->Geometry.FaceColour(0), glm::vec3(204, 153, 51) / 255.0f);
    // u = 0.01 (x + 2), v = 0.01 (z + 2)
    const glm::vec2 First = Terrain.TexturedMesh->Geometry.TexCoords[0];
    EXPECT_FLOAT_EQ(First.x, 0.0f);
    EXPECT_FLOAT_EQ(First.y, 0.04f);

    TRenderer WithTexture([](const std::string& Path) -> std::optional<TTexture> {
        if (Path.ends_with("Test.bmp")) {
            return TTexture{2, 1, {0xFF, 0xFF00}};
        }
        return std::nullopt;
    });
    BuildTerrainMesh(WithTexture, *WithTexture.Scene, Terrain, Map, Chosen, Settings, Table);
    ASSERT_TRUE(Terrain.MeshTexture);
    EXPECT_EQ(Terrain.TexturedMesh->Geometry.Texture->Width, 2);
}

TEST_F(TerrainMesh, RegionsThatCannotBeBuiltAreRefused) {
    const test::TScopedEnv English("LC_ALL", "en_US.UTF-8");
    SetMap([](int32_t, int32_t) { return 0; });
    const struct {
        TRegion Region;
        const char* Says;
    } Refused[] = {
        {{0, 0, 4, 4, 0, 1}, "step must be 1 or more"},
        {{0, 0, 1, 9, 1, 1}, "at least 2 samples"}, // one column
        {{0, 0, 9, 3, 2, 1}, "at least 2 samples"}, // one row at step 2
        {{0, 0, -4, 4, 1, 1}, "at least 2 samples"},
        {{8, 0, 4, 4, 1, 1}, "outside the map"},
        {{-1, 0, 4, 4, 1, 1}, "outside the map"},
        {{0, 7, 4, 4, 1, 1}, "outside the map"},
    };
    for (const auto& Case : Refused) {
        try {
            CheckTerrainRegion(Map, Case.Region);
            ADD_FAILURE() << "accepted " << Case.Says;
        } catch (const ETalvoError& Error) {
            EXPECT_NE(std::string(Error.what()).find(Case.Says), std::string::npos) << Error.what();
        }
    }
    EXPECT_NO_THROW(CheckTerrainRegion(Map, {6, 6, 4, 4, 1, 1})); // reaches column and row 9
    EXPECT_NO_THROW(CheckTerrainRegion(Map, {7, 0, 5, 4, 2, 1})); // samples in columns 7 and 9

    // The builder keeps to the same rule and leaves the last mesh as it was.
    Region(0, 0, 4, 4);
    Build();
    Region(0, 0, 1, 9);
    EXPECT_THROW(Build(), ETalvoError);
    EXPECT_EQ(Terrain.MeshFaceCount, 18u);
    Region(6, 6, 4, 4);
    Map.NumHeader.CellSpacing = 0;
    EXPECT_THROW(Build(), ETalvoError);
}

} // namespace
} // namespace talvo

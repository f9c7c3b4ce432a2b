#include "view3d/TerrainMesh.h"

#include <algorithm>
#include <limits>
#include <string>
#include <tbb/parallel_for.h>

#include "platform/CheckedMath.h"
#include "platform/Errors.h"
#include "platform/Messages.h"
#include "platform/Rounding.h"
#include "render/HeightRowColouring.h"

namespace talvo {

namespace {

void ApplyMapTexture(TRenderer& Renderer, TMeshBuilder& Builder, TTerrainMesh& Mesh,
                     const TRegion& Region) {
    Mesh.MeshTexture = Renderer.LoadTexture("Test.bmp");
    Builder.SetTexture(Mesh.MeshTexture);
    Mesh.TexturedMesh = Builder.CreateMesh();
    Mesh.MeshFrame->AddVisual(Mesh.TexturedMesh);
    Mesh.MeshWrap =
        TWrap{glm::vec3(-Region.SizeX / 2.0f, 0.0f, -Region.SizeY / 2.0f), glm::vec3(0, 1, 0),
              glm::vec3(0, 0, 1), glm::vec2(0, 0), glm::vec2(-0.01f, 0.01f)};
    Mesh.MeshWrap->Apply(*Mesh.TexturedMesh);
}

// The picture on white faces, each vertex at its cell's texel centre. The builder holds the
// samples twice, once for each half of the cells.
void LayPicture(TMeshBuilder& Builder, const TBitmap& Drape, const TRegion& Region, int32_t Rows,
                int32_t Cols) {
    std::vector<glm::vec2> Coords;
    Coords.reserve(Builder.Triangles().Vertices.size());
    const auto Samples = static_cast<size_t>(Rows) * static_cast<size_t>(Cols);
    for (size_t Vertex = 0; Vertex < Builder.Triangles().Vertices.size(); ++Vertex) {
        const auto Sample = static_cast<int32_t>(Vertex % Samples);
        const int32_t C = Sample % Cols * Region.Step, R = Sample / Cols * Region.Step;
        Coords.emplace_back((static_cast<float>(C) + 0.5f) / static_cast<float>(Region.SizeX),
                            (static_cast<float>(R) + 0.5f) / static_cast<float>(Region.SizeY));
    }
    Builder.SetColorRGB(1.0f, 1.0f, 1.0f);
    Builder.SetTexture(DrapedTexture(Drape));
    Builder.SetTexCoords(std::move(Coords));
}

void ColourFaces(TMeshBuilder& Builder, const TNum_HeaderRec& H, const TViewSettings& Settings,
                 const THeightColourTable& Table) {
    const THeightRowColouring Colouring(Settings, Table, H.CellSpacing);
    tbb::parallel_for(size_t{0}, Builder.GetFaceCount(), [&](size_t Face) {
        float Sum = 0.0f;
        for (int I = 0; I < TMeshBuilder::GetVertexCount(Face); ++I) {
            Sum += Builder.GetVertex(Face, I).y;
        }
        // The mean height in metres, rounded half to even.
        const float Metres = Sum / 3.0f * static_cast<float>(H.CellSpacing) / 10.0f;
        const auto Height =
            static_cast<int32_t>(RoundHalfEven(std::clamp(static_cast<double>(Metres), -2e9, 2e9)));
        Builder.SetFaceColour(Face, Colouring.Colour(Height, 0));
    });
}

} // namespace

void InitTerrainMesh(TTerrainMesh& Mesh) {
    Mesh.MeshVertexTable.SetDim(1, 1);
    Mesh.MeshFaceList.SetDim(1, 1);
}

void CheckTerrainRegion(const TLoadedMap& Map, const TRegion& Region) {
    if (Region.Step < 1) {
        throw ETalvoError(Text(TText::StepTooSmall, {std::to_string(Region.Step)}));
    }
    // Samples as BuildTerrainMesh takes them: SizeX / Step columns and SizeY / Step rows.
    const int64_t Cols = Region.SizeX / Region.Step, Rows = Region.SizeY / Region.Step;
    if (Cols < 2 || Rows < 2) {
        throw ETalvoError(
            Text(TText::RegionTooSmall,
                 {std::to_string(Region.SizeX), std::to_string(Region.SizeY),
                  std::to_string(Region.Step), std::to_string(2 * int64_t{Region.Step})}));
    }
    // Four words a sample in the face list, counted in 32 bits.
    constexpr int64_t MostSamples = (std::numeric_limits<int32_t>::max() - 1) / 4;
    if (Cols * Rows > MostSamples) {
        throw ETalvoError(
            Text(TText::MeshTooManyCells,
                 {std::to_string(Cols), std::to_string(Rows), std::to_string(Region.Step),
                  std::to_string(Cols * Rows), std::to_string(MostSamples)}));
    }
    const int64_t LastCol = Region.StartX + (Cols - 1) * Region.Step;
    const int64_t LastRow = Region.StartY + (Rows - 1) * Region.Step;
    // A map read by window holds none of its cells: its header tells how many it has.
    const TDelDim& Grid = Map.NumData.HeightGrid;
    const int32_t GridCols = Map.Windows ? Map.NumHeader.Columns : Grid.Cols();
    const int32_t GridRows = Map.Windows ? Map.NumHeader.Rows : Grid.Rows();
    if (Region.StartX < 0 || Region.StartY < 0 || LastCol >= GridCols || LastRow >= GridRows) {
        throw ETalvoError(
            Text(TText::RegionOutside, {std::to_string(Region.StartX), std::to_string(LastCol),
                                        std::to_string(Region.StartY), std::to_string(LastRow),
                                        std::to_string(GridCols), std::to_string(GridRows)}));
    }
    if (Map.NumHeader.CellSpacing <= 0) {
        throw ETalvoError(Text(TText::NoCellSpacing));
    }
}

TViewScene::TModelBox TerrainBox(const TLoadedMap& Map, const TRegion& Region,
                                 const TViewSettings& Settings) {
    const int32_t Rows = Region.SizeY / Region.Step;
    const int32_t Cols = Region.SizeX / Region.Step;
    float Low = std::numeric_limits<float>::max(), High = std::numeric_limits<float>::lowest();
    for (int32_t R = 0; R < Rows; ++R) {
        const int32_t* Cells = Map.NumData.HeightGrid.RowData(Region.StartY + R * Region.Step);
        for (int32_t I = 0; I < Cols; ++I) {
            auto Height = static_cast<float>(Cells[Region.StartX + I * Region.Step]);
            if (Height < 0 && Settings.SeaExp) {
                Height = -10.0f; // as the mesh lays the sea
            }
            Low = std::min(Low, Height);
            High = std::max(High, Height);
        }
    }
    const float Scale = Region.HScale / static_cast<float>(Map.NumHeader.CellSpacing);
    return {static_cast<float>((Cols - 1) * Region.Step),
            static_cast<float>((Rows - 1) * Region.Step), std::min(Low * Scale, High * Scale),
            std::max(Low * Scale, High * Scale)};
}

std::shared_ptr<TMeshBuilder> BuildTerrainMesh(TRenderer& Renderer, TFrame& Parent,
                                               TTerrainMesh& Mesh, const TLoadedMap& Map,
                                               const TRegion& Region, const TViewSettings& Settings,
                                               const THeightColourTable& Table,
                                               const TBitmap* Drape) {
    const TNum_HeaderRec& H = Map.NumHeader;
    CheckTerrainRegion(Map, Region);
    const int32_t Step = Region.Step;
    const int32_t Rows = Region.SizeY / Step;
    const int32_t Cols = Region.SizeX / Step;
    Mesh.MeshVertexTable.ReDim(1, CheckedMul(CheckedAdd(Rows, 1), CheckedAdd(Cols, 1)), false);
    Mesh.MeshFaceList.ReDim(1, CheckedAdd(CheckedMul(CheckedMul(4, Rows), Cols), 1), false);
    Mesh.MeshFrame = &Parent.CreateChild();
    auto Builder = std::make_shared<TMeshBuilder>();

    TVertex* Samples = Mesh.MeshVertexTable.RowData(0);
    tbb::parallel_for(0, Rows, [&](int32_t R) {
        const int32_t* Cells = Map.NumData.HeightGrid.RowData(Region.StartY + R * Step);
        for (int32_t I = 0; I < Cols; ++I) {
            auto Height = static_cast<float>(Cells[Region.StartX + I * Step]);
            if (Height < 0 && Settings.SeaExp) {
                Height = -10.0f; // the sea as one flat surface just below 0
            }
            Samples[R * Cols + I] = {static_cast<float>(I * Step - (Cols * Step) / 2.0),
                                     Height / static_cast<float>(H.CellSpacing),
                                     static_cast<float>(-(R * Step - (Rows * Step) / 2.0))};
        }
    });

    // Every cell in two triangles along its north-east to south-west diagonal: first all the
    // north-west halves, then all the south-east halves, clockwise seen from above.
    const glm::vec3* Vertices = reinterpret_cast<const glm::vec3*>(Mesh.MeshVertexTable.RowData(0));
    static_assert(sizeof(TVertex) == sizeof(glm::vec3));
    int32_t* Words = Mesh.MeshFaceList.RowData(0);
    const auto VertexCount = static_cast<size_t>(Rows) * static_cast<size_t>(Cols);
    for (int Half = 0; Half < 2; ++Half) {
        tbb::parallel_for(1, Rows, [&](int32_t R) {
            for (int32_t I = 1; I < Cols; ++I) {
                const int32_t V = (R - 1) * Cols + I;
                int32_t* F = Words + 4 * ((R - 1) * (Cols - 1) + (I - 1));
                F[0] = 3;
                if (Half == 0) {
                    F[1] = V - 1;
                    F[2] = V;
                    F[3] = V + Cols - 1;
                } else {
                    F[1] = V;
                    F[2] = V + Cols;
                    F[3] = V + Cols - 1;
                }
            }
        });
        Builder->AddFaces(VertexCount, Vertices, Words);
    }
    Mesh.MeshFaceCount = static_cast<uint32_t>(Builder->GetFaceCount());

    if (Drape) {
        Builder->Scale(1.0f, Region.HScale, 1.0f);
        LayPicture(*Builder, *Drape, Region, Rows, Cols);
        Mesh.MeshFrame->AddVisual(Builder);
    } else if (RenderQualityOf(Settings.Quality) != TRenderQuality::Mapping) {
        ColourFaces(*Builder, H, Settings, Table);
        Mesh.MeshFrame->AddVisual(Builder);
        Builder->Scale(1.0f, Region.HScale, 1.0f);
    } else {
        Builder->SetColorRGB(0.8f, 0.6f, 0.2f);
        Builder->Scale(1.0f, Region.HScale, 1.0f);
        ApplyMapTexture(Renderer, *Builder, Mesh, Region);
    }
    return Builder;
}

} // namespace talvo

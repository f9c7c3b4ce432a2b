#include "view3d/TerrainLod.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tbb/parallel_for.h>
#include <tuple>

#include "platform/Rounding.h"
#include "render/HeightRowColouring.h"

namespace talvo {

namespace {

// The sample positions of level Level along an edge of Cells cells: every 2^Level-th, and the end.
std::vector<int32_t> Positions(int32_t Cells, int Level) {
    std::vector<int32_t> Result;
    for (int32_t P = 0; P < Cells; P += int32_t{1} << Level) {
        Result.push_back(P);
    }
    Result.push_back(Cells);
    return Result;
}

// The last of Coarse at or before P.
int32_t Snapped(int32_t P, const std::vector<int32_t>& Coarse) {
    return *std::prev(std::upper_bound(Coarse.begin(), Coarse.end(), P));
}

// The triangles of a chunk of Width × Height cells at Level, its edges that meet a coarser
// neighbour keeping only the coarser level's samples. Indices count from the chunk's first sample
// in rows of Stride samples; triangles run as BuildTerrainMesh's do.
void AppendList(int32_t Width, int32_t Height, int Level, int Coarser, int32_t Stride,
                std::vector<uint32_t>& Indices) {
    const std::vector<int32_t> Xs = Positions(Width, Level), Ys = Positions(Height, Level);
    const std::vector<int32_t> CoarseXs = Positions(Width, Level + 1);
    const std::vector<int32_t> CoarseYs = Positions(Height, Level + 1);
    auto Index = [&](int32_t Y, int32_t X) {
        if ((Y == 0 && (Coarser & 1)) || (Y == Height && (Coarser & 4))) {
            X = Snapped(X, CoarseXs);
        }
        if ((X == Width && (Coarser & 2)) || (X == 0 && (Coarser & 8))) {
            Y = Snapped(Y, CoarseYs);
        }
        return static_cast<uint32_t>(Y * Stride + X);
    };
    auto Triangle = [&](uint32_t A, uint32_t B, uint32_t C) {
        if (A != B && B != C && A != C) {
            Indices.insert(Indices.end(), {A, B, C});
        }
    };
    for (size_t R = 0; R + 1 < Ys.size(); ++R) {
        for (size_t C = 0; C + 1 < Xs.size(); ++C) {
            const uint32_t A = Index(Ys[R], Xs[C]), B = Index(Ys[R], Xs[C + 1]);
            const uint32_t D = Index(Ys[R + 1], Xs[C]), E = Index(Ys[R + 1], Xs[C + 1]);
            Triangle(A, B, D);
            Triangle(B, E, D);
        }
    }
}

// A triangle of a chunk's lists, by its samples' rows and columns from the chunk's first sample.
using TChunkTriangle = std::array<glm::ivec2, 3>;

// Every triangle that any of a level's lists draws (each set of coarser neighbours stitches its
// edges with triangles of its own), leaving out those that cover no sample but their corners.
std::vector<TChunkTriangle> LevelTriangles(const std::vector<uint32_t>& Indices, uint32_t First,
                                           int32_t Stride) {
    std::vector<TChunkTriangle> Triangles;
    for (size_t K = First; K < Indices.size(); K += 3) {
        TChunkTriangle T;
        for (size_t I = 0; I < 3; ++I) {
            const auto Index = static_cast<int32_t>(Indices[K + I]);
            T[I] = {Index % Stride, Index / Stride};
        }
        const glm::ivec2 Span =
            glm::max(glm::max(T[0], T[1]), T[2]) - glm::min(glm::min(T[0], T[1]), T[2]);
        if (Span.x > 1 || Span.y > 1) {
            Triangles.push_back(T);
        }
    }
    auto Key = [](const TChunkTriangle& T) {
        return std::tie(T[0].y, T[0].x, T[1].y, T[1].x, T[2].y, T[2].x);
    };
    std::sort(Triangles.begin(), Triangles.end(),
              [&](const TChunkTriangle& A, const TChunkTriangle& B) { return Key(A) < Key(B); });
    Triangles.erase(std::unique(Triangles.begin(), Triangles.end()), Triangles.end());
    return Triangles;
}

// The largest difference between a sample's height and the height of the triangle drawn over it,
// At giving the heights by row and column from the chunk's first sample.
template <typename THeightAt>
float TrianglesError(const std::vector<TChunkTriangle>& Triangles, const THeightAt& At) {
    auto Edge = [](glm::ivec2 A, glm::ivec2 B, glm::ivec2 C) {
        return (B.x - A.x) * (C.y - A.y) - (B.y - A.y) * (C.x - A.x);
    };
    float Error = 0;
    for (const TChunkTriangle& T : Triangles) {
        const int Area = Edge(T[0], T[1], T[2]);
        if (Area == 0) {
            continue; // a stitch standing on its edge covers nothing
        }
        const float H0 = At(T[0].y, T[0].x), H1 = At(T[1].y, T[1].x), H2 = At(T[2].y, T[2].x);
        const glm::ivec2 Low = glm::min(glm::min(T[0], T[1]), T[2]);
        const glm::ivec2 High = glm::max(glm::max(T[0], T[1]), T[2]);
        for (int Y = Low.y; Y <= High.y; ++Y) {
            for (int X = Low.x; X <= High.x; ++X) {
                const glm::ivec2 S{X, Y};
                const int W0 = Edge(T[1], T[2], S), W1 = Edge(T[2], T[0], S),
                          W2 = Edge(T[0], T[1], S);
                if (W0 * Area < 0 || W1 * Area < 0 || W2 * Area < 0) {
                    continue; // outside the triangle
                }
                const float Drawn = (static_cast<float>(W0) * H0 + static_cast<float>(W1) * H1 +
                                     static_cast<float>(W2) * H2) /
                                    static_cast<float>(Area);
                Error = std::max(Error, std::abs(At(Y, X) - Drawn));
            }
        }
    }
    return Error;
}

} // namespace

bool WantsLevelsOfDetail(const TRegion& Region) {
    return SampleCount(Region) > 512 * 512;
}

std::shared_ptr<TTerrainLod> BuildTerrainLod(const TLoadedMap& Map, const TRegion& Region,
                                             const TViewSettings& Settings,
                                             const THeightColourTable& Table,
                                             const TBitmap* Drape) {
    auto Lod = std::make_shared<TTerrainLod>();
    const TNum_HeaderRec& H = Map.NumHeader;
    const int32_t Step = Region.Step;
    const int32_t Rows = Region.SizeY / Step, Cols = Region.SizeX / Step;
    Lod->Rows = Rows;
    Lod->Cols = Cols;

    // Heights in units, as BuildTerrainMesh lifts and scales them; the colours of their metres.
    std::vector<float> Heights(static_cast<size_t>(Rows) * static_cast<size_t>(Cols));
    std::vector<int32_t> Metres(Heights.size());
    tbb::parallel_for(0, Rows, [&](int32_t R) {
        const int32_t* Cells = Map.NumData.HeightGrid.RowData(Region.StartY + R * Step);
        for (int32_t I = 0; I < Cols; ++I) {
            auto Height = static_cast<float>(Cells[Region.StartX + I * Step]);
            if (Height < 0 && Settings.SeaExp) {
                Height = -10.0f;
            }
            const size_t K =
                static_cast<size_t>(R) * static_cast<size_t>(Cols) + static_cast<size_t>(I);
            Heights[K] = Height / static_cast<float>(H.CellSpacing) * Region.HScale;
            Metres[K] = static_cast<int32_t>(
                RoundHalfEven(std::clamp(static_cast<double>(Height) / 10.0, -2e9, 2e9)));
        }
    });
    auto At = [&](int32_t R, int32_t I) {
        return Heights[static_cast<size_t>(std::clamp(R, 0, Rows - 1)) * static_cast<size_t>(Cols) +
                       static_cast<size_t>(std::clamp(I, 0, Cols - 1))];
    };

    const THeightRowColouring Colouring(Settings, Table, H.CellSpacing);
    Lod->Vertices.resize(Heights.size() * TTerrainLod::FloatsPerVertex);
    const auto Span = static_cast<float>(Step);
    tbb::parallel_for(0, Rows, [&](int32_t R) {
        for (int32_t I = 0; I < Cols; ++I) {
            const size_t K =
                static_cast<size_t>(R) * static_cast<size_t>(Cols) + static_cast<size_t>(I);
            const glm::vec3 P(static_cast<float>(I * Step - (Cols * Step) / 2.0), Heights[K],
                              static_cast<float>(-(R * Step - (Rows * Step) / 2.0)));
            // Up, from the slopes to the neighbours either side (one side at the border).
            const glm::vec3 East(2 * Span, At(R, I + 1) - At(R, I - 1), 0.0f);
            const glm::vec3 South(0.0f, At(R + 1, I) - At(R - 1, I), -2 * Span);
            const glm::vec3 N = glm::normalize(glm::cross(East, South));
            glm::vec3 Colour(1.0f);
            if (!Drape) {
                const int32_t C = Colouring.Colour(Metres[K], 0);
                Colour = glm::vec3(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF) / 255.0f;
            }
            const glm::vec2 UV(
                (static_cast<float>(I * Step) + 0.5f) / static_cast<float>(Region.SizeX),
                (static_cast<float>(R * Step) + 0.5f) / static_cast<float>(Region.SizeY));
            float* V = Lod->Vertices.data() + K * TTerrainLod::FloatsPerVertex;
            const float Values[TTerrainLod::FloatsPerVertex] = {
                P.x, P.y, P.z,      N.x,      N.y,      N.z,  N.x,
                N.y, N.z, Colour.r, Colour.g, Colour.b, UV.x, UV.y};
            std::copy(std::begin(Values), std::end(Values), V);
        }
    });
    if (Drape) {
        Lod->Texture = DrapedTexture(*Drape);
    }

    // Chunks, their shapes' index lists and their errors.
    const int32_t CellRows = Rows - 1, CellCols = Cols - 1;
    Lod->ChunkRows = (CellRows + TTerrainLod::ChunkCells - 1) / TTerrainLod::ChunkCells;
    Lod->ChunkCols = (CellCols + TTerrainLod::ChunkCells - 1) / TTerrainLod::ChunkCells;
    std::map<std::pair<int32_t, int32_t>, int> Shapes;
    // Each shape's triangles of every level, by which its chunks' errors are measured.
    std::vector<std::array<std::vector<TChunkTriangle>, TTerrainLod::Levels>> ShapeTriangles;
    for (int32_t CR = 0; CR < Lod->ChunkRows; ++CR) {
        for (int32_t CC = 0; CC < Lod->ChunkCols; ++CC) {
            TTerrainLod::TChunk Chunk;
            Chunk.Row = CR * TTerrainLod::ChunkCells;
            Chunk.Col = CC * TTerrainLod::ChunkCells;
            const int32_t Width = std::min(TTerrainLod::ChunkCells, CellCols - Chunk.Col);
            const int32_t Height = std::min(TTerrainLod::ChunkCells, CellRows - Chunk.Row);
            auto [Found, New] =
                Shapes.emplace(std::make_pair(Width, Height), static_cast<int>(Shapes.size()));
            if (New) {
                auto& Levels = ShapeTriangles.emplace_back();
                for (int Level = 0; Level < TTerrainLod::Levels; ++Level) {
                    const auto LevelFirst = static_cast<uint32_t>(Lod->Indices.size());
                    for (int Coarser = 0; Coarser < 16; ++Coarser) {
                        TTerrainLod::TList List{static_cast<uint32_t>(Lod->Indices.size()), 0};
                        AppendList(Width, Height, Level, Coarser, Cols, Lod->Indices);
                        List.Count = static_cast<uint32_t>(Lod->Indices.size()) - List.First;
                        Lod->Lists.push_back(List);
                    }
                    Levels[static_cast<size_t>(Level)] =
                        LevelTriangles(Lod->Indices, LevelFirst, Cols);
                }
            }
            Chunk.Shape = Found->second;
            Lod->Chunks.push_back(Chunk);
        }
    }
    // A level's error is measured against the triangles it draws, whichever neighbours it
    // stitches to, and never less than a finer level's: a level kept for its error shows no
    // more than it says.
    tbb::parallel_for(size_t{0}, Lod->Chunks.size(), [&](size_t K) {
        TTerrainLod::TChunk& Chunk = Lod->Chunks[K];
        const auto ChunkAt = [&](int32_t R, int32_t I) { return At(Chunk.Row + R, Chunk.Col + I); };
        const auto& Levels = ShapeTriangles[static_cast<size_t>(Chunk.Shape)];
        float Error = 0;
        for (size_t Level = 0; Level < Levels.size(); ++Level) {
            Error = std::max(Error, TrianglesError(Levels[Level], ChunkAt));
            Chunk.Error[Level] = Error;
        }
        const int32_t Width = std::min(TTerrainLod::ChunkCells, CellCols - Chunk.Col);
        const int32_t Height = std::min(TTerrainLod::ChunkCells, CellRows - Chunk.Row);
        float Low = ChunkAt(0, 0), High = Low;
        for (int32_t R = 0; R <= Height; ++R) {
            for (int32_t I = 0; I <= Width; ++I) {
                Low = std::min(Low, ChunkAt(R, I));
                High = std::max(High, ChunkAt(R, I));
            }
        }
        auto Corner = [&](int32_t R, int32_t I, float Y) {
            return glm::vec3(static_cast<float>(I * Step - (Cols * Step) / 2.0), Y,
                             static_cast<float>(-(R * Step - (Rows * Step) / 2.0)));
        };
        const glm::vec3 A = Corner(Chunk.Row, Chunk.Col, Low);
        const glm::vec3 B = Corner(Chunk.Row + Height, Chunk.Col + Width, High);
        Chunk.Low = glm::min(A, B);
        Chunk.High = glm::max(A, B);
    });
    return Lod;
}

std::vector<TTerrainLod::TDraw> TTerrainLod::Select(glm::vec3 Eye, float PixelsPerUnit,
                                                    size_t& Triangles) const {
    // The coarsest level whose error shows as a pixel or less.
    std::vector<int> Level(Chunks.size(), 0);
    for (size_t K = 0; K < Chunks.size(); ++K) {
        const TChunk& Chunk = Chunks[K];
        const float Distance = std::max(
            glm::length(glm::max(glm::max(Chunk.Low - Eye, Eye - Chunk.High), 0.0f)), 1e-3f);
        int L = 0;
        while (L + 1 < Levels &&
               Chunk.Error[static_cast<size_t>(L + 1)] * PixelsPerUnit / Distance <= 1.0f) {
            ++L;
        }
        Level[K] = L;
    }
    // Neighbours one level apart at most: a chunk finer than its neighbour allows brings it down.
    auto Neighbour = [this](size_t K, int Side) -> std::optional<size_t> {
        const auto R = static_cast<int32_t>(K) / ChunkCols, C = static_cast<int32_t>(K) % ChunkCols;
        const int32_t NR = R + (Side == 2) - (Side == 0), NC = C + (Side == 1) - (Side == 3);
        if (NR < 0 || NC < 0 || NR >= ChunkRows || NC >= ChunkCols) {
            return std::nullopt;
        }
        return static_cast<size_t>(NR * ChunkCols + NC);
    };
    for (bool Changed = true; Changed;) {
        Changed = false;
        for (size_t K = 0; K < Chunks.size(); ++K) {
            for (int Side = 0; Side < 4; ++Side) {
                if (const std::optional<size_t> N = Neighbour(K, Side);
                    N && Level[*N] > Level[K] + 1) {
                    Level[*N] = Level[K] + 1;
                    Changed = true;
                }
            }
        }
    }
    std::vector<TDraw> Draws;
    Draws.reserve(Chunks.size());
    Triangles = 0;
    for (size_t K = 0; K < Chunks.size(); ++K) {
        int Coarser = 0;
        for (int Side = 0; Side < 4; ++Side) {
            if (const std::optional<size_t> N = Neighbour(K, Side); N && Level[*N] > Level[K]) {
                Coarser |= 1 << Side;
            }
        }
        const TList& List =
            Lists[static_cast<size_t>((Chunks[K].Shape * Levels + Level[K]) * 16 + Coarser)];
        Draws.push_back({List.First, List.Count, Chunks[K].Row * Cols + Chunks[K].Col});
        Triangles += List.Count / 3;
    }
    return Draws;
}

} // namespace talvo

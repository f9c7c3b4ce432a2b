#include "view3d/MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <tbb/parallel_for.h>

#include "platform/Errors.h"
#include "platform/ExecutablePath.h"
#include "platform/Messages.h"

namespace talvo {

namespace {

uint32_t Channel(float Value) {
    return static_cast<uint32_t>(std::lround(std::clamp(Value, 0.0f, 1.0f) * 255.0f));
}

uint32_t PackRgb(float Red, float Green, float Blue) {
    return Channel(Red) | Channel(Green) << 8 | Channel(Blue) << 16;
}

constexpr uint32_t WhiteFace = 0xFFFFFF;

} // namespace

glm::vec3 TTriangles::FaceColour(size_t Face) const {
    const uint32_t C = Colours[Face];
    return glm::vec3(C & 0xFF, (C >> 8) & 0xFF, (C >> 16) & 0xFF) / 255.0f;
}

void TMeshBuilder::AddFaces(size_t Count, const glm::vec3* Vertices, const int32_t* FaceData) {
    // The same vertex array given again (the terrain adds its two halves of every cell so)
    // is stored once.
    const bool Again = Count == LastCount && Count > 0 &&
                       std::equal(Vertices, Vertices + Count, Geometry.Vertices.begin() + LastBase);
    const auto Base = static_cast<uint32_t>(Again ? LastBase : Geometry.Vertices.size());
    size_t Faces = 0;
    for (const int32_t* Word = FaceData; *Word != 0; Word += 4, ++Faces) {
        if (Word[0] != 3) {
            throw ETalvoError(Text(TText::OnlyTriangles));
        }
    }
    const size_t First = Geometry.FaceCount();
    Geometry.Indices.resize(3 * (First + Faces));
    Geometry.Colours.resize(First + Faces, WhiteFace);
    // Faces are independent: millions of them are stored on every core.
    auto Store = [&](size_t Face) {
        const int32_t* Word = FaceData + 4 * Face;
        for (int I = 1; I <= 3; ++I) {
            if (Word[I] < 0 || static_cast<size_t>(Word[I]) >= Count) {
                throw ETalvoError(Text(TText::FaceVertexMissing));
            }
            Geometry.Indices[3 * (First + Face) + static_cast<size_t>(I - 1)] =
                Base + static_cast<uint32_t>(Word[I]);
        }
    };
    try {
        tbb::parallel_for(size_t{0}, Faces, Store);
    } catch (...) {
        Geometry.Indices.resize(3 * First); // the builder keeps only the faces it had
        Geometry.Colours.resize(First);
        throw;
    }
    if (!Again) {
        LastBase = Geometry.Vertices.size();
        LastCount = Count;
        Geometry.Vertices.insert(Geometry.Vertices.end(), Vertices, Vertices + Count);
    }
}

void TMeshBuilder::SetColorRGB(float Red, float Green, float Blue) {
    std::fill(Geometry.Colours.begin(), Geometry.Colours.end(), PackRgb(Red, Green, Blue));
}

std::shared_ptr<const TTexture> DrapedTexture(const TBitmap& Picture) {
    auto Texture = std::make_shared<TTexture>();
    Texture->Width = Picture.Width();
    Texture->Height = Picture.Height();
    Texture->Draped = true;
    for (int32_t Y = 0; Y < Picture.Height(); ++Y) {
        Texture->Pixels.insert(Texture->Pixels.end(), Picture.Row(Y),
                               Picture.Row(Y) + Picture.Width());
    }
    return Texture;
}

void TMeshBuilder::Scale(float X, float Y, float Z) {
    for (glm::vec3& Vertex : Geometry.Vertices) {
        Vertex *= glm::vec3(X, Y, Z);
    }
}

void TWrap::Apply(TMesh& Mesh) const {
    const glm::vec3 XAxis = glm::cross(Up, Direction);
    std::vector<glm::vec2>& Coords = Mesh.Geometry.TexCoords;
    Coords.clear();
    for (const glm::vec3& Vertex : Mesh.Geometry.Vertices) {
        const glm::vec3 Offset = Vertex - Origin;
        Coords.emplace_back(TextureScale.x * glm::dot(Offset, XAxis) + TextureOrigin.x,
                            TextureScale.y * glm::dot(Offset, Up) + TextureOrigin.y);
    }
}

std::shared_ptr<const TTexture> TRenderer::LoadTexture(const std::string& FileName) const {
    if (!Reader) {
        return nullptr;
    }
    std::error_code NoFolder;
    for (const std::filesystem::path& Folder :
         {std::filesystem::current_path(NoFolder), std::filesystem::path(ExecutableDir())}) {
        if (std::optional<TTexture> Image = Reader((Folder / FileName).string())) {
            return std::make_shared<const TTexture>(std::move(*Image));
        }
    }
    return nullptr;
}

} // namespace talvo

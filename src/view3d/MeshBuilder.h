#pragma once

#include <cstdint>
#include <functional>
#include <glm/glm.hpp>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "view3d/Frame.h"

namespace talvo {

// A texture image: Width × Height colour values (red in the low byte), top row first.
struct TTexture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<int32_t> Pixels;
    // A picture laid on the terrain once (the map's own): sampled with mipmaps and held at its
    // edges, not repeated.
    bool Draped = false;
};

// Picture as a texture laid on the terrain (Draped).
std::shared_ptr<const TTexture> DrapedTexture(const TBitmap& Picture);

// The triangles of a mesh: three vertex indices and one colour (red, green, blue in 0..1)
// each. Colours are kept in 8 bits per channel, which holds every colour the program gives.
struct TTriangles {
    std::vector<glm::vec3> Vertices;
    std::vector<uint32_t> Indices;    // three per face
    std::vector<uint32_t> Colours;    // one per face: red | green << 8 | blue << 16
    std::vector<glm::vec2> TexCoords; // per vertex, once a wrap has been applied
    std::shared_ptr<const TTexture> Texture;

    size_t FaceCount() const { return Colours.size(); }
    glm::vec3 FaceColour(size_t Face) const;
};

// A finished mesh, independent of the builder it was made from.
class TMesh : public TVisual {
  public:
    explicit TMesh(TTriangles Geometry) : Geometry(std::move(Geometry)) {}
    TTriangles Geometry;
};

// Collects faces: vertex arrays with face lists, per-face colours, a scale and a texture.
class TMeshBuilder : public TVisual {
  public:
    // Appends Count vertices and the faces of FaceData, "3, a, b, c, …, 0": each face a
    // vertex count (always 3 here) and that many indices into this call's vertices; a 0 ends
    // the list. Faces start white. Raises ETalvoError on a face that is not a triangle or an
    // index beyond the vertices given.
    void AddFaces(size_t Count, const glm::vec3* Vertices, const int32_t* FaceData);

    size_t GetFaceCount() const { return Geometry.FaceCount(); }
    // Face Face's vertex Index (0..2).
    glm::vec3 GetVertex(size_t Face, int Index) const {
        return Geometry.Vertices[Geometry.Indices[3 * Face + static_cast<size_t>(Index)]];
    }
    static int GetVertexCount(size_t) { return 3; }
    // Face Face in a colour value's colour.
    void SetFaceColour(size_t Face, int32_t Colour) {
        Geometry.Colours[Face] = static_cast<uint32_t>(Colour) & 0xFFFFFF;
    }
    void SetColorRGB(float Red, float Green, float Blue);
    void Scale(float X, float Y, float Z);
    void SetTexture(std::shared_ptr<const TTexture> Texture) {
        Geometry.Texture = std::move(Texture);
    }
    // Texture coordinates of every vertex, top row of the texture at v = 0.
    void SetTexCoords(std::vector<glm::vec2> Coords) { Geometry.TexCoords = std::move(Coords); }
    std::shared_ptr<TMesh> CreateMesh() const { return std::make_shared<TMesh>(Geometry); }

    const TTriangles& Triangles() const { return Geometry; }

  private:
    TTriangles Geometry;
    size_t LastBase = 0;
    size_t LastCount = 0;
};

// Flat texture projection: with x = Up × Direction, a vertex p gets
// u = ScaleU · ((p − Origin) · x) + OriginU and v = ScaleV · ((p − Origin) · Up) + OriginV.
struct TWrap {
    glm::vec3 Origin;
    glm::vec3 Direction;
    glm::vec3 Up;
    glm::vec2 TextureOrigin;
    glm::vec2 TextureScale;

    void Apply(TMesh& Mesh) const;
};

// Reads an image file; nothing when it is missing or unreadable. The display layer supplies
// one (Qt's image reader); tests supply their own.
using TImageReader = std::function<std::optional<TTexture>(const std::string& Path)>;

// Renderer state of the device: the render quality values of the 3D view, texture quality and
// render mode.
struct TDevice {
    static constexpr int Wireframe = 64;
    static constexpr int UnlitFlat = 128;
    static constexpr int Flat = 136;
    static constexpr int Gouraud = 137;
    static constexpr int Phong = 138;
    int Quality = Gouraud;
    int TextureQuality = 0;
    int RenderMode = 0;
};

// Makes what the scene holds: frames hang in the scene's root; textures are read by file name
// from the current folder, then the program's folder.
class TRenderer {
  public:
    explicit TRenderer(TImageReader Reader = {}) : Reader(std::move(Reader)) {}

    std::shared_ptr<const TTexture> LoadTexture(const std::string& FileName) const;

    // Releases every frame, visual and light and starts an empty scene with a fresh device.
    void Reset() {
        Scene = std::make_unique<TFrame>();
        Device = TDevice();
    }

    std::unique_ptr<TFrame> Scene = std::make_unique<TFrame>();
    TDevice Device;

  private:
    TImageReader Reader;
};

} // namespace talvo

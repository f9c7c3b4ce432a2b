#include "view3d/ObjFile.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

#include "platform/AtomicFile.h"
#include "platform/Bitmap.h"
#include "platform/PictureFiles.h"

namespace talvo {

namespace {

// Writes text to a file that replaces its target only when complete.
class TTextWriter {
  public:
    explicit TTextWriter(std::string Path) : File(std::move(Path)) {}

    TTextWriter& operator<<(std::string_view Text) {
        File.Write(Text.data(), Text.size());
        return *this;
    }
    TTextWriter& operator<<(float Value) {
        char Digits[32];
        auto End = std::to_chars(Digits, Digits + sizeof Digits, Value).ptr;
        return *this << std::string_view(Digits, static_cast<size_t>(End - Digits));
    }
    TTextWriter& operator<<(uint64_t Value) {
        char Digits[24];
        auto End = std::to_chars(Digits, Digits + sizeof Digits, Value).ptr;
        return *this << std::string_view(Digits, static_cast<size_t>(End - Digits));
    }

    void Flush() { File.Flush(); }
    void Commit() { File.Commit(); }

  private:
    TAtomicFile File;
};

constexpr std::string_view DrapeMaterial = "map";

std::string MaterialName(uint32_t Colour) {
    char Name[16];
    std::snprintf(Name, sizeof Name, "c%06X", Colour & 0xFFFFFF);
    return Name;
}

// The picture of a draped mesh and its vertices' texture coordinates, all in one material.
void WriteDrapedObj(const TTriangles& Mesh, const std::string& Path) {
    const std::filesystem::path MtlPath = ObjMaterialsPath(Path);
    const std::filesystem::path PngPath = ObjTexturePath(Path);
    const TTexture& Image = *Mesh.Texture;
    TBitmap Picture(Image.Width, Image.Height, TBitmap::TStart::Unfilled);
    for (int32_t Y = 0; Y < Image.Height; ++Y) {
        std::copy_n(Image.Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Image.Width),
                    Image.Width, Picture.Row(Y));
    }
    TTextWriter Materials(MtlPath.string());
    Materials << "newmtl " << DrapeMaterial << "\nKd 1 1 1\nmap_Kd " << PngPath.filename().string()
              << "\n";
    TTextWriter Obj(Path);
    Obj << "# Talvo terrain mesh\nmtllib " << MtlPath.filename().string() << "\n";
    for (const glm::vec3& Vertex : Mesh.Vertices) {
        Obj << "v " << Vertex.x << " " << Vertex.y << " " << -Vertex.z << "\n";
    }
    for (const glm::vec2& Coord : Mesh.TexCoords) {
        Obj << "vt " << Coord.x << " " << 1.0f - Coord.y << "\n";
    }
    Obj << "usemtl " << DrapeMaterial << "\n";
    for (size_t Face = 0; Face < Mesh.FaceCount(); ++Face) {
        Obj << "f";
        for (size_t Corner = 0; Corner < 3; ++Corner) {
            const uint64_t Index = Mesh.Indices[3 * Face + Corner] + uint64_t{1};
            Obj << " " << Index << "/" << Index;
        }
        Obj << "\n";
    }
    // The picture first: the materials and the mesh name it.
    WritePicture(Picture, PngPath.string());
    Materials.Commit();
    Obj.Commit();
}

} // namespace

std::string ObjMaterialsPath(const std::string& Path) {
    return std::filesystem::path(Path).replace_extension(".mtl").string();
}

std::string ObjTexturePath(const std::string& Path) {
    return std::filesystem::path(Path).replace_extension(".png").string();
}

void WriteObj(const TTriangles& Mesh, const std::string& Path) {
    if (Mesh.Texture && Mesh.Texture->Draped && Mesh.TexCoords.size() == Mesh.Vertices.size()) {
        WriteDrapedObj(Mesh, Path);
        return;
    }
    const std::filesystem::path MtlPath = ObjMaterialsPath(Path);

    TTextWriter Materials(MtlPath.string());
    for (uint32_t Colour : std::set<uint32_t>(Mesh.Colours.begin(), Mesh.Colours.end())) {
        const glm::vec3 Rgb =
            glm::vec3(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF) / 255.0f;
        Materials << "newmtl " << MaterialName(Colour) << "\nKd " << Rgb.r << " " << Rgb.g << " "
                  << Rgb.b << "\n";
    }
    // On the disk before the OBJ, which is far larger: a disk that fills is then told as the
    // OBJ's.
    Materials.Flush();

    TTextWriter Obj(Path);
    Obj << "# Talvo terrain mesh\nmtllib " << MtlPath.filename().string() << "\n";
    // OBJ is right-handed: z flips, which also turns the faces' clockwise order seen from
    // above into the counter-clockwise order that marks their upper side as the front.
    for (const glm::vec3& Vertex : Mesh.Vertices) {
        Obj << "v " << Vertex.x << " " << Vertex.y << " " << -Vertex.z << "\n";
    }
    uint32_t Current = ~0u;
    for (size_t Face = 0; Face < Mesh.FaceCount(); ++Face) {
        if (Mesh.Colours[Face] != Current) {
            Current = Mesh.Colours[Face];
            Obj << "usemtl " << MaterialName(Current) << "\n";
        }
        // OBJ counts vertices from 1.
        Obj << "f " << uint64_t{Mesh.Indices[3 * Face] + 1u} << " "
            << uint64_t{Mesh.Indices[3 * Face + 1] + 1u} << " "
            << uint64_t{Mesh.Indices[3 * Face + 2] + 1u} << "\n";
    }
    // Both are complete before either replaces an earlier one.
    Obj.Flush();
    Materials.Commit();
    Obj.Commit();
}

} // namespace talvo

#include "view3d/ObjFile.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>

#include "platform/Errors.h"
#include "platform/FileHandle.h"
#include "platform/StreamBuffer.h"

namespace talvo {

namespace {

// Writes text to a file, raising the program's write error on any failure.
class TTextWriter {
  public:
    explicit TTextWriter(std::string Path) : Path(std::move(Path)) {
        File.reset(std::fopen(this->Path.c_str(), "wb"));
        if (!File) {
            Fail();
        }
        Buffer.Attach(File.get());
    }

    TTextWriter& operator<<(std::string_view Text) {
        std::fwrite(Text.data(), 1, Text.size(), File.get());
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

    void Close() {
        if (std::ferror(File.get()) || std::fclose(File.release()) != 0) {
            Fail();
        }
    }

  private:
    [[noreturn]] void Fail() { throw EInOutError(Path + " に書き込めません"); }

    std::string Path;
    TStreamBuffer Buffer;
    TFileHandle File;
};

std::string MaterialName(uint32_t Colour) {
    char Name[16];
    std::snprintf(Name, sizeof Name, "c%06X", Colour & 0xFFFFFF);
    return Name;
}

} // namespace

void WriteObj(const TTriangles& Mesh, const std::string& Path) {
    const std::filesystem::path MtlPath = std::filesystem::path(Path).replace_extension(".mtl");

    TTextWriter Materials(MtlPath.string());
    for (uint32_t Colour : std::set<uint32_t>(Mesh.Colours.begin(), Mesh.Colours.end())) {
        const glm::vec3 Rgb =
            glm::vec3(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF) / 255.0f;
        Materials << "newmtl " << MaterialName(Colour) << "\nKd " << Rgb.r << " " << Rgb.g << " "
                  << Rgb.b << "\n";
    }
    Materials.Close();

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
    Obj.Close();
}

} // namespace talvo

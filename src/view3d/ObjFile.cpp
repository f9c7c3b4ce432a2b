#include "view3d/ObjFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Bitmap.h"
#include "platform/PictureFiles.h"
#include "platform/Sha256.h"

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
// The first line of a materials file, naming the OBJ file it was written for.
constexpr std::string_view MaterialsHeader = "# Talvo materials of ";
constexpr size_t DigestDigits = 8;
// A draped mesh's materials file, which names its picture, is a few lines long; a longer one
// names none and is not read beyond its first line.
constexpr uintmax_t MostDrapedMaterialsBytes = 4096;

bool IsDraped(const TTriangles& Mesh) {
    return Mesh.Texture && Mesh.Texture->Draped && Mesh.TexCoords.size() == Mesh.Vertices.size();
}

std::string MaterialName(uint32_t Colour) {
    char Name[16];
    std::snprintf(Name, sizeof Name, "c%06X", Colour & 0xFFFFFF);
    return Name;
}

void AppendNumber(std::string& Text, float Value) {
    char Digits[32];
    const auto End = std::to_chars(Digits, Digits + sizeof Digits, Value).ptr;
    Text.append(Digits, End);
}

// "DIR/terrain.obj" and a digest → "DIR/terrain.DIGEST.EXT".
std::filesystem::path Companion(const std::string& ObjPath, const std::string& Digest,
                                std::string_view Extension) {
    std::filesystem::path Path(ObjPath);
    return Path.replace_filename(Path.stem().string() + "." + Digest.substr(0, DigestDigits) +
                                 std::string(Extension));
}

// Whether Name is a companion's name of the OBJ file at ObjPath with Extension.
bool IsCompanionName(const std::string& ObjPath, const std::string& Name,
                     std::string_view Extension) {
    const std::string Stem = std::filesystem::path(ObjPath).stem().string() + ".";
    if (Name.size() != Stem.size() + DigestDigits + Extension.size() || !Name.starts_with(Stem) ||
        !Name.ends_with(Extension)) {
        return false;
    }
    return std::all_of(Name.begin() + static_cast<std::ptrdiff_t>(Stem.size()),
                       Name.end() - static_cast<std::ptrdiff_t>(Extension.size()),
                       [](char C) { return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f'); });
}

// The materials file's text and the companions' paths.
struct TCompanionFiles {
    TObjCompanions Paths;
    std::string Materials;
};

TCompanionFiles CompanionFiles(const TTriangles& Mesh, const std::string& Path) {
    TCompanionFiles Files;
    Files.Materials =
        std::string(MaterialsHeader) + std::filesystem::path(Path).filename().string() + "\n";
    if (IsDraped(Mesh)) {
        const TTexture& Image = *Mesh.Texture;
        TSha256 Pixels;
        Pixels.Add(&Image.Width, sizeof Image.Width);
        Pixels.Add(&Image.Height, sizeof Image.Height);
        Pixels.Add(Image.Pixels.data(), Image.Pixels.size() * sizeof Image.Pixels[0]);
        const std::filesystem::path Texture = Companion(Path, Pixels.HexDigest(), ".png");
        Files.Paths.Texture = Texture.string();
        Files.Materials += "newmtl " + std::string(DrapeMaterial) + "\nKd 1 1 1\nmap_Kd " +
                           Texture.filename().string() + "\n";
    } else {
        for (uint32_t Colour : std::set<uint32_t>(Mesh.Colours.begin(), Mesh.Colours.end())) {
            const glm::vec3 Rgb =
                glm::vec3(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF) / 255.0f;
            Files.Materials += "newmtl " + MaterialName(Colour) + "\nKd ";
            AppendNumber(Files.Materials, Rgb.r);
            Files.Materials += " ";
            AppendNumber(Files.Materials, Rgb.g);
            Files.Materials += " ";
            AppendNumber(Files.Materials, Rgb.b);
            Files.Materials += "\n";
        }
    }
    Files.Paths.Materials = Companion(Path, Sha256Hex(Files.Materials), ".mtl").string();
    return Files;
}

// Removes the materials files written for the OBJ file at Path other than Kept, with the
// pictures they name: those of the OBJ file it replaced, and those of a run cut short before its
// OBJ file was in place. A file is removed only when its name is a companion's and, for a
// materials file, its first line names this OBJ file; what cannot be read or removed is left.
void RemoveEarlierCompanions(const std::string& Path, const TObjCompanions& Kept) {
    const std::filesystem::path Folder = std::filesystem::path(Path).parent_path();
    const std::string Header =
        std::string(MaterialsHeader) + std::filesystem::path(Path).filename().string();
    std::error_code Ignored;
    for (const auto& Entry : std::filesystem::directory_iterator(
             Folder.empty() ? std::filesystem::path(".") : Folder, Ignored)) {
        const std::string Name = Entry.path().filename().string();
        if (Entry.path() == std::filesystem::path(Kept.Materials) ||
            !IsCompanionName(Path, Name, ".mtl") || !Entry.is_regular_file(Ignored)) {
            continue;
        }
        std::ifstream Materials(Entry.path(), std::ios::binary);
        std::string First(Header.size() + 1, '\0');
        Materials.read(First.data(), static_cast<std::streamsize>(First.size()));
        if (!Materials || First != Header + "\n") {
            continue;
        }
        const bool MayNamePicture = Entry.file_size(Ignored) <= MostDrapedMaterialsBytes;
        std::string Line;
        while (MayNamePicture && std::getline(Materials, Line)) {
            const std::string Picture = Line.starts_with("map_Kd ") ? Line.substr(7) : "";
            const std::filesystem::path PicturePath = Entry.path().parent_path() / Picture;
            if (IsCompanionName(Path, Picture, ".png") &&
                PicturePath != std::filesystem::path(Kept.Texture)) {
                std::filesystem::remove(PicturePath, Ignored);
            }
        }
        Materials.close();
        std::filesystem::remove(Entry.path(), Ignored);
    }
}

// The picture of a draped mesh and its vertices' texture coordinates, all in one material.
void WriteDrapedObj(const TTriangles& Mesh, const std::string& Path, const TCompanionFiles& Files) {
    const TTexture& Image = *Mesh.Texture;
    TBitmap Picture(Image.Width, Image.Height, TBitmap::TStart::Unfilled);
    for (int32_t Y = 0; Y < Image.Height; ++Y) {
        std::copy_n(Image.Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Image.Width),
                    Image.Width, Picture.Row(Y));
    }
    TTextWriter Obj(Path);
    Obj << "# Talvo terrain mesh\nmtllib "
        << std::filesystem::path(Files.Paths.Materials).filename().string() << "\n";
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
    Obj.Flush();
    WritePicture(Picture, Files.Paths.Texture);
    Obj.Commit();
}

// Each face in the material of its colour.
void WriteColouredObj(const TTriangles& Mesh, const std::string& Path,
                      const TCompanionFiles& Files) {
    TTextWriter Obj(Path);
    Obj << "# Talvo terrain mesh\nmtllib "
        << std::filesystem::path(Files.Paths.Materials).filename().string() << "\n";
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
    Obj.Commit();
}

} // namespace

void WriteObj(const TTriangles& Mesh, const std::string& Path,
              const std::function<void(const TObjCompanions&)>& Check) {
    const TCompanionFiles Files = CompanionFiles(Mesh, Path);
    if (Check) {
        Check(Files.Paths);
    }
    // Companions that are there already hold what these would (their names say so), and may be
    // the earlier OBJ file's: only new ones go when the OBJ file cannot be written.
    std::error_code Unknown;
    std::vector<std::string> New;
    for (const std::string& Companion : {Files.Paths.Materials, Files.Paths.Texture}) {
        if (!Companion.empty() && !std::filesystem::exists(Companion, Unknown)) {
            New.push_back(Companion);
        }
    }
    try {
        // The materials first, the OBJ file that names them last: until it is in place, the
        // earlier OBJ file keeps its own materials and picture, which differ from these by name.
        TTextWriter Materials(Files.Paths.Materials);
        Materials << Files.Materials;
        Materials.Commit();
        if (IsDraped(Mesh)) {
            WriteDrapedObj(Mesh, Path, Files);
        } else {
            WriteColouredObj(Mesh, Path, Files);
        }
    } catch (...) {
        for (const std::string& Companion : New) {
            std::filesystem::remove(Companion, Unknown);
        }
        throw;
    }
    RemoveEarlierCompanions(Path, Files.Paths);
}

} // namespace talvo

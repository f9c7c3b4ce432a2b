#pragma once

#include <functional>
#include <string>

#include "view3d/MeshBuilder.h"

namespace talvo {

// The files an OBJ file is written with: its materials and, for a mesh draped with a picture, that
// picture. Their names carry a digest of what they hold ("terrain.obj" → "terrain.1f0c2a9b.mtl"
// and "terrain.5e7d3c10.png"), so that the OBJ file, put in place last, only ever names a
// complete set: a write cut short leaves the earlier OBJ file with its own.
struct TObjCompanions {
    std::string Materials;
    std::string Texture; // "" for a mesh that is not draped
};

// Writes the triangles as a Wavefront OBJ file (right-handed: z negated) at Path with its
// companions: one material per distinct face colour, or, for a mesh draped with a picture, the one
// material of that picture, with a texture coordinate for every vertex (v counted from the
// picture's bottom, as OBJ does). Then removes the companions written earlier for an OBJ file of
// that name, which no longer has them. Raises EInOutError "<path> に書き込めません (reason)" naming
// the file that could not be written. Check, when given, sees the companions' paths before
// anything is written, and may refuse them by raising.
void WriteObj(const TTriangles& Mesh, const std::string& Path,
              const std::function<void(const TObjCompanions&)>& Check = {});

} // namespace talvo

#pragma once

#include <string>

#include "view3d/MeshBuilder.h"

namespace talvo {

// Writes the triangles as a Wavefront OBJ file (right-handed: z negated) at Path with its
// materials in a ".mtl" file beside it (same name): one per distinct face colour, or, for a mesh
// draped with a picture, the one material of that picture, written beside them as a ".png" (same
// name) with a texture coordinate for every vertex (v counted from the picture's bottom, as OBJ
// does). Raises EInOutError "<path> に書き込めません (reason)" naming the file that could not be
// written.
void WriteObj(const TTriangles& Mesh, const std::string& Path);

// The materials file written with the OBJ file at Path: the same name ending in ".mtl".
std::string ObjMaterialsPath(const std::string& Path);
// The picture a draped mesh's OBJ file at Path is written with: the same name ending in ".png".
std::string ObjTexturePath(const std::string& Path);

} // namespace talvo

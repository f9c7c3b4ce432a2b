#pragma once

#include <string>

#include "view3d/MeshBuilder.h"

namespace talvo {

// Writes the triangles as a Wavefront OBJ file (right-handed: z negated) at Path with its
// materials, one per distinct
// face colour, in a ".mtl" file beside it (same name). Raises EInOutError
// "<path> に書き込めません (reason)" naming the file that could not be written.
void WriteObj(const TTriangles& Mesh, const std::string& Path);

// The materials file written with the OBJ file at Path: the same name ending in ".mtl".
std::string ObjMaterialsPath(const std::string& Path);

} // namespace talvo

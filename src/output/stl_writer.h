// The STL file: the visible surface (visible_faces.h) as a binary STL for slicers and 3D
// printing. An 80-byte header ("Ostrel " + version + " " + model name, padded with blanks; it never
// starts with "solid", which would make readers take the file for text), the triangle count, then
// per triangle its unit normal, its three corners and a zero attribute word, all little-endian
// 32-bit floats. The normals follow the triangles' turn, so they point outwards when the surface
// was turned outwards (VisibleFaces::outward). Lengths are the model's: edges are 1 unit long.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>

#include "output/visible_faces.h"

namespace ostrel {

void write_stl(std::ostream& out, const VisibleFaces& faces, const std::string& name);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_stl_file(const std::filesystem::path& path, const VisibleFaces& faces,
                    const std::string& name);

}  // namespace ostrel

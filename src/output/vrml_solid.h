// The solid VRML file: the model as coloured faces. Faces flagged "f" show as frame bands, faces
// flagged "t" also in the transparent face set, the edges as lines when Edge is on, with labels
// and vertex spheres as asked.
#pragma once

#include <filesystem>
#include <ostream>

#include "output/vrml_header.h"

namespace ostrel {

// Writes the solid file to `out`: the header block (WriteVrmlHeader), the labels, the vertex
// spheres, "Transform {", "  children[", "  Shape{", the face set (faces flagged "f" as
// frames), "]", "}", and the closers (write_closers).
void write_solid_vrml(std::ostream& out, const VrmlInputs& inputs);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_solid_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs);

}  // namespace ostrel

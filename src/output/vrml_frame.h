// The frame VRML file: every face reduced to a band along its edges, so the model can be seen
// through. Faces flagged "s" stay whole.
#pragma once

#include <filesystem>
#include <ostream>

#include "output/vrml_header.h"

namespace ostrel {

// Writes the frame file to `out`: the header block (WriteVrmlHeader), the labels, the vertex
// spheres, a line " ", "Transform {", "  children[", "  Shape{", the face set in frame style
// (every face neither "B" nor "s" as frame quadrilaterals), "]", "}", and the closers
// (write_closers).
void write_frame_vrml(std::ostream& out, const VrmlInputs& inputs);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_frame_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs);

}  // namespace ostrel

// The animated VRML file: every face starts as a frame, closes to a solid face and opens again,
// in a ten-second loop that starts when the model is clicked. A coordinate interpolator (CI)
// moves the inner points of the frames in the coordinate node C1 of the one shape (Cell); a
// touch sensor (T) starts the time sensor (TS).
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

#include "output/vrml_geometry.h"
#include "output/vrml_header.h"

namespace ostrel {

// The points of C1 at each key of the interpolator (0, .4, .8), in the order of the coordinate
// list (plan_coordinates with the frame drawing): the vertices, the inner points of every face
// drawn as a frame, the centres of the star faces drawn whole. At keys 0 and .8 (open) the inner
// points are those of the frame style; at key .4 (closed) a face's inner points all stand on its
// centre, so that its frame quadrilaterals cover the face, except for faces flagged "f", which
// stay frames. Faces flagged "B" are not drawn and have no points; every key set therefore has
// as many points as the coordinate list.
std::vector<std::vector<Vec3>> animation_key_points(const Model& model,
                                                    const CoordinateLayout& layout);

// Writes the animated file to `out`: the header block, the labels, "Transform {", "children[",
// the interpolator with its three key sets (each point " x y z," through "#0.0####", each set
// closed by " "), the shape Cell with the colour table, C1 as one "0 0 0," per point on one
// line, the frame quadrilaterals ("s" faces whole), the transparent face set and edge set when
// they apply, the closers (write_closers), the sensors, "]", "}" and the three ROUTEs.
void write_anim_vrml(std::ostream& out, const VrmlInputs& inputs);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_anim_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs);

}  // namespace ostrel

// The four simple shapes that can be run without an input file: a polygon, a pyramid, a prism
// or an antiprism on an n-gon or on a star polygon {n/d}.
#pragma once

#include <string>
#include <string_view>

#include "core/model.h"

namespace ostrel {

struct SpecialShape {
  enum Kind { kPolygon = 0, kPyramid = 1, kPrism = 2, kAntiprism = 3 };
  Kind kind = kPolygon;
  int n = 0;
  int d = 1;
};

// "polygon", "pyramid", "prism" or "antiprism".
const char* shape_kind_name(SpecialShape::Kind kind);

// The size text "n" or "n/d" (d 1 without "/"), each part read leniently and taken to the
// nearest integer.
void read_shape_size(std::string_view text, SpecialShape& shape);

// Why the model tables cannot hold the shape, or empty when they can: n from 3 to MaxCorners,
// d from 1 to 12 and below n, n and d without a common factor (one star polygon).
std::string shape_size_problem(const SpecialShape& shape);

// The output base name: the kind's name and n, then "-" and d when d is not 1 (prism5,
// antiprism8-3).
std::string shape_base_name(const SpecialShape& shape);

// Builds the shape into the model in place of a parse: vertices from 1, face 1 the n-gon on
// vertices 1..n with step d, the other faces of the kind with step 1.
void build_shape(Model& model, const SpecialShape& shape);

}  // namespace ostrel

// A simple shape asked for by name and size instead of an input file: a polygon, a pyramid,
// a prism or an antiprism on an n-gon or a star polygon {n/d}.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace ostrel::gui {

enum class ShapeKind { kPolygon = 0, kPyramid = 1, kPrism = 2, kAntiprism = 3 };

struct SpecialShape {
  ShapeKind kind = ShapeKind::kPolygon;
  int n = 0;  // corners of the base polygon
  int d = 1;  // its step: 1 for an ordinary polygon
};

// "polygon", "pyramid", "prism" or "antiprism".
std::string shape_name(ShapeKind kind);

// The output base name: the name and n, then "-" and d when d is not 1 (prism5, antiprism5-2).
std::string shape_base_name(const SpecialShape& shape);

// The shape's size as typed, "n" or "n/d": n is the text before "/" and d the text after it (at
// most 99 characters), each taken to the nearest integer; without "/" d is 1. A number outside
// 16 bits gives n = 0 (no usable size).
SpecialShape read_shape_size(const QString& text, ShapeKind kind);

// Empty when the shape can be built, else the message to show. An n of 0 is "Please select a
// polygon size"; n must be 3 to 40 (the most corners a face may have), and d 1 to 12, below n/2
// and without a factor in common with n.
QString shape_size_problem(const SpecialShape& shape);

// The face lists of the shape in the input file format, faces numbered as the model numbers
// them (face 1 the n-gon on vertices 1..n with step d).
std::string shape_input_text(const SpecialShape& shape);

// Gives the run its input for a shape. This is the one place where the desktop program hands a
// shape to the library.
//
// TODO(shapes): once the library builds shapes into the model itself (input/shapes.h), call it
// here instead. Until then the shape's face lists are written as "<base name>.txt" in
// `scratch_folder` and that file is run, so the output files carry the shape's base name.
std::filesystem::path shape_run_input(const SpecialShape& shape,
                                      const std::filesystem::path& scratch_folder);

}  // namespace ostrel::gui

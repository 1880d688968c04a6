// Ball-and-stick drawing: edges as cylinders and vertices as spheres. The cylinder file draws the
// whole model this way; the other styles end with the cylinder edges the input marks, and the
// stress pass shows each edge's stress by a pair of cones (longer than its target: cones pointing
// from the middle to the ends in ExtCol; shorter: from the ends to the middle in CompCol) and
// each out-of-plane face by a sphere at its centre.
//
// Every line ends with CR LF; placement numbers go through FormatOutputNumber with "#0.0#####".
// Edge ends, cones and spheres stand where the file's labels stand (label_placement): on the
// model's own points in an ordinary run, on the segment's placed points in a segmented file.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "output/vrml_geometry.h"
#include "output/vrml_header.h"

namespace ostrel {

struct Model;

// A shape whose own axis is the y axis, centred on its origin, laid along the segment from
// `from` to `to`: a half turn about `axis` (the bisector of the y axis and the direction from
// `middle` to `to`) and a move to `middle`. The shape's +y end lands on `to`.
struct AxisPlacement {
  Vec3 axis;
  Vec3 middle;
  double length = 0.0;  // |to − from|
};

// M = (from + to) / 2, L = |to − from|, axis ((to.x − M.x)/2, (L/2 + to.y − M.y)/2,
// (to.z − M.z)/2). When that axis vanishes (`to` straight below `from`, or the two coincide)
// the half turn is taken about the x axis, so the shape still turns end over end.
AxisPlacement place_on_segment(const Vec3& from, const Vec3& to);

// "Transform {", "  rotation " + axis + " 3.1415", "  translation  " + middle.
void write_placement(std::ostream& out, const AxisPlacement& placement);

// Edge cylinders of one name ("Cyl" in CylCol, "Cyl2" in CylCol2) within one file. The first
// cylinder defines the shape ("  DEF Cyl Shape {"); a later one whose length differs from the
// first one's by more than 1e-7 gets a shape of its own ("  Shape {"); every other one is
// "    children USE Cyl". Radius Cylsize × 0.01 ("0.0####"), height its length ("#0.0#####").
class EdgeCylinders {
 public:
  // `colour_text` and `colour_label`: the colour setting and the name a clipped value is
  // reported under ("Cylinder Colour", "Cylinder Colour 2"); it is read once, at the first
  // cylinder.
  EdgeCylinders(std::string name, std::string colour_text, std::string colour_label);

  void write(std::ostream& out, const VrmlInputs& inputs, const Vec3& from, const Vec3& to);

 private:
  std::string name_;
  std::string colour_text_;
  std::string colour_label_;
  std::optional<std::string> colour_;   // VRML form, once read
  std::optional<double> first_length_;  // length of the defining cylinder
};

// Whether both faces of edge e carry "B" (a missing face counts as not hidden).
bool lies_between_hidden_faces(const Model& model, int edge);

// The cylinder edges of the other styles. An edge of target length 1 is one when it is marked
// "\" (mark 2 modulo 10), or a face of it carries "O" or "o" (in the stress pass every face
// counts as "O" when stress_marks_every_face says so), or an end vertex carries "*"; an edge
// between two "B" faces only when marked. Nothing is selected unless the model has such marks
// (CylinderFlag), AllCyl put "O" on every face, or the stress pass marks every face.
bool is_cylinder_edge(const Model& model, const RunSettings& settings, const OutputContext& context,
                      int edge);

// Type-2 cylinder edges: target length 1 and marked "/" (mark 3 modulo 10), when the model has
// them (Cylinder2Flag).
bool is_cylinder2_edge(const Model& model, int edge);

// The stress cones of one file (stress pass). Edge e gets two cones, or nothing when its
// |EdgeDeviation| (of the context's deviations) is at most 0.01 × `largest` (SE, the largest
// single edge distortion) or at most 1e-10 (kReportedDeviation: not deviating as far as the
// header is concerned). Each
// cone ("  DEF Con Shape {", bottomRadius StressMult × |deviation| "0.0####", height L/2
// "#0.0#####") stands on one half of the edge, the halves meeting at its midpoint: on an edge
// longer than its target (deviation above 0) the apexes point to the ends, in ExtCol; on a
// shorter one they point to the midpoint, in CompCol. Each colour is read once per file, when
// first needed ("Extended Cone Colour", "Compressed Cone Colour").
class StressCones {
 public:
  explicit StressCones(double largest) : largest_(largest) {}

  void write(std::ostream& out, const VrmlInputs& inputs, int edge);

 private:
  double largest_;
  std::optional<std::string> extended_colour_;
  std::optional<std::string> compressed_colour_;
};

// Side distortion spheres (stress pass): one full sphere "DEF Balls Shape {" ("Balls" +
// segment in a segmented file) at the centre of every face whose FaceDeviation (of the context's
// deviations) exceeds 1e-12, colour DistBall, radius StBallMult × 0.5 × the deviation
// ("#0.000").
void write_distortion_spheres(std::ostream& out, const VrmlInputs& inputs,
                              const SphereOptions& options = {});

// The cylinder edges of a file, in edge order: every is_cylinder_edge as an edge cylinder
// "Cyl" (in the stress pass as its stress cones instead), then every is_cylinder2_edge as an
// edge cylinder "Cyl2". The cylinder file (options.cylinder_file) gets only the stress cones.
void write_cylinder_edges(std::ostream& out, const VrmlInputs& inputs,
                          const CloserOptions& options = {});

// The cylinder file: the header block, the labels, a sphere on every input vertex, one edge
// cylinder "Cyl" per edge of target length 1 not between two "B" faces, in edge order, and the
// closers (write_closers with cylinder_file).
void write_cylinder_vrml(std::ostream& out, const VrmlInputs& inputs);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_cylinder_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs);

}  // namespace ostrel

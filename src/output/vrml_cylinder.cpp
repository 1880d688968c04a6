#include "output/vrml_cylinder.h"

#include <cmath>
#include <string_view>
#include <utility>

#include "core/colour.h"
#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "core/number_format.h"
#include "output/output_file.h"

namespace ostrel {
namespace {

constexpr std::string_view kPlacementPattern = "#0.0#####";
constexpr double kSameLength = 1e-7;       // cylinders this close in length share one shape
constexpr double kAxisVanishes = 1e-12;    // a shorter rotation axis has no direction
constexpr double kFaceOutOfPlane = 1e-12;  // faces deviating more get a distortion sphere
constexpr double kConeShare = 0.01;        // edges within this share of SE get no cones

// Flags of the face on `side` (1 or 2) of an edge; empty when the edge has no face there.
std::string_view edge_face_flags(const Model& model, int edge, int side) {
  const int face = model.EdgeFaces(edge, side);
  if (face < 1 || face >= model.FaceFlags.size()) return {};
  return model.FaceFlags(face);
}

bool has_unit_target(const Model& model, int edge) {
  return std::abs(model.EdgeTarget(edge) - 1.0) <= 1e-9;
}

// End `end` (1 or 2) of edge e where the file draws it.
Vec3 edge_end(const Model& model, const SegmentPlacement& placement, int edge, int end) {
  const int v = model.EdgeVertices(edge, end);
  return placement.apply({model.VertexX(v), model.VertexY(v), model.VertexZ(v)});
}

// The appearance block shared by cylinders and cones. Its material names shininess twice, to the
// same value; readers take the last.
void write_stick_appearance(std::ostream& out, const std::string& colour) {
  vrml_line(out, "    appearance Appearance {");
  vrml_line(out, "    material Material {");
  vrml_line(out, "     shininess 1");
  vrml_line(out, "     diffuseColor " + colour);
  vrml_line(out, "           shininess 1");
  vrml_line(out, "     transparency 0");
  vrml_line(out, "      }");
  vrml_line(out, "    }");
}

void write_cone(std::ostream& out, const AxisPlacement& placement, const std::string& colour,
                const std::string& radius, const std::string& height) {
  write_placement(out, placement);
  vrml_line(out, "  children [");
  vrml_line(out, "  DEF Con Shape {");
  write_stick_appearance(out, colour);
  vrml_line(out, "  geometry Cone {");
  vrml_line(out, "    bottomRadius " + radius);
  vrml_line(out, "    height " + height);
  vrml_line(out, "    }");
  vrml_line(out, "  }");
  vrml_line(out, "  ]");
  vrml_line(out, "}");
}

}  // namespace

AxisPlacement place_on_segment(const Vec3& from, const Vec3& to) {
  AxisPlacement placement;
  placement.middle = {(from.x + to.x) / 2, (from.y + to.y) / 2, (from.z + to.z) / 2};
  placement.length = vector_length(to.x - from.x, to.y - from.y, to.z - from.z);
  const Vec3& m = placement.middle;
  placement.axis = {(to.x - m.x) / 2, (placement.length / 2 + to.y - m.y) / 2, (to.z - m.z) / 2};
  if (vector_length(placement.axis.x, placement.axis.y, placement.axis.z) < kAxisVanishes) {
    // Straight down the y axis: any axis across it turns the shape end over end; without one a
    // reader would leave a cone pointing the wrong way.
    placement.axis = {1.0, 0.0, 0.0};
  }
  return placement;
}

void write_placement(std::ostream& out, const AxisPlacement& placement) {
  vrml_line(out, "Transform {");
  std::string text = "  rotation ";
  append_point(text, placement.axis, kPlacementPattern);
  text += " 3.1415";
  vrml_line(out, text);
  text = "  translation  ";
  append_point(text, placement.middle, kPlacementPattern);
  vrml_line(out, text);
}

EdgeCylinders::EdgeCylinders(std::string name, std::string colour_text, std::string colour_label)
    : name_(std::move(name)),
      colour_text_(std::move(colour_text)),
      colour_label_(std::move(colour_label)) {}

void EdgeCylinders::write(std::ostream& out, const VrmlInputs& inputs, const Vec3& from,
                          const Vec3& to) {
  const AxisPlacement placement = place_on_segment(from, to);
  write_placement(out, placement);
  if (first_length_ && std::abs(placement.length - *first_length_) <= kSameLength) {
    vrml_line(out, "    children USE " + name_);
    vrml_line(out, "}");
    return;
  }
  if (!colour_) colour_ = ColourTextToVrml(colour_text_, colour_label_, inputs.sink);
  vrml_line(out, "  children [");
  vrml_line(out, first_length_ ? std::string("  Shape {") : "  DEF " + name_ + " Shape {");
  if (!first_length_) first_length_ = placement.length;
  write_stick_appearance(out, *colour_);
  vrml_line(out, "  geometry Cylinder {");
  vrml_line(out, "    radius " +
                     FormatOutputNumber(lenient_value(inputs.settings.Cylsize) * 0.01, "0.0####"));
  vrml_line(out, "    height " + FormatOutputNumber(placement.length, kPlacementPattern));
  vrml_line(out, "    }");
  vrml_line(out, "  }");
  vrml_line(out, "  ]");
  vrml_line(out, "}");
}

bool lies_between_hidden_faces(const Model& model, int edge) {
  return has_letter(edge_face_flags(model, edge, 1), 'B') &&
         has_letter(edge_face_flags(model, edge, 2), 'B');
}

bool is_cylinder_edge(const Model& model, const RunSettings& settings, const OutputContext& context,
                      int edge) {
  const bool every_face = stress_marks_every_face(settings, context);
  // AllCyl puts "O" on every face after the input is read and the stress pass counts every face
  // as "O"; neither passes through the parser, which is what raises CylinderFlag.
  if (!model.CylinderFlag && !settings.AllCyl && !every_face) return false;
  if (!has_unit_target(model, edge)) return false;
  const bool marked = model.EdgeVertices(edge, 3) % 10 == kCylinderMark;
  if (lies_between_hidden_faces(model, edge)) return marked;
  if (marked || every_face) return true;
  for (int side = 1; side <= 2; ++side) {
    const std::string_view flags = edge_face_flags(model, edge, side);
    if (has_letter(flags, 'O') || has_letter(flags, 'o')) return true;
  }
  // A vertex marked "*" puts a cylinder on every edge that meets it.
  for (int end = 1; end <= 2; ++end) {
    if (has_letter(model.VertexFlags(model.EdgeVertices(edge, end)), '*')) return true;
  }
  return false;
}

bool is_cylinder2_edge(const Model& model, int edge) {
  return model.Cylinder2Flag && has_unit_target(model, edge) &&
         model.EdgeVertices(edge, 3) % 10 == kCylinder2Mark;
}

void StressCones::write(std::ostream& out, const VrmlInputs& inputs, int edge) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  const double deviation = inputs.context.deviations.edge(edge);
  // An edge the header would not list as deviating gets none either: with SE 0 the share test
  // alone would give rounding noise cones of radius 0.
  if (std::abs(deviation) <= kReportedDeviation || std::abs(deviation) <= kConeShare * largest_) {
    return;
  }
  const SegmentPlacement placement = label_placement(settings, inputs.context);
  const Vec3 a = edge_end(model, placement, edge, 1);
  const Vec3 b = edge_end(model, placement, edge, 2);
  const Vec3 middle{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
  const double length = vector_length(b.x - a.x, b.y - a.y, b.z - a.z);
  const bool elongated = deviation > 0;
  std::optional<std::string>& known = elongated ? extended_colour_ : compressed_colour_;
  if (!known) {
    known = elongated ? ColourTextToVrml(settings.ExtCol, "Extended Cone Colour", inputs.sink)
                      : ColourTextToVrml(settings.CompCol, "Compressed Cone Colour", inputs.sink);
  }
  const std::string& colour = *known;
  const std::string radius =
      FormatOutputNumber(lenient_value(settings.StressMult) * std::abs(deviation), "0.0####");
  const std::string height = FormatOutputNumber(length / 2, kPlacementPattern);
  // A cone's apex is its +y end, which lands on the second point of its half.
  if (elongated) {
    write_cone(out, place_on_segment(middle, a), colour, radius, height);
    write_cone(out, place_on_segment(middle, b), colour, radius, height);
  } else {
    write_cone(out, place_on_segment(a, middle), colour, radius, height);
    write_cone(out, place_on_segment(b, middle), colour, radius, height);
  }
}

void write_distortion_spheres(std::ostream& out, const VrmlInputs& inputs,
                              const SphereOptions& options) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  const SegmentPlacement placement = label_placement(settings, inputs.context);
  std::optional<std::string> colour;
  for (int f = 1; f <= model.FaceCount; ++f) {
    const double deviation = inputs.context.deviations.face(f);
    if (!(deviation > kFaceOutOfPlane)) continue;
    if (!colour) {
      colour = ColourTextToVrml(settings.DistBall, "Side Distortion Sphere Colour", inputs.sink);
    }
    vrml_line(out, "Transform {");
    std::string text = " translation ";
    append_point(text, placement.apply(face_centre_point(model, f)), "#0.0#######");
    vrml_line(out, text);
    vrml_line(out, "   children [");
    vrml_line(out, options.segmented_file
                       ? "      DEF Balls" + std::to_string(options.segment) + " Shape {"
                       : std::string("     DEF Balls Shape {"));
    vrml_line(out, "       appearance  Appearance {");
    vrml_line(out, "         material  Material  {");
    vrml_line(out, "           diffuseColor " + *colour);
    vrml_line(out, "           shininess 1");
    vrml_line(out, "         }");
    vrml_line(out, "       }");
    vrml_line(out, "       geometry Sphere {");
    vrml_line(out, "         radius " +
                       FormatOutputNumber(lenient_value(settings.StBallMult) * 0.5 * deviation,
                                          "#0.000"));
    vrml_line(out, "       }");
    vrml_line(out, "     }");
    vrml_line(out, "   ]");
    vrml_line(out, " }");
    vrml_line(out, "");
  }
}

void write_cylinder_edges(std::ostream& out, const VrmlInputs& inputs,
                          const CloserOptions& options) {
  const Model& model = inputs.model;
  const bool stress = inputs.context.StressPass;
  const SegmentPlacement placement = label_placement(inputs.settings, inputs.context);
  // The cylinder file draws every edge itself, in the stress pass too.
  if (options.cylinder_file) return;
  {
    StressCones cones(stress ? max_single_edge_distortion(model, inputs.context.deviations) : 0.0);
    EdgeCylinders cylinders("Cyl", inputs.settings.CylCol, "Cylinder Colour");
    for (int e = 1; e <= model.EdgeCount; ++e) {
      if (!is_cylinder_edge(model, inputs.settings, inputs.context, e)) continue;
      if (stress) {
        cones.write(out, inputs, e);
      } else {
        cylinders.write(out, inputs, edge_end(model, placement, e, 1),
                        edge_end(model, placement, e, 2));
      }
    }
  }
  EdgeCylinders cylinders("Cyl2", inputs.settings.CylCol2, "Cylinder Colour 2");
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (!is_cylinder2_edge(model, e)) continue;
    cylinders.write(out, inputs, edge_end(model, placement, e, 1),
                    edge_end(model, placement, e, 2));
  }
}

void write_cylinder_vrml(std::ostream& out, const VrmlInputs& inputs) {
  const Model& model = inputs.model;
  WriteVrmlHeader(out, inputs);
  write_labels(out, inputs);
  const SphereStep spheres = write_vertex_spheres(out, inputs, {true, false, 1});
  const SegmentPlacement placement = label_placement(inputs.settings, inputs.context);
  EdgeCylinders cylinders("Cyl", inputs.settings.CylCol, "Cylinder Colour");
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (!has_unit_target(model, e) || lies_between_hidden_faces(model, e)) continue;
    cylinders.write(out, inputs, edge_end(model, placement, e, 1),
                    edge_end(model, placement, e, 2));
  }
  CloserOptions closers;
  closers.cylinder_file = true;
  write_closers(out, inputs, spheres, closers);
}

void write_cylinder_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs) {
  write_output_file(path, [&](std::ostream& out) { write_cylinder_vrml(out, inputs); });
}

}  // namespace ostrel

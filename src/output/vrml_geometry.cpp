#include "output/vrml_geometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/colour.h"
#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "core/number_format.h"
#include "output/vrml_cylinder.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::string_view kCoordinatePattern = "#0.0#######";

// Corner k (any integer) of a face of n corners, counted cyclically from 1.
int cyclic_corner(long long k, int n) {
  const long long corner = ((k - 1) % n + n) % n;
  return static_cast<int>(corner) + 1;
}

int face_step(const Model& model, int face) {
  return std::max(model.FaceStep(face), 1);
}

// Index of vertex v in the coordinate list.
int point_of_vertex(const CoordinateLayout& layout, int v) {
  return v - layout.first_vertex;
}

std::string transparency_text(const RunSettings& settings) {
  return FormatOutputNumber(lenient_value(settings.TransLevel), "#0.00");
}

}  // namespace

Vec3 vertex_point(const Model& model, int v) {
  return {model.VertexX(v), model.VertexY(v), model.VertexZ(v)};
}

int last_input_vertex(const Model& model, const OutputContext& context) {
  return context.InputLastVertex ? std::min(*context.InputLastVertex, model.LastVertex)
                                 : model.LastVertex;
}

void append_point(std::string& text, const Vec3& p, std::string_view pattern) {
  append_output_number(text, p.x, pattern);
  text += ' ';
  append_output_number(text, p.y, pattern);
  text += ' ';
  append_output_number(text, p.z, pattern);
}

Vec3 face_centre_point(const Model& model, int face) {
  Vec3 centre;
  const int n = model.FaceSides(face);
  for (int k = 1; k <= n; ++k) {
    const Vec3 p = vertex_point(model, model.FaceVertices(face, k));
    centre.x += p.x;
    centre.y += p.y;
    centre.z += p.z;
  }
  if (n > 0) {
    centre.x /= n;
    centre.y /= n;
    centre.z /= n;
  }
  return centre;
}

// --- Segment placement --------------------------------------------------------------------

Vec3 SegmentPlacement::apply(const Vec3& point) const {
  return {offset_x + flip_x * edge * point.x, offset_y + flip_y * edge * point.y,
          offset_z + flip_z * edge * point.z};
}

SegmentPlacement segment_placement(const RunSettings& settings, int segment) {
  SegmentPlacement placement;
  if (segment < 1 || segment > MaxSegments) return placement;
  const auto k = static_cast<std::size_t>(segment);
  const double edge = lenient_value(settings.SegEdge[k]);
  placement.edge = edge == 0.0 ? 1.0 : edge;
  placement.flip_x = settings.FlipX[k] ? -1.0 : 1.0;
  placement.flip_y = settings.FlipY[k] ? -1.0 : 1.0;
  placement.flip_z = settings.FlipZ[k] ? -1.0 : 1.0;
  placement.offset_x = lenient_value(settings.SegX[k]);
  placement.offset_y = lenient_value(settings.SegY[k]);
  placement.offset_z = lenient_value(settings.SegZ[k]);
  return placement;
}

SegmentPlacement label_placement(const RunSettings& settings, const OutputContext& context) {
  if (context.SegmentCount < 2) return {};
  return segment_placement(settings, context.CurrentSegment);
}

// --- Frames and coordinates ---------------------------------------------------------------

FaceForm face_form(std::string_view flags, FaceDrawing drawing) {
  if (has_letter(flags, 'B')) return FaceForm::kHidden;
  switch (drawing) {
    case FaceDrawing::kSolid: return has_letter(flags, 'f') ? FaceForm::kFrame : FaceForm::kWhole;
    case FaceDrawing::kFrame: return has_letter(flags, 's') ? FaceForm::kWhole : FaceForm::kFrame;
    case FaceDrawing::kTransparent:
      return has_letter(flags, 't') ? FaceForm::kWhole : FaceForm::kHidden;
  }
  return FaceForm::kHidden;
}

bool drawn_as_star(int step, std::string_view flags) {
  return step != 1 || has_letter(flags, 'n');
}

std::vector<Vec3> frame_inner_points(const Model& model, int face, double width) {
  const int n = model.FaceSides(face);
  std::vector<Vec3> inner;
  if (n < 1) return inner;
  const int d = face_step(model, face);
  const int m = d < n - d ? d : n - d;
  const Vec3 centre = face_centre_point(model, face);
  const Vec3 first = vertex_point(model, model.FaceVertices(face, 1));
  const double radius = vector_length(first.x - centre.x, first.y - centre.y, first.z - centre.z);
  const double reach = radius * std::cos(kPi * m / n);
  const double factor = reach > 1e-12 ? width / reach : 0.0;
  inner.reserve(static_cast<std::size_t>(n));
  for (int k = 1; k <= n; ++k) {
    const Vec3 p = vertex_point(model, model.FaceVertices(face, k));
    inner.push_back({p.x + (centre.x - p.x) * factor, p.y + (centre.y - p.y) * factor,
                     p.z + (centre.z - p.z) * factor});
  }
  return inner;
}

CoordinateLayout plan_coordinates(const Model& model, const RunSettings& settings,
                                  std::initializer_list<FaceDrawing> drawings) {
  CoordinateLayout layout;
  layout.first_vertex = model.FirstVertex;
  for (int v = model.FirstVertex; v <= model.LastVertex; ++v) {
    layout.points.push_back(vertex_point(model, v));
  }
  const auto faces = static_cast<std::size_t>(std::max(model.FaceCount, 0)) + 1;
  layout.inner_start.assign(faces, -1);
  layout.centre.assign(faces, -1);
  const double width = settings.frame_width();
  for (int f = 1; f <= model.FaceCount; ++f) {
    const std::string& flags = model.FaceFlags(f);
    const bool framed = std::any_of(drawings.begin(), drawings.end(), [&](FaceDrawing drawing) {
      return face_form(flags, drawing) == FaceForm::kFrame;
    });
    if (!framed) continue;
    layout.inner_start[static_cast<std::size_t>(f)] = static_cast<int>(layout.points.size());
    for (const Vec3& p : frame_inner_points(model, f, width)) layout.points.push_back(p);
  }
  for (int f = 1; f <= model.FaceCount; ++f) {
    const std::string& flags = model.FaceFlags(f);
    if (!drawn_as_star(model.FaceStep(f), flags)) continue;
    const bool whole = face_form(flags, FaceDrawing::kTransparent) == FaceForm::kWhole ||
                       std::any_of(drawings.begin(), drawings.end(), [&](FaceDrawing drawing) {
                         return face_form(flags, drawing) == FaceForm::kWhole;
                       });
    if (!whole) continue;
    layout.centre[static_cast<std::size_t>(f)] = static_cast<int>(layout.points.size());
    layout.points.push_back(face_centre_point(model, f));
  }
  return layout;
}

std::vector<std::string> face_index_lines(const Model& model, const CoordinateLayout& layout,
                                          int face, FaceForm form) {
  std::vector<std::string> lines;
  const int n = model.FaceSides(face);
  if (form == FaceForm::kHidden || n < 1) return lines;
  const int d = face_step(model, face);
  const auto corner = [&](int k) {
    return point_of_vertex(layout, model.FaceVertices(face, cyclic_corner(k, n)));
  };
  const auto face_slot = [&](const std::vector<int>& table) {
    const auto index = static_cast<std::size_t>(face);
    return index < table.size() ? table[index] : -1;
  };
  std::string text;
  if (form == FaceForm::kFrame) {
    const int inner = face_slot(layout.inner_start);
    if (inner < 0) throw std::logic_error("frame face without inner points in the layout");
    for (int k = 1; k <= n; ++k) {
      const int next = cyclic_corner(k + d, n);
      text = "     ";
      append_print_form(text, corner(k));
      text += ',';
      append_print_form(text, corner(next));
      text += ',';
      append_print_form(text, inner + next - 1);
      text += ',';
      append_print_form(text, inner + k - 1);
      text += ", -1,";
      lines.push_back(text);
    }
    return lines;
  }
  if (!drawn_as_star(model.FaceStep(face), model.FaceFlags(face))) {
    text = "     ";
    for (int k = 1; k <= n; ++k) {
      append_print_form(text, corner(k));
      text += ',';
    }
    text += "-1,";
    lines.push_back(text);
    return lines;
  }
  const int centre = face_slot(layout.centre);
  if (centre < 0) throw std::logic_error("star face without a centre point in the layout");
  for (int k = 1; k <= n; ++k) {
    text = "     ";
    append_print_form(text, centre);
    text += ',';
    append_print_form(text, corner(k));
    text += ',';
    append_print_form(text, corner(k + d));
    text += ", -1,";
    lines.push_back(text);
  }
  return lines;
}

// --- The face set -------------------------------------------------------------------------

void write_crease_angle(std::ostream& out, const RunSettings& settings) {
  if (!settings.Smooth) return;
  // The angle is typed in degrees; VRML reads creaseAngle in radians.
  const double radians = lenient_value(settings.SmoothAngle) * kPi / 180.0;
  vrml_line(out, "      creaseAngle " + FormatOutputNumber(radians, "#0.0#####"));
}

void write_face_set_head(std::ostream& out, const VrmlInputs& inputs, bool define_colours) {
  vrml_line(out, "    geometry IndexedFaceSet{");
  write_crease_angle(out, inputs.settings);
  vrml_line(out, "      solid FALSE");
  vrml_line(out, "      convex FALSE");
  vrml_line(out, "      colorPerVertex FALSE");
  if (!define_colours) {
    vrml_line(out, "      color USE COL");
    return;
  }
  vrml_line(out, "      color DEF COL Color{");
  vrml_line(out, "color [");
  for (const std::string& text : vrml_colour_table(inputs.settings, inputs.rhombus, inputs.sink)) {
    vrml_line(out, text);
  }
  vrml_line(out, "        ]");
  vrml_line(out, "      }");
}

void write_coordinates(std::ostream& out, const CoordinateLayout& layout, int segment,
                       const SegmentPlacement& placement) {
  vrml_line(out, "    coord DEF C" + std::to_string(segment) + " Coordinate{");
  vrml_line(out, "         point[");
  std::string text;
  for (const Vec3& point : layout.points) {
    text = "          ";
    append_point(text, placement.apply(point), kCoordinatePattern);
    text += ',';
    vrml_line(out, text);
  }
  vrml_line(out, "         ]");
  vrml_line(out, "    }");
}

void write_face_indices(std::ostream& out, const Model& model, const CoordinateLayout& layout,
                        const std::vector<int>& colour_indices, FaceDrawing drawing) {
  std::string colours = "      ";
  vrml_line(out, "    coordIndex[");
  for (int f = 1; f <= model.FaceCount; ++f) {
    const FaceForm form = face_form(model.FaceFlags(f), drawing);
    if (form == FaceForm::kHidden) continue;
    const auto index = static_cast<std::size_t>(f);
    const int colour = index < colour_indices.size() ? colour_indices[index] : 0;
    for (const std::string& text : face_index_lines(model, layout, f, form)) {
      vrml_line(out, text);
      append_print_form(colours, colour);
      colours += ',';
    }
  }
  vrml_line(out, "    ]");
  vrml_line(out, "    colorIndex[");
  vrml_line(out, colours);
  vrml_line(out, " ");
  vrml_line(out, "    ]");
  vrml_line(out, "    }");
}

void write_face_appearance(std::ostream& out, const RunSettings& settings, bool transparent) {
  vrml_line(out, "    appearance Appearance {");
  vrml_line(out, "      material Material {");
  vrml_line(out, "        shininess 1");
  vrml_line(out, "        specularColor 1 1 1");
  if (transparent) vrml_line(out, "        transparency " + transparency_text(settings));
  vrml_line(out, "      }");
  vrml_line(out, "    }");
  vrml_line(out, "  }");
}

bool has_transparent_faces(const Model& model) {
  for (int f = 1; f <= model.FaceCount; ++f) {
    if (face_form(model.FaceFlags(f), FaceDrawing::kTransparent) != FaceForm::kHidden) return true;
  }
  return false;
}

void write_transparent_set(std::ostream& out, const VrmlInputs& inputs,
                           const CoordinateLayout& layout, const std::vector<int>& colour_indices,
                           int segment) {
  vrml_line(out, "Transform {");
  vrml_line(out, "  children[");
  vrml_line(out, "  DEF TRANS Shape{");
  vrml_line(out, "    geometry IndexedFaceSet{");
  write_crease_angle(out, inputs.settings);
  vrml_line(out, "      solid FALSE");
  vrml_line(out, "      convex FALSE");
  vrml_line(out, "      colorPerVertex FALSE");
  vrml_line(out, "      color USE COL");
  vrml_line(out, "      coord USE C" + std::to_string(segment));
  // The "t" faces are drawn whole here; their frame band (they carry "f") is in the main set.
  write_face_indices(out, inputs.model, layout, colour_indices, FaceDrawing::kTransparent);
  write_face_appearance(out, inputs.settings, true);
  vrml_line(out, "  ]");
  vrml_line(out, "}");
}

std::optional<int> edge_line_colour(const Model& model, int edge) {
  if (std::abs(model.EdgeTarget(edge) - 1.0) > 1e-9) return std::nullopt;
  const auto flags_of = [&](int side) -> std::string_view {
    const int face = model.EdgeFaces(edge, side);
    if (face < 1 || face >= model.FaceFlags.size()) return {};
    return model.FaceFlags(face);
  };
  const std::string_view first = flags_of(1);
  const std::string_view second = flags_of(2);
  const bool hidden_first = has_letter(first, 'B');
  const bool hidden_second = has_letter(second, 'B');
  const bool asked = has_letter(first, 'E') || has_letter(second, 'E') ||
                     (has_letter(first, 'e') && has_letter(second, 'e'));
  if (hidden_first && hidden_second && !asked) return std::nullopt;
  if (asked || model.EdgeVertices(edge, 3) % 10 == kHighlightMark) return 2;
  if (hidden_first != hidden_second) return 1;
  return 0;
}

void write_edge_set(std::ostream& out, const VrmlInputs& inputs, int segment) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  vrml_line(out, "Transform {");
  vrml_line(out, "  children[");
  vrml_line(out, "  DEF EDGES Shape{");
  vrml_line(out, "    geometry IndexedLineSet{");
  vrml_line(out, "      colorPerVertex FALSE");
  vrml_line(out, "      color Color{");
  vrml_line(out, "color [ " + ColourTextToVrml(settings.VRMLEdge, "VRML Edge", inputs.sink) + " ,");
  vrml_line(
      out, "        " + ColourTextToVrml(settings.NakedEdge, "Unmatched Edge", inputs.sink) + " ,");
  vrml_line(out,
            "        " + ColourTextToVrml(settings.HiEdge, "Highlight Edge", inputs.sink) + " ]");
  vrml_line(out, "      }");
  vrml_line(out, "    coord USE C" + std::to_string(segment));
  vrml_line(out, "    coordIndex[");
  std::string colours = "    colorIndex[ ";
  std::string text;
  for (int e = 1; e <= model.EdgeCount; ++e) {
    const std::optional<int> colour = edge_line_colour(model, e);
    if (!colour) continue;
    text = "     ";
    append_print_form(text, model.EdgeVertices(e, 1) - model.FirstVertex);
    text += ',';
    append_print_form(text, model.EdgeVertices(e, 2) - model.FirstVertex);
    text += ",-1,";
    vrml_line(out, text);
    colours += std::to_string(*colour) + ",";
  }
  vrml_line(out, "    ]");
  vrml_line(out, colours);
  vrml_line(out, "");
  vrml_line(out, "    ]");
  vrml_line(out, "    }");
  vrml_line(out, "  }");
  vrml_line(out, "  ]");
  vrml_line(out, "}");
}

void write_face_set(std::ostream& out, const VrmlInputs& inputs, const CoordinateLayout& layout,
                    const FaceSetOptions& options) {
  const std::vector<int> colours = face_colour_indices(inputs.model, inputs.settings);
  write_face_set_head(out, inputs, options.define_colours);
  write_coordinates(out, layout, options.segment, options.placement);
  write_face_indices(out, inputs.model, layout, colours, options.drawing);
  write_face_appearance(out, inputs.settings, options.material_transparency);
  if (options.transparent_set && has_transparent_faces(inputs.model)) {
    write_transparent_set(out, inputs, layout, colours, options.segment);
  }
  if (options.edge_set && inputs.settings.Edge) write_edge_set(out, inputs, options.segment);
}

// --- Vertices and labels ------------------------------------------------------------------

SphereStep vertex_sphere_step(const Model& model, const RunSettings& settings,
                              const OutputContext& context, bool every_vertex) {
  bool asked = every_vertex || settings.HighVert || model.VertexHighlightFlag;
  for (int v = model.FirstVertex; v <= model.LastVertex && !asked; ++v) {
    asked = has_letter(model.VertexFlags(v), 'V') || has_letter(model.VertexFlags(v), 'v');
  }
  if (!asked) return SphereStep::kNotRun;
  for (int v = model.FirstVertex; v <= last_input_vertex(model, context); ++v) {
    if (every_vertex || has_letter(model.VertexFlags(v), 'V')) return SphereStep::kDrawn;
  }
  return SphereStep::kNoneDrawn;
}

SphereStep write_vertex_spheres(std::ostream& out, const VrmlInputs& inputs,
                                const SphereOptions& options) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  if (vertex_sphere_step(model, settings, inputs.context, options.every_vertex) ==
      SphereStep::kNotRun)
    return SphereStep::kNotRun;

  const SegmentPlacement placement = label_placement(settings, inputs.context);
  const std::string name =
      options.segmented_file ? "Balls" + std::to_string(options.segment) : std::string("Balls");
  bool first = true;
  std::string text;
  for (int v = model.FirstVertex; v <= last_input_vertex(model, inputs.context); ++v) {
    if (!options.every_vertex && !has_letter(model.VertexFlags(v), 'V')) continue;
    const Vec3 at = placement.apply(vertex_point(model, v));
    if (first) {
      first = false;
      vrml_line(out, "Transform {");
      text = " translation ";
      append_point(text, at, kCoordinatePattern);
      vrml_line(out, text);
      vrml_line(out, "   children [");
      vrml_line(out, options.segmented_file ? "      DEF " + name + " Shape {"
                                            : "     DEF " + name + " Shape {");
      vrml_line(out, "       appearance  Appearance {");
      vrml_line(out, "         material  Material  {");
      vrml_line(out, "           diffuseColor " +
                         ColourTextToVrml(settings.VertexCol, "Highlight Vertices", inputs.sink));
      vrml_line(out, "           shininess 1");
      vrml_line(out, "         }");
      vrml_line(out, "       }");
      vrml_line(out, "       geometry Sphere {");
      vrml_line(out, "         radius " +
                         FormatOutputNumber(lenient_value(settings.VertexSize) * 0.01, "#0.000"));
      vrml_line(out, "       }");
      vrml_line(out, "     }");
      vrml_line(out, "   ]");
      vrml_line(out, " }");
      vrml_line(out, "");
      continue;
    }
    vrml_line(out, "  Transform {");
    vrml_line(out, "   children USE " + name);
    text = "   translation ";
    append_point(text, at, kCoordinatePattern);
    vrml_line(out, text);
    vrml_line(out, " }");
    vrml_line(out, "");
  }
  return first ? SphereStep::kNoneDrawn : SphereStep::kDrawn;
}

// --- Closers ------------------------------------------------------------------------------

void write_dummy_sphere(std::ostream& out) {
  static constexpr std::string_view kLines[] = {
      "# Dummy sphere to reset centre of rotation to origin",
      "Transform {",
      " translation 0 0 0",
      "   children [",
      "     Shape {",
      "       appearance  Appearance {",
      "         material  Material  {",
      "           transparency 1",
      "         }",
      "       }",
      "       geometry Sphere {",
      "         radius 0.1",
      "       }",
      "     }",
      "   ]",
      " }",
      "",
  };
  for (std::string_view text : kLines) vrml_line(out, text);
}

void write_edge_and_stress_shapes(std::ostream& out, const VrmlInputs& inputs,
                                  const CloserOptions& options) {
  write_cylinder_edges(out, inputs, options);
  if (inputs.context.StressPass && !options.cylinder_file) {
    write_distortion_spheres(out, inputs, {false, options.segmented_file, options.segment});
  }
}

void write_closers(std::ostream& out, const VrmlInputs& inputs, SphereStep spheres,
                   const CloserOptions& options) {
  write_edge_and_stress_shapes(out, inputs, options);
  if (spheres != SphereStep::kNoneDrawn && inputs.dummy_sphere) write_dummy_sphere(out);
}

}  // namespace ostrel

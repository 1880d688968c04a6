#include "output/vrml_geometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/lenient_number.h"
#include "engine/model.h"
#include "input/colour.h"
#include "output/number_format.h"
#include "output/vrml_cylinder.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr std::string_view kCoordinatePattern = "#0.0#######";
constexpr std::string_view kLabelPattern = "##0.0#######";

bool has_letter(std::string_view flags, char letter) {
  return flags.find(letter) != std::string_view::npos;
}

// Corner k (any integer) of a face of n corners, counted cyclically from 1.
int cyclic_corner(long long k, int n) {
  const long long corner = ((k - 1) % n + n) % n;
  return static_cast<int>(corner) + 1;
}

int face_step(const Model& model, int face) {
  return std::max(model.FaceStep(face), 1);
}

VrmlPoint vertex_point(const Model& model, int v) {
  return {model.VertexX(v), model.VertexY(v), model.VertexZ(v)};
}

// Index of vertex v in the coordinate list.
int point_of_vertex(const CoordinateLayout& layout, int v) {
  return v - layout.first_vertex;
}

std::string transparency_text(const RunSettings& settings) {
  return FormatOutputNumber(lenient_value(settings.TransLevel), "#0.00");
}

// The shared definitions of one kind of label (vertices or faces).
struct LabelKind {
  std::string_view appearance;  // "App1" or "App2"
  std::string_view font;        // "Fons1" or "Fons2"
  std::string colour;           // emissive colour, VRML form
  std::string font_size;
};

void write_label(std::ostream& out, const VrmlInputs& inputs, const SegmentPlacement& placement,
                 const VrmlPoint& point, int number, const LabelKind& kind, bool first) {
  const RunSettings& settings = inputs.settings;
  const bool billboard = settings.VertexLabel == 1;
  double factor = billboard ? 1.01 : 1.0;
  if (settings.HighVert) factor += lenient_value(settings.VertexSize) * 0.005;
  const VrmlPoint scaled{point.x * factor, point.y * factor, point.z * factor};
  std::string text;

  vrml_line(out, "Transform {");
  if (!billboard) {
    // Turn the text, which faces +z, to face along the ray from the origin through the point.
    const VrmlPoint direction{placement.flip_x * point.x, placement.flip_y * point.y,
                              placement.flip_z * point.z};
    const double length = vector_length(direction.x, direction.y, direction.z);
    VrmlPoint unit{0.0, 0.0, 1.0};
    if (length > 0.0) unit = {direction.x / length, direction.y / length, direction.z / length};
    const double d = vector_length(unit.x, unit.y, unit.z - 1.0);
    const double angle = 2.0 * arc_sine(d / 2.0);
    double axis_x = -unit.y;
    double axis_y = unit.x;
    // On the z axis the axis vanishes: a point on the negative side still needs its half turn.
    if (std::abs(axis_x) < 1e-12 && std::abs(axis_y) < 1e-12) {
      axis_x = 0.0;
      axis_y = 1.0;
    }
    text = " rotation ";
    append_output_number(text, axis_x, kLabelPattern);
    text += ' ';
    append_output_number(text, axis_y, kLabelPattern);
    text += " 0.0 ";
    append_output_number(text, angle, kLabelPattern);
    vrml_line(out, text);
  }
  text = " translation ";
  append_point(text, placement.apply(scaled), kLabelPattern);
  vrml_line(out, text);
  vrml_line(out, "  children[");
  if (billboard) {
    vrml_line(out, "  Billboard {");
    vrml_line(out, "  axisOfRotation  0 0 0");
    vrml_line(out, "  children[");
  }
  vrml_line(out, "   Shape{");
  if (first) {
    vrml_line(out, "    appearance DEF " + std::string(kind.appearance) + " Appearance {");
    vrml_line(out, "     material Material {");
    vrml_line(out, "      diffuseColor 0 0 0");
    vrml_line(out, "      emissiveColor " + kind.colour);
    vrml_line(out, "    }}");
    vrml_line(out, "    geometry Text {");
    vrml_line(out, "      fontStyle DEF " + std::string(kind.font) + " FontStyle {");
    vrml_line(out, "        size " + kind.font_size);
    vrml_line(out, "        family \"SERIF\"");
    vrml_line(out, "        justify \"MIDDLE\"");
    vrml_line(out, "      }");
  } else {
    vrml_line(out, "    appearance USE " + std::string(kind.appearance));
    vrml_line(out, "    geometry Text {");
    vrml_line(out, "      fontStyle USE " + std::string(kind.font));
  }
  vrml_line(out, "      string \"" + print_form(number) + "\"");
  vrml_line(out, "}}]}");
  if (billboard) vrml_line(out, "]}");
  vrml_line(out, " ");
}

// The last vertex that is the input's own.
int last_input_vertex(const Model& model, const OutputContext& context) {
  return context.InputLastVertex ? std::min(*context.InputLastVertex, model.LastVertex)
                                 : model.LastVertex;
}

}  // namespace

void append_point(std::string& text, const VrmlPoint& p, std::string_view pattern) {
  append_output_number(text, p.x, pattern);
  text += ' ';
  append_output_number(text, p.y, pattern);
  text += ' ';
  append_output_number(text, p.z, pattern);
}

VrmlPoint face_centre_point(const Model& model, int face) {
  VrmlPoint centre;
  const int n = model.FaceSides(face);
  for (int k = 1; k <= n; ++k) {
    const VrmlPoint p = vertex_point(model, model.FaceVertices(face, k));
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

// --- Colour table -------------------------------------------------------------------------

const std::array<std::string_view, kVrmlColourCount>& vrml_colour_names() {
  // clang-format off
  static const std::array<std::string_view, kVrmlColourCount> names{
      "", "Inter-Realm Face", "Highlight Colour", "Triangles", "Squares",      // 0..4
      "Pentagons", "Hexagons", "Apolydronics", "Octagons", "",                 // 5..9
      "Decagons", "Pentagrams", "Octagrams", "Decagrams", "Rhombus Set 1",     // 10..14
      "Rhombus Set 2", "Segment 1", "Segment 2", "Segment 3", "Segment 4",     // 15..19
      "Segment 5", "", "", "", "", "", "", "", "",                             // 20..28
      "Highlight Colour", "Distorted Hexagon 1", "Distorted Hexagon 2",        // 29..31
      "Rhombus Set 3"};                                                        // 32
  // clang-format on
  return names;
}

std::array<std::string, kVrmlColourCount> vrml_colour_table(const RunSettings& settings,
                                                            const RhombusSetColours& rhombus,
                                                            MessageSink& sink) {
  std::array<std::string, kVrmlColourCount> lines;
  const auto& names = vrml_colour_names();
  const auto entry = [&](std::size_t index, const std::string& text, std::string_view comment) {
    lines[index] =
        "       " + ColourTextToVrml(text, names[index], sink) + ", #" + std::string(comment);
  };
  lines[0] = "        0 0 0,";
  entry(1, settings.RealmFace, "  1 inter realm faces");
  entry(2, settings.ColourH, "  2 highlighting");
  entry(3, settings.Colour3, " 3 triangle");
  entry(4, settings.Colour4, " 4 square");
  entry(5, settings.Colour5, " 5 pentagon");
  entry(6, settings.Colour6, " 6 hexagon");
  entry(7, settings.Colour7, " 7 apolydronic");
  entry(8, settings.Colour8, " 8 octagon");
  lines[9] = "        0 0 0";
  entry(10, settings.Colour10, " 10 decagon");
  entry(11, settings.Colour52, " 11 pentagram");
  entry(12, settings.Colour83, " 12 octagram");
  entry(13, settings.Colour103, " 13 decagram");
  entry(14, rhombus.set[1], "  14 rhombus set 1");
  entry(15, rhombus.set[2], "  15 rhombus set 2");
  for (std::size_t segment = 1; segment <= MaxSegments; ++segment) {
    entry(15 + segment, settings.ColourS[segment],
          " " + std::to_string(15 + segment) + " segment " + std::to_string(segment));
  }
  lines[21] = "        1 0 0     # 21 red";
  lines[22] = "        1 .6 0    # 22 amber (orange)";
  lines[23] = "        1 1 0     # 23 yellow";
  lines[24] = "        0 1 0     # 24 green";
  lines[25] = "        0 1 1     # 25 cyan";
  lines[26] = "        0 0 1     # 26 blue";
  lines[27] = "        1 0 1     # 27 magenta";
  lines[28] = "        .8 .8 .8  # 28 pseudo-white (grey)";
  entry(29, settings.ColourH, " 29 Highlight");
  entry(30, settings.DHCol1, " 30 Distorted Hexagon 1");
  entry(31, settings.DHCol2, " 31 Distorted Hexagon 2");
  entry(32, rhombus.set[3], "  32 rhombus set 3");
  return lines;
}

std::vector<int> face_colour_indices(const Model& model, const RunSettings& settings) {
  std::vector<int> indices(static_cast<std::size_t>(std::max(model.FaceCount, 0)) + 1, 0);
  const HighlightState highlight{settings.Highlight, settings.highlight_kind()};
  int colour_class = 0;  // a face no rule covers takes the previous face's class
  for (int f = 1; f <= model.FaceCount; ++f) {
    const std::optional<int> index =
        FaceColourIndex(model.FaceSides(f), model.FaceStep(f), model.FaceFlags(f), colour_class,
                        highlight, HighlightScope::kVrmlFaceSet);
    indices[static_cast<std::size_t>(f)] = index.value_or(0);
  }
  return indices;
}

// --- Segment placement --------------------------------------------------------------------

VrmlPoint SegmentPlacement::apply(const VrmlPoint& point) const {
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

std::vector<VrmlPoint> frame_inner_points(const Model& model, int face, double width) {
  const int n = model.FaceSides(face);
  std::vector<VrmlPoint> inner;
  if (n < 1) return inner;
  const int d = face_step(model, face);
  const int m = d < n - d ? d : n - d;
  const VrmlPoint centre = face_centre_point(model, face);
  const VrmlPoint first = vertex_point(model, model.FaceVertices(face, 1));
  const double radius = vector_length(first.x - centre.x, first.y - centre.y, first.z - centre.z);
  const double reach = radius * std::cos(kPi * m / n);
  const double factor = reach > 1e-12 ? width / reach : 0.0;
  inner.reserve(static_cast<std::size_t>(n));
  for (int k = 1; k <= n; ++k) {
    const VrmlPoint p = vertex_point(model, model.FaceVertices(face, k));
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
    for (const VrmlPoint& p : frame_inner_points(model, f, width)) layout.points.push_back(p);
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
  for (const VrmlPoint& point : layout.points) {
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

SphereStep write_vertex_spheres(std::ostream& out, const VrmlInputs& inputs,
                                const SphereOptions& options) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  bool asked = options.every_vertex || settings.HighVert || model.VertexHighlightFlag;
  for (int v = model.FirstVertex; v <= model.LastVertex && !asked; ++v) {
    asked = has_letter(model.VertexFlags(v), 'V') || has_letter(model.VertexFlags(v), 'v');
  }
  if (!asked) return SphereStep::kNotRun;

  const SegmentPlacement placement = label_placement(settings, inputs.context);
  const std::string name =
      options.segmented_file ? "Balls" + std::to_string(options.segment) : std::string("Balls");
  bool first = true;
  std::string text;
  for (int v = model.FirstVertex; v <= last_input_vertex(model, inputs.context); ++v) {
    if (!options.every_vertex && !has_letter(model.VertexFlags(v), 'V')) continue;
    const VrmlPoint at = placement.apply(vertex_point(model, v));
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

void write_labels(std::ostream& out, const VrmlInputs& inputs) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  if (!settings.Labelling && !settings.SideLab) return;
  const SegmentPlacement placement = label_placement(settings, inputs.context);
  const std::string font_size =
      FormatOutputNumber(inputs.context.ViewingDistance * placement.edge / 50.0, "#0.###");

  if (settings.Labelling) {
    const LabelKind kind{"App1", "Fons1",
                         ColourTextToVrml(settings.LabVCol, "Vertex Labels", inputs.sink),
                         font_size};
    bool first = true;
    for (int v = model.FirstVertex; v <= last_input_vertex(model, inputs.context); ++v) {
      write_label(out, inputs, placement, vertex_point(model, v), v, kind, first);
      first = false;
    }
  }
  if (settings.SideLab) {
    const LabelKind kind{"App2", "Fons2",
                         ColourTextToVrml(settings.LabFCol, "Face Total Labels", inputs.sink),
                         font_size};
    bool first = true;
    for (int f = 1; f <= model.FaceCount; ++f) {
      if (has_letter(model.FaceFlags(f), 'B')) continue;
      write_label(out, inputs, placement, face_centre_point(model, f), f, kind, first);
      first = false;
    }
  }
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
  if (inputs.context.StressPass) {
    write_distortion_spheres(out, inputs, {false, options.segmented_file, options.segment});
  }
}

void write_closers(std::ostream& out, const VrmlInputs& inputs, SphereStep spheres,
                   const CloserOptions& options) {
  write_edge_and_stress_shapes(out, inputs, options);
  if (spheres != SphereStep::kNoneDrawn) write_dummy_sphere(out);
}

}  // namespace ostrel

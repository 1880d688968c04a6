// The vertex and face labels of the VRML files.
#include <cmath>

#include "core/colour.h"
#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "core/number_format.h"
#include "output/vrml_geometry.h"

namespace ostrel {
namespace {

constexpr std::string_view kLabelPattern = "##0.0#######";

// The shared definitions of one kind of label (vertices or faces).
struct LabelKind {
  std::string_view appearance;  // "App1" or "App2"
  std::string_view font;        // "Fons1" or "Fons2"
  std::string colour;           // emissive colour, VRML form
  std::string font_size;
};

void write_label(std::ostream& out, const VrmlInputs& inputs, const SegmentPlacement& placement,
                 const Vec3& point, int number, const LabelKind& kind, bool first) {
  const RunSettings& settings = inputs.settings;
  const bool billboard = settings.VertexLabel == 1;
  double factor = billboard ? 1.01 : 1.0;
  if (settings.HighVert) factor += lenient_value(settings.VertexSize) * 0.005;
  const Vec3 scaled{point.x * factor, point.y * factor, point.z * factor};
  std::string text;

  vrml_line(out, "Transform {");
  if (!billboard) {
    // Turn the text, which faces +z, to face along the ray from the origin through the point.
    const Vec3 direction{placement.flip_x * point.x, placement.flip_y * point.y,
                         placement.flip_z * point.z};
    const double length = vector_length(direction.x, direction.y, direction.z);
    Vec3 unit{0.0, 0.0, 1.0};
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

}  // namespace

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

}  // namespace ostrel

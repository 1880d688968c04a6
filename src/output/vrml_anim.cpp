#include "output/vrml_anim.h"

#include <string>

#include "core/flag_letters.h"
#include "core/model.h"
#include "core/number_format.h"
#include "output/output_file.h"
#include "output/vrml_geometry.h"

namespace ostrel {
namespace {}  // namespace

std::vector<std::vector<Vec3>> animation_key_points(const Model& model,
                                                    const CoordinateLayout& layout) {
  std::vector<Vec3> closed = layout.points;
  for (int f = 1; f <= model.FaceCount; ++f) {
    const auto index = static_cast<std::size_t>(f);
    if (index >= layout.inner_start.size() || layout.inner_start[index] < 0) continue;
    if (has_letter(model.FaceFlags(f), 'f')) continue;
    // The inner polygon shrinks onto the centre: each side's quadrilateral becomes the
    // triangle from the side to the centre, and together they fill the face (a star face too,
    // as its spikes).
    const Vec3 centre = face_centre_point(model, f);
    const auto start = static_cast<std::size_t>(layout.inner_start[index]);
    for (int k = 0; k < model.FaceSides(f); ++k) {
      closed.at(start + static_cast<std::size_t>(k)) = centre;
    }
  }
  return {layout.points, closed, layout.points};
}

void write_anim_vrml(std::ostream& out, const VrmlInputs& inputs) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  WriteVrmlHeader(out, inputs);
  write_labels(out, inputs);

  const CoordinateLayout layout = plan_coordinates(model, settings, {FaceDrawing::kFrame});
  vrml_line(out, "Transform {");
  vrml_line(out, "children[");
  vrml_line(out, "DEF CI CoordinateInterpolator {");
  vrml_line(out, "key [ 0,.4,.8]");
  vrml_line(out, "keyValue [");
  for (const std::vector<Vec3>& key : animation_key_points(model, layout)) {
    for (const Vec3& p : key) {
      std::string text(1, ' ');
      append_output_number(text, p.x, "#0.0####");
      text += ' ';
      append_output_number(text, p.y, "#0.0####");
      text += ' ';
      append_output_number(text, p.z, "#0.0####");
      text += ',';
      vrml_line(out, text);
    }
    vrml_line(out, " ");
  }
  vrml_line(out, "]");
  vrml_line(out, "}");

  vrml_line(out, "DEF Cell Shape{");
  write_face_set_head(out, inputs, true);
  vrml_line(out, "    coord DEF C1 Coordinate{");
  vrml_line(out, "         point[");
  std::string placeholders;
  for (std::size_t i = 0; i < layout.points.size(); ++i) placeholders += "0 0 0,";
  vrml_line(out, placeholders + "         ]");
  vrml_line(out, "    }");
  const std::vector<int> colours = face_colour_indices(model, settings);
  write_face_indices(out, model, layout, colours, FaceDrawing::kFrame);
  write_face_appearance(out, settings, false);
  if (has_transparent_faces(model)) write_transparent_set(out, inputs, layout, colours, 1);
  if (settings.Edge) write_edge_set(out, inputs, 1);

  write_closers(out, inputs, SphereStep::kNotRun);
  vrml_line(out, "DEF T TouchSensor {}");
  vrml_line(out, "DEF TS TimeSensor {");
  vrml_line(out, "cycleInterval 10.0");
  vrml_line(out, "loop TRUE");
  vrml_line(out, "}");
  vrml_line(out, "]");
  vrml_line(out, "}");
  vrml_line(out, "ROUTE CI.value_changed TO C1.point");
  vrml_line(out, "ROUTE T.touchTime TO TS.startTime");
  vrml_line(out, "ROUTE TS.fraction_changed TO CI.set_fraction");
}

void write_anim_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs) {
  write_output_file(path, [&](std::ostream& out) { write_anim_vrml(out, inputs); });
}

}  // namespace ostrel

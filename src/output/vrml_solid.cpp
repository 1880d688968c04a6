#include "output/vrml_solid.h"

#include "output/output_file.h"
#include "output/vrml_geometry.h"

namespace ostrel {

void write_solid_vrml(std::ostream& out, const VrmlInputs& inputs) {
  WriteVrmlHeader(out, inputs);
  write_labels(out, inputs);
  const SphereStep spheres = write_vertex_spheres(out, inputs);
  vrml_line(out, "Transform {");
  vrml_line(out, "  children[");
  vrml_line(out, "  Shape{");
  const CoordinateLayout layout =
      plan_coordinates(inputs.model, inputs.settings, {FaceDrawing::kSolid});
  write_face_set(out, inputs, layout, FaceSetOptions{});
  vrml_line(out, "]");
  vrml_line(out, "}");
  write_closers(out, inputs, spheres);
}

void write_solid_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs) {
  write_output_file(path, [&](std::ostream& out) { write_solid_vrml(out, inputs); });
}

}  // namespace ostrel

#include "output/vrml_switch.h"

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/colour.h"
#include "core/lenient_number.h"
#include "core/number_format.h"
#include "output/output_file.h"
#include "output/vrml_geometry.h"

namespace ostrel {
namespace {

void write_lines(std::ostream& out, std::initializer_list<std::string_view> lines) {
  for (std::string_view text : lines) vrml_line(out, text);
}

std::string transparency_text(const RunSettings& settings) {
  return FormatOutputNumber(lenient_value(settings.TransLevel), "#0.00");
}

// A transform that holds a shape defined elsewhere: "Transform {", "  children USE " + name,
// "}" (indented by `indent` blanks in the transparent state).
void write_use(std::ostream& out, std::string_view name, int indent) {
  const std::string pad(static_cast<std::size_t>(indent), ' ');
  vrml_line(out, pad + "Transform {");
  vrml_line(out, pad + "  children USE " + std::string(name));
  vrml_line(out, pad + "}");
}

void write_hud_proto(std::ostream& out) {
  write_lines(out, {
                       "PROTO HUD [",
                       "  exposedField SFVec3f size 3.4e38 3.4e38 3.4e38",
                       "  exposedField SFVec3f translation 0.0 0.0 -10",
                       "  exposedField SFRotation rotation 0 0 0 0",
                       "  field MFNode children []",
                       "]",
                       "{",
                       "    Group {",
                       "    children [",
                       "    DEF UserPosition ProximitySensor {",
                       "            center 0 0 0",
                       "            size IS size",
                       "    }",
                       "    DEF HUD Transform",
                       "    {",
                       "            children [",
                       "        Transform {",
                       "        children [",
                       "        Transform {",
                       "            translation IS translation",
                       "            rotation IS rotation",
                       "            children IS children",
                       "        }",
                       "        ]",
                       "        }",
                       "        ]",
                       "    }",
                       "    ]",
                       "    }",
                       "    ROUTE UserPosition.position_changed TO HUD.translation",
                       "    ROUTE UserPosition.orientation_changed TO HUD.rotation",
                       "}",
                       "",
                   });
}

void write_button(std::ostream& out, const VrmlInputs& inputs) {
  write_lines(out, {
                       "HUD {",
                       "    translation 0 -0.82 -2",
                       "    children [",
                       "    Transform {",
                       "    children [",
                       "    DEF SENSOR TouchSensor {",
                       "    }",
                       "    DEF POINT Transform {",
                       "        children [",
                       "        Shape {",
                       "        geometry Box {",
                       "            size 0.2 0.05 0.001",
                       "        }",
                       "        appearance Appearance {",
                       "            material Material {",
                   });
  vrml_line(out, "            diffuseColor " +
                     ColourTextToVrml(inputs.settings.VRMLBack, "Offset 128", inputs.sink));
  vrml_line(out, "            transparency " + transparency_text(inputs.settings));
  write_lines(out, {
                       "            }",
                       "        }",
                       "        }",
                       "        ]",
                       "    }",
                   });

  vrml_line(out, "    DEF CMDTXT Switch {");
  vrml_line(out, "     whichChoice 1");
  vrml_line(out, "     choice [");
  bool first = true;
  for (std::string_view caption : {"--> solid", "--> trans", "--> frame"}) {
    if (!first) vrml_line(out, "    ,");
    first = false;
    write_lines(out, {
                         "      Transform {",
                         "       translation -0.15 -0.83 -2",
                         "        children[",
                         "         Shape{",
                         "          geometry Text {",
                         "           fontStyle FontStyle {",
                         "            size 0.08",
                         "            family \"SANS\"",
                         "           }",
                     });
    vrml_line(out, "          string \"" + std::string(caption) + "\",");
    vrml_line(out, "     }}]}");
  }
  write_lines(out, {"     ]}", "    ]", "    }", "    ]", "}", ""});
}

void write_states(std::ostream& out, const VrmlInputs& inputs) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  const bool transparent = has_transparent_faces(model);
  const bool edges = settings.Edge;
  // One coordinate list for both states: the frame state's inner points and the solid state's
  // star centres.
  const CoordinateLayout layout =
      plan_coordinates(model, settings, {FaceDrawing::kFrame, FaceDrawing::kSolid});

  write_lines(out, {"Group {", "  children  [", "    DEF POLY Switch {", "      whichChoice 1",
                    "      choice [", " "});

  // Choice 0: the frame state, which defines COL, C1, TRANS and EDGES for the others.
  write_lines(out, {"Transform {", "  children [", "  DEF FRAME Shape{"});
  FaceSetOptions frame;
  frame.drawing = FaceDrawing::kFrame;
  write_face_set(out, inputs, layout, frame);
  write_lines(out, {"]", "}", ","});

  // Choice 1: the solid state.
  write_lines(out,
              {"Transform {", "  children[", "  DEF SOLID Shape{", "    geometry IndexedFaceSet{"});
  write_crease_angle(out, settings);
  write_lines(out, {"      solid FALSE", "      convex FALSE", "      colorPerVertex FALSE",
                    "      color USE COL", "    coord USE C1"});
  write_face_indices(out, model, layout, face_colour_indices(model, settings), FaceDrawing::kSolid);
  write_lines(out, {"    appearance Appearance {", "      material DEF MATER Material {",
                    "        shininess 1", "        specularColor 1 1 1", "        transparency 0",
                    "      }", "    }", "  }"});
  if (transparent) write_use(out, "TRANS", 0);
  if (edges) write_use(out, "EDGES", 0);
  write_lines(out, {"]", "}", ","});

  // Choice 2: the transparent state, the solid shape under the material the script turns
  // transparent, with the frame over it.
  write_lines(out, {"Group{", "  children ["});
  write_use(out, "SOLID", 4);
  if (transparent) write_use(out, "TRANS", 0);
  if (edges) write_use(out, "EDGES", 4);
  write_use(out, "FRAME", 4);
  write_lines(out, {"  ]", "}"});

  write_lines(out, {"# end of switch nodes", "]", "}", "]", "}"});
}

void write_switcher(std::ostream& out, const RunSettings& settings) {
  vrml_line(out, "");
  write_lines(out, {
                       "PROTO Switcher [",
                       "   eventIn SFBool isActive",
                       "   eventOut SFInt32 switchvalue",
                       "   eventOut SFFloat transp",
                       "]",
                       "{ Script {",
                       "  eventIn SFBool isActive IS isActive",
                       "  eventOut SFInt32 switchvalue IS switchvalue",
                       "  eventOut SFFloat transp IS transp",
                       "  field SFBool first  TRUE",
                       "    url [ \"javascript:",
                       "       function isActive(eventValue) {",
                       "          if (eventValue == true) {",
                       "            if (first == true) {",
                       "              switchvalue = 1;",
                       "              first = false;",
                       "              }",
                       "            if (switchvalue == 0) {",
                       "              switchvalue = 1;",
                       "              transp = 0;",
                       "              }",
                       "            else {",
                       "              if (switchvalue == 1) {",
                       "              switchvalue = 2;",
                   });
  vrml_line(out, "              transp = " + transparency_text(settings));
  write_lines(out, {
                       "              }",
                       "              else {",
                       "                if (switchvalue ==2) {",
                       "                switchvalue = 0;",
                       "               transp = 0;",
                       "                }",
                       "            } } } }\"",
                       "        ]",
                       " } }",
                       "",
                       "DEF VIEWSWITCH Switcher { }",
                       "",
                       "ROUTE SENSOR.isActive TO VIEWSWITCH.isActive",
                       "ROUTE VIEWSWITCH.switchvalue TO POLY.whichChoice",
                       "ROUTE VIEWSWITCH.switchvalue TO CMDTXT.whichChoice",
                       "ROUTE VIEWSWITCH.transp TO MATER.transparency",
                   });
}

}  // namespace

void write_switch_vrml(std::ostream& out, const VrmlInputs& inputs) {
  WriteVrmlHeader(out, inputs);
  write_labels(out, inputs);
  vrml_line(out, " ");
  write_hud_proto(out);
  write_button(out, inputs);
  const SphereStep spheres = write_vertex_spheres(out, inputs);
  write_states(out, inputs);
  write_closers(out, inputs, spheres);
  write_switcher(out, inputs.settings);
}

void write_switch_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs) {
  write_output_file(path, [&](std::ostream& out) { write_switch_vrml(out, inputs); });
}

}  // namespace ostrel

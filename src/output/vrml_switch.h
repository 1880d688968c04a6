// The switch VRML file: the model in three states that the viewer cycles through by clicking a
// small button held in front of the camera: solid, the same made transparent, and the frame
// model. A heads-up-display prototype (HUD) carries the button (SENSOR) and its captions
// (CMDTXT); a Switch (POLY) holds the states; a script (Switcher) advances the state and sets the
// transparency of the material the solid and transparent states share (MATER).
//
// In the viewer the file opens in the solid state with the caption "--> trans"; the clicks lead
// to transparent (TransLevel), frame, solid again.
#pragma once

#include <filesystem>
#include <ostream>

#include "output/vrml_header.h"

namespace ostrel {

// Writes the switch file to `out`:
// - the header block, the labels, " ";
// - PROTO HUD; the button (a Box whose colour is VRMLBack shifted by 128 per channel, with the
//   TransLevel transparency) with its captions "--> solid", "--> trans", "--> frame";
// - the vertex spheres;
// - Switch POLY: choice 0 the frame state (DEF FRAME, the frame style face set, which defines
//   COL, C1 and, when present, TRANS and EDGES), choice 1 the solid state (DEF SOLID with
//   material MATER, then TRANS and EDGES by USE when present), choice 2 the transparent state
//   (SOLID, TRANS, EDGES and FRAME by USE);
// - the closers (write_closers);
// - PROTO Switcher, DEF VIEWSWITCH and the four ROUTEs.
void write_switch_vrml(std::ostream& out, const VrmlInputs& inputs);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_switch_vrml_file(const std::filesystem::path& path, const VrmlInputs& inputs);

}  // namespace ostrel

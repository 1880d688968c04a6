// The colour table `COL` of the VRML files and the entry of it that each face takes.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_sink.h"
#include "output/colour_classes.h"
#include "output/file_set.h"
#include "settings/run_settings.h"

namespace ostrel {

struct Model;

inline constexpr int kVrmlColourCount = kColourClassCount;  // indices 0..32 of the table COL

// The name under which the colour text of each table entry is reported when it is clipped
// ("Triangles", "Rhombus Set 1", ...); empty for the fixed entries 0, 9 and 21..28.
const std::array<std::string_view, kVrmlColourCount>& vrml_colour_names();

// The 33 lines of the colour table as written, index 0..32:
//    0 "        0 0 0,"                     9 "        0 0 0"
//    1 RealmFace  ", #  1 inter realm faces"  2 ColourH ", #  2 highlighting"
//    3..8 Colour3..Colour8 (", # 3 triangle" ... ", # 8 octagon")
//   10 Colour10, 11 Colour52, 12 Colour83, 13 Colour103, 14 and 15 rhombus sets 1 and 2,
//   16..20 ColourS1..ColourS5, 21..28 the fixed named colours ("        1 0 0     # 21 red"),
//   29 ColourH, 30 DHCol1, 31 DHCol2, 32 rhombus set 3.
// A settings colour is written "       " + its VRML form + its comment; each is converted in
// index order, a clipped one reported through `sink` under its name.
std::array<std::string, kVrmlColourCount> vrml_colour_table(const RunSettings& settings,
                                                            const RhombusSetColours& rhombus,
                                                            MessageSink& sink);

// The colour texts behind the table, index 0..32: the settings colour of each entry that takes
// one (1 RealmFace, 2 ColourH, ..., 32 rhombus set 3); empty for the fixed entries.
std::array<std::string, kVrmlColourCount> vrml_colour_texts(const RunSettings& settings,
                                                            const RhombusSetColours& rhombus);

// The table's colours as red, green, blue fractions 0..1, index 0..32, for writers that need
// numbers rather than text: a settings colour's components / 255, the fixed entries as the table
// writes them (22 amber 1 .6 0, 28 grey .8 .8 .8; 0 and 9 black). Clipped colour texts are
// reported through `sink` under the same names as the table's.
std::array<std::array<float, 3>, kVrmlColourCount> vrml_colour_values(
    const RunSettings& settings, const RhombusSetColours& rhombus, MessageSink& sink);

// The colour table index (FaceColourIndex with the highlight of the face set) of every face,
// by face 1..FaceCount (entry 0 unused); 0 for a face flagged "B".
std::vector<int> face_colour_indices(const Model& model, const RunSettings& settings);

}  // namespace ostrel

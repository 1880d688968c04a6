#include "output/vrml_colours.h"

#include <algorithm>

#include "core/colour.h"
#include "core/model.h"

namespace ostrel {

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

}  // namespace ostrel

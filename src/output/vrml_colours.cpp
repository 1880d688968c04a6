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

std::array<std::string, kVrmlColourCount> vrml_colour_texts(const RunSettings& settings,
                                                            const RhombusSetColours& rhombus) {
  std::array<std::string, kVrmlColourCount> texts;
  texts[1] = settings.RealmFace;
  texts[2] = settings.ColourH;
  texts[3] = settings.Colour3;
  texts[4] = settings.Colour4;
  texts[5] = settings.Colour5;
  texts[6] = settings.Colour6;
  texts[7] = settings.Colour7;
  texts[8] = settings.Colour8;
  texts[10] = settings.Colour10;
  texts[11] = settings.Colour52;
  texts[12] = settings.Colour83;
  texts[13] = settings.Colour103;
  texts[14] = rhombus.set[1];
  texts[15] = rhombus.set[2];
  for (std::size_t segment = 1; segment <= MaxSegments; ++segment) {
    texts[15 + segment] = settings.ColourS[segment];
  }
  texts[29] = settings.ColourH;
  texts[30] = settings.DHCol1;
  texts[31] = settings.DHCol2;
  texts[32] = rhombus.set[3];
  return texts;
}

std::array<std::string, kVrmlColourCount> vrml_colour_table(const RunSettings& settings,
                                                            const RhombusSetColours& rhombus,
                                                            MessageSink& sink) {
  // clang-format off
  static const std::array<std::string_view, kVrmlColourCount> comments{
      "", "  1 inter realm faces", "  2 highlighting", " 3 triangle", " 4 square", " 5 pentagon",
      " 6 hexagon", " 7 apolydronic", " 8 octagon", "", " 10 decagon", " 11 pentagram",
      " 12 octagram", " 13 decagram", "  14 rhombus set 1", "  15 rhombus set 2",
      " 16 segment 1", " 17 segment 2", " 18 segment 3", " 19 segment 4", " 20 segment 5",
      "", "", "", "", "", "", "", "", " 29 Highlight", " 30 Distorted Hexagon 1",
      " 31 Distorted Hexagon 2", "  32 rhombus set 3"};
  // clang-format on
  const std::array<std::string, kVrmlColourCount> texts = vrml_colour_texts(settings, rhombus);
  const auto& names = vrml_colour_names();
  std::array<std::string, kVrmlColourCount> lines;
  for (std::size_t index = 0; index < kVrmlColourCount; ++index) {
    if (comments[index].empty()) continue;
    lines[index] = "       " + ColourTextToVrml(texts[index], names[index], sink) + ", #" +
                   std::string(comments[index]);
  }
  lines[0] = "        0 0 0,";
  lines[9] = "        0 0 0";
  lines[21] = "        1 0 0     # 21 red";
  lines[22] = "        1 .6 0    # 22 amber (orange)";
  lines[23] = "        1 1 0     # 23 yellow";
  lines[24] = "        0 1 0     # 24 green";
  lines[25] = "        0 1 1     # 25 cyan";
  lines[26] = "        0 0 1     # 26 blue";
  lines[27] = "        1 0 1     # 27 magenta";
  lines[28] = "        .8 .8 .8  # 28 pseudo-white (grey)";
  return lines;
}

std::array<std::array<float, 3>, kVrmlColourCount> vrml_colour_values(
    const RunSettings& settings, const RhombusSetColours& rhombus, MessageSink& sink) {
  std::array<std::array<float, 3>, kVrmlColourCount> values{};
  const std::array<std::string, kVrmlColourCount> texts = vrml_colour_texts(settings, rhombus);
  const auto& names = vrml_colour_names();
  for (std::size_t index = 1; index < kVrmlColourCount; ++index) {
    if (texts[index].empty()) continue;
    const RgbColour rgb = ColourTextToRgb(texts[index], names[index], sink);
    values[index] = {static_cast<float>(rgb.red) / 255.0f, static_cast<float>(rgb.green) / 255.0f,
                     static_cast<float>(rgb.blue) / 255.0f};
  }
  values[21] = {1.0f, 0.0f, 0.0f};
  values[22] = {1.0f, 0.6f, 0.0f};
  values[23] = {1.0f, 1.0f, 0.0f};
  values[24] = {0.0f, 1.0f, 0.0f};
  values[25] = {0.0f, 1.0f, 1.0f};
  values[26] = {0.0f, 0.0f, 1.0f};
  values[27] = {1.0f, 0.0f, 1.0f};
  values[28] = {0.8f, 0.8f, 0.8f};
  return values;
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

#include "output/colour_classes.h"

namespace ostrel {
namespace {

using Row = ColourClassRow;

template <std::string StoredOptions::*Member>
const std::string& setting(const RunSettings& settings, const RhombusSetColours&) {
  return settings.*Member;
}

template <int Set>
const std::string& rhombus_set(const RunSettings&, const RhombusSetColours& rhombus) {
  return rhombus.set[Set];
}

template <int Segment>
const std::string& segment_colour(const RunSettings& settings, const RhombusSetColours&) {
  return settings.ColourS[Segment];
}

}  // namespace

const std::array<ColourClassRow, kColourClassCount>& colour_classes() {
  // clang-format off
  static const std::array<Row, kColourClassCount> rows{{
      /* 0 */ {nullptr, "", "", "", "", "        0 0 0,", {}},
      /* 1 */ {setting<&StoredOptions::RealmFace>, "", "Inter-Realm Face", "  1 inter realm faces",
               "0 0 0", "", {}},
      /* 2 */ {setting<&StoredOptions::ColourH>, "Highlight Colour", "Highlight Colour",
               "  2 highlighting", "", "", {}},
      /* 3 */ {setting<&StoredOptions::Colour3>, "Triangle Colour", "Triangles", " 3 triangle", "", "", {}},
      /* 4 */ {setting<&StoredOptions::Colour4>, "Square Colour", "Squares", " 4 square", "", "", {}},
      /* 5 */ {setting<&StoredOptions::Colour5>, "Pentagon Colour", "Pentagons", " 5 pentagon", "", "", {}},
      /* 6 */ {setting<&StoredOptions::Colour6>, "Hexagon Colour", "Hexagons", " 6 hexagon", "", "", {}},
      /* 7 */ {setting<&StoredOptions::Colour7>, "Apolydronic Colour", "Apolydronics", " 7 apolydronic",
               "", "", {}},
      /* 8 */ {setting<&StoredOptions::Colour8>, "Octagon Colour", "Octagons", " 8 octagon", "", "", {}},
      // No class of nine-sided faces.
      /* 9 */ {nullptr, "", "", "", "0 0 0", "        0 0 0", {}},
      /* 10 */ {setting<&StoredOptions::Colour10>, "Decagon Colour", "Decagons", " 10 decagon", "", "", {}},
      /* 11 */ {setting<&StoredOptions::Colour52>, "Pentagram Colour", "Pentagrams", " 11 pentagram",
                "", "", {}},
      /* 12 */ {setting<&StoredOptions::Colour83>, "Octagram Colour", "Octagrams", " 12 octagram",
                "", "", {}},
      /* 13 */ {setting<&StoredOptions::Colour103>, "Decagram Colour", "Decagrams", " 13 decagram",
                "", "", {}},
      /* 14 */ {rhombus_set<1>, "Rhombus Set 1", "Rhombus Set 1", "  14 rhombus set 1", "", "", {}},
      /* 15 */ {rhombus_set<2>, "Rhombus Set 2", "Rhombus Set 2", "  15 rhombus set 2", "", "", {}},
      /* 16 */ {segment_colour<1>, "Segment 1 Colour", "Segment 1", " 16 segment 1", "", "", {}},
      /* 17 */ {segment_colour<2>, "Segment 2 Colour", "Segment 2", " 17 segment 2", "", "", {}},
      /* 18 */ {segment_colour<3>, "Segment 3 Colour", "Segment 3", " 18 segment 3", "", "", {}},
      /* 19 */ {segment_colour<4>, "Segment 4 Colour", "Segment 4", " 19 segment 4", "", "", {}},
      /* 20 */ {segment_colour<5>, "Segment 5 Colour", "Segment 5", " 20 segment 5", "", "", {}},
      // The colours of the letter codes r a y g c b m w.
      /* 21 */ {nullptr, "", "", "", "255 0 0", "        1 0 0     # 21 red", {1.0f, 0.0f, 0.0f}},
      /* 22 */ {nullptr, "", "", "", "255 128 0", "        1 .6 0    # 22 amber (orange)",
                {1.0f, 0.6f, 0.0f}},
      /* 23 */ {nullptr, "", "", "", "255 255 0", "        1 1 0     # 23 yellow", {1.0f, 1.0f, 0.0f}},
      /* 24 */ {nullptr, "", "", "", "0 255 0", "        0 1 0     # 24 green", {0.0f, 1.0f, 0.0f}},
      /* 25 */ {nullptr, "", "", "", "0 255 255", "        0 1 1     # 25 cyan", {0.0f, 1.0f, 1.0f}},
      /* 26 */ {nullptr, "", "", "", "0 0 255", "        0 0 1     # 26 blue", {0.0f, 0.0f, 1.0f}},
      /* 27 */ {nullptr, "", "", "", "255 0 255", "        1 0 1     # 27 magenta", {1.0f, 0.0f, 1.0f}},
      /* 28 */ {nullptr, "", "", "", "203 203 203", "        .8 .8 .8  # 28 pseudo-white (grey)",
                {0.8f, 0.8f, 0.8f}},
      /* 29 */ {setting<&StoredOptions::ColourH>, "Highlight Colour", "Highlight Colour", " 29 Highlight",
                "", "", {}},
      // The OFF table reports the distorted-hexagon colours under the highlight colour's name.
      /* 30 */ {setting<&StoredOptions::DHCol1>, "Highlight Colour", "Distorted Hexagon 1",
                " 30 Distorted Hexagon 1", "", "", {}},
      /* 31 */ {setting<&StoredOptions::DHCol2>, "Highlight Colour", "Distorted Hexagon 2",
                " 31 Distorted Hexagon 2", "", "", {}},
      /* 32 */ {rhombus_set<3>, "Rhombus Set 3", "Rhombus Set 3", "  32 rhombus set 3", "", "", {}},
  }};
  // clang-format on
  return rows;
}

}  // namespace ostrel

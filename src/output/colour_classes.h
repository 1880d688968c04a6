// The colour classes 0..32 that faces are coloured by, in one table: where each class takes its
// colour (a settings colour, a rhombus set, or a fixed colour), and the names and comments the OFF
// and VRML writers give it. Both writers build their colour tables from these rows, in class
// order, so that a clipped colour is reported in the same order by each.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "output/file_set.h"
#include "settings/run_settings.h"

namespace ostrel {

inline constexpr int kColourClassCount = 33;  // classes 0..32

struct ColourClassRow {
  // The colour text of the class, from the settings or the rhombus sets; null for a class of a
  // fixed colour only.
  const std::string& (*text)(const RunSettings&, const RhombusSetColours&) = nullptr;
  std::string_view off_label;          // name of a clipped colour in the OFF table
  std::string_view vrml_label;         // name of a clipped colour in the VRML table
  std::string_view vrml_comment;       // comment after the colour in the VRML table
  std::string_view off_fixed;          // the OFF table's fixed "r g b" integers, when it has one
  std::string_view vrml_fixed;         // the VRML table's fixed line, when it has one
  std::array<float, 3> fixed_value{};  // the fixed colour as fractions (VRML values)
};

// The rows of classes 0..32.
const std::array<ColourClassRow, kColourClassCount>& colour_classes();

}  // namespace ostrel

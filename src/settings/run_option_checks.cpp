#include "settings/run_option_checks.h"

#include <limits>

#include "core/lenient_number.h"
#include "core/run_error.h"

namespace ostrel {

double form_number(std::string_view text) {
  try {
    return lenient_value(text);
  } catch (const RunError&) {
    const double huge = std::numeric_limits<double>::infinity();
    const auto first = text.find_first_not_of(' ');
    return first != std::string_view::npos && text[first] == '-' ? -huge : huge;
  }
}

namespace {

double number_of(const std::string& text) {
  return form_number(text);
}

std::string check_local_diagonal(const RunSettings& s) {
  const int local = s.LocalOption;
  const double min1 = number_of(s.LocInfMin[1]);
  const double max1 = number_of(s.LocInfMax[1]);
  const double min2 = number_of(s.LocInfMin[2]);
  const double max2 = number_of(s.LocInfMax[2]);
  const double min3 = number_of(s.LocInfMin[3]);
  const double max3 = number_of(s.LocInfMax[3]);
  const double select = number_of(s.SelectFace);
  if (local < 0)
    return "Error: With Local Diagonal inflation you must choose a local inflation option";
  if ((local == kLocalValue || local == kLocalDifferential) && !(min1 > 0)) {
    return "Error: Local Inflation Minimum must be > 0";
  }
  if ((local == kLocalRange || local == kLocalDifferentialRange) && !(min1 < max1)) {
    return "Error: Local Inflation Maximum must be > Minimum";
  }
  if (local == kLocalDifferential) {
    if (!(min2 > 0)) return "Error: Local Inflation Minimum for Star Faces must be > 0";
    if (min3 > 0 && !(select > 0)) return "Error: Selected Faces n/d must be > 0";
    if (select > 0 && !(min3 > 0)) {
      return "Error: Local Inflation Minimum for Selected Faces must be > 0";
    }
  }
  if (local == kLocalDifferentialRange) {
    if (!(min2 < max2)) return "Error: Local Inflation for Star Faces Maximum must be > Minimum";
    if (select > 0) {
      if (!(min3 < max3))
        return "Error: Local Inflation for Selected Faces Maximum must be > Minimum";
      if (!(max3 > 0)) return "Error: Local Inflation Maximum for Selected Faces must be > 0";
    }
  }
  return {};
}

}  // namespace

std::string check_run_options(const RunSettings& s) {
  const bool segments = s.SegmentCount > 1;
  if (s.InflateOption < 0 || s.InflateOption > 4)
    return "Error: You must choose an inflation option";
  if (s.InflateOption == 0 && number_of(s.GlobLim) < 1) return "Error: Global Limit must be >= 1";
  if (s.InflateOption == 3) {
    std::string problem = check_local_diagonal(s);
    if (!problem.empty()) return problem;
  }
  if (!(number_of(s.BandLen) > 0)) return "Error: Band Length must be > 0";
  if (s.Weaken && !segments && number_of(s.WeakenLimit) < 3) {
    return "Error: Weaken limit must be >=3";
  }
  if (s.Augment && !segments) {
    if (!(number_of(s.AugmentVal) > 0)) return "Error: Augmented Side n/d must be > 0";
    // Augmentation needs to know what becomes of the sides and how the pyramids are coloured.
    if (s.AugmentOption < 1) return "Error: You must choose an Augment Option";
    if (s.AugmentColour < 0) return "Error: You must choose an Augment Colour";
  }
  return {};
}

std::string check_segment_options(const RunSettings& settings) {
  for (int row = 1; row <= MaxSegments; ++row) {
    const std::string& edge = settings.SegEdge[static_cast<std::size_t>(row)];
    if (number_of(edge) < 0) {
      return "Error: Segment " + std::to_string(row) + " edge length must be >= 0";
    }
    if (edge.find(',') != std::string::npos) return "Dorvik, stop putting numbers in with commas!";
  }
  return {};
}

std::string first_run_option_problem(const RunSettings& settings) {
  std::string problem = check_run_options(settings);
  return problem.empty() ? check_segment_options(settings) : problem;
}

std::vector<std::string> drop_options_greyed_for_segments(RunSettings& settings) {
  std::vector<std::string> dropped;
  if (settings.SegmentCount <= 1) return dropped;
  for (auto [name, flag] :
       {std::pair{"Highlight", &RunSettings::Highlight}, std::pair{"Once", &RunSettings::Once},
        std::pair{"Weaken", &RunSettings::Weaken}, std::pair{"Isomorph", &RunSettings::Isomorph},
        std::pair{"Augment", &RunSettings::Augment}}) {
    if (settings.*flag) dropped.emplace_back(name);
    settings.*flag = false;
  }
  return dropped;
}

}  // namespace ostrel

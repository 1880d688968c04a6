// The checks a run's options must pass before the run starts, in the order the run-time options
// form makes them. The desktop program and ostrel-cli both call these; the first failing check's
// message is shown and nothing is read or written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/run_settings.h"

namespace ostrel {

// The number in a form's box: its leading numeric part, 0 for an empty or non-numeric text; a
// number too large for any real is an infinity of its sign.
double form_number(std::string_view text);

// What the run-time options form's OK checks, in its order. Unchosen option groups are
// InflateOption −1, LocalOption −1, AugmentOption 0 and AugmentColour −1. Numbers are read
// leniently. With segments (SegmentCount > 1) the greyed Weaken and Augment are not checked.
// Returns the first failing check's message, or an empty string.
std::string check_run_options(const RunSettings& settings);

// What the segment options' Run checks, rows 1 to 5 in order (rows the input does not use
// too): "Error: Segment K edge length must be >= 0" for a negative length, "Dorvik, stop putting
// numbers in with commas!" for a comma in a length. Empty when every row passes.
std::string check_segment_options(const RunSettings& settings);

// Both, in that order: what a front end without forms checks before a run.
std::string first_run_option_problem(const RunSettings& settings);

// An input with segments greys Highlight, Once, Weaken, Isomorph and Augment on the form, so
// they take no part in its run: switches them off and returns the names of those that were on.
std::vector<std::string> drop_options_greyed_for_segments(RunSettings& settings);

}  // namespace ostrel

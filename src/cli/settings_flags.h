// Setting a run option by the name of the control that supplies it: `--set Force4=20`,
// `--set ForceRhom=r30`, `--set SegEdge(2)=1.5`.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/run_settings.h"

namespace ostrel::cli {

// Sets the control `name` (case-sensitive, as the forms name it) to `value`. Check boxes take
// 1/0 (also yes/no, true/false, on/off); option groups take the number of the chosen item.
// Returns an empty string on success, else what is wrong.
std::string set_control(RunSettings& settings, std::string_view name, std::string_view value);

// "Name=Value" → set_control.
std::string set_control_assignment(RunSettings& settings, std::string_view assignment);

// `--segment K:edge=E,x=X,y=Y,z=Z,flip=xyz,trans`: the SegmentOptions row K. Returns what is
// wrong, or empty.
std::string set_segment_options(RunSettings& settings, std::string_view text);

// Every control name set_control knows, for the help text.
std::vector<std::string> control_names();

}  // namespace ostrel::cli

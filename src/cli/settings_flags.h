// Setting a run option by the name of the control that supplies it: `--set Force4=20`,
// `--set ForceRhom=r30`, `--set SegEdge(2)=1.5`.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/run_settings.h"

namespace ostrel::cli {

// "Name=Value" → set_option (settings/option_table.h).
std::string set_control_assignment(RunSettings& settings, std::string_view assignment);

// `--segment K:edge=E,x=X,y=Y,z=Z,flip=xyz,trans`: the SegmentOptions row K. Returns what is
// wrong, or empty.
std::string set_segment_options(RunSettings& settings, std::string_view text);

}  // namespace ostrel::cli

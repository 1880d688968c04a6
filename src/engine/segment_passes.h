// The end of a segmented run: after the last segment has been relaxed (or placed, for anchors),
// the realm section is read, its faces checked against the joint vertex table, and the segmented
// output set written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "core/model.h"
#include "core/run_error.h"
#include "engine/run_host.h"
#include "output/file_set.h"
#include "output/segmented.h"
#include "settings/run_settings.h"

namespace ostrel {

struct SegmentedEnd {
  std::string error;    // an input error that ends the run; nothing was written
  std::string message;  // the completion message ("W02: …", or what an unclosed section says)
  std::vector<std::filesystem::path> files;
};

// `text` is the input file; `read_realms` is false when the parser has read the realm section
// already (an anchor was the last segment); `unclosed_message` is then what the parser said of a
// realm section without its "]" (empty when it was closed). Debug lines go to `debug` when set.
SegmentedEnd finish_segmented_model(Model& model, const RunSettings& settings,
                                    const std::string& text, bool read_realms,
                                    const std::string& unclosed_message, SegmentedModel& segmented,
                                    const OutputContext& context, RunHost& host,
                                    ErrorHandler& errors, DebugLog* debug);

}  // namespace ostrel

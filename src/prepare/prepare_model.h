// The preparation of a parsed model, in the run's order: fan collapse, vertex clean-up, face
// compaction, star corner order, the edge table with weakening and edge marks, vertex links,
// centroid vertices, and the hop distances of global inflation.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/debug_log.h"
#include "core/message_sink.h"
#include "core/model.h"
#include "prepare/edge_table.h"
#include "prepare/inflation.h"
#include "settings/run_settings.h"

namespace ostrel {

struct PreparedModel {
  std::string error;  // the message that ends the run; empty when the model is ready
  std::unique_ptr<VertexLinkTable> links;
  std::unique_ptr<HopDistanceTable> hop;  // only for global inflation
  int input_last_vertex = -1;             // the last of the input's own vertices (apexes follow)
  std::optional<bool> collapse_answer;    // the answer to the star-collapse question, if asked
  // Hop values the modified hop could not take the square root of (negative, from a negative
  // band length); they were left as they were. The run reports them as an invalid call.
  int negative_square_roots = 0;
};

// Applies HighVert and AllCyl, then prepares the model. Questions (the star collapse) go to
// `host`.
PreparedModel prepare_model(Model& model, const RunSettings& settings, UserDialog& host,
                            DebugLog* debug);

}  // namespace ostrel

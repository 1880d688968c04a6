// The one way an input becomes a model ready to relax: read it (a face list or an OFF file,
// told apart by its first word, or a simple shape), then prepare it in the run's order. The run,
// `ostrel-cli inspect`, the model view, the fuzz targets and the benchmarks all load through it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/debug_log.h"
#include "core/message_sink.h"
#include "core/model.h"
#include "input/parser.h"
#include "input/shapes.h"
#include "prepare/prepare_model.h"
#include "settings/run_settings.h"

namespace ostrel {

struct LoadRequest {
  std::string_view text;              // the input's text (read_input_file); unused for a shape
  std::optional<SpecialShape> shape;  // a simple shape built instead of reading a text
  ParseRequest parse;                 // segment, output name, coordinates, debug log
  // Settings to prepare the model with; without them the model is read only (as the input has
  // it: no star order, no edge table).
  const RunSettings* settings = nullptr;
};

// What a load came to. The model is ready to relax when ok() holds.
struct LoadResult {
  ParseResult parsed;         // how reading went (a shape is always read completely)
  std::string error;          // the message that stops the run; empty when none
  bool prepared = false;      // the preparation ran
  PreparedModel preparation;  // its tables, when it ran

  bool ok() const { return error.empty() && parsed.ok(); }
};

// Reads `request` into `model` (emptied for the pass by the caller: Model::start_pass) and, when
// settings are given, prepares it. The preparation is skipped when reading did not complete, when
// reading stopped at a segment boundary (an anchor followed by more segments, or the realm
// section read: the caller decides what follows) and, with the error "Input error: No faces
// found in input", when the model has no vertex or no face. Questions and messages go to `host`.
LoadResult load_model(Model& model, const LoadRequest& request, UserDialog& host,
                      DebugLog* debug = nullptr);

}  // namespace ostrel

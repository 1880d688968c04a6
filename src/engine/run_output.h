// The run's write points: the output context of a model as the run relaxed it, the writing of
// the file set (turned first when the model asks for it, then the stress pass), and the run
// report's account of the files and isomorphs written.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/debug_log.h"
#include "core/model.h"
#include "engine/error_recovery.h"
#include "engine/relax.h"
#include "engine/run.h"
#include "output/file_set.h"

namespace ostrel {

// The figures of the isomorph being written, as the progress display shows them.
struct RunFigures {
  int IsomorphNo = 1;
  std::int64_t IterationNo = 0;
  double Deform = 999.0;
  double Deforp = 999.0;
};

// One write point: the model as the run relaxed it, and its relaxation (none for a segmented
// model made only of anchors, written before any relaxation ran).
struct WritePoint {
  std::string name;  // the output name, e.g. "cube" or "cube_isom2"
  Model& model;
  const Relaxation* relax = nullptr;
  int segment = 1;  // the segment being written, from 1
  DebugLog* debug = nullptr;
};

class RunOutput {
 public:
  RunOutput(const RunRequest& request, const RunSettings& settings, RunHost& host,
            RunErrorHandler& errors, RunReport& report)
      : request_(request), settings_(settings), host_(host), errors_(errors), report_(report) {}

  // What the preparation of the pass tells the writers.
  int input_last_vertex = -1;
  std::optional<bool> collapse_answer;

  OutputContext context(const WritePoint& point, const RunFigures& figures) const;
  // Writes the file set (and the stress pass's); returns the files written, which the report
  // lists too.
  std::vector<std::filesystem::path> write(const WritePoint& point, const RunFigures& figures);
  // The report's entry of an isomorph.
  void record(IsomorphOutcome outcome, std::vector<std::filesystem::path> files,
              const RunFigures& figures);
  // A completion message says that files were written: when every file of the write point
  // failed (each failure has been reported), it is not shown.
  void announce(const std::string& message, const std::vector<std::filesystem::path>& files);

 private:
  const RunRequest& request_;
  const RunSettings& settings_;
  RunHost& host_;
  RunErrorHandler& errors_;
  RunReport& report_;
};

}  // namespace ostrel

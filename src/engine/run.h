// One run from start to end: read the input, prepare the model, relax it isomorph by isomorph,
// write the output file set at its write points, and report through the host.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_host.h"
#include "input/shapes.h"
#include "settings/run_settings.h"

namespace ostrel {

// Limits a front end without a person at it sets, so that every run ends by itself. 0 means
// no limit (the desktop program runs until the user quits).
struct RunLimits {
  int new_isomorphs = 0;  // end the run once this many new isomorphs have been written
  int attempts = 0;       // end the run after this many isomorph starts
};

struct RunRequest {
  RunSettings settings;
  std::filesystem::path input;          // the input file
  std::optional<SpecialShape> shape;    // a simple shape to run instead of an input file
  std::filesystem::path output_folder;  // where every output file goes
  std::optional<std::uint64_t> seed;    // the random generator's seed; from the clock when empty
  std::string version = std::string("Version ") + OSTREL_VERSION;
  RunLimits limits;
  int jobs = 1;  // threads for the pair sums and the attempts; 0: one per core
};

enum class IsomorphOutcome {
  kNew,         // settled, new, written
  kDuplicate,   // settled as an isomorph found before
  kCoincident,  // settled with coincident vertices
  kUnsettled,   // finished without settling (iteration limit, no further progress)
  kWritten,     // written without being new (a 'Once' run, write on request)
};
const char* outcome_name(IsomorphOutcome outcome);

struct IsomorphReport {
  int number = 1;
  std::int64_t iterations = 0;
  double deform = 0.0;
  double deforp = 0.0;
  IsomorphOutcome outcome = IsomorphOutcome::kUnsettled;
  std::vector<std::filesystem::path> files;
};

enum class RunEnd {
  kFinished,  // ended with its completion message or at a limit
  kQuit,      // the user quit
  kError,     // ended with an error message
};

struct RunReport {
  std::uint64_t seed = 0;
  RunEnd end = RunEnd::kFinished;
  std::vector<IsomorphReport> isomorphs;
  std::vector<std::filesystem::path> files;  // every file written, in order
  int nets_not_written = 0;  // write points whose net (NetFile) was asked for and not written
};

// The whole run. Messages, questions, progress and button presses go through `host`.
RunReport run(const RunRequest& request, RunHost& host);

// The seed taken from the clock when none is given.
std::uint64_t clock_seed();

}  // namespace ostrel

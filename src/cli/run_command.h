// `ostrel-cli run`: relax an input file headless and write its output set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/option_table.h"

namespace ostrel::cli {

struct RunOptions {
  std::string input;
  std::string shape_kind;  // with `shape`: polygon, pyramid, prism or antiprism
  std::string shape_size;  // with `shape`: "n" or "n/d"
  std::string output_folder = ".";
  std::string ini;  // settings file; empty: beside the program or per user (settings_location.h)
  std::optional<std::uint64_t> seed;
  // Changes of the run settings in the order given: a flag of the option table with its value
  // (applied typed), or a `--set Control=Value` assignment (`flag` null, `value` the text).
  struct Edit {
    const OptionRow* flag = nullptr;
    std::string value;
  };
  std::vector<Edit> edits;
  std::vector<std::string> segments;  // --segment K:edge=E,x=X,...
  std::string collapse_stars = "no";
  int isomorphs = 1;
  int attempts = 20;
  std::string report;
  bool quiet = false;  // no progress line
  int jobs = 0;        // threads for the attempts and pair sums; 0: one per core
};

// Exit status: 0 when the output set was written, 1 when the run ended with an error message
// (or wrote nothing), 2 for unusable options, 130 when interrupted.
int run_command(const RunOptions& options, const std::string& program_folder);

}  // namespace ostrel::cli

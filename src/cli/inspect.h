// `ostrel-cli inspect`: parse an input file and show what the parser left in the model store.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/message_sink.h"

namespace ostrel::cli {

struct InspectOptions {
  std::string input;                     // input file path
  bool json = false;                     // one JSON object instead of readable text
  int segment = 1;                       // segment to read
  bool realms = false;                   // read every segment and the realm section too
  bool prepared = false;                 // show the model after preparation
  std::vector<std::string> assignments;  // run options for the preparation (Control=Value)
  bool collapse_stars = false;           // the answer to the star-collapse question
};

// Exit status: 0 when the input was read, 1 when the parser refused it.
int run_inspect(const InspectOptions& options, std::ostream& out, MessageSink& messages);

}  // namespace ostrel::cli

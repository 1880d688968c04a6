// All the engine knows of a user interface. The desktop program answers with message boxes
// and its progress window, ostrel-cli with lines on stderr and flags, tests with a recorder.
#pragma once

#include <cstdint>
#include <string>

#include "core/message_sink.h"

namespace ostrel {

struct Model;

// What the progress window shows, handed over every tenth iteration.
struct ProgressSnapshot {
  double Deform = 0.0;
  double Deforp = 0.0;
  std::int64_t IterationNo = 0;
  int IsomorphNo = 1;
  std::string ExpandOpt;         // "none", "global", "local-one", "local-diagonal"
  std::string Duplicate;         // "Duplicate Isomorph", "Co-incident vertices found" or " "
  const Model* model = nullptr;  // positions for the wire frame
  double z_min = 0.0;            // least and greatest z of the latest update
  double z_max = 0.0;
  bool graphics = true;  // whether the wire frame is being drawn
  // While a robust start runs, before any iteration: its stage and cost ("robust start:
  // least squares, cost 3.2e-05"); empty otherwise.
  std::string start_stage;
};

// Button presses since the last poll; each acts once however often it was pressed.
struct ButtonPresses {
  bool quit = false;
  bool write = false;
  bool graphics = false;
  bool redo = false;
  bool reread = false;
  bool more_f1 = false;
  bool less_f1 = false;
};

class RunHost : public UserDialog {
 public:
  // The run's error prompt: true for OK (go on), false for Cancel (end the run).
  virtual bool ask_resume(const std::string& text) = 0;
  // Every tenth iteration.
  virtual void progress(const ProgressSnapshot&) {}
  // A note on how the run goes on (it has begun to start attempts the robust way).
  virtual void note(const std::string&) {}
  // The progress window's caption and its Duplicate label.
  virtual void caption(const std::string&) {}
  virtual void duplicate_label(const std::string&) {}
  // The button presses since the last poll.
  virtual ButtonPresses poll() { return {}; }
};

}  // namespace ostrel

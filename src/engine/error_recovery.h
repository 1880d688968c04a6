// The run's one error handler: every run-time failure is named to the user and either the run
// goes on (the failing step has no effect) or it ends with its message.
#pragma once

#include <string>

#include "core/debug_log.h"
#include "core/run_error.h"
#include "engine/run_host.h"

namespace ostrel {

// What the error table says about an error number.
struct ErrorAction {
  bool ends_run = false;
  std::string message;  // shown after the prompt; empty for none
};
ErrorAction error_action(const RunError& error);

class RunErrorHandler final : public ErrorHandler {
 public:
  explicit RunErrorHandler(RunHost& host) : host_(host) {}

  // While set (writing a model as entered), no "attempting to resume" prompt is shown.
  void set_resume_prompt_off(bool off) { prompt_off_ = off; }

  // Shows "OSTREL has come across error, attempting to resume N" (OK/Cancel) unless the prompt
  // is off; Cancel ends the run at once. Then applies the error table: returns to go on, or
  // shows the table's message and throws RunStopped.
  void recover(const RunError& error) override;

  // The last error handled, for reports.
  int last_error() const { return last_error_; }

 private:
  RunHost& host_;
  bool prompt_off_ = false;
  int last_error_ = 0;
};

}  // namespace ostrel

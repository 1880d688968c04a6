// The desktop program's side of a run: messages and questions as modal message boxes, progress
// and captions on the progress window, and the window's buttons read at every poll. The run is
// called on the GUI thread; each poll lets the window system process its pending events, which
// is when the progress window repaints and its buttons can be pressed.
#pragma once

#include <functional>
#include <optional>

#include "engine/run_host.h"

namespace ostrel::gui {

class DrawWindow;

class GuiHost final : public RunHost {
 public:
  explicit GuiHost(DrawWindow& window) : window_(window) {}

  void message(const std::string& text) override;
  bool ask_yes_no(const std::string& question) override;
  bool ask_resume(const std::string& text) override;
  void progress(const ProgressSnapshot& snapshot) override;
  void caption(const std::string& text) override;
  void note(const std::string& text) override;
  void duplicate_label(const std::string& text) override;
  ButtonPresses poll() override;
  void beep() override;

  // The last answer given to the star-collapse question; nullopt when it was not asked.
  std::optional<bool> collapse_answer() const { return collapse_answer_; }

  // Called at every poll, after the window's events and before its buttons are read, with the
  // snapshot of that poll (tests press buttons and watch the run through it).
  using PollObserver = std::function<void(const ProgressSnapshot& snapshot, DrawWindow& window)>;
  static void set_poll_observer(PollObserver observer);

 private:
  DrawWindow& window_;
  ProgressSnapshot last_;
  std::optional<bool> collapse_answer_;
};

}  // namespace ostrel::gui

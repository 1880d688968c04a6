// What the run shows of an attempt every tenth iteration, while it starts, and while the run
// awaits one that ran ahead on another thread; and the buttons kept for the next poll.
#pragma once

#include <string>

#include "engine/attempt.h"
#include "engine/run_host.h"

namespace ostrel {

// The expansion mode's name in the progress display: "none", "global", "stress", "local-one",
// "local-diagonal".
const char* expansion_name(int mode);

// An attempt the run relaxes itself: its figures, mode and wire frame.
ProgressSnapshot relaxing_progress(const Attempt& attempt, int isomorph,
                                   const std::string& duplicate);

// An attempt whose start runs on the run's own thread: the robust start's stage.
ProgressSnapshot starting_progress(const Attempt& attempt, int isomorph,
                                   const std::string& duplicate);

// An attempt that ran ahead, awaited: the figures it last showed, no wire frame (its positions
// change on the other thread). `kept_mode` is the mode a classic attempt runs in.
ProgressSnapshot waiting_progress(const Attempt& attempt, int isomorph, int kept_mode,
                                  const std::string& duplicate);

// Adds the presses that wait for the next poll (all but Quit and Re-Read) to `kept`.
void keep_presses(ButtonPresses& kept, const ButtonPresses& pressed);

}  // namespace ostrel

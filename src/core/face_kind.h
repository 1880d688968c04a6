// A kind of face: its corner count and its step (1 for an ordinary polygon, d for a star {n/d}).
#pragma once

namespace ostrel {

// Face kind typed as "n/d" or "n": corner count and step (step 1 without "/").
struct FaceKind {
  int sides = 0;
  int step = 1;
};

}  // namespace ostrel

// The robust start of an isomorph: the vertices are placed so that the distance of every two
// of them matches the fewest edge steps between them (1 for an edge, 0.7 more for each further
// step, the band length for a band). Classical scaling gives a first layout from the targets,
// then stress majorization (SMACOF) refines it: each of its steps lowers the stress
// Σ (distance − target)² and none can overshoot, so it settles at any size.
//
// The pair sums run on `threads` threads by rows of vertices; each row is summed by one thread
// in vertex order, so the positions are the same bits for any number of threads.
#pragma once

#include <atomic>
#include <vector>

#include "core/model.h"
#include "engine/cancel.h"
#include "prepare/fixed_distances.h"
#include "prepare/graph_distances.h"

namespace ostrel {

struct StressStartOptions {
  int threads = 1;
  double band_length = 1.0;  // target of a band pair
  bool flat = false;         // keep z at 0 (XYConfine)
  int max_steps = 1000;      // majorization steps at most
  // Set when the layout is no longer wanted: the steps stop.
  const CancelCheck* cancel = nullptr;
  // When given, receives the stress after every step (for a progress display).
  std::atomic<double>* shown_stress = nullptr;
};

struct StressStartResult {
  int steps = 0;        // majorization steps taken
  double stress = 0.0;  // Σ (distance − target)² over the pairs, each pair once
};

// Places vertices distances.first .. first + count − 1 from their current positions (the
// random start of the isomorph seeds the classical scaling).
StressStartResult stress_majorization_start(Model& model, const GraphDistances& distances,
                                            const std::vector<FixedDistance>& fixed,
                                            const StressStartOptions& options);

}  // namespace ostrel

// What the relaxation keeps of its own motion beside the model's positions: each vertex's shift
// (the sum of the forces of the current step), velocity and previous position, and what each
// step measures of the faces and edges. Flat arrays by vertex, face or edge number, sized by the
// Relaxation that owns them; the writers receive the deviations through their output context.
#pragma once

#include <vector>

#include "core/model.h"

namespace ostrel {

struct MotionState {
  // By vertex number 0..extent (the greatest vertex number the relaxation reads).
  std::vector<double> VertexShiftX, VertexShiftY, VertexShiftZ;
  std::vector<double> VertexVelocityX, VertexVelocityY, VertexVelocityZ;
  std::vector<double> VertexPrevX, VertexPrevY, VertexPrevZ;
  // By face 1..FaceCount (entry 0 unused): the deviation of the face from its shape at the last
  // step (0 for faces without a face force), and its centre in the local expansion term.
  std::vector<double> FaceDeviation;
  std::vector<double> FaceCentreX, FaceCentreY, FaceCentreZ;
  // By edge 1..EdgeCount (entry 0 unused): length minus target at the last step.
  std::vector<double> EdgeDeviation;
};

// Vertices FirstVertex..LastVertex come to rest where the model has them: no shift, no
// velocity, the previous position the current one. Every start of an attempt ends with it (the
// placing of the starting positions, a robust start's layout and least squares).
void reset_motion(MotionState& motion, const Model& model);

}  // namespace ostrel

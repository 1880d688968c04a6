#include "engine/motion_state.h"

#include <algorithm>

namespace ostrel {

void reset_motion(MotionState& motion, const Model& model) {
  for (int v = std::max(model.FirstVertex, 0); v <= model.LastVertex; ++v) {
    const auto i = static_cast<std::size_t>(v);
    motion.VertexShiftX.at(i) = motion.VertexShiftY.at(i) = motion.VertexShiftZ.at(i) = 0.0;
    motion.VertexVelocityX.at(i) = motion.VertexVelocityY.at(i) = motion.VertexVelocityZ.at(i) =
        0.0;
    motion.VertexPrevX.at(i) = model.VertexX(v);
    motion.VertexPrevY.at(i) = model.VertexY(v);
    motion.VertexPrevZ.at(i) = model.VertexZ(v);
  }
}

}  // namespace ostrel

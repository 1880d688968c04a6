// The quick picture a view shows while the model turns: the picture of output/scene_view.h with
// one sample per pixel instead of four, drawn at a lower resolution when the picture is large and
// enlarged to its size. The full picture follows when the model stands still; screenshots are
// always full pictures.
#pragma once

#include "view/model_scene.h"
#include "view/scene_view.h"

namespace ostrel {

// The quick picture is drawn with at most this many samples: a picture of up to 1920 × 1080
// pixels at its own size.
constexpr int kQuickSamples = 1 << 21;

// The quick picture of `scene` seen by `angles`, `width` × `height` pixels (each at least 1).
ViewPicture render_quick_view(const ModelScene& scene, const ViewAngles& angles, ViewStyle style,
                              int width, int height);

}  // namespace ostrel

// A picture of a model scene, painted in software: the triangles lit by a light beside the viewer
// (flat shading, both sides of a face lit alike), the edges and the vertex spheres, in
// perspective, with a depth buffer so that faces that pass through each other (star polyhedra)
// hide each other where they should. See-through faces are blended over what lies behind them,
// far to near. Each pixel is the mean of supersample × supersample samples, which smooths the
// outlines. The picture depends on nothing but the scene, the view and the size, so it is the
// same on a screen, on the offscreen platform and in a picture file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "view/model_scene.h"

namespace ostrel {

// Where the model is seen from. Yaw turns it about the vertical axis of the picture, then pitch
// tips it about the horizontal axis, both in degrees; yaw 0, pitch 0 looks along −z with y up,
// as a VRML viewer does at its first viewpoint. Zoom 1 fits the whole model in the picture.
struct ViewAngles {
  double yaw = -30.0;
  double pitch = 20.0;
  double zoom = 1.0;
};

enum class ViewStyle {
  kSolid,  // the faces as the solid VRML file shows them
  kFrame,  // every face reduced to its band, as the frame VRML file shows it
};

struct ViewPicture {
  int width = 0;
  int height = 0;
  // 0xffRRGGBB, row by row from the top, each row left to right.
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// The largest coordinate the view draws: beyond it the depths of the picture run out of
// precision.
constexpr double kLargestDrawnCoordinate = 1e15;

// Why the view cannot draw `scene`: a coordinate that is no finite number or is larger than
// kLargestDrawnCoordinate. Empty when it can.
std::string view_problem(const ModelScene& scene);

// The picture of `scene` seen by `angles`, `width` × `height` pixels (each at least 1).
ViewPicture render_view(const ModelScene& scene, const ViewAngles& angles, ViewStyle style,
                        int width, int height, int supersample = 2);

}  // namespace ostrel

#include "view/quick_view.h"

#include <algorithm>
#include <cmath>

#include "core/parallel.h"

namespace ostrel {
namespace {

// `small` enlarged to width × height, each pixel the bilinear blend of the four nearest.
ViewPicture enlarged(const ViewPicture& small, int width, int height) {
  ViewPicture out;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  // Positions in 1/256 of a small pixel: output pixel centre x + 0.5 falls at
  // (x + 0.5) · small / big − 0.5.
  const auto sources = [](int big, int count) {
    std::vector<int> at(static_cast<std::size_t>(big));
    for (int x = 0; x < big; ++x) {
      const double p = (x + 0.5) * count / big - 0.5;
      at[static_cast<std::size_t>(x)] =
          std::clamp(static_cast<int>(std::lround(p * 256)), 0, (count - 1) * 256);
    }
    return at;
  };
  const std::vector<int> xs = sources(width, small.width), ys = sources(height, small.height);
  parallel_rows(height, thread_count(0), [&](int begin, int end) {
    for (int y = begin; y < end; ++y) {
      const int sy = ys[static_cast<std::size_t>(y)];
      const int y0 = sy >> 8, y1 = std::min(y0 + 1, small.height - 1);
      const std::uint32_t fy = static_cast<std::uint32_t>(sy & 255);
      const std::uint32_t* row0 = &small.pixels[static_cast<std::size_t>(y0) * small.width];
      const std::uint32_t* row1 = &small.pixels[static_cast<std::size_t>(y1) * small.width];
      std::uint32_t* target =
          &out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
      for (int x = 0; x < width; ++x) {
        const int sx = xs[static_cast<std::size_t>(x)];
        const int x0 = sx >> 8, x1 = std::min(x0 + 1, small.width - 1);
        const std::uint32_t fx = static_cast<std::uint32_t>(sx & 255);
        const std::uint32_t a = row0[x0], b = row0[x1], c = row1[x0], d = row1[x1];
        std::uint32_t pixel = 0xff000000u;
        for (int shift = 0; shift < 24; shift += 8) {
          const std::uint32_t top = ((a >> shift) & 255) * (256 - fx) + ((b >> shift) & 255) * fx;
          const std::uint32_t bottom =
              ((c >> shift) & 255) * (256 - fx) + ((d >> shift) & 255) * fx;
          pixel |= ((top * (256 - fy) + bottom * fy + 32768) >> 16) << shift;
        }
        target[x] = pixel;
      }
    }
  });
  return out;
}

}  // namespace

ViewPicture render_quick_view(const ModelScene& scene, const ViewAngles& angles, ViewStyle style,
                              int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  const double pixels = static_cast<double>(width) * height;
  if (pixels <= kQuickSamples) return render_view(scene, angles, style, width, height, 1);
  const double scale = std::sqrt(kQuickSamples / pixels);
  const int small_width = std::max(1, static_cast<int>(width * scale));
  const int small_height = std::max(1, static_cast<int>(height * scale));
  return enlarged(render_view(scene, angles, style, small_width, small_height, 1), width, height);
}

}  // namespace ostrel

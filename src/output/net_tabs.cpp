#include "output/net_tabs.h"

#include <algorithm>

#include "output/net_overlap.h"

namespace ostrel {

using net::P2;

std::vector<P2> tab_corners(P2 a, P2 b, P2 inside, double depth, double angle) {
  const double l = length(b - a);
  const P2 u = (b - a) * (1.0 / std::max(l, 1e-300));
  P2 out{-u.y, u.x};
  if (dot(out, inside - a) > 0) out = out * -1.0;
  const double slope = 1.0 / std::tan(angle * 3.14159265358979323846 / 180.0);
  const double h = std::min(depth, 0.45 * l / slope);
  return {a, b, b + out * h - u * (h * slope), a + out * h + u * (h * slope)};
}

NetTabs place_tabs(const NetSolid& solid, const Unfolding& unfolding, double depth) {
  const NetFaces& faces = solid.faces;
  NetTabs tabs;
  tabs.number.assign(faces.corners.size(), 0);
  tabs.tab.assign(faces.corners.size(), {});
  std::vector<int> face_of_side(faces.corners.size(), 0);
  std::vector<net::PaperIndex> pieces;
  for (int p = 0; p < unfolding.piece_count; ++p) pieces.emplace_back(1.5 * solid.mean_edge, 1e-6 * solid.mean_edge);
  std::vector<P2> centre(static_cast<std::size_t>(faces.face_count()));
  for (int f = 0; f < faces.face_count(); ++f) {
    std::vector<P2> corners;
    for (int c = faces.first_corner[static_cast<std::size_t>(f)];
         c < faces.first_corner[static_cast<std::size_t>(f) + 1]; ++c) {
      face_of_side[static_cast<std::size_t>(c)] = f;
      corners.push_back(unfolding.placed[static_cast<std::size_t>(c)]);
      centre[static_cast<std::size_t>(f)] = centre[static_cast<std::size_t>(f)] + corners.back();
    }
    centre[static_cast<std::size_t>(f)] = centre[static_cast<std::size_t>(f)] * (1.0 / faces.sides(f));
    pieces[static_cast<std::size_t>(unfolding.piece[static_cast<std::size_t>(f)])].add(
        corners, net::convex_parts(corners));
  }
  const auto next_corner = [&](int side) {
    const int f = face_of_side[static_cast<std::size_t>(side)];
    const int first = faces.first_corner[static_cast<std::size_t>(f)];
    return first + (side - first + 1) % faces.sides(f);
  };
  const auto candidate = [&](int side, double h, double angle) {
    const int f = face_of_side[static_cast<std::size_t>(side)];
    return tab_corners(unfolding.placed[static_cast<std::size_t>(side)],
                       unfolding.placed[static_cast<std::size_t>(next_corner(side))],
                       centre[static_cast<std::size_t>(f)], h, angle);
  };
  // Depth share and end angle of the tabs tried, largest first.
  constexpr std::pair<double, double> kShapes[] = {{1.0, 45.0}, {0.6, 30.0}, {0.35, 20.0}};
  const std::vector<std::vector<int>> whole{{0, 1, 2, 3}};
  int number = 0;
  for (int side = 0; side < static_cast<int>(faces.corners.size()); ++side) {
    const int mate = solid.mate[static_cast<std::size_t>(side)];
    if (mate < side || unfolding.fold[static_cast<std::size_t>(side)]) continue;
    tabs.number[static_cast<std::size_t>(side)] = tabs.number[static_cast<std::size_t>(mate)] = ++number;
    int chosen = side;
    std::vector<P2> tab = candidate(side, depth, 45.0);
    bool placed = false;
    for (const auto& [share, angle] : kShapes) {
      for (int s : {side, mate}) {
        std::vector<P2> corners = candidate(s, share * depth, angle);
        auto& index = pieces[static_cast<std::size_t>(
            unfolding.piece[static_cast<std::size_t>(face_of_side[static_cast<std::size_t>(s)])])];
        if (index.overlaps(corners, whole)) continue;
        chosen = s;
        tab = std::move(corners);
        placed = true;
        break;
      }
      if (placed) break;
    }
    pieces[static_cast<std::size_t>(
               unfolding.piece[static_cast<std::size_t>(face_of_side[static_cast<std::size_t>(chosen)])])]
        .add(tab, whole);
    tabs.tab[static_cast<std::size_t>(chosen)] = std::move(tab);
  }
  return tabs;
}

}  // namespace ostrel

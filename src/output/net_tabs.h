// Glue tabs and pair numbers of an unfolded solid: each edge that is cut has two sides in the
// net, which the builder glues together. Both sides get the same number (1, 2, ... in side
// order), and one of them a tab: a trapezoid standing on the side, outside its face, folded under
// and glued beneath the other side. The tab goes on the side where it overlaps nothing of its
// piece (its faces and the tabs placed before): at full depth with its ends drawn in at 45
// degrees if it can, else shallower and with steeper ends, down to a small tab that fits into
// a narrow notch; when neither side has room for any, it stands on the first side all the same.
#pragma once

#include <vector>

#include "output/net_geometry.h"
#include "output/net_solid.h"
#include "output/net_unfold.h"

namespace ostrel {

struct NetTabs {
  std::vector<int> number;                 // per side: its pair's number; 0 for none
  std::vector<std::vector<net::P2>> tab;   // per side: the tab's four corners, or none
};

// `depth` is the full depth of a tab in the solid's units.
NetTabs place_tabs(const NetSolid& solid, const Unfolding& unfolding, double depth);

// The tab on the side from a to b of a face lying on the side of ab where `inside` is: a, b and
// the two corners `depth` out, its ends leaning in at `angle` degrees to the side (less deep on
// a short side, so that its outer edge keeps a tenth of the side).
std::vector<net::P2> tab_corners(net::P2 a, net::P2 b, net::P2 inside, double depth,
                                 double angle = 45.0);

}  // namespace ostrel

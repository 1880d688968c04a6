// Unfolding a solid into flat pieces that do not overlap.
//
// Faces are laid down one at a time, each folded out from a face already down across the edge
// they share, growing a piece along a spanning tree of its faces. The order comes from a
// direction in space: the edges most nearly square to it are folded first, the steepest are cut
// (as in steepest-edge unfolding). A face that would overlap its piece, or make the piece too big
// for the page, is not folded out there; it joins across another edge or starts a new piece.
// Directions are tried in a fixed order until one gives a single piece; otherwise the try with
// the fewest pieces is kept. An edge whose two sides end up on each other in one piece is
// folded as well. The same solid always unfolds the same way.
#pragma once

#include <vector>

#include "output/net_geometry.h"
#include "output/net_solid.h"

namespace ostrel {

struct Unfolding {
  // Where each corner lies in its piece (x, y in the solid's units, y down): entry c for the
  // corner c of NetFaces::corners.
  std::vector<net::P2> placed;
  std::vector<int> piece;   // the piece of each face, from 0
  int piece_count = 0;
  std::vector<char> fold;   // per side: 1 when folded (both faces in one piece, joined there)
};

// The largest box a piece may fill, in the solid's units, upright or turned a quarter: a piece
// fits when its width is at most `width` and its height at most `height`, or the other way round.
struct PieceLimit {
  double width = 1e300;
  double height = 1e300;
};

Unfolding unfold(const NetSolid& solid, const PieceLimit& limit);

// Whether a box of the given size fits the limit, upright or turned.
bool fits(const PieceLimit& limit, double width, double height);

}  // namespace ostrel

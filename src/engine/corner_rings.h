// The corner rings of the face force. For corner k of a face of n corners the force pulls the
// corner towards a point on the line from the far point p (the corner k + h opposite, or the
// mean of the far corners; h = n/2 for an even n, (n - 1)/2 for an odd one) through the near
// point q (the mean of corners k - 1 and k + 1). The ring of a corner lists the vertex numbers
// these points are built from, so an iteration reads positions through flat index arrays built
// once per pass and never wraps a corner index or decodes a flag.
#pragma once

#include <cstdint>
#include <vector>

namespace ostrel {

// What a face's rings hold per corner (the slots, in order). Faces of six corners or more
// without "D" or "d" take the wide form: q also averages corners k - 2 and k + 2 in, and an
// even face's p is the mean of the three corners around the opposite one.
enum class RingShape : std::uint8_t {
  kNarrowOdd,   // k, k-1, k+1, k+h, k-h
  kNarrowEven,  // k, k-1, k+1, k+h
  kWideOdd,     // k, k-1, k+1, k-2, k+2, k+h, k-h
  kWideEven,    // k, k-1, k+1, k-2, k+2, k+h, k+h-1, k+h+1
};

constexpr int ring_stride(RingShape shape) {
  switch (shape) {
    case RingShape::kNarrowOdd: return 5;
    case RingShape::kNarrowEven: return 4;
    case RingShape::kWideOdd: return 7;
    case RingShape::kWideEven: return 8;
  }
  return 0;
}

// One face that takes the face force: four corners or more and neither "n" nor "N".
struct RingFace {
  int face = 0;   // index 0..FaceCount-1 (face number - 1)
  int sides = 0;  // n
  int ring = 0;   // where corner 0's slots start in CornerRings::slots
  RingShape shape = RingShape::kNarrowEven;
  std::uint8_t rhombus = 0;  // rhombus set 1 "D", 2 "d", 3 "q" of a four-corner face, else 0
  std::uint8_t hexagon = 0;  // distorted hexagon set 1 "D", 2 "d" of a six-corner face, else 0
  bool weakened = false;     // n is within the weaken limit: the face takes the weakened strength
  double wanted = 0.0;       // |q - p| of the regular face (of the star for a star face)
};

// The rings of every face that takes the face force, in face order.
struct CornerRings {
  std::vector<RingFace> faces;
  std::vector<int> slots;  // vertex numbers, ring_stride(shape) of them per corner

  // Adds a face whose corner vertices are `corners[0..face.sides-1]`; `face.shape` is taken
  // from its sides and `wide`.
  void add(RingFace face, const int* corners, bool wide);
};

// The flat position and shift arrays, indexed by vertex number.
struct VertexArrays {
  const double* x;
  const double* y;
  const double* z;
  double* shift_x;
  double* shift_y;
  double* shift_z;
};

// The force of an ordinary face (no rhombus or hexagon targets): adds `weight` times the pull
// of every corner to its shift when `move` is set and returns the sum of the pulls' lengths.
double ordinary_face_force(const RingFace& face, const int* slots, const VertexArrays& at,
                           double weight, bool move);

}  // namespace ostrel

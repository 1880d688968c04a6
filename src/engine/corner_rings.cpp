#include "engine/corner_rings.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel {
namespace {

// The pulls of one face's corners, written out per ring shape so that the loop holds no
// branch but the one for a corner already in place. The sums keep the order of the terms
// (q, then p, then q - p), so that every shape gives the same bits as the general form.
template <RingShape kShape, bool kMove>
double face_pulls(const int* slots, int sides, double wanted, const VertexArrays& at,
                  double weight) {
  constexpr int kStride = ring_stride(kShape);
  constexpr bool kWide = kShape == RingShape::kWideOdd || kShape == RingShape::kWideEven;
  const double* __restrict x = at.x;
  const double* __restrict y = at.y;
  const double* __restrict z = at.z;
  double* __restrict shift_x = at.shift_x;
  double* __restrict shift_y = at.shift_y;
  double* __restrict shift_z = at.shift_z;
  double deviation = 0.0;
  for (int k = 0; k < sides; ++k, slots += kStride) {
    const int v = slots[0];
    const int a = slots[1];
    const int b = slots[2];
    double qx = (x[a] + x[b]) * 0.5;
    double qy = (y[a] + y[b]) * 0.5;
    double qz = (z[a] + z[b]) * 0.5;
    if constexpr (kWide) {
      const int c = slots[3];
      const int d = slots[4];
      qx = (qx + (x[c] + x[d]) * 0.5) * 0.5;
      qy = (qy + (y[c] + y[d]) * 0.5) * 0.5;
      qz = (qz + (z[c] + z[d]) * 0.5) * 0.5;
    }
    double px;
    double py;
    double pz;
    if constexpr (kShape == RingShape::kNarrowEven) {
      const int o = slots[3];
      px = x[o];
      py = y[o];
      pz = z[o];
    } else if constexpr (kShape == RingShape::kWideEven) {
      const int o = slots[5];
      const int e = slots[6];
      const int f = slots[7];
      px = ((x[o] + x[e]) + x[f]) * (1.0 / 3.0);
      py = ((y[o] + y[e]) + y[f]) * (1.0 / 3.0);
      pz = ((z[o] + z[e]) + z[f]) * (1.0 / 3.0);
    } else {
      constexpr int kFar = kWide ? 5 : 3;
      const int o = slots[kFar];
      const int e = slots[kFar + 1];
      px = (x[o] + x[e]) * 0.5;
      py = (y[o] + y[e]) * 0.5;
      pz = (z[o] + z[e]) * 0.5;
    }
    const double dx = qx - px;
    const double dy = qy - py;
    const double dz = qz - pz;
    const double dl = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double r = dl > 0.0 ? wanted / dl : 0.0;
    const double tx = px + dx * r - x[v];
    const double ty = py + dy * r - y[v];
    const double tz = pz + dz * r - z[v];
    const double g = std::sqrt(tx * tx + ty * ty + tz * tz);
    deviation += g;
    if (kMove && g > 0.0) {
      shift_x[v] += weight * tx;
      shift_y[v] += weight * ty;
      shift_z[v] += weight * tz;
    }
  }
  return deviation;
}

#if defined(__SSE2__)
// Two corners at once, lane 0 corner k and lane 1 corner k + 1: every lane takes the same
// operations in the same order as face_pulls, and SSE2's square root and division round as the
// scalar ones do, so each lane gives the scalar bits. The deviation and the shifts are then
// added corner after corner as before.
struct Lanes {
  __m128d x, y, z;
};

inline Lanes lanes(const VertexArrays& at, const int* first, const int* second, int slot) {
  const int a = first[slot];
  const int b = second[slot];
  return {_mm_set_pd(at.x[b], at.x[a]), _mm_set_pd(at.y[b], at.y[a]),
          _mm_set_pd(at.z[b], at.z[a])};
}
inline Lanes operator+(Lanes a, Lanes b) {
  return {_mm_add_pd(a.x, b.x), _mm_add_pd(a.y, b.y), _mm_add_pd(a.z, b.z)};
}
inline Lanes operator-(Lanes a, Lanes b) {
  return {_mm_sub_pd(a.x, b.x), _mm_sub_pd(a.y, b.y), _mm_sub_pd(a.z, b.z)};
}
inline Lanes operator*(Lanes a, __m128d s) {
  return {_mm_mul_pd(a.x, s), _mm_mul_pd(a.y, s), _mm_mul_pd(a.z, s)};
}
inline __m128d lengths(Lanes a) {
  return _mm_sqrt_pd(
      _mm_add_pd(_mm_add_pd(_mm_mul_pd(a.x, a.x), _mm_mul_pd(a.y, a.y)), _mm_mul_pd(a.z, a.z)));
}

template <RingShape kShape>
[[gnu::always_inline]] inline void pull_pair(const int* first, const VertexArrays& at, __m128d wanted, double (&t)[2][3],
                      double (&g)[2]) {
  constexpr int kStride = ring_stride(kShape);
  constexpr bool kWide = kShape == RingShape::kWideOdd || kShape == RingShape::kWideEven;
  const int* second = first + kStride;
  const __m128d half = _mm_set1_pd(0.5);
  Lanes q = (lanes(at, first, second, 1) + lanes(at, first, second, 2)) * half;
  if constexpr (kWide) {
    q = (q + (lanes(at, first, second, 3) + lanes(at, first, second, 4)) * half) * half;
  }
  Lanes p;
  if constexpr (kShape == RingShape::kNarrowEven) {
    p = lanes(at, first, second, 3);
  } else if constexpr (kShape == RingShape::kWideEven) {
    p = ((lanes(at, first, second, 5) + lanes(at, first, second, 6)) +
         lanes(at, first, second, 7)) *
        _mm_set1_pd(1.0 / 3.0);
  } else {
    constexpr int kFar = kWide ? 5 : 3;
    p = (lanes(at, first, second, kFar) + lanes(at, first, second, kFar + 1)) * half;
  }
  const Lanes d = q - p;
  const __m128d dl = lengths(d);
  const __m128d r = _mm_and_pd(_mm_cmpgt_pd(dl, _mm_setzero_pd()), _mm_div_pd(wanted, dl));
  const Lanes pull = (p + d * r) - lanes(at, first, second, 0);
  _mm_storel_pd(&t[0][0], pull.x);
  _mm_storeh_pd(&t[1][0], pull.x);
  _mm_storel_pd(&t[0][1], pull.y);
  _mm_storeh_pd(&t[1][1], pull.y);
  _mm_storel_pd(&t[0][2], pull.z);
  _mm_storeh_pd(&t[1][2], pull.z);
  _mm_storeu_pd(g, lengths(pull));
}

template <RingShape kShape, bool kMove>
double face_pulls_paired(const int* slots, int sides, double wanted, const VertexArrays& at,
                         double weight) {
  constexpr int kStride = ring_stride(kShape);
  const __m128d wanted2 = _mm_set1_pd(wanted);
  double* __restrict shift_x = at.shift_x;
  double* __restrict shift_y = at.shift_y;
  double* __restrict shift_z = at.shift_z;
  double deviation = 0.0;
  int k = 0;
  for (; k + 1 < sides; k += 2, slots += 2 * kStride) {
    double t[2][3];
    double g[2];
    pull_pair<kShape>(slots, at, wanted2, t, g);
    for (int j = 0; j < 2; ++j) {
      deviation += g[j];
      if (kMove && g[j] > 0.0) {
        const int v = slots[j * kStride];
        shift_x[v] += weight * t[j][0];
        shift_y[v] += weight * t[j][1];
        shift_z[v] += weight * t[j][2];
      }
    }
  }
  if (k < sides) {
    // The last corner of an odd face: its pull alone, added after the others.
    deviation += face_pulls<kShape, kMove>(slots, 1, wanted, at, weight);
  }
  return deviation;
}
#endif

// The pulls of one face's corners, two at a time where the processor has SSE2.
template <RingShape kShape, bool kMove>
double shape_pulls(const int* slots, int sides, double wanted, const VertexArrays& at,
                   double weight) {
#if defined(__SSE2__)
  return face_pulls_paired<kShape, kMove>(slots, sides, wanted, at, weight);
#else
  return face_pulls<kShape, kMove>(slots, sides, wanted, at, weight);
#endif
}

template <bool kMove>
double face_pulls(const RingFace& face, const int* slots, const VertexArrays& at, double weight) {
  const int n = face.sides;
  const double wanted = face.wanted;
  switch (face.shape) {
    case RingShape::kNarrowOdd:
      return shape_pulls<RingShape::kNarrowOdd, kMove>(slots, n, wanted, at, weight);
    case RingShape::kNarrowEven:
      return shape_pulls<RingShape::kNarrowEven, kMove>(slots, n, wanted, at, weight);
    case RingShape::kWideOdd:
      return shape_pulls<RingShape::kWideOdd, kMove>(slots, n, wanted, at, weight);
    case RingShape::kWideEven:
      return shape_pulls<RingShape::kWideEven, kMove>(slots, n, wanted, at, weight);
  }
  return 0.0;
}

}  // namespace

void CornerRings::add(RingFace face, const int* corners, bool wide) {
  const int n = face.sides;
  const bool even = n % 2 == 0;
  const int h = even ? n / 2 : (n - 1) / 2;
  face.shape = wide ? (even ? RingShape::kWideEven : RingShape::kWideOdd)
                    : (even ? RingShape::kNarrowEven : RingShape::kNarrowOdd);
  face.ring = static_cast<int>(slots.size());
  faces.push_back(face);
  auto corner = [&](int k) { return corners[((k % n) + n) % n]; };
  for (int k = 0; k < n; ++k) {
    slots.push_back(corners[k]);
    slots.push_back(corner(k - 1));
    slots.push_back(corner(k + 1));
    if (wide) {
      slots.push_back(corner(k - 2));
      slots.push_back(corner(k + 2));
    }
    slots.push_back(corner(k + h));
    if (!even) {
      slots.push_back(corner(k - h));
    } else if (wide) {
      slots.push_back(corner(k + h - 1));
      slots.push_back(corner(k + h + 1));
    }
  }
}

double ordinary_face_force(const RingFace& face, const int* slots, const VertexArrays& at,
                           double weight, bool move) {
  return move ? face_pulls<true>(face, slots, at, weight)
              : face_pulls<false>(face, slots, at, weight);
}

}  // namespace ostrel

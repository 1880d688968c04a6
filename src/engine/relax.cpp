#include "engine/relax.h"

#include <algorithm>
#include <cmath>

#include "core/flag_letters.h"
#include "core/vec3.h"
#include "engine/edge_force.h"
#include "prepare/star_polygons.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The flat arrays of a vertex table triple, indexed by vertex number. Where lambdas use them
// they are copied into plain pointers: clang 14 (the fuzz build) cannot capture structured
// bindings.
struct Flat3 {
  double* x;
  double* y;
  double* z;
};
// The flat array of a table's entries 0..last. Only those entries are brought into being, not
// the whole capacity, so that a small model touches a few pages of memory instead of clearing
// every table in full; the table's room is reserved at once, so the pointer stays valid.
template <class T>
T* entries(Table<T>& table, int last) {
  table(std::max(last, 0));
  return &table(0);
}
Flat3 positions(Model& model, int last) {
  return {entries(model.VertexX, last), entries(model.VertexY, last), entries(model.VertexZ, last)};
}
Flat3 shifts(MotionState& motion) {
  return {motion.VertexShiftX.data(), motion.VertexShiftY.data(), motion.VertexShiftZ.data()};
}

// The pull `t` of a rhombus or hexagon corner `v`: added, weighted, to its shift when the step
// moves the model. Returns its length, the corner's deviation.
double pull(const VertexArrays& at, int v, const Vec3& t, double weight, bool move) {
  const double g = length(t);
  if (move && g > 0.0) {
    at.shift_x[v] += weight * t.x;
    at.shift_y[v] += weight * t.y;
    at.shift_z[v] += weight * t.z;
  }
  return g;
}

}  // namespace

RegularPolygonTables::RegularPolygonTables() {
  for (int n = 3; n <= MaxCorners; ++n) {
    double alpha = kPi / n;
    RegularShape(n, 1) = n % 2 == 1 ? 0.5 / std::tan(alpha) + 0.5 / std::sin(alpha)
                                    : 1.0 / std::sin(alpha) - 2.0 * std::sin(alpha) / 3.0;
    for (int s = 1; s <= MaxStep; ++s) {
      if (s > 1 && s < n) RegularShape(n, s) = std::sin(alpha) / std::sin(s * alpha);
      RegularInradius(n, s) = 1.0 / (2.0 * std::tan(s * alpha));
      StepInverse(n, s) = static_cast<std::int16_t>(StarOrderStep(n, s));
    }
  }
  RegularShape(2, 1) = 1.0;
  RegularShape(3, 1) = 1.0;
  RegularShape(4, 1) = std::sqrt(2.0);
}

const RegularPolygonTables& regular_polygon_tables() {
  static const RegularPolygonTables tables;
  return tables;
}

Relaxation::Relaxation(Model& model, const RunSettings& settings)
    : model_(model), tables_(regular_polygon_tables()) {
  first_ = std::max(model.FirstVertex, 0);
  last_ = model.LastVertex;
  weaken_limit_ = settings.weaken_limit();

  auto free_face = [&](int f) {
    return f > 0 && (has_letter(model.FaceFlags(f), 'n') || has_letter(model.FaceFlags(f), 'N'));
  };
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (free_face(model.EdgeFaces(e, 1)) && free_face(model.EdgeFaces(e, 2))) continue;
    edge_index_.push_back(e);
    edge_a_.push_back(model.EdgeVertices(e, 1));
    edge_b_.push_back(model.EdgeVertices(e, 2));
    edge_class_.push_back(model.EdgeClass(e));
    edge_target_.push_back(model.EdgeTarget(e));
  }
  for (int f = 1; f <= model.FaceCount; ++f) {
    const std::string& flags = model.FaceFlags(f);
    int n = model.FaceSides(f);
    face_offset_.push_back(static_cast<int>(face_corner_.size()));
    face_sides_.push_back(n);
    face_step_.push_back(model.FaceStep(f));
    for (int k = 1; k <= n; ++k) face_corner_.push_back(model.FaceVertices(f, k));
    const bool free = has_letter(flags, 'n') || has_letter(flags, 'N');  // no face force
    char rhombus = 0;
    if (n == 4)
      rhombus = has_letter(flags, 'D')   ? 1
                : has_letter(flags, 'd') ? 2
                : has_letter(flags, 'q') ? 3
                                         : 0;
    face_rhombus_.push_back(rhombus);
    char hexagon = 0;
    if (n == 6) hexagon = has_letter(flags, 'D') ? 1 : has_letter(flags, 'd') ? 2 : 0;
    face_hexagon_.push_back(hexagon);
    face_sets_.push_back(static_cast<char>((has_letter(flags, 'D') ? 1 : 0) |
                                           (has_letter(flags, 'd') ? 2 : 0) |
                                           (has_letter(flags, 'q') ? 4 : 0)));
    if (rhombus != 0 || hexagon != 0) shaped_faces_.push_back(f - 1);
    if (free || n < 4) continue;
    RingFace ring;
    ring.face = f - 1;
    ring.sides = n;
    ring.rhombus = static_cast<std::uint8_t>(rhombus);
    ring.hexagon = static_cast<std::uint8_t>(hexagon);
    ring.weakened = n <= weaken_limit_;
    ring.wanted = tables_.RegularShape(n, 1);
    if (model.FaceStep(f) > 1) ring.wanted *= tables_.RegularShape(n, model.FaceStep(f));
    const bool d_either = has_letter(flags, 'D') || has_letter(flags, 'd');
    rings_.add(ring, &face_corner_[static_cast<std::size_t>(face_offset_.back())],
               n >= 6 && !d_either);
  }
  extent_ = last_;
  for (int v : edge_a_) extent_ = std::max(extent_, v);
  for (int v : edge_b_) extent_ = std::max(extent_, v);
  for (int v : face_corner_) extent_ = std::max(extent_, v);
  // The motion state, at rest. Faces without a face force keep a deviation of 0; the others'
  // are written at every step. (A vertex number past the capacity raises the subscript error
  // at the first step, when the positions are read.)
  const auto vertices = static_cast<std::size_t>(std::clamp(extent_, 0, ModelCapacity)) + 1;
  for (auto* table : {&motion_.VertexShiftX, &motion_.VertexShiftY, &motion_.VertexShiftZ,
                      &motion_.VertexVelocityX, &motion_.VertexVelocityY, &motion_.VertexVelocityZ,
                      &motion_.VertexPrevX, &motion_.VertexPrevY, &motion_.VertexPrevZ}) {
    table->assign(vertices, 0.0);
  }
  const std::size_t faces = face_sides_.size() + 1;
  for (auto* table : {&motion_.FaceDeviation, &motion_.FaceCentreX, &motion_.FaceCentreY,
                      &motion_.FaceCentreZ}) {
    table->assign(faces, 0.0);
  }
  motion_.EdgeDeviation.assign(static_cast<std::size_t>(std::max(model.EdgeCount, 0)) + 1, 0.0);
  reset_motion();
  vertex_v_.assign(static_cast<std::size_t>(std::max(last_, 0)) + 1, 0);
  for (int v = first_; v <= last_; ++v)
    vertex_v_[static_cast<std::size_t>(v)] = has_letter(model.VertexFlags(v), 'v');
  for (int set = 1; set <= 3; ++set) {
    RhombusSet& rhombus = rhombus_[static_cast<std::size_t>(set)];
    rhombus.theta = settings.rhombus_angle(set);
    if (rhombus.theta > 0.0) rhombus.fixed = rhombus_diagonals(rhombus.theta);
  }
}

void Relaxation::set_local_expansion(int mode, bool running, std::vector<double> edge_factors) {
  local_mode_ = mode;
  local_running_ = running && (mode == kExpandLocalOne || mode == kExpandLocalDiagonal);
  edge_factor_ = std::move(edge_factors);
}

void Relaxation::stop_local_expansion() {
  local_running_ = false;
  momentum = 0.5;
  shape_boost = 1.0;
}

void Relaxation::step(std::int64_t iteration, bool regular_hexagons, double& deform,
                      double& deforp) {
  auto [shift_x, shift_y, shift_z] = shifts(motion_);
  for (int v = first_; v <= last_; ++v) shift_x[v] = shift_y[v] = shift_z[v] = 0.0;
  bool local = local_running_ && iteration <= 999;
  if (local) local_expansion_term();
  bool skip_hexagons = local && regular_hexagons;
  edge_term(deform, true);
  shape_statistics(skip_hexagons);
  face_term(skip_hexagons, deforp, true);
  update();
}

void Relaxation::measure(double& deform, double& deforp) {
  edge_term(deform, false);
  shape_statistics(false);
  face_term(false, deforp, false);
}

void Relaxation::edge_term(double& deform, bool move) {
  const Flat3 at = positions(model_, extent_);
  const Flat3 shift = shifts(motion_);
  const EdgeList edges{edge_index_.data(), edge_a_.data(),      edge_b_.data(),
                       edge_class_.data(), edge_target_.data(), edge_a_.size()};
  edge_force(edges, VertexArrays{at.x, at.y, at.z, shift.x, shift.y, shift.z},
             model_.ForceStrength.data(), kStepFactor,
             motion_.EdgeDeviation.data(), deform, move);
}

void Relaxation::shape_statistics(bool skip_hexagons) {
  const Flat3 at = positions(model_, extent_);
  double* x = at.x;
  double* y = at.y;
  double* z = at.z;
  auto position = [&](int v) { return Vec3{x[v], y[v], z[v]}; };
  auto distance = [&](int a, int b) { return length(position(a) - position(b)); };
  std::array<double, 4> short_sum{};
  std::array<double, 4> long_sum{};
  std::array<double, 3> pair_sum{};
  std::array<double, 3> odd_sum{};
  for (auto& set : rhombus_) set.count = 0;
  for (auto& set : hexagon_) set.count = 0;
  for (const int face : shaped_faces_) {
    const std::size_t f = static_cast<std::size_t>(face);
    const int* c = &face_corner_[static_cast<std::size_t>(face_offset_[f])];
    const int sets = face_sets_[f];
    if (face_sides_[f] == 4 && (face_rhombus_[f] != 0)) {
      double d13 = distance(c[0], c[2]);
      double d24 = distance(c[1], c[3]);
      for (int set = 1; set <= 3; ++set) {
        if (!(sets & (1 << (set - 1)))) continue;
        ++rhombus_[static_cast<std::size_t>(set)].count;
        short_sum[static_cast<std::size_t>(set)] += std::min(d13, d24);
        long_sum[static_cast<std::size_t>(set)] += std::max(d13, d24);
      }
    }
    if (face_sides_[f] == 6 && face_hexagon_[f] != 0 && !skip_hexagons) {
      double d1 = distance(c[0], c[3]);
      double d2 = distance(c[1], c[4]);
      double d3 = distance(c[2], c[5]);
      double e12 = std::fabs(d2 - d1);
      double e23 = std::fabs(d3 - d2);
      double e31 = std::fabs(d1 - d3);
      double least = std::min({e12, e23, e31});
      double odd = 0.0;
      double pair = 0.0;
      if (e12 == least) {
        odd = d3;
        pair = (d1 + d2) / 2.0;
      }
      if (e31 == least) {
        odd = d2;
        pair = (d1 + d3) / 2.0;
      }
      if (e23 == least) {
        odd = d1;
        pair = (d2 + d3) / 2.0;
      }
      for (int set = 1; set <= 2; ++set) {
        if (!(sets & (1 << (set - 1)))) continue;
        ++hexagon_[static_cast<std::size_t>(set)].count;
        pair_sum[static_cast<std::size_t>(set)] += pair;
        odd_sum[static_cast<std::size_t>(set)] += odd;
      }
    }
  }
  for (int set = 1; set <= 2; ++set) {
    HexagonSet& hexagon = hexagon_[static_cast<std::size_t>(set)];
    if (hexagon.count == 0) continue;
    double pm = pair_sum[static_cast<std::size_t>(set)] / hexagon.count;
    hexagon.pair_mean = pm;
    hexagon.odd_target =
        pm < std::sqrt(5.0) ? 2.0 * std::sqrt(1.0 - (pm * pm - 1.0) / 4.0) + 1.0 : 1.0;
  }
  for (int set = 1; set <= 3; ++set) {
    RhombusSet& rhombus = rhombus_[static_cast<std::size_t>(set)];
    if (rhombus.count == 0) continue;
    rhombus.short_target = short_sum[static_cast<std::size_t>(set)] / rhombus.count;
    rhombus.long_target = long_sum[static_cast<std::size_t>(set)] / rhombus.count;
    if (rhombus.theta > 0.0) {
      rhombus.short_target = rhombus.fixed.short_diagonal;
      rhombus.long_target = rhombus.fixed.long_diagonal;
    }
  }
}

// The faces' pulls, face after face in face order as the shifts must sum: ordinary faces over
// their corner rings, rhombi and distorted hexagons with their sets' targets.
void Relaxation::face_term(bool skip_hexagons, double& deforp, bool move) {
  const Flat3 at = positions(model_, extent_);
  double* x = at.x;
  double* y = at.y;
  double* z = at.z;
  const Flat3 shift = shifts(motion_);
  const VertexArrays arrays{x, y, z, shift.x, shift.y, shift.z};
  double* face_deviation = motion_.FaceDeviation.data();
  const double* strength = model_.ForceStrength.data();
  const double weak = strength[4] * strength[1] / strength[2];
  const double scale = kStepFactor * shape_boost;
  const double weak_weight = scale * weak;
  const double strong_weight = scale * strength[4];
  const int* slots = rings_.slots.data();
  double sum = deforp;
  for (const RingFace& face : rings_.faces) {
    const double weight = face.weakened ? weak_weight : strong_weight;
    const int* ring = slots + face.ring;
    const int hexagon = skip_hexagons ? 0 : face.hexagon;
    const double deviation = face.rhombus != 0 ? rhombus_force(face, ring, arrays, weight, move)
                             : hexagon != 0    ? hexagon_force(hexagon, ring, arrays, weight, move)
                                            : ordinary_face_force(face, ring, arrays, weight, move);
    face_deviation[face.face + 1] = deviation;
    sum += deviation;
  }
  deforp = sum;
}

// A rhombus (narrow even rings: k, k-1, k+1, k+2): the corner goes to the short or the long
// diagonal of its set, the one nearer its current diagonal, or the one that "v" marks.
double Relaxation::rhombus_force(const RingFace& face, const int* ring, const VertexArrays& at,
                                 double weight, bool move) const {
  const RhombusSet& set = rhombus_[face.rhombus];
  double deviation = 0.0;
  for (int k = 0; k < 4; ++k, ring += 4) {
    const int v = ring[0];
    const int o = ring[3];
    const Vec3 pv{at.x[v], at.y[v], at.z[v]};
    const Vec3 q = (Vec3{at.x[ring[1]], at.y[ring[1]], at.z[ring[1]]} +
                    Vec3{at.x[ring[2]], at.y[ring[2]], at.z[ring[2]]}) *
                   0.5;
    const Vec3 p{at.x[o], at.y[o], at.z[o]};
    double dl = length(q - p);
    bool marked = vertex_v_[static_cast<std::size_t>(v)] || vertex_v_[static_cast<std::size_t>(o)];
    double diagonal = length(pv - p);
    double target;
    if (marked) {
      target = set.theta < kPi / 2.0 ? set.long_target : set.short_target;
    } else {
      target = (set.short_target + set.long_target) / 2.0 >= diagonal ? set.short_target
                                                                      : set.long_target;
    }
    double r = dl > 0.0 ? target / dl : 0.0;
    deviation += pull(at, v, p + (q - p) * r - pv, weight, move);
  }
  return deviation;
}

// A distorted hexagon (narrow even rings: k, k-1, k+1, k+3): the corner goes along the line
// from the opposite corner through the centre, to the pair mean or the odd target of its set,
// whichever is nearer its current diagonal.
double Relaxation::hexagon_force(int hexagon, const int* ring, const VertexArrays& at,
                                 double weight, bool move) const {
  const HexagonSet& set = hexagon_[static_cast<std::size_t>(hexagon)];
  Vec3 centroid;
  for (int k = 0; k < 6; ++k) {
    const int c = ring[4 * k];
    centroid = centroid + Vec3{at.x[c], at.y[c], at.z[c]};
  }
  centroid = centroid * (1.0 / 6.0);
  double deviation = 0.0;
  for (int k = 0; k < 6; ++k, ring += 4) {
    const int v = ring[0];
    const int o = ring[3];
    const Vec3 pv{at.x[v], at.y[v], at.z[v]};
    const Vec3 p{at.x[o], at.y[o], at.z[o]};
    const Vec3 q = centroid;
    double current = length(pv - p);
    double target = std::fabs(current - set.odd_target) > std::fabs(current - set.pair_mean)
                        ? set.pair_mean
                        : set.odd_target;
    double r = current > 0.0 ? 2.0 * target / current : 0.0;
    deviation += pull(at, v, p + (q - p) * r - pv, weight, move);
  }
  return deviation;
}

void Relaxation::local_expansion_term() {
  const Flat3 at = positions(model_, extent_);
  double* x = at.x;
  double* y = at.y;
  double* z = at.z;
  const Flat3 shift = shifts(motion_);
  double* shift_x = shift.x;
  double* shift_y = shift.y;
  double* shift_z = shift.z;
  const std::size_t faces = face_sides_.size();
  std::vector<Vec3> centre(faces + 1);
  for (std::size_t f = 0; f < faces; ++f) {
    const int* c = &face_corner_[static_cast<std::size_t>(face_offset_[f])];
    Vec3 sum;
    for (int k = 0; k < face_sides_[f]; ++k) sum = sum + Vec3{x[c[k]], y[c[k]], z[c[k]]};
    centre[f + 1] = face_sides_[f] > 0 ? sum * (1.0 / face_sides_[f]) : sum;
    motion_.FaceCentreX[f + 1] = centre[f + 1].x;
    motion_.FaceCentreY[f + 1] = centre[f + 1].y;
    motion_.FaceCentreZ[f + 1] = centre[f + 1].z;
  }
  const double strength = model_.ForceStrength(5);
  auto move_face = [&](int f, Vec3 force) {
    std::size_t i = static_cast<std::size_t>(f - 1);
    if (face_step_[i] > 1) return;  // the corners of a star face stay put
    const int* c = &face_corner_[static_cast<std::size_t>(face_offset_[i])];
    for (int k = 0; k < face_sides_[i]; ++k) {
      shift_x[c[k]] += force.x;
      shift_y[c[k]] += force.y;
      shift_z[c[k]] += force.z;
    }
  };
  for (int e = 1; e <= model_.EdgeCount; ++e) {
    int f1 = model_.EdgeFaces(e, 1);
    int f2 = model_.EdgeFaces(e, 2);
    if (f1 <= 0 || f2 <= 0) continue;  // an open edge has no face on the other side to push
    Vec3 d = centre[static_cast<std::size_t>(f1)] - centre[static_cast<std::size_t>(f2)];
    double l = length(d);
    double target = 1.0;
    if (local_mode_ == kExpandLocalDiagonal) {
      std::size_t i1 = static_cast<std::size_t>(f1 - 1);
      std::size_t i2 = static_cast<std::size_t>(f2 - 1);
      double factor = static_cast<std::size_t>(e) < edge_factor_.size()
                          ? edge_factor_[static_cast<std::size_t>(e)]
                          : 1.0;
      target = (tables_.RegularInradius(face_sides_[i1], face_step_[i1]) +
                tables_.RegularInradius(face_sides_[i2], face_step_[i2])) *
               factor;
    }
    if (l == 0.0) continue;
    double s = (l - target) * kStepFactor * strength / l;
    Vec3 force = d * s;
    move_face(f1, force * -1.0);
    move_face(f2, force);
  }
}

// The positions move by their velocities, then the model is re-centred. The element-wise
// loops are kept apart from the sums, which add the vertices in order, so that the compiler can
// take several vertices at once.
void Relaxation::update() {
  const Flat3 at = positions(model_, extent_);
  const Flat3 shift = shifts(motion_);
  double* __restrict x = at.x;
  double* __restrict y = at.y;
  double* __restrict z = at.z;
  double* __restrict prev_x = motion_.VertexPrevX.data();
  double* __restrict prev_y = motion_.VertexPrevY.data();
  double* __restrict prev_z = motion_.VertexPrevZ.data();
  double* __restrict vel_x = motion_.VertexVelocityX.data();
  double* __restrict vel_y = motion_.VertexVelocityY.data();
  double* __restrict vel_z = motion_.VertexVelocityZ.data();
  const double* __restrict shift_x = shift.x;
  const double* __restrict shift_y = shift.y;
  const double* __restrict shift_z = shift.z;
  if (last_ < first_) return;
  const double m = momentum;
  int k = first_;
#if defined(__SSE2__)
  // Two vertices at once: the same products and sums per lane, so the same bits.
  const __m128d m2 = _mm_set1_pd(m);
  auto move = [&](double* __restrict position, double* __restrict prev, double* __restrict vel,
                  const double* __restrict push) {
    const __m128d now = _mm_loadu_pd(position + k);
    const __m128d velocity =
        _mm_add_pd(_mm_mul_pd(m2, _mm_loadu_pd(vel + k)), _mm_loadu_pd(push + k));
    _mm_storeu_pd(prev + k, now);
    _mm_storeu_pd(vel + k, velocity);
    _mm_storeu_pd(position + k, _mm_add_pd(now, velocity));
  };
  for (; k < last_; k += 2) {
    move(x, prev_x, vel_x, shift_x);
    move(y, prev_y, vel_y, shift_y);
    move(z, prev_z, vel_z, shift_z);
  }
#endif
  for (; k <= last_; ++k) {
    prev_x[k] = x[k];
    prev_y[k] = y[k];
    prev_z[k] = z[k];
    vel_x[k] = m * vel_x[k] + shift_x[k];
    vel_y[k] = m * vel_y[k] + shift_y[k];
    vel_z[k] = m * vel_z[k] + shift_z[k];
    x[k] += vel_x[k];
    y[k] += vel_y[k];
    z[k] += vel_z[k];
  }
  double sum_x = 0.0;
  double sum_y = 0.0;
  double sum_z = 0.0;
  for (int v = first_; v <= last_; ++v) {
    sum_x += x[v];
    sum_y += y[v];
    sum_z += z[v];
  }
  const double count = last_ - first_ + 1;
  const double mean_x = sum_x / count;
  const double mean_y = sum_y / count;
  const double mean_z = sum_z / count;
  for (int v = first_; v <= last_; ++v) {
    x[v] -= mean_x;
    y[v] -= mean_y;
    z[v] -= mean_z;
  }
  double z_min = z[first_];
  double z_max = z[first_];
  for (int v = first_; v <= last_; ++v) {
    z_min = std::min(z_min, z[v]);
    z_max = std::max(z_max, z[v]);
  }
  z_min_ = z_min;
  z_max_ = z_max;
}

int Relaxation::global_prestage(const Table2<float>& hop, double limit, const CancelCheck* cancel) {
  auto [x, y, z] = positions(model_, extent_);
  auto [shift_x, shift_y, shift_z] = shifts(motion_);
  if (last_ >= hop.rows()) throw_subscript_error("HopDistance", last_);
  const double hop_strength = model_.ForceStrength(3);
  const double band_strength = model_.ForceStrength(6);
  const double cut = limit + 0.1;
  double previous = 999.0;
  int iterations = 0;
  const int count = last_ - first_ + 1;
  std::vector<double> start(static_cast<std::size_t>(3 * std::max(count, 0)));
  for (int v = first_; v <= last_; ++v) {
    start[static_cast<std::size_t>(3 * (v - first_))] = x[v];
    start[static_cast<std::size_t>(3 * (v - first_) + 1)] = y[v];
    start[static_cast<std::size_t>(3 * (v - first_) + 2)] = z[v];
  }
  for (int pass = 1; pass <= 1000; ++pass) {
    if (cancel != nullptr && cancel->stopped()) break;
    ++iterations;
    double deform = 0.0;
    for (int v = first_; v <= last_; ++v) shift_x[v] = shift_y[v] = shift_z[v] = 0.0;
    for (int i = first_; i <= last_; ++i) {
      const float* row = hop.row_data(i);
      // Vertex i's position and shift stay in locals along its row (j > i never touches them).
      const double xi = x[i];
      const double yi = y[i];
      const double zi = z[i];
      double shift_xi = shift_x[i];
      double shift_yi = shift_y[i];
      double shift_zi = shift_z[i];
      for (int j = i + 1; j <= last_; ++j) {
        double m = row[j];
        if (!(m < cut)) continue;  // too far apart: no force
        double target = m > 1.0 ? (m - 1.0) * 0.7 + 1.0 : m * 0.5;
        double dx = xi - x[j];
        double dy = yi - y[j];
        double dz = zi - z[j];
        double l = std::sqrt(dx * dx + dy * dy + dz * dz);
        double stretch = l - target;
        deform += std::fabs(stretch);
        if (l == 0.0) continue;
        double s = stretch * kStepFactor * (m >= 1.0 ? hop_strength : band_strength) / l;
        shift_xi -= s * dx;
        shift_yi -= s * dy;
        shift_zi -= s * dz;
        shift_x[j] += s * dx;
        shift_y[j] += s * dy;
        shift_z[j] += s * dz;
      }
      shift_x[i] = shift_xi;
      shift_y[i] = shift_yi;
      shift_z[i] = shift_zi;
    }
    update();
    if (!std::isfinite(deform)) {
      for (int v = first_; v <= last_; ++v) {
        x[v] = start[static_cast<std::size_t>(3 * (v - first_))];
        y[v] = start[static_cast<std::size_t>(3 * (v - first_) + 1)];
        z[v] = start[static_cast<std::size_t>(3 * (v - first_) + 2)];
        const auto i = static_cast<std::size_t>(v);
        motion_.VertexVelocityX[i] = motion_.VertexVelocityY[i] = motion_.VertexVelocityZ[i] = 0.0;
      }
      return 0;
    }
    if (std::fabs(deform - previous) < 0.000001) break;
    previous = deform;
  }
  return iterations;
}

}  // namespace ostrel

#include "input/shapes.h"

#include <numeric>

#include "settings/run_settings.h"

namespace ostrel {
namespace {

void set_face(Model& model, int face, std::initializer_list<int> corners, int step = 1) {
  int k = 0;
  for (int vertex : corners) model.FaceVertices(face, ++k) = vertex;
  model.FaceSides(face) = k;
  model.FaceStep(face) = step;
  model.FaceFlags(face).clear();
}

// Face 2 of a prism or antiprism: the n-gon n + 1 .. 2n with face 1's step.
void set_second_base(Model& model, int n, int step) {
  for (int k = 1; k <= n; ++k) model.FaceVertices(2, k) = n + k;
  model.FaceSides(2) = n;
  model.FaceStep(2) = step;
  model.FaceFlags(2).clear();
}

}  // namespace

const char* shape_kind_name(SpecialShape::Kind kind) {
  switch (kind) {
    case SpecialShape::kPyramid: return "pyramid";
    case SpecialShape::kPrism: return "prism";
    case SpecialShape::kAntiprism: return "antiprism";
    default: return "polygon";
  }
}

void read_shape_size(std::string_view text, SpecialShape& shape) {
  FaceKind kind = RunSettings::parse_face_kind(text);
  shape.n = kind.sides;
  shape.d = kind.step;
}

std::string shape_size_problem(const SpecialShape& shape) {
  const std::string size =
      std::to_string(shape.n) + (shape.d != 1 ? "/" + std::to_string(shape.d) : "");
  if (shape.n < 3) return "Error: A polygon needs at least 3 corners, not " + size;
  if (shape.n > MaxCorners) {
    return "Error: A polygon can have at most " + std::to_string(MaxCorners) + " corners, not " +
           size;
  }
  if (shape.d < 1 || shape.d > MaxStep || shape.d >= shape.n) {
    return "Error: The step of " + size + " must be from 1 to " + std::to_string(MaxStep) +
           " and less than the number of corners";
  }
  if (std::gcd(shape.n, shape.d) != 1) {
    return "Error: " + size + " is not one star polygon: " + std::to_string(shape.n) + " and " +
           std::to_string(shape.d) + " share a factor";
  }
  return {};
}

std::string shape_base_name(const SpecialShape& shape) {
  std::string name = std::string(shape_kind_name(shape.kind)) + std::to_string(shape.n);
  if (shape.d != 1) name += "-" + std::to_string(shape.d);
  return name;
}

void build_shape(Model& model, const SpecialShape& shape) {
  const int n = shape.n;
  model.FirstVertex = 1;
  model.LastVertex = n;
  model.FaceCount = 1;
  model.LinkCount = 0;
  for (int k = 1; k <= n; ++k) model.FaceVertices(1, k) = k;
  model.FaceSides(1) = n;
  model.FaceStep(1) = shape.d;
  model.FaceFlags(1).clear();
  switch (shape.kind) {
    case SpecialShape::kPyramid:
      for (int k = 2; k <= n; ++k) set_face(model, k, {k - 1, k, n + 1});
      set_face(model, n + 1, {n, 1, n + 1});
      model.LastVertex = n + 1;
      model.FaceCount = n + 1;
      break;
    case SpecialShape::kPrism:
      set_second_base(model, n, shape.d);
      for (int j = 3; j <= n + 1; ++j) set_face(model, j, {j - 2, j - 1, n + j - 1, n + j - 2});
      set_face(model, n + 2, {n, 1, n + 1, 2 * n});
      model.LastVertex = 2 * n;
      model.FaceCount = n + 2;
      break;
    case SpecialShape::kAntiprism:
      set_second_base(model, n, shape.d);
      for (int k = 1; k <= n - 1; ++k) {
        set_face(model, k + 2, {k, k + 1, n + k});
        set_face(model, n + k + 2, {n + k, n + k + 1, k + 1});
      }
      set_face(model, n + 2, {n, 1, 2 * n});
      set_face(model, 2 * n + 2, {2 * n, 1, n + 1});
      model.LastVertex = 2 * n;
      model.FaceCount = 2 * n + 2;
      break;
    default: break;
  }
  model.FaceEntryCount = model.FaceCount;
}

}  // namespace ostrel

#include "app/special_shape.h"

#include <fstream>
#include <numeric>
#include <vector>

#include "engine/lenient_number.h"
#include "engine/model.h"
#include "engine/run_error.h"

namespace ostrel::gui {
namespace {

int nearest_integer(const QString& text) {
  try {
    return lenient_int16(text.toStdString());
  } catch (const RunError&) {
    return 0;
  }
}

void append_face(std::string& text, const std::vector<int>& corners, int step) {
  for (int corner : corners) text += std::to_string(corner) + ",";
  text += "-" + std::to_string(step) + ",\r\n";
}

}  // namespace

std::string shape_name(ShapeKind kind) {
  switch (kind) {
    case ShapeKind::kPyramid: return "pyramid";
    case ShapeKind::kPrism: return "prism";
    case ShapeKind::kAntiprism: return "antiprism";
    default: return "polygon";
  }
}

std::string shape_base_name(const SpecialShape& shape) {
  std::string name = shape_name(shape.kind) + std::to_string(shape.n);
  if (shape.d != 1) name += "-" + std::to_string(shape.d);
  return name;
}

SpecialShape read_shape_size(const QString& text, ShapeKind kind) {
  SpecialShape shape;
  shape.kind = kind;
  const qsizetype slash = text.indexOf('/');
  if (slash < 0) {
    shape.n = nearest_integer(text);
    shape.d = 1;
  } else {
    shape.n = nearest_integer(text.left(slash));
    shape.d = nearest_integer(text.mid(slash + 1, 99));
  }
  return shape;
}

QString shape_size_problem(const SpecialShape& shape) {
  if (shape.n == 0) return QStringLiteral("Please select a polygon size");
  if (shape.n < 3 || shape.n > MaxCorners) {
    return QStringLiteral("Please select a polygon size from 3 to %1").arg(MaxCorners);
  }
  if (shape.d < 1 || shape.d > MaxStep || 2 * shape.d >= shape.n ||
      std::gcd(shape.n, shape.d) != 1) {
    return QStringLiteral(
               "Please select a step d from 1 to %1, below n/2 and without a factor in common "
               "with n")
        .arg(MaxStep);
  }
  return {};
}

std::string shape_input_text(const SpecialShape& shape) {
  const int n = shape.n;
  std::string text = "' " + shape_base_name(shape) + "\r\n{\r\n";
  std::vector<int> base;
  std::vector<int> top;
  for (int k = 1; k <= n; ++k) {
    base.push_back(k);
    top.push_back(n + k);
  }
  append_face(text, base, shape.d);
  switch (shape.kind) {
    case ShapeKind::kPolygon:
      break;
    case ShapeKind::kPyramid:
      for (int k = 2; k <= n; ++k) append_face(text, {k - 1, k, n + 1}, 1);
      append_face(text, {n, 1, n + 1}, 1);
      break;
    case ShapeKind::kPrism:
      append_face(text, top, shape.d);
      for (int j = 3; j <= n + 1; ++j) append_face(text, {j - 2, j - 1, n + j - 1, n + j - 2}, 1);
      append_face(text, {n, 1, n + 1, 2 * n}, 1);
      break;
    case ShapeKind::kAntiprism:
      append_face(text, top, shape.d);
      for (int k = 1; k <= n - 1; ++k) append_face(text, {k, k + 1, n + k}, 1);
      append_face(text, {n, 1, 2 * n}, 1);
      for (int k = 1; k <= n - 1; ++k) append_face(text, {n + k, n + k + 1, k + 1}, 1);
      append_face(text, {2 * n, 1, n + 1}, 1);
      break;
  }
  text += "}\r\n";
  return text;
}

std::filesystem::path shape_run_input(const SpecialShape& shape,
                                      const std::filesystem::path& scratch_folder) {
  std::filesystem::path input = scratch_folder / (shape_base_name(shape) + ".txt");
  std::ofstream file(input, std::ios::binary | std::ios::trunc);
  file << shape_input_text(shape);
  return input;
}

}  // namespace ostrel::gui

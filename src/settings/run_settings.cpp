#include "settings/run_settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/lenient_number.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

double RunSettings::force_strength(int index) const {
  if (index < 1 || index > 6) return 0.0;
  return lenient_value(Force[static_cast<std::size_t>(index)]);
}

double RunSettings::frame_width() const {
  return lenient_value(FrameVal) * 0.01;
}

double RunSettings::weaken_limit() const {
  return (Weaken && Once) ? lenient_value(WeakenLimit) : 99.0;
}

int RunSettings::run_mode() const {
  if (SegmentCount > 1) return 1;
  if (Once && Weaken) return 3;
  if (Once) return 1;
  return 2;
}

int RunSettings::expansion_mode() const {
  switch (InflateOption) {
    case 0: return kExpandGlobal;
    case 2: return kExpandLocalOne;
    case 3: return kExpandLocalDiagonal;
    case 4: return kExpandStress;
    default: return kExpandNone;
  }
}

std::int64_t RunSettings::iteration_limit() const {
  return iteration_limit_from_exponent(lenient_value(MaxIter));
}

double RunSettings::rhombus_angle(int set) const {
  switch (set) {
    case 1: return rhombus_angle_from_text(ForceRhom, 1);
    case 2: return rhombus_angle_from_text(ForceRhom2, 2);
    default: return rhombus_angle_from_text(ForceRhom3, 3);
  }
}

FaceKind RunSettings::parse_face_kind(std::string_view text) {
  FaceKind kind;
  auto slash = text.find('/');
  if (slash == std::string_view::npos) {
    kind.sides = to_int16(lenient_value(text), text);
    kind.step = 1;
  } else {
    kind.sides = to_int16(lenient_value(text.substr(0, slash)), text);
    kind.step = to_int16(lenient_value(text.substr(slash + 1, 99)), text);
  }
  return kind;
}

double rhombus_angle_from_text(std::string_view text, int set) {
  // Rows are tested in order; a later match replaces an earlier one.
  double theta = lenient_value(text) * kPi / 180.0;
  if (text == "r30" || text == "R30") theta = std::atan(2.0);
  if (text == "mr30") theta = set == 1 ? std::atan(std::sqrt(0.8)) : std::atan(0.8);
  if (text == "r12" || text == "R12") theta = 2.0 * std::atan(std::sqrt(0.5));
  if (text.size() > 1 && (text[0] == 'P' || text[0] == 'p')) {
    std::string_view polygon = text.substr(1);
    auto slash = polygon.find('/');
    double x = lenient_value(polygon.substr(0, slash));
    double y = slash == std::string_view::npos ? 1.0 : lenient_value(polygon.substr(slash + 1));
    if (y == 0.0) y = 1.0;  // "P5/" reads as P5, not as a division by zero
    double r = x / y;
    theta = r == 0.0 ? 0.0 : (r - 2.0) * kPi / r;
  }
  if (text.empty() || text == "0") theta = 0.0;
  return theta;
}

RhombusDiagonals rhombus_diagonals(double theta) {
  double first = 2.0 * std::sin(theta / 2.0);
  double second = std::sqrt(std::max(0.0, 4.0 - first * first));
  return first <= second ? RhombusDiagonals{first, second} : RhombusDiagonals{second, first};
}

std::int64_t iteration_limit_from_exponent(double exponent) {
  constexpr double kMost = static_cast<double>(std::numeric_limits<std::int32_t>::max());
  double limit = std::pow(10.0, exponent);
  if (!(limit < kMost)) return std::numeric_limits<std::int32_t>::max();
  // A hair above the exact power, so that 10^3 computed as 999.9999... still gives 1000.
  return static_cast<std::int64_t>(std::floor(limit * (1.0 + 1e-12)));
}

}  // namespace ostrel

// End-to-end: ostrel-cli relaxes known solids from random starts with the default options, and
// the OFF files it writes are measured by a reader of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/off_reader.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

using test::Point;

Point minus(const Point& a, const Point& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
double dot(const Point& a, const Point& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// A face written in the order of its edges: each corner's angle between its two edges is the
// angle of the regular {n/d}, and every corner lies on one plane.
void expect_regular_face(const test::OffModel& model, const test::OffFace& face, int step) {
  const int n = static_cast<int>(face.corners.size());
  const double wanted = kPi * (n - 2.0 * step) / n;
  Point centre{};
  for (int corner : face.corners) {
    for (int a = 0; a < 3; ++a)
      centre[static_cast<std::size_t>(a)] +=
          model.vertices[static_cast<std::size_t>(corner)][static_cast<std::size_t>(a)] / n;
  }
  Point normal{};  // Newell's normal of the corner cycle around the outline
  for (int k = 0; k < n; ++k) {
    const Point& p =
        model.vertices[static_cast<std::size_t>(face.corners[static_cast<std::size_t>(k)])];
    const Point& q = model.vertices[static_cast<std::size_t>(
        face.corners[static_cast<std::size_t>((k + 1) % n)])];
    normal[0] += (p[1] - q[1]) * (p[2] + q[2]);
    normal[1] += (p[2] - q[2]) * (p[0] + q[0]);
    normal[2] += (p[0] - q[0]) * (p[1] + q[1]);
  }
  double length = std::sqrt(dot(normal, normal));
  for (int k = 0; k < n; ++k) {
    const Point& previous = model.vertices[static_cast<std::size_t>(
        face.corners[static_cast<std::size_t>((k + n - 1) % n)])];
    const Point& here =
        model.vertices[static_cast<std::size_t>(face.corners[static_cast<std::size_t>(k)])];
    const Point& next = model.vertices[static_cast<std::size_t>(
        face.corners[static_cast<std::size_t>((k + 1) % n)])];
    Point a = minus(previous, here);
    Point b = minus(next, here);
    double angle = std::acos(std::clamp(dot(a, b) / std::sqrt(dot(a, a) * dot(b, b)), -1.0, 1.0));
    EXPECT_NEAR(angle, wanted, 1e-4) << "corner " << k << " of a face of " << n;
    if (length > 1e-9) {
      EXPECT_NEAR(dot(minus(here, centre), normal) / length, 0.0, 1e-6) << "face not planar";
    }
  }
}

struct Solid {
  const char* name;
  double circumradius;  // 0 where the centre of the vertices is not the centre of a sphere on them
  int star_step;        // step of the faces with more than four corners that are stars
};

// The checks of a relaxed solid, read back from its OFF file.
void expect_solid(const test::OffModel& model, const Solid& solid) {
  auto reference =
      test::read_xyz(std::string(OSTREL_TEST_DATA_DIR) + "/reference/" + solid.name + ".xyz");
  ASSERT_EQ(model.vertices.size(), reference.size());

  int edge_ends = 0;
  for (const auto& face : model.faces) {
    const std::size_t n = face.corners.size();
    for (std::size_t k = 0; k < n; ++k) {
      double length =
          test::distance(model.vertices[static_cast<std::size_t>(face.corners[k])],
                         model.vertices[static_cast<std::size_t>(face.corners[(k + 1) % n])]);
      EXPECT_NEAR(length, 1.0, 1e-6);
      ++edge_ends;
    }
    expect_regular_face(model, face, n > 4 ? solid.star_step : 1);
  }
  // Every edge stands between two faces (star faces also count their outline sides as edges).
  if (solid.star_step == 1) {
    EXPECT_EQ(edge_ends, 2 * model.edge_count);
  }

  if (solid.circumradius > 0) {
    Point centre{};
    for (const auto& p : model.vertices) {
      for (std::size_t a = 0; a < 3; ++a)
        centre[a] += p[a] / static_cast<double>(model.vertices.size());
    }
    for (const auto& p : model.vertices)
      EXPECT_NEAR(test::distance(p, centre), solid.circumradius, 1e-6);
  }
  EXPECT_LT(test::distance_profile_difference(model.vertices, reference), 1e-5)
      << "not the right shape";
}

test::CommandResult run_relaxed(const std::filesystem::path& input, const test::TempDir& dir,
                                const std::vector<std::string>& options = {}) {
  std::vector<std::string> arguments{"run",    input.string(),
                                     "-o",     dir.path().string(),
                                     "--ini",  (dir.path() / "ostrel.ini").string(),
                                     "--seed", "7",
                                     "-q"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  return test::run_cli(arguments);
}

// The relaxed solid's OFF file with every coordinate moved by up to 0.05, the same way each time.
std::string moved_off_text(const test::OffModel& model) {
  std::string text = "# moved by up to 0.05\nOFF\n" + std::to_string(model.vertices.size()) + " " +
                     std::to_string(model.faces.size()) + " 0\n";
  unsigned state = 12345;
  for (const auto& p : model.vertices) {
    for (double c : p) {
      state = state * 1103515245u + 12345u;
      text += std::to_string(c + 0.05 * (static_cast<double>(state >> 8 & 0xFFFF) / 32767.5 - 1));
      text += ' ';
    }
    text += '\n';
  }
  for (const auto& face : model.faces) {
    text += std::to_string(face.corners.size());
    for (int corner : face.corners) text += " " + std::to_string(corner);
    text += '\n';
  }
  return text;
}

class RelaxedSolid : public ::testing::TestWithParam<Solid> {};

TEST_P(RelaxedSolid, HasUnitEdgesRegularFacesAndItsShape) {
  const Solid& solid = GetParam();
  test::TempDir dir;
  auto result = run_relaxed(test::example_path(std::string(solid.name) + ".txt"), dir);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  expect_solid(test::read_off(dir.path() / (std::string(solid.name) + ".off")), solid);
}

// The solid written as another program's OFF file, its points moved: relaxed from those points,
// and from random starts with --ignore-coordinates.
TEST_P(RelaxedSolid, RelaxesFromItsOffFile) {
  const Solid& solid = GetParam();
  const std::string name = solid.name;
  test::TempDir first, moved, again, random;
  ASSERT_EQ(run_relaxed(test::example_path(name + ".txt"), first).exit_code, 0);
  test::write_file(moved.path() / (name + ".off"),
                   moved_off_text(test::read_off(first.path() / (name + ".off"))));
  auto result = run_relaxed(moved.path() / (name + ".off"), again);
  ASSERT_EQ(result.exit_code, 0) << result.err;
  expect_solid(test::read_off(again.path() / (name + ".off")), solid);
  result = run_relaxed(moved.path() / (name + ".off"), random, {"--ignore-coordinates"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  expect_solid(test::read_off(random.path() / (name + ".off")), solid);
}

INSTANTIATE_TEST_SUITE_P(
    KnownSolids, RelaxedSolid,
    ::testing::Values(
        Solid{"tetrahedron", std::sqrt(6.0) / 4, 1}, Solid{"cube", std::sqrt(3.0) / 2, 1},
        Solid{"octahedron", std::sqrt(2.0) / 2, 1},
        Solid{"dodecahedron", std::sqrt(3.0) * (1 + std::sqrt(5.0)) / 4, 1},
        Solid{"icosahedron", std::sin(2 * kPi / 5), 1}, Solid{"cuboctahedron", 1.0, 1},
        Solid{"truncated_tetrahedron", std::sqrt(22.0) / 4, 1},
        Solid{"truncated_octahedron", std::sqrt(10.0) / 2, 1},
        Solid{"rhombicuboctahedron", std::sqrt(5 + 2 * std::sqrt(2.0)) / 2, 1},
        Solid{"snub_cube", 1.3437133737446, 1}, Solid{"square_pyramid", 0, 1},
        Solid{"pentagonal_pyramid", 0, 1}, Solid{"triangular_cupola", 0, 1},
        Solid{"pentagonal_bipyramid", 0, 1},
        Solid{"pentagonal_prism", std::sqrt(1 / (4 * std::pow(std::sin(kPi / 5), 2)) + 0.25), 1},
        Solid{"pentagrammic_prism", std::sqrt(1 / (4 * std::pow(std::sin(2 * kPi / 5), 2)) + 0.25),
              2},
        Solid{"heptagrammic_prism_7_3",
              std::sqrt(1 / (4 * std::pow(std::sin(3 * kPi / 7), 2)) + 0.25), 3},
        Solid{"great_stellated_dodecahedron", std::sqrt(3.0) / (1 + std::sqrt(5.0)), 2},
        Solid{"square_antiprism", 0.8226639, 1},
        Solid{"pentagonal_antiprism", std::sin(2 * kPi / 5), 1}),
    [](const auto& solid_info) { return std::string(solid_info.param.name); });

}  // namespace
}  // namespace ostrel

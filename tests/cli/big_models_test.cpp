// End-to-end: large models relax from random starts with the default options (the later
// attempts start the robust way), and the same seed gives the same files for any number of
// threads.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "support/off_reader.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::Point;

// Every edge 1 within 1e-6, every decagon regular, no two vertices closer than 0.5.
void expect_settled(const test::OffModel& model) {
  for (const auto& face : model.faces) {
    const std::size_t n = face.corners.size();
    for (std::size_t k = 0; k < n; ++k) {
      const Point& p = model.vertices[static_cast<std::size_t>(face.corners[k])];
      EXPECT_NEAR(
          test::distance(p, model.vertices[static_cast<std::size_t>(face.corners[(k + 1) % n])]),
          1.0, 1e-6);
      if (n == 10) {  // the diameter of the regular decagon
        const Point& q = model.vertices[static_cast<std::size_t>(face.corners[(k + 5) % n])];
        EXPECT_NEAR(test::distance(p, q), 1.0 / std::sin(3.14159265358979323846 / 10), 1e-6);
      }
    }
  }
  double closest = 1e9;
  for (std::size_t a = 0; a < model.vertices.size(); ++a) {
    for (std::size_t b = a + 1; b < model.vertices.size(); ++b)
      closest = std::min(closest, test::distance(model.vertices[a], model.vertices[b]));
  }
  EXPECT_GT(closest, 0.5);
}

TEST(BigModels, ChainOfTetrahedraIsTheHelix) {
  test::CliRun run(test::example_path("tetrahedron_chain_100.txt").string(), {"--seed", "1"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  const test::OffModel model = test::read_off(run.file("tetrahedron_chain_100.off"));
  ASSERT_EQ(model.vertices.size(), 100u);
  expect_settled(model);
  // Vertex n of the Boerdijk-Coxeter helix: (r cos nθ, r sin nθ, n h).
  const double theta = std::acos(-2.0 / 3.0);
  const double r = 3.0 * std::sqrt(3.0) / 10.0;
  const double h = 1.0 / std::sqrt(10.0);
  std::vector<Point> helix;
  for (int n = 0; n < 100; ++n)
    helix.push_back({r * std::cos(n * theta), r * std::sin(n * theta), n * h});
  EXPECT_LT(test::distance_profile_difference(model.vertices, helix), 1e-6);
}

TEST(BigModels, TowerOfAntiprismRingsSettles) {
  test::CliRun run(test::example_path("antiprism_tower_500.txt").string(), {"--seed", "1"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_NE(run.result.err.find("note: Attempt 3 and those after it start from a robust start"),
            std::string::npos);
  const test::OffModel model = test::read_off(run.file("antiprism_tower_500.off"));
  ASSERT_EQ(model.vertices.size(), 500u);
  expect_settled(model);
}

TEST(BigModels, SameFilesForAnyNumberOfThreads) {
  // Three attempts: two classic ones that do not settle, then a robust start, whose layout sums
  // its pairs on as many threads as there are jobs.
  const auto files = [](const std::string& jobs) {
    test::CliRun run(test::example_path("antiprism_tower_500.txt").string(),
                     {"--seed", "4", "--jobs", jobs, "--attempts", "3", "--set", "MaxIter=3.5"},
                     "SOURCE_DATE_EPOCH=0");
    EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
    return test::read_file(run.file("antiprism_tower_500.off"));
  };
  EXPECT_EQ(files("1"), files("2"));
}

}  // namespace
}  // namespace ostrel

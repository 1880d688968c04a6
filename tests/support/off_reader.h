// An OFF reader for the tests, written apart from the writer: vertices and face corner lists.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace ostrel::test {

using Point = std::array<double, 3>;

struct OffFace {
  std::vector<int> corners;
  std::array<int, 3> colour{};
};

struct OffModel {
  std::vector<Point> vertices;
  std::vector<OffFace> faces;
  int edge_count = 0;
};

// Throws std::runtime_error on anything that is not a well-formed OFF file.
OffModel read_off(const std::filesystem::path& path);
std::vector<Point> read_xyz(const std::filesystem::path& path);

double distance(const Point& a, const Point& b);

// The largest difference between the sorted pairwise distances of two point sets of the same
// size (0 for congruent sets, mirror images included).
double distance_profile_difference(const std::vector<Point>& a, const std::vector<Point>& b);

}  // namespace ostrel::test

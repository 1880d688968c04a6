#include "support/off_reader.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace ostrel::test {
namespace {

// The lines that are not comments, with their CR removed.
std::vector<std::string> content_lines(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    lines.push_back(line);
  }
  return lines;
}

}  // namespace

OffModel read_off(const std::filesystem::path& path) {
  auto lines = content_lines(path);
  if (lines.empty() || lines[0] != "OFF")
    throw std::runtime_error("no OFF line in " + path.string());
  std::istringstream counts(lines.at(1));
  int vertices = 0;
  int faces = 0;
  OffModel model;
  if (!(counts >> vertices >> faces >> model.edge_count)) throw std::runtime_error("bad counts");
  if (static_cast<int>(lines.size()) != 2 + vertices + faces)
    throw std::runtime_error("bad line count");
  for (int v = 0; v < vertices; ++v) {
    std::istringstream in(lines[static_cast<std::size_t>(2 + v)]);
    Point p{};
    if (!(in >> p[0] >> p[1] >> p[2])) throw std::runtime_error("bad vertex line");
    model.vertices.push_back(p);
  }
  for (int f = 0; f < faces; ++f) {
    std::istringstream in(lines[static_cast<std::size_t>(2 + vertices + f)]);
    int sides = 0;
    in >> sides;
    OffFace face;
    for (int k = 0; k < sides; ++k) {
      int corner = -1;
      in >> corner;
      if (corner < 0 || corner >= vertices) throw std::runtime_error("bad corner");
      face.corners.push_back(corner);
    }
    if (!(in >> face.colour[0] >> face.colour[1] >> face.colour[2]))
      throw std::runtime_error("bad colour");
    model.faces.push_back(face);
  }
  return model;
}

std::vector<Point> read_xyz(const std::filesystem::path& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot open " + path.string());
  std::vector<Point> points;
  Point p{};
  while (file >> p[0] >> p[1] >> p[2]) points.push_back(p);
  return points;
}

double distance(const Point& a, const Point& b) {
  return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                   (a[2] - b[2]) * (a[2] - b[2]));
}

double distance_profile_difference(const std::vector<Point>& a, const std::vector<Point>& b) {
  if (a.size() != b.size()) return INFINITY;
  auto profile = [](const std::vector<Point>& points) {
    std::vector<double> distances;
    for (std::size_t i = 0; i < points.size(); ++i) {
      for (std::size_t j = i + 1; j < points.size(); ++j)
        distances.push_back(distance(points[i], points[j]));
    }
    std::sort(distances.begin(), distances.end());
    return distances;
  };
  auto pa = profile(a);
  auto pb = profile(b);
  double worst = 0.0;
  for (std::size_t i = 0; i < pa.size(); ++i) worst = std::max(worst, std::fabs(pa[i] - pb[i]));
  return worst;
}

}  // namespace ostrel::test

// Nets of known solids, checked from the SVG text alone: every face once, every edge at the
// chosen length, no two faces of a page overlapping, every cut edge numbered on both of its
// sides with exactly one tab. The solids are the convex hulls of known coordinates: the
// examples' reference points, the Archimedean solids and Johnson solids built here, and prisms
// and antiprisms from 3 to 12 sides.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "output/net_file.h"

namespace ostrel {
namespace {

using Point = std::array<double, 3>;
const double kPi = std::acos(-1.0);
const double kPhi = (1 + std::sqrt(5.0)) / 2;

Point minus(Point a, Point b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(Point a, Point b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point cross(Point a, Point b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The faces of the convex hull of `points` (every plane through three points with all points on
// one side), scaled to unit edges.
NetFaces hull(std::vector<Point> points) {
  double shortest = 1e300;
  for (std::size_t i = 0; i < points.size(); ++i)
    for (std::size_t j = i + 1; j < points.size(); ++j)
      shortest = std::min(shortest, std::sqrt(dot(minus(points[i], points[j]), minus(points[i], points[j]))));
  NetFaces faces;
  for (Point& p : points) {
    for (double& c : p) c /= shortest;
    faces.positions.insert(faces.positions.end(), p.begin(), p.end());
  }
  std::vector<std::vector<int>> seen;
  const int n = static_cast<int>(points.size());
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      for (int k = j + 1; k < n; ++k) {
        Point normal = cross(minus(points[j], points[i]), minus(points[k], points[i]));
        if (dot(normal, normal) < 1e-12) continue;
        int above = 0, below = 0;
        std::vector<int> on;
        for (int m = 0; m < n; ++m) {
          const double s = dot(normal, minus(points[m], points[i])) / std::sqrt(dot(normal, normal));
          if (s > 1e-7) ++above;
          else if (s < -1e-7) ++below;
          else on.push_back(m);
        }
        if ((above && below) || std::find(seen.begin(), seen.end(), on) != seen.end()) continue;
        seen.push_back(on);
        Point centre{};
        for (int m : on)
          for (int a = 0; a < 3; ++a) centre[a] += points[m][a] / static_cast<double>(on.size());
        const Point u = minus(points[on[0]], centre), v = cross(normal, u);
        std::sort(on.begin(), on.end(), [&](int a, int b) {
          return std::atan2(dot(minus(points[a], centre), v), dot(minus(points[a], centre), u)) <
                 std::atan2(dot(minus(points[b], centre), v), dot(minus(points[b], centre), u));
        });
        faces.add_face(on, 0x3366CC, false);
      }
  return faces;
}

std::vector<Point> ring(int n, double z, double turn = 0) {
  const double r = 1 / (2 * std::sin(kPi / n));
  std::vector<Point> points;
  for (int k = 0; k < n; ++k) {
    const double a = 2 * kPi * k / n + turn;
    points.push_back({r * std::cos(a), r * std::sin(a), z});
  }
  return points;
}

std::vector<Point> join(std::vector<Point> a, const std::vector<Point>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Height of an antiprism band on n-gons, of a pyramid on an n-gon, of a cupola on n and 2n.
double antiprism_height(int n) {
  const double chord = 2 * (1 / (2 * std::sin(kPi / n))) * std::sin(kPi / (2 * n));
  return std::sqrt(1 - chord * chord);
}
double pyramid_height(int n) {
  const double r = 1 / (2 * std::sin(kPi / n));
  return std::sqrt(1 - r * r);
}
double cupola_height(int n) {
  const double r = 1 / (2 * std::sin(kPi / n)), big = 1 / (2 * std::sin(kPi / (2 * n)));
  return std::sqrt(1 - (r * r + big * big - 2 * r * big * std::cos(kPi / (2 * n))));
}
std::vector<Point> cupola_top(int n, double z, double turn = 0) {
  return ring(n, z, kPi / (2 * n) + turn);
}

// Every sign change of every permutation of `p` (even permutations only when `even`).
std::vector<Point> orbit(Point p, bool even) {
  std::vector<Point> out;
  std::array<int, 3> order{0, 1, 2};
  do {
    const int inversions = (order[0] > order[1]) + (order[0] > order[2]) + (order[1] > order[2]);
    if (even && inversions % 2) continue;
    for (int signs = 0; signs < 8; ++signs) {
      Point q;
      for (int a = 0; a < 3; ++a) q[a] = p[order[a]] * ((signs >> a & 1) ? -1 : 1);
      if (std::none_of(out.begin(), out.end(), [&](Point o) { return dot(minus(o, q), minus(o, q)) < 1e-12; }))
        out.push_back(q);
    }
  } while (std::next_permutation(order.begin(), order.end()));
  return out;
}
std::vector<Point> orbits(std::initializer_list<Point> points, bool even) {
  std::vector<Point> out;
  for (Point p : points) out = join(out, orbit(p, even));
  return out;
}

std::vector<Point> reference(const std::string& name) {
  std::ifstream in(std::string(OSTREL_TEST_DATA_DIR) + "/reference/" + name + ".xyz");
  std::vector<Point> points;
  Point p;
  while (in >> p[0] >> p[1] >> p[2]) points.push_back(p);
  return points;
}

std::map<std::string, std::vector<Point>> solids() {
  std::map<std::string, std::vector<Point>> s;
  for (const char* name : {"tetrahedron", "cube", "octahedron", "dodecahedron", "icosahedron",
                           "cuboctahedron", "truncated_tetrahedron", "truncated_octahedron",
                           "rhombicuboctahedron", "snub_cube", "square_pyramid", "pentagonal_pyramid",
                           "triangular_cupola", "pentagonal_bipyramid", "pentagonal_prism",
                           "square_antiprism", "pentagonal_antiprism"})
    s[name] = reference(name);
  const double r2 = std::sqrt(2.0), f = kPhi;
  s["truncated cube"] = orbits({{r2 - 1, 1, 1}}, false);
  s["truncated cuboctahedron"] = orbits({{1, 1 + r2, 1 + 2 * r2}}, false);
  s["icosidodecahedron"] = orbits({{0, 0, f}, {0.5, f / 2, f * f / 2}}, true);
  s["truncated dodecahedron"] = orbits({{0, 1 / f, 2 + f}, {1 / f, f, 2 * f}, {f, 2, f * f}}, true);
  s["truncated icosahedron"] = orbits({{0, 1, 3 * f}, {1, 2 + f, 2 * f}, {f, 2, f * f * f}}, true);
  s["rhombicosidodecahedron"] = orbits({{1, 1, f * f * f}, {f * f, f, 2 * f}, {2 + f, 0, f * f}}, true);
  s["truncated icosidodecahedron"] = orbits(
      {{1 / f, 1 / f, 3 + f}, {2 / f, f, 1 + 2 * f}, {1 / f, f * f, 3 * f - 1}, {2 * f - 1, 2, 2 + f}, {f, 3, 2 * f}},
      true);
  for (int n = 3; n <= 12; ++n) {
    s["prism " + std::to_string(n)] = join(ring(n, 0), ring(n, 1));
    s["antiprism " + std::to_string(n)] = join(ring(n, 0), ring(n, antiprism_height(n), kPi / n));
  }
  // Johnson solids: pyramids, cupolas and bipyramids on prisms and antiprisms.
  for (int n : {3, 4, 5}) {
    const std::string k = std::to_string(n);
    const double p = pyramid_height(n), a = antiprism_height(n);
    s["elongated pyramid " + k] = join(join(ring(n, 0), ring(n, 1)), {{0, 0, 1 + p}});
    s["elongated bipyramid " + k] = join(s["elongated pyramid " + k], {{0, 0, -p}});
    if (n != 3) s["gyroelongated pyramid " + k] = join(join(ring(n, 0), ring(n, a, kPi / n)), {{0, 0, a + p}});
    if (n != 5) s["bipyramid " + k] = join(ring(n, 0), {{0, 0, p}, {0, 0, -p}});
    const double c = cupola_height(n), a2 = antiprism_height(2 * n);
    if (n != 3) s["cupola " + k] = join(ring(2 * n, 0), cupola_top(n, c));
    s["elongated cupola " + k] = join(join(ring(2 * n, 0), ring(2 * n, -1)), cupola_top(n, c));
    s["gyroelongated cupola " + k] =
        join(join(ring(2 * n, 0), ring(2 * n, -a2, kPi / (2 * n))), cupola_top(n, c));
    s["orthobicupola " + k] = join(join(ring(2 * n, 0), cupola_top(n, c)), cupola_top(n, -c));
    if (n != 3) s["gyrobicupola " + k] = join(join(ring(2 * n, 0), cupola_top(n, c)), cupola_top(n, -c, kPi / n));
  }
  s["gyroelongated bipyramid 4"] = join(s["gyroelongated pyramid 4"], {{0, 0, -pyramid_height(4)}});
  return s;
}

struct Segment {
  net::P2 a, b;
};

std::vector<net::P2> parse_points(const std::string& text) {
  std::vector<net::P2> points;
  std::istringstream in(text);
  double x, y;
  char comma;
  while (in >> x >> comma >> y) points.push_back({x, y});
  return points;
}

// Whether the insides of two convex polygons meet: a side of one crosses a side of the other,
// or a corner or the centre of one lies well inside the other.
bool inside(const std::vector<net::P2>& polygon, net::P2 p, double margin) {
  double sign = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) {
    const net::P2 a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    const double s = cross(b - a, p - a) / length(b - a);
    if (std::abs(s) < margin || (sign != 0 && (s > 0) != (sign > 0))) return false;
    sign = s;
  }
  return true;
}
bool overlap(const std::vector<net::P2>& p, const std::vector<net::P2>& q, double margin) {
  for (std::size_t i = 0; i < p.size(); ++i)
    for (std::size_t j = 0; j < q.size(); ++j)
      if (net::segments_cross(p[i], p[(i + 1) % p.size()], q[j], q[(j + 1) % q.size()], margin)) return true;
  net::P2 centre{};
  for (auto c : p) centre = centre + c * (1.0 / static_cast<double>(p.size()));
  if (inside(q, centre, margin)) return true;
  centre = {};
  for (auto c : q) centre = centre + c * (1.0 / static_cast<double>(q.size()));
  return inside(p, centre, margin);
}

// Checks the pages of a net of `faces` at edge length `edge` mm; returns the face count seen.
int check_pages(const std::vector<std::string>& pages, const NetFaces& faces, double edge) {
  const std::regex polygon(R"re(<polygon class="(face|tab)" points="([^"]*)")re");
  const std::regex line(R"re(<line class="([a-z ]*)"[^>]* x1="([-\d.]+)" y1="([-\d.]+)" x2="([-\d.]+)" y2="([-\d.]+)")re");
  const std::regex text(R"re(<text class="pair" x="([-\d.]+)" y="([-\d.]+)"[^>]*>(\d+)<)re");
  std::vector<int> sides;
  std::map<int, int> cuts_per_number, tabs_per_number;
  for (const std::string& svg : pages) {
    std::vector<std::vector<net::P2>> face_polygons, tab_polygons;
    for (std::sregex_iterator m(svg.begin(), svg.end(), polygon), end; m != end; ++m)
      ((*m)[1] == "face" ? face_polygons : tab_polygons).push_back(parse_points((*m)[2]));
    std::vector<std::pair<net::P2, int>> numbers;
    for (std::sregex_iterator m(svg.begin(), svg.end(), text), end; m != end; ++m)
      numbers.push_back({{std::stod((*m)[1]), std::stod((*m)[2])}, std::stoi((*m)[3])});
    for (std::size_t i = 0; i < face_polygons.size(); ++i) {
      const auto& p = face_polygons[i];
      sides.push_back(static_cast<int>(p.size()));
      for (std::size_t k = 0; k < p.size(); ++k)
        EXPECT_NEAR(length(p[(k + 1) % p.size()] - p[k]), edge, 0.02) << "face " << i;
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(overlap(p, face_polygons[j], 0.02)) << "faces " << j << " and " << i;
    }
    for (std::sregex_iterator m(svg.begin(), svg.end(), line), end; m != end; ++m) {
      if ((*m)[1].str().rfind("cut", 0) != 0) continue;
      const net::P2 a{std::stod((*m)[2]), std::stod((*m)[3])}, b{std::stod((*m)[4]), std::stod((*m)[5])};
      const net::P2 middle = (a + b) * 0.5;
      const auto nearest = std::min_element(numbers.begin(), numbers.end(), [&](auto& x, auto& y) {
        return length(x.first - middle) < length(y.first - middle);
      });
      EXPECT_TRUE(nearest != numbers.end() && length(nearest->first - middle) < 0.4 * edge);
      if (nearest == numbers.end()) continue;
      ++cuts_per_number[nearest->second];
      for (const auto& tab : tab_polygons) {
        if (length(tab[0] - a) < 0.02 && length(tab[1] - b) < 0.02) ++tabs_per_number[nearest->second];
      }
    }
  }
  for (auto [number, count] : cuts_per_number) {
    EXPECT_EQ(count, 2) << "pair " << number;
    EXPECT_EQ(tabs_per_number[number], 1) << "pair " << number;
  }
  std::vector<int> expected;
  for (int f = 0; f < faces.face_count(); ++f) expected.push_back(faces.sides(f));
  std::sort(sides.begin(), sides.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sides, expected);
  return static_cast<int>(sides.size());
}

std::vector<std::string> svg_pages(const NetLayout& layout) {
  std::vector<std::string> pages;
  for (const NetPage& page : layout.pages) pages.push_back(net_page_svg(page, "test"));
  return pages;
}

TEST(NetSolids, EveryKnownSolidUnfoldsWithoutOverlapsAndWithPairedCuts) {
  int one_piece = 0, total = 0;
  for (const auto& [name, points] : solids()) {
    SCOPED_TRACE(name);
    const NetFaces faces = hull(points);
    const NetLayout layout = make_net(faces, NetOptions{8.0, "a4"});
    ASSERT_EQ(layout.problem, "");
    check_pages(svg_pages(layout), faces, 8.0);
    one_piece += layout.piece_count == 1;
    ++total;
  }
  // Splitting is the way out, not the rule.
  EXPECT_GE(one_piece, total * 3 / 4);
}

TEST(NetSolids, LargerEdgesSpreadOverPagesAndTooLargeOnesNameTheLargestThatFits) {
  const NetFaces faces = hull(reference("snub_cube"));
  const NetLayout a4 = make_net(faces, NetOptions{30.0, "a4"});
  ASSERT_EQ(a4.problem, "");
  EXPECT_EQ(a4.pages.size(), 1u);
  const NetLayout letter = make_net(faces, NetOptions{55.0, "letter"});
  ASSERT_EQ(letter.problem, "");
  EXPECT_GT(letter.pages.size(), 1u);
  EXPECT_EQ(check_pages(svg_pages(letter), faces, 55.0), 38);

  const NetLayout huge = make_net(faces, NetOptions{300.0, "a4"});
  const std::string start = "a face of this model does not fit on an A4 page at 300 mm edges; "
                            "the largest edge length that fits is ";
  ASSERT_EQ(huge.problem.rfind(start, 0), 0u) << huge.problem;
  const double largest = std::stod(huge.problem.substr(start.size()));
  EXPECT_EQ(make_net(faces, NetOptions{largest, "a4"}).problem, "");
  EXPECT_NE(make_net(faces, NetOptions{largest + 0.2, "a4"}).problem, "");
}

TEST(NetSolids, ReflexEdgesFoldAsValleys) {
  // A unit cube whose top is a square pyramid pushed into it: the four edges from the sunken apex
  // are reflex, every other edge convex.
  NetFaces dented;
  dented.positions = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 0.5, 0.5, 0.7};
  for (const std::vector<int>& face : std::vector<std::vector<int>>{
           {0, 3, 2, 1}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7},
           {4, 5, 8}, {5, 6, 8}, {6, 7, 8}, {7, 4, 8}})
    dented.add_face(face, 0x808080, false);
  EXPECT_EQ(crossing_faces_problem(dented), "");
  const NetSolid solid = net_solid(dented);
  for (int f = 0; f < solid.faces.face_count(); ++f) {
    for (int k = 0; k < solid.faces.sides(f); ++k) {
      const bool to_apex = solid.faces.corner(f, k) == 8 || solid.faces.corner(f, k + 1) == 8;
      const auto side = static_cast<std::size_t>(solid.faces.first_corner[static_cast<std::size_t>(f)] + k);
      EXPECT_EQ(solid.valley[side], to_apex ? 1 : 0) << "face " << f << " side " << k;
    }
  }
}

TEST(NetSolids, FacesThatCrossAreRefused) {
  const std::string refusal = kCrossingFacesMessage;
  // The great dodecahedron: pentagons through the five neighbours of each icosahedron vertex,
  // whose faces pass through one another although none is a star.
  const std::vector<Point> ico = reference("icosahedron");
  NetFaces dodecahedron;
  for (const Point& p : ico) dodecahedron.positions.insert(dodecahedron.positions.end(), p.begin(), p.end());
  for (const Point& v : ico) {
    std::vector<int> around;
    for (int m = 0; m < 12; ++m)
      if (std::abs(std::sqrt(dot(minus(ico[m], v), minus(ico[m], v))) - 1) < 1e-6) around.push_back(m);
    const Point u = minus(ico[around[0]], v), w = cross(v, u);
    std::sort(around.begin(), around.end(), [&](int a, int b) {
      return std::atan2(dot(ico[a], w), dot(minus(ico[a], v), u)) <
             std::atan2(dot(ico[b], w), dot(minus(ico[b], v), u));
    });
    dodecahedron.add_face(around, 0xFF0000, false);
  }
  EXPECT_EQ(crossing_faces_problem(dodecahedron), refusal);
  EXPECT_EQ(make_net(dodecahedron, NetOptions{}).problem, refusal);
  // A bow tie: a face whose sides cross.
  NetFaces bow;
  bow.positions = {0, 0, 0, 1, 1, 0, 1, 0, 0, 0, 1, 0};
  bow.add_face({0, 1, 2, 3}, 0, false);
  EXPECT_EQ(crossing_faces_problem(bow), refusal);
  EXPECT_EQ(crossing_faces_problem(hull(reference("icosahedron"))), "");
}

}  // namespace
}  // namespace ostrel

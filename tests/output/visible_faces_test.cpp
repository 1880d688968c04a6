#include "output/visible_faces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/model.h"
#include "prepare/star_polygons.h"
#include "support/output_models.h"

namespace ostrel {
namespace {

using test::kPi;

struct Triangle {
  std::array<double, 3> a, b, c;
  std::array<double, 3> normal() const {  // not normalised
    const std::array<double, 3> u{b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const std::array<double, 3> v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
  }
  std::array<double, 3> middle() const {
    return {(a[0] + b[0] + c[0]) / 3, (a[1] + b[1] + c[1]) / 3, (a[2] + b[2] + c[2]) / 3};
  }
};

Triangle triangle(const VisibleFaces& faces, std::size_t t) {
  const auto at = [&](std::size_t k) {
    const std::size_t p = faces.triangles[3 * t + k];
    return std::array<double, 3>{faces.positions[3 * p], faces.positions[3 * p + 1],
                                 faces.positions[3 * p + 2]};
  };
  return {at(0), at(1), at(2)};
}

VisibleFaces visible(const Model& model, const RunSettings& settings = {}) {
  test::MessageRecorder sink;
  return visible_faces(model, settings, {{"", "255.0.255", "128.0.255", "128.0.128"}}, sink);
}

TEST(VisibleFaces, ClosedSolidTurnsOutwardsWhicheverWayItsFacesRun) {
  Model model = test::cube();
  for (int f : {1, 4}) std::reverse(&model.FaceVertices(f, 1), &model.FaceVertices(f, 1) + 4);
  VisibleFaces faces = visible(model);
  EXPECT_TRUE(faces.closed);
  EXPECT_TRUE(faces.outward);
  ASSERT_EQ(faces.triangle_count(), 12u);
  EXPECT_EQ(faces.vertex_points, 8);
  for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
    const Triangle tri = triangle(faces, t);
    const auto n = tri.normal(), m = tri.middle();
    EXPECT_GT(n[0] * m[0] + n[1] * m[1] + n[2] * m[2], 0) << "triangle " << t << " faces inwards";
  }
  EXPECT_EQ(faces.edges.size(), 24u);  // twelve edges of two points
  // Squares take Colour4, 255.128.0.
  EXPECT_FLOAT_EQ(faces.face_rgba[4 * 2 + 1], 128.0f / 255.0f);
  EXPECT_FLOAT_EQ(faces.face_rgba[4 * 2 + 3], 1.0f);

  model.FaceFlags(3) = "B";
  faces = visible(model);
  EXPECT_FALSE(faces.closed);
  EXPECT_EQ(faces.triangle_count(), 10u);
  EXPECT_EQ(std::count(faces.triangle_faces.begin(), faces.triangle_faces.end(), 3), 0);
}

TEST(VisibleFaces, StarFaceCoversItsStarOnceAndKeepsItsColour) {
  const double radius = 1.0;
  Model model;
  test::add_polygon_vertices(model, 1, 5, radius);  // counterclockwise round the outline
  test::add_face(model, {1, 3, 5, 2, 4}, 2, "ft");    // listed along its edges
  ASSERT_EQ(order_star_corners(model, nullptr), "");
  model.FaceInputColour(1) = 0x3366CCFF | kInputColourGiven;
  RunSettings settings;
  settings.TransLevel = "0.25";
  const VisibleFaces faces = visible(model, settings);
  ASSERT_EQ(faces.triangle_count(), 10u);
  double area = 0;
  for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
    const auto n = triangle(faces, t).normal();
    EXPECT_GT(n[2], 0) << "a star listed counterclockwise faces like a polygon listed so";
    area += std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) / 2;
  }
  // Ten triangles between the centre, a point and the inner pentagon's corners.
  const double inner = radius * std::cos(2 * kPi / 5) / std::cos(kPi / 5);
  EXPECT_NEAR(area, 10 * 0.5 * radius * inner * std::sin(kPi / 5), 1e-9);
  EXPECT_FLOAT_EQ(faces.face_rgba[4 + 0], 0x33 / 255.0f);
  EXPECT_FLOAT_EQ(faces.face_rgba[4 + 2], 0xCC / 255.0f);
  EXPECT_FLOAT_EQ(faces.face_rgba[4 + 3], 0.75f);
}

TEST(VisibleFaces, StarFacesTurnAsListedAndFaceAwayFromTheCentre) {
  // {n/d} listed along its edges, whole and framed: the triangles turn as its listed edges do.
  const int stars[][2] = {{5, 2}, {5, 3}, {7, 2}, {7, 3}, {8, 3}, {3, 2}};
  for (const auto& [n, d] : stars) {
    for (const char* flags : {"", "f"}) {
      Model model;
      std::vector<int> listed;
      for (int k = 0; k < n; ++k) {
        const double angle = 2 * kPi * d * k / n;
        test::add_vertex(model, k + 1, std::cos(angle), std::sin(angle), 0);
        listed.push_back(k + 1);
      }
      test::add_face(model, listed, d, flags);
      ASSERT_EQ(order_star_corners(model, nullptr), "");
      const VisibleFaces faces = visible(model);
      ASSERT_GT(faces.triangle_count(), 0u);
      const double listed_turn = std::sin(2 * kPi * d / n);
      for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
        EXPECT_GT(triangle(faces, t).normal()[2] * listed_turn, 0)
            << "{" << n << "/" << d << "} " << flags << " triangle " << t;
      }
    }
  }
  // Two pentagrams listed alike, one above and one below the centre, whole and framed.
  for (const char* flags : {"", "f"}) {
    Model model;
    for (int k = 0; k < 10; ++k) {
      const double angle = 2 * kPi * 2 * (k % 5) / 5;
      test::add_vertex(model, k + 1, std::cos(angle), std::sin(angle), k < 5 ? 1.0 : -1.0);
    }
    test::add_face(model, {1, 2, 3, 4, 5}, 2, flags);
    test::add_face(model, {6, 7, 8, 9, 10}, 2, flags);
    ASSERT_EQ(order_star_corners(model, nullptr), "");
    const VisibleFaces faces = visible(model);
    for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
      const Triangle tri = triangle(faces, t);
      EXPECT_GT(tri.normal()[2] * tri.middle()[2], 0) << flags << " triangle " << t;
    }
  }
}

TEST(VisibleFaces, ConcaveFaceIsCutInsideItsOutline) {
  Model model;  // an L of six corners, whose fan from corner 1 would leave the outline
  const double corners[6][2] = {{1, 1}, {0, 1}, {0, 0}, {2, 0}, {2, 0.5}, {1, 0.5}};
  for (int k = 0; k < 6; ++k) test::add_vertex(model, k + 1, corners[k][0], corners[k][1], 0);
  test::add_face(model, {1, 2, 3, 4, 5, 6});
  const VisibleFaces faces = visible(model);
  ASSERT_EQ(faces.triangle_count(), 4u);
  double area = 0;
  for (std::size_t t = 0; t < faces.triangle_count(); ++t) {
    const double z = triangle(faces, t).normal()[2];
    EXPECT_GT(z, 0);
    area += z / 2;
  }
  EXPECT_NEAR(area, 1.5, 1e-12);
}

}  // namespace
}  // namespace ostrel

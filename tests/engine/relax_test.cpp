#include "engine/relax.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "input/parser.h"
#include "prepare/edge_table.h"
#include "prepare/star_polygons.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::unique_ptr<Model> prepared(std::string_view text, const RunSettings& settings = {}) {
  auto model = std::make_unique<Model>();
  model->start_pass();
  test::MessageRecorder messages;
  EXPECT_TRUE(parse_input(*model, text, ParseRequest{}, messages).ok());
  EXPECT_EQ(order_star_corners(*model, nullptr), "");
  build_edge_table(*model, settings.weaken_limit(), nullptr);
  for (int k = 1; k <= 6; ++k) model->ForceStrength(k) = settings.force_strength(k);
  return model;
}

// Corners of a regular polygon with unit edges in the plane z = 0.
void place_regular(Model& model, int first, int n) {
  double radius = 0.5 / std::sin(kPi / n);
  for (int k = 0; k < n; ++k) {
    model.VertexX(first + k) = radius * std::cos(2 * kPi * k / n);
    model.VertexY(first + k) = radius * std::sin(2 * kPi * k / n);
    model.VertexZ(first + k) = 0.0;
  }
}

TEST(RegularPolygonTables, Values) {
  const auto& t = regular_polygon_tables();
  EXPECT_NEAR(t.RegularShape(4, 1), std::sqrt(2.0), 1e-15);
  EXPECT_NEAR(t.RegularShape(6, 1), 5.0 / 3.0, 1e-12);  // corner to the mean of the far three
  EXPECT_NEAR(t.RegularShape(5, 1), 1.5388417685876268, 1e-12);  // corner to the far side
  EXPECT_NEAR(t.RegularShape(5, 2), 0.6180339887498949, 1e-12);
  EXPECT_NEAR(t.RegularInradius(4, 1), 0.5, 1e-12);
  EXPECT_EQ(t.RegularShape(3, 1), 1.0);
}

TEST(Relaxation, RegularFacesAreFixedPoints) {
  for (int n : {4, 5, 6, 7, 8, 12}) {
    std::string face = "{";
    for (int k = 1; k <= n; ++k) face += std::to_string(k) + ",";
    auto model = prepared(face + "-1,}");
    place_regular(*model, 1, n);
    Relaxation relax(*model, RunSettings{});
    double deform = 0;
    double deforp = 0;
    relax.measure(deform, deforp);
    EXPECT_NEAR(deform, 0.0, 1e-12) << n;
    EXPECT_NEAR(deforp, 0.0, 1e-12) << n;
  }
  auto star = prepared("{1,2,3,4,5,-2,}");
  // After the corner order the star's outline is a regular pentagon with sides 0.618.
  double side = 0.6180339887498949;
  for (int k = 0; k < 5; ++k) {
    int v = star->FaceVertices(1, k + 1);
    double radius = side * 0.5 / std::sin(kPi / 5);
    star->VertexX(v) = radius * std::cos(2 * kPi * k / 5);
    star->VertexY(v) = radius * std::sin(2 * kPi * k / 5);
  }
  Relaxation relax(*star, RunSettings{});
  double deform = 0;
  double deforp = 0;
  relax.measure(deform, deforp);
  EXPECT_NEAR(deform, 0.0, 1e-12);
  EXPECT_NEAR(deforp, 0.0, 1e-12);
}

TEST(Relaxation, SquareCornerIsPulledToTheDiagonalThroughTheCentre) {
  auto model = prepared("{1,2,3,4,-1,}");
  // A unit square with corner 1 pushed inward: its target lies √2 from corner 3 through the
  // centre of 2 and 4, so the deviation of corner 1 is its distance from (0, 0).
  model->VertexX(1) = 0.25;
  model->VertexY(1) = 0.25;
  model->VertexX(2) = 1;
  model->VertexY(2) = 0;
  model->VertexX(3) = 1;
  model->VertexY(3) = 1;
  model->VertexX(4) = 0;
  model->VertexY(4) = 1;
  Relaxation relax(*model, RunSettings{});
  double deform = 0;
  double deforp = 0;
  relax.measure(deform, deforp);
  double corner1 = std::sqrt(2.0) * 0.25;
  // The other corners' targets move too; corner 1's share is exactly its offset.
  EXPECT_GT(relax.motion().FaceDeviation[1], corner1 - 1e-12);
}

TEST(Relaxation, FreeFacesAndTrianglesAddNothing) {
  auto model = prepared("{n1,2,3,4,-1,N1,2,5,6,-1,3,4,7,-1,}");
  for (int v = 1; v <= 7; ++v) {
    model->VertexX(v) = v * 0.37;
    model->VertexY(v) = v * v * 0.11;
    model->VertexZ(v) = (v % 3) * 0.5;
  }
  Relaxation relax(*model, RunSettings{});
  double deform = 0;
  double deforp = 0;
  relax.measure(deform, deforp);
  EXPECT_EQ(deforp, 0.0);  // free faces and a triangle have no face term
  double expected = 0;
  for (int e = 1; e <= model->EdgeCount; ++e) {
    int f1 = model->EdgeFaces(e, 1);
    int f2 = model->EdgeFaces(e, 2);
    bool both_free = f1 > 0 && f2 > 0 && f1 != 3 && f2 != 3;
    if (both_free) continue;  // the edge 1-2 between the two free faces
    double dx =
        model->VertexX(model->EdgeVertices(e, 1)) - model->VertexX(model->EdgeVertices(e, 2));
    double dy =
        model->VertexY(model->EdgeVertices(e, 1)) - model->VertexY(model->EdgeVertices(e, 2));
    double dz =
        model->VertexZ(model->EdgeVertices(e, 1)) - model->VertexZ(model->EdgeVertices(e, 2));
    expected += std::fabs(std::sqrt(dx * dx + dy * dy + dz * dz) - model->EdgeTarget(e));
  }
  EXPECT_NEAR(deform, expected, 1e-12);
}

TEST(Relaxation, FixedRhombusAngleReplacesTheMeanShape) {
  RunSettings settings;
  settings.ForceRhom = "r30";
  auto model = prepared("{D1,2,3,4,-1,}", settings);
  place_regular(*model, 1, 4);  // a square: its mean diagonals are √2 and √2
  Relaxation relax(*model, settings);
  double deform = 0;
  double deforp = 0;
  relax.measure(deform, deforp);
  const RhombusSet& set = relax.rhombus_sets()[1];
  RhombusDiagonals golden = rhombus_diagonals(std::atan(2.0));
  EXPECT_EQ(set.count, 1);
  EXPECT_DOUBLE_EQ(set.short_target, golden.short_diagonal);
  EXPECT_DOUBLE_EQ(set.long_target, golden.long_diagonal);
  EXPECT_GT(deforp, 0.1);  // a square is far from the golden rhombus
}

TEST(Relaxation, UpdateKeepsTheModelCentred) {
  auto model = prepared("{1,2,3,4,-1,}");
  for (int v = 1; v <= 4; ++v) {
    model->VertexX(v) = v;
    model->VertexY(v) = 2 * v;
    model->VertexZ(v) = v % 2;
  }
  Relaxation relax(*model, RunSettings{});
  double deform = 0;
  double deforp = 0;
  relax.step(1, false, deform, deforp);
  double sx = 0;
  double sy = 0;
  double sz = 0;
  for (int v = 1; v <= 4; ++v) {
    sx += model->VertexX(v);
    sy += model->VertexY(v);
    sz += model->VertexZ(v);
  }
  EXPECT_NEAR(sx, 0, 1e-12);
  EXPECT_NEAR(sy, 0, 1e-12);
  EXPECT_NEAR(sz, 0, 1e-12);
  EXPECT_LE(relax.z_min(), relax.z_max());
}

}  // namespace
}  // namespace ostrel

#include "core/random.h"
#include "prepare/inflation.h"

namespace ostrel {
namespace {

TEST(Relaxation, PrestageThatOvershootsLeavesTheStartingPositions) {
  // A long strip of triangles: hundreds of pairs pull on every vertex at once.
  std::string strip = "{";
  for (int v = 1; v <= 700; ++v) {
    strip += std::to_string(v) + "," + std::to_string(v + 1) + "," + std::to_string(v + 2) + ",-1,";
  }
  auto model = prepared(strip + "}");
  auto links = std::make_unique<VertexLinkTable>();
  build_vertex_links(*model, *links, nullptr);
  auto hop = std::make_unique<HopDistanceTable>(make_hop_distance_table(model->LastVertex));
  compute_hop_distances(*model, *links, 1.0, *hop, nullptr);
  Random random(1);
  place_starting_positions(*model, RunSettings{}, random);
  std::vector<double> before;
  for (int v = 1; v <= model->LastVertex; ++v) before.push_back(model->VertexX(v));
  Relaxation relax(*model, RunSettings{});
  int passes = relax.global_prestage(*hop, 99);
  for (int v = 1; v <= model->LastVertex; ++v) {
    ASSERT_TRUE(std::isfinite(model->VertexX(v)) && std::isfinite(model->VertexY(v)) &&
                std::isfinite(model->VertexZ(v)));
  }
  EXPECT_EQ(passes, 0) << "the strip no longer overshoots: pick a larger model for this test";
  EXPECT_EQ(model->VertexX(1), before[0]);
}

}  // namespace
}  // namespace ostrel

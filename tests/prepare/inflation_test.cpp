#include "prepare/inflation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "input/parser.h"
#include "prepare/star_polygons.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

struct Prepared {
  std::unique_ptr<Model> model = std::make_unique<Model>();
  std::unique_ptr<VertexLinkTable> links = std::make_unique<VertexLinkTable>();
};

Prepared prepare(std::string_view text) {
  Prepared p;
  p.model->start_pass();
  test::MessageRecorder messages;
  EXPECT_TRUE(parse_input(*p.model, text, ParseRequest{}, messages).ok());
  EXPECT_EQ(order_star_corners(*p.model, nullptr), "");
  build_edge_table(*p.model, 99, nullptr);
  build_vertex_links(*p.model, *p.links, nullptr);
  return p;
}

const char* kCube = "{1,2,3,4,-1,5,8,7,6,-1,1,5,6,2,-1,2,6,7,3,-1,3,7,8,4,-1,4,8,5,1,-1,}";

TEST(HopDistance, CubeCountsEdgeSteps) {
  Prepared p = prepare(kCube);
  auto hop = std::make_unique<HopDistanceTable>(make_hop_distance_table());
  compute_hop_distances(*p.model, *p.links, 1.0, *hop, nullptr);
  EXPECT_FLOAT_EQ((*hop)(1, 2), 1.0f);
  EXPECT_FLOAT_EQ((*hop)(1, 3), 2.0f);  // across a face
  EXPECT_FLOAT_EQ((*hop)(1, 7), 3.0f);  // opposite corners
  EXPECT_FLOAT_EQ((*hop)(4, 4), 2.0f);  // there and back
  apply_square_root_hop(*p.model, 1.0, *hop);
  EXPECT_FLOAT_EQ((*hop)(1, 3), std::sqrt(2.0f));
  EXPECT_FLOAT_EQ((*hop)(1, 7), std::sqrt(3.0f));
}

TEST(HopDistance, BandsHoldTheirLength) {
  Prepared p = prepare("{1,2,3,4,-1,1,3,-1,}");
  auto hop = std::make_unique<HopDistanceTable>(make_hop_distance_table());
  DebugLog debug;
  compute_hop_distances(*p.model, *p.links, 1.7, *hop, &debug);
  EXPECT_FLOAT_EQ((*hop)(1, 3), 1.7f);
  EXPECT_FLOAT_EQ((*hop)(3, 1), 1.7f);
  EXPECT_EQ(debug.lines(), std::vector<std::string>{"Band found between vertices  1  and  3 "});
}

// The spreading as plainly stated: level by level over every vertex pair.
void spread_plainly(const Model& model, const VertexLinkTable& links, double band_length,
                    HopDistanceTable& hop) {
  const int first = model.FirstVertex;
  const int last = model.LastVertex;
  for (int v = first; v <= last; ++v) {
    for (int w = first; w <= last; ++w) hop(v, w) = 0.0f;
  }
  for (int e = 1; e <= model.EdgeCount; ++e) {
    int v = model.EdgeVertices(e, 1);
    int w = model.EdgeVertices(e, 2);
    hop(v, w) = hop(w, v) = static_cast<float>(model.EdgeTarget(e));
  }
  for (int b = 1; b <= model.LinkCount; ++b) {
    int v = model.FaceVertices(model.FaceCount + b, 1);
    int w = model.FaceVertices(model.FaceCount + b, 2);
    hop(v, w) = hop(w, v) = 1.0f;
  }
  for (int level = 1; level <= 50; ++level) {
    for (int v = first; v <= last; ++v) {
      for (int w = first; w <= last; ++w) {
        float h = hop(v, w);
        if (!(h > static_cast<float>(level) - 0.99f && h < static_cast<float>(level) + 0.01f))
          continue;
        for (int k = 1; k <= links.VertexLinkCount(w); ++k) {
          int x = links.VertexLinks(w, k);
          if (hop(v, x) == 0.0f) hop(v, x) = hop(x, v) = static_cast<float>(level + 1);
        }
      }
    }
  }
  for (int b = 1; b <= model.LinkCount; ++b) {
    int v = model.FaceVertices(model.FaceCount + b, 1);
    int w = model.FaceVertices(model.FaceCount + b, 2);
    hop(v, w) = hop(w, v) = static_cast<float>(band_length);
  }
}

TEST(HopDistance, FastSpreadingGivesThePlainTable) {
  std::mt19937 random(2024);
  for (int trial = 0; trial < 40; ++trial) {
    // Random faces on a few vertices (some unused, some parts apart, stars among them), bands.
    int vertices = 6 + static_cast<int>(random() % 60);
    int faces = 1 + static_cast<int>(random() % 25);
    std::string text = "{";
    for (int f = 0; f < faces; ++f) {
      int sides = 3 + static_cast<int>(random() % 4);
      bool star = sides == 5 && random() % 3 == 0;
      std::vector<int> corners;
      while (static_cast<int>(corners.size()) < sides) {
        int v = 1 + static_cast<int>(random() % vertices);
        if (std::find(corners.begin(), corners.end(), v) == corners.end()) corners.push_back(v);
      }
      for (int v : corners) text += std::to_string(v) + ",";
      text += star ? "-2," : "-1,";
    }
    int bands = static_cast<int>(random() % 3);
    for (int b = 0; b < bands; ++b) {
      const auto from = 1 + random() % vertices;
      const auto to = 1 + (from + random() % (vertices - 1)) % vertices;  // another vertex
      text += std::to_string(from) + "," + std::to_string(to) + ",-1,";
    }
    text += "}";
    Prepared p = prepare(text);
    auto fast = std::make_unique<HopDistanceTable>(make_hop_distance_table());
    auto plain = std::make_unique<HopDistanceTable>(make_hop_distance_table());
    compute_hop_distances(*p.model, *p.links, 1.25, *fast, nullptr);
    spread_plainly(*p.model, *p.links, 1.25, *plain);
    for (int v = p.model->FirstVertex; v <= p.model->LastVertex; ++v) {
      for (int w = p.model->FirstVertex; w <= p.model->LastVertex; ++w) {
        ASSERT_EQ((*fast)(v, w), (*plain)(v, w)) << "trial " << trial << " pair " << v << "," << w;
      }
    }
  }
}

TEST(HopDistance, PairsBeyondFiftyLevelsStayZero) {
  // A strip of triangles (v, v+1, v+2): vertex k is ceil((k-1)/2) steps from vertex 1.
  std::string strip = "{";
  for (int v = 1; v <= 110; ++v) {
    strip += std::to_string(v) + "," + std::to_string(v + 1) + "," + std::to_string(v + 2) + ",-1,";
  }
  strip += "}";
  Prepared p = prepare(strip);
  auto hop = std::make_unique<HopDistanceTable>(make_hop_distance_table());
  compute_hop_distances(*p.model, *p.links, 1.0, *hop, nullptr);
  EXPECT_FLOAT_EQ((*hop)(1, 5), 2.0f);
  EXPECT_FLOAT_EQ((*hop)(1, 101), 50.0f);
  EXPECT_FLOAT_EQ((*hop)(1, 103), 51.0f);
  EXPECT_FLOAT_EQ((*hop)(1, 104), 0.0f);
  EXPECT_FLOAT_EQ((*hop)(104, 1), 0.0f);
}

TEST(StartingPositions, InputSlotsThenRandomInTheCube) {
  Prepared p = prepare("{1,2,3,4,5,-1,(0.5,0,0, 1,2,3, -1,-2,-3,)}");
  RunSettings settings;
  Random random(99);
  place_starting_positions(*p.model, settings, random);
  const Model& m = *p.model;
  EXPECT_DOUBLE_EQ(m.VertexX(1), 0.5);
  EXPECT_DOUBLE_EQ(m.VertexZ(2), 3.0);
  EXPECT_DOUBLE_EQ(m.VertexY(3), -2.0);
  for (int v = 4; v <= 5; ++v) {
    for (double c : {m.VertexX(v), m.VertexY(v), m.VertexZ(v)}) {
      EXPECT_GE(c, -1.0);
      EXPECT_LT(c, 1.0);
    }
  }
  // Later isomorphs keep only slot 0... which the slots cleared (numbered like the vertices)
  // leave alone when the vertices start at 1.
  EXPECT_EQ(m.LastStartSlot, 0);
  place_starting_positions(*p.model, settings, random);
  EXPECT_DOUBLE_EQ(m.VertexX(1), 0.5);
  EXPECT_NE(m.VertexZ(2), 3.0);
}

TEST(StartingPositions, WithoutAListTheFirstVertexStartsAtTheOrigin) {
  Prepared p = prepare(kCube);
  RunSettings settings;
  Random random(5);
  place_starting_positions(*p.model, settings, random);
  EXPECT_EQ(p.model->VertexX(1), 0.0);
  EXPECT_EQ(p.model->VertexY(1), 0.0);
  EXPECT_EQ(p.model->VertexZ(1), 0.0);
  EXPECT_NE(p.model->VertexX(2), 0.0);
}

TEST(StartingPositions, FlatStarts) {
  Prepared single = prepare("{Z1,2,3,4,5,-1,}");
  RunSettings settings;
  Random random(3);
  place_starting_positions(*single.model, settings, random);
  for (int v = 1; v <= 5; ++v) EXPECT_EQ(single.model->VertexZ(v), 0.0);
  settings.incord = true;
  place_starting_positions(*single.model, settings, random);
  EXPECT_NE(single.model->VertexZ(3), 0.0);

  Prepared cube = prepare(kCube);
  RunSettings flat;
  flat.XYConfine = true;
  place_starting_positions(*cube.model, flat, random);
  for (int v = 1; v <= 8; ++v) EXPECT_EQ(cube.model->VertexZ(v), 0.0);
}

TEST(StartingPositions, VerticesAboveTheLastLinkedOneTakeNoPart) {
  Prepared p = prepare("{1,2,3,-1,}");
  p.model->LastVertex = 5;  // two vertices that no edge reaches
  EXPECT_EQ(last_linked_vertex(*p.model, *p.links), 3);
}

TEST(LocalInflation, DrawsRangesInTheirOrder) {
  RunSettings settings;
  settings.LocalOption = kLocalDifferentialRange;
  settings.LocInfMin = {"", "1", "2", "3"};
  settings.LocInfMax = {"", "1.5", "2.5", "3.5"};
  Random random(11);
  Random same(11);
  LocalInflation drawn = draw_local_inflation(settings, random);
  double second = 2 + same.uniform() * 0.5;
  double first = 1 + same.uniform() * 0.5;
  double third = 3 + same.uniform() * 0.5;
  EXPECT_DOUBLE_EQ(drawn.value[1], first);
  EXPECT_DOUBLE_EQ(drawn.value[2], second);
  EXPECT_DOUBLE_EQ(drawn.value[3], third);
  settings.LocalOption = kLocalValue;
  EXPECT_DOUBLE_EQ(draw_local_inflation(settings, random).value[1], 1.0);
}

}  // namespace
}  // namespace ostrel

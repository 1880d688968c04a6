#include "core/model.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace ostrel {
namespace {

int error_number(const std::function<void()>& access) {
  try {
    access();
  } catch (const RunError& error) {
    return error.number();
  }
  return 0;
}

TEST(ModelStore, EveryCapacityHoldsExactlyAndRefusesOneMore) {
  auto model = std::make_unique<Model>();
  Model& m = *model;
  const struct {
    const char* name;
    std::function<void()> last;
    std::function<void()> past;
  } cases[] = {
      {"vertex", [&] { m.VertexX(ModelCapacity) = 1; }, [&] { m.VertexX(ModelCapacity + 1) = 1; }},
      {"vertex flags", [&] { m.VertexFlags(ModelCapacity) += "V"; },
       [&] { m.VertexFlags(ModelCapacity + 1) += "V"; }},
      {"face", [&] { m.FaceSides(ModelCapacity) = 3; },
       [&] { m.FaceSides(ModelCapacity + 1) = 3; }},
      {"corner", [&] { m.FaceVertices(1, MaxCorners) = 1; },
       [&] { m.FaceVertices(1, MaxCorners + 1) = 1; }},
      {"edge", [&] { m.EdgeTarget(EdgeCapacity) = 1; },
       [&] { m.EdgeTarget(EdgeCapacity + 1) = 1; }},
      {"edge end", [&] { m.EdgeVertices(EdgeCapacity, 3) = 1; },
       [&] { m.EdgeVertices(EdgeCapacity, 4) = 1; }},
      {"marked edge", [&] { m.MarkedEdges(EdgeCapacity, 1) = 1; },
       [&] { m.MarkedEdges(EdgeCapacity + 1, 1) = 1; }},
      {"segment", [&] { m.SegmentAnchorMode(MaxSegments) = 1; },
       [&] { m.SegmentAnchorMode(MaxSegments + 1) = 1; }},
      {"negative index", [&] { m.VertexY(0) = 1; }, [&] { m.VertexY(-1) = 1; }},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(error_number(c.last), 0) << c.name;
    EXPECT_EQ(error_number(c.past), kSubscriptOutOfRange) << c.name;
  }
}

TEST(ModelStore, StartOfRunAndPass) {
  auto model = std::make_unique<Model>();
  Model& m = *model;
  m.FaceFlags(7) = "D";
  m.VertexFlags(3) = "V";
  m.SegmentNo = 3;
  m.MarkedEdgeCount = 5;
  m.start_pass();
  EXPECT_EQ(m.FaceFlags(7), "");
  EXPECT_EQ(m.VertexFlags(3), "");
  EXPECT_EQ(m.FirstVertex, 999);
  EXPECT_EQ(m.LastVertex, -1);
  EXPECT_EQ(m.SegmentNo, 3);        // the segments of a run go on from pass to pass
  EXPECT_EQ(m.MarkedEdgeCount, 1);  // marks belong to the segment read in this pass
  m.start_run();
  EXPECT_EQ(m.SegmentNo, 1);
  EXPECT_EQ(m.MarkedEdgeCount, 1);
  for (int segment = 1; segment <= MaxSegments; ++segment) {
    EXPECT_EQ(m.SegmentColourClass(segment), 15 + segment);
  }
}

}  // namespace
}  // namespace ostrel

#include "core/model.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/segment_store.h"

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
  SegmentStore segments;
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
      {"segment", [&] { segments.SegmentAnchorMode(MaxSegments) = 1; },
       [&] { segments.SegmentAnchorMode(MaxSegments + 1) = 1; }},
      {"negative index", [&] { m.VertexY(0) = 1; }, [&] { m.VertexY(-1) = 1; }},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(error_number(c.last), 0) << c.name;
    EXPECT_EQ(error_number(c.past), kSubscriptOutOfRange) << c.name;
  }
}

TEST(ModelStore, TablesGrowInPlaceAndUnwrittenEntriesReadEmpty) {
  auto model = std::make_unique<Model>();
  Model& m = *model;
  const Model& read = m;
  EXPECT_EQ(read.VertexZ(ModelCapacity), 0.0);
  EXPECT_EQ(read.FaceFlags(ModelCapacity), "");
  EXPECT_EQ(read.EdgeVertices(EdgeCapacity, 3), 0);
  // Filling a table entry by entry never moves what was written before.
  double& first = m.EdgeTarget(1);
  int* row = m.FaceVertices.row_data(1);
  first = 0.5;
  row[2] = 7;
  for (int e = 2; e <= EdgeCapacity; ++e) m.EdgeTarget(e) = e;
  for (int f = 2; f <= ModelCapacity; ++f) m.FaceVertices(f, 1) = f;
  EXPECT_EQ(&first, &m.EdgeTarget(1));
  EXPECT_EQ(m.FaceVertices(1, 2), 7);
  EXPECT_EQ(m.FaceVertices(1, 3), 0);
  // A copy (a finished segment is kept as one) grows in place as well.
  Model copy(m);
  double& copied = copy.VertexX(1);
  copy.VertexX(ModelCapacity) = 1.0;
  EXPECT_EQ(&copied, &copy.VertexX(1));
  EXPECT_EQ(copy.EdgeTarget(EdgeCapacity), EdgeCapacity);
  // A flat array covers the whole capacity, zero where nothing was written.
  m.VertexY(5) = 2.0;
  const double* y = m.VertexY.data();
  EXPECT_EQ(y[5], 2.0);
  EXPECT_EQ(y[ModelCapacity], 0.0);
  // A new run reads every table as new.
  m.VertexFlags(4) = "V";
  m.StartX(3) = 1.5;
  m.start_run();
  EXPECT_EQ(read.EdgeTarget(1), 0.0);
  EXPECT_EQ(read.FaceVertices(1, 2), 0);
  EXPECT_EQ(read.VertexY(5), 0.0);
  EXPECT_EQ(read.VertexFlags(4), "");
  EXPECT_EQ(read.StartX(3), 0.0);
}

TEST(ModelStore, StartOfRunAndPass) {
  auto model = std::make_unique<Model>();
  Model& m = *model;
  m.FaceFlags(7) = "D";
  m.VertexFlags(3) = "V";
  m.MarkedEdgeCount = 5;
  m.start_pass();
  EXPECT_EQ(m.FaceFlags(7), "");
  EXPECT_EQ(m.VertexFlags(3), "");
  EXPECT_EQ(m.FirstVertex, 999);
  EXPECT_EQ(m.LastVertex, -1);
  EXPECT_EQ(m.MarkedEdgeCount, 1);  // marks belong to the segment read in this pass
  m.start_run();
  EXPECT_EQ(m.MarkedEdgeCount, 1);
  SegmentStore segments;
  segments.RealmFaceNo = 3;
  segments.start_pass();
  EXPECT_EQ(segments.RealmFaceNo, 0);
  for (int segment = 1; segment <= MaxSegments; ++segment) {
    EXPECT_EQ(segments.SegmentColourClass(segment), 15 + segment);
  }
}

}  // namespace
}  // namespace ostrel

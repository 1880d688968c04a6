#include "input/parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/run_error.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

struct Parsed {
  std::unique_ptr<Model> model = std::make_unique<Model>();
  std::unique_ptr<SegmentStore> segments = std::make_unique<SegmentStore>();
  ParseResult result;
  test::MessageRecorder messages;
  DebugLog debug;
};

std::unique_ptr<Parsed> parse(std::string_view text, int segment = 1, int segment_count = 1) {
  auto parsed = std::make_unique<Parsed>();
  parsed->model->start_pass();
  ParseRequest request;
  request.segment = segment;
  request.segments = parsed->segments.get();
  request.SegmentCount = segment_count;
  request.OutputName = "model";
  request.debug = &parsed->debug;
  parsed->result = parse_input(*parsed->model, text, request, parsed->messages);
  return parsed;
}

std::vector<int> corners(const Model& model, int face) {
  std::vector<int> list;
  for (int k = 1; k <= model.FaceSides(face); ++k) list.push_back(model.FaceVertices(face, k));
  return list;
}

int run_error_number(std::string_view text) {
  try {
    parse(text);
  } catch (const RunError& error) {
    return error.number();
  }
  return 0;
}

// One row per input: the corners of face 1 and the counters the parser leaves.
struct FaceCase {
  const char* name;
  const char* text;
  std::vector<int> face1;
  int step;
  int first_vertex;
  int last_vertex;
  int face_count;
  int link_count;
};

TEST(Parser, ReadsFaceListsIntoTheTables) {
  const FaceCase cases[] = {
      {"triangle", "{1,2,3,-1,}", {1, 2, 3}, 1, 1, 3, 1, 0},
      {"pentagram", "{1,2,3,4,5,-2,}", {1, 2, 3, 4, 5}, 2, 1, 5, 1, 0},
      {"blanks inside a number", "{1 2,3,4,-1,}", {12, 3, 4}, 1, 3, 12, 1, 0},
      {"a line break inside a number", "{1\r\n2,3,4,-1,}", {12, 3, 4}, 1, 3, 12, 1, 0},
      {"every separator ends a number", "{1;2\\3/4,-1,}", {1, 2, 3, 4}, 1, 1, 4, 1, 0},
      {"letters never enter numbers", "{1k,2x,3,-1,}", {1, 2, 3}, 1, 1, 3, 1, 0},
      {"comment hides braces and separators",
       "{1,2,3,-1,' } ( [ 9,\r\n4,5,6,-1,}",
       {1, 2, 3},
       1,
       1,
       6,
       2,
       0},
      {"text before the brace is skipped", "cube 7,8,-1,\r\n{1,2,3,-1,}", {1, 2, 3}, 1, 1, 3, 1, 0},
      {"links after the faces", "{1,2,3,-1,1,3,-1,}", {1, 2, 3}, 1, 1, 3, 1, 1},
      {"vertex numbers from 0", "{0,1,2,-1,}", {0, 1, 2}, 1, 0, 2, 1, 0},
      {"step 12 on twelve corners",
       "{1,2,3,4,5,6,7,8,9,10,11,12,-12,}",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12},
       12,
       1,
       12,
       1,
       0},
      {"halves go to the even vertex", "{2.5,3.5,1,-1,}", {2, 4, 1}, 1, 1, 4, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto parsed = parse(c.text);
    ASSERT_TRUE(parsed->result.ok()) << parsed->result.message;
    const Model& model = *parsed->model;
    EXPECT_EQ(corners(model, 1), c.face1);
    EXPECT_EQ(model.FaceStep(1), c.step);
    EXPECT_EQ(model.FirstVertex, c.first_vertex);
    EXPECT_EQ(model.LastVertex, c.last_vertex);
    EXPECT_EQ(model.FaceCount, c.face_count);
    EXPECT_EQ(model.LinkCount, c.link_count);
    EXPECT_EQ(model.FaceEntryCount, c.face_count + c.link_count);
  }
}

// One row per input that the parser must refuse, with the exact message.
TEST(Parser, RefusesFaultyInputWithItsMessage) {
  const struct {
    const char* name;
    const char* text;
    const char* message;
  } cases[] = {
      {"missing comma after -1", "{1,2,3,-1\r\n4,5,6,-1,}",
       "Input error: Possible missing comma at end of line"},
      {"step 13", "{1,2,3,4,5,6,7,8,9,10,11,12,13,-13,}",
       "Input error: Possible missing comma at end of line"},
      {"step above the corner count", "{1,2,3,-4,}",
       "Input error: Possible missing comma at end of line"},
      {"end of file in the positions", "{1,2,3,-1,(0,0,0,",
       "Unexpected End of File in input, check for closing brackets"},
      {"end of file inside the braces", "{1,2,3,-1,",
       "Input error: Unexpected end of file inside the braces of segment 1, check for a missing "
       "\"}\""},
      {"no braces at all", "1,2,3,-1,",
       "Input error: No segment 1 found in input, check for a missing \"{\""},
      // Degenerate faces and misplaced links would relax into nothing or into the wrong model.
      {"two commas in a row", "{1,,2,-1,}", "Input error: Face 1: \"\" is not a vertex number"},
      {"a garbled number", "{4,5,6,-1,1,2,3,--1,}",
       "Input error: Face 2: \"--1\" is not a vertex number"},
      {"a repeated vertex", "{1,2,3,-1,1,1,2,-1,}", "Input error: Face 2 repeats vertex 1"},
      {"a link before the last face", "{1,2,3,-1,1,6,-1,4,5,6,-1,}",
       "Input error: Link 2 (1, 6) stands before face 3; links come after the last face"},
      {"an anchor alone", "{P}",
       "Input error: The model is only a point or line anchor (\"P\" or \"L\"); anchors place "
       "the segments of a model with several brace pairs"},
      {"square bracket inside the braces", "{1,2,3,-1,[1,2,-1,]}",
       "Input error: \"[\" inside the braces of segment 1; realm faces belong in the section after "
       "the last segment"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto parsed = parse(c.text);
    EXPECT_EQ(parsed->result.status, ParseStatus::kAbandoned);
    EXPECT_EQ(parsed->result.message, c.message);
  }
}

TEST(Parser, MissingCommaLeavesNoFaceCounts) {
  auto parsed = parse("{1,2,3,-1,\r\n4,5,6,-1\r\n7,8,9,-1,}");
  EXPECT_FALSE(parsed->result.ok());
  EXPECT_EQ(parsed->model->FaceCount, 0);
}

TEST(Parser, CapacitiesHoldExactlyAndRefuseOneMore) {
  EXPECT_EQ(run_error_number("{1,2,3000,-1,}"), 0);
  EXPECT_EQ(run_error_number("{1,2,3001,-1,}"), kSubscriptOutOfRange);

  std::string forty = "{";
  for (int k = 1; k <= 40; ++k) forty += std::to_string(k) + ",";
  EXPECT_EQ(run_error_number(forty + "-1,}"), 0);
  EXPECT_EQ(run_error_number(forty + "41,-1,}"), kSubscriptOutOfRange);

  std::string faces = "{";
  for (int f = 1; f <= 3000; ++f) faces += "1,2,3,-1,";
  EXPECT_EQ(run_error_number(faces + "}"), 0);
  EXPECT_EQ(run_error_number(faces + "1,2,3,-1,}"), kSubscriptOutOfRange);

  try {
    parse("{1,2,3001,-1,}");
  } catch (const RunError& error) {
    EXPECT_STREQ(error.what(), "Error: Subscript out of range.  Input file too large?");
  }
}

TEST(Parser, NumbersOutsideSixteenBitsAreAnOverflowNotAWrapAround) {
  EXPECT_EQ(run_error_number("{1,2,70000,-1,}"), kOverflow);
  EXPECT_EQ(run_error_number("{1,2,3,-40000,}"), kOverflow);
}

TEST(Parser, SeparatorsMarkTheEdgeToTheNextCorner) {
  const struct {
    const char* text;
    std::vector<std::vector<int>> rows;  // smaller end, larger end, mark
    bool cylinder;
    bool cylinder2;
  } cases[] = {
      {"{1;2,3,-1,}", {{1, 2, 1}}, false, false},
      {"{1,2,3;-1,}", {{1, 3, 1}}, false, false},  // from the last corner back to the first
      {"{3\\2,1,-1,}", {{2, 3, 2}}, true, false},
      {"{1,2/3,-1,}", {{2, 3, 3}}, false, true},
      {"{1;2;3;-1,4,5,6,-1,}", {{1, 2, 1}, {2, 3, 1}, {1, 3, 1}}, false, false},
      // A mark after the closing number belongs to no edge and must not reach the next face.
      {"{1,2,3,-1;4,5,6,7,-1,}", {}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto parsed = parse(c.text);
    ASSERT_TRUE(parsed->result.ok());
    const Model& model = *parsed->model;
    std::vector<std::vector<int>> rows;
    for (int row = 1; row < model.MarkedEdgeCount; ++row) {
      rows.push_back(
          {model.MarkedEdges(row, 1), model.MarkedEdges(row, 2), model.MarkedEdges(row, 3)});
    }
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(model.CylinderFlag, c.cylinder);
    EXPECT_EQ(model.Cylinder2Flag, c.cylinder2);
  }
}

TEST(Parser, LetterCodesGoToFacesVerticesAndFlags) {
  auto parsed = parse("{tD1,O2,r3,-1, b*4,F5,Cv6,qXA-1, V7,8,9,w-1,}");
  ASSERT_TRUE(parsed->result.ok()) << parsed->result.message;
  const Model& model = *parsed->model;
  EXPECT_EQ(model.FaceFlags(1), "ftDOQr");
  EXPECT_EQ(model.FaceFlags(2), "QbqXA");
  EXPECT_EQ(model.FaceFlags(3), "Qw");
  EXPECT_EQ(model.VertexFlags(1), "");
  EXPECT_EQ(model.VertexFlags(2), "O");  // "O" marks the face and the next vertex read
  EXPECT_EQ(model.VertexFlags(4), "*");
  EXPECT_EQ(model.VertexFlags(5), "F");
  EXPECT_EQ(model.VertexFlags(6), "Cv");
  EXPECT_EQ(model.VertexFlags(7), "V");
  EXPECT_TRUE(model.TransparentFlag);
  EXPECT_TRUE(model.CylinderFlag);
  EXPECT_TRUE(model.OrientFlag);
  EXPECT_TRUE(model.VertexHighlightFlag);
  EXPECT_TRUE(model.AugmentFlag);
  EXPECT_FALSE(model.Cylinder2Flag);
}

TEST(Parser, VertexFlagsAccumulateAcrossFaces) {
  auto parsed = parse("{V1,2,3,-1, V1,3,4,-1,}");
  EXPECT_EQ(parsed->model->VertexFlags(1), "VV");
}

TEST(Parser, StartingPositionsFillSlotsFromTheFirstVertex) {
  auto parsed = parse("{(0,0,0, 1,0,0, 1.5,1e-1,-2,) 5,6,7,-1,}");
  ASSERT_TRUE(parsed->result.ok());
  const Model& model = *parsed->model;
  EXPECT_EQ(parsed->messages.messages, std::vector<std::string>{"Reading Starting Positions"});
  EXPECT_EQ(model.LastStartSlot, 2);
  EXPECT_DOUBLE_EQ(model.StartX(1), 1.0);
  EXPECT_DOUBLE_EQ(model.StartX(2), 1.5);
  EXPECT_DOUBLE_EQ(model.StartY(2), 0.1);
  EXPECT_DOUBLE_EQ(model.StartZ(2), -2.0);
}

TEST(Parser, StartingPositionWithoutItsCommaPrefixesTheNextNumber) {
  auto parsed = parse("{(0,0,0,1)2,3,4,-1,}");
  ASSERT_TRUE(parsed->result.ok());
  EXPECT_EQ(corners(*parsed->model, 1), (std::vector<int>{12, 3, 4}));
  EXPECT_EQ(parsed->model->LastStartSlot, 0);
}

TEST(Parser, EachPositionListStartsAgainAtSlotZero) {
  auto parsed = parse("{(1,1,1,2,2,2,)1,2,3,-1,(5,5,5,)}");
  EXPECT_DOUBLE_EQ(parsed->model->StartX(0), 5.0);
  EXPECT_DOUBLE_EQ(parsed->model->StartX(1), 2.0);
  EXPECT_EQ(parsed->model->LastStartSlot, 0);
}

TEST(Parser, ReadsTheSegmentAskedFor) {
  const char* text = "{1,2,3,-1,}\r\n{4,5,6,7,-1,}\r\n[1,2,-2,1,2,-1,]";
  auto second = parse(text, 2, 2);
  ASSERT_TRUE(second->result.ok());
  EXPECT_EQ(corners(*second->model, 1), (std::vector<int>{4, 5, 6, 7}));
  EXPECT_EQ(second->model->FaceCount, 1);
  EXPECT_FALSE(second->result.realms_read);
}

TEST(Parser, LineAnchorAlongAnAxis) {
  // "L" then "X": a line segment along x with anchors at -0.5 and 0.5.
  auto parsed = parse("{1,2,3,-1,}{LX}{1,2,3,-1,}", 2, 3);
  ASSERT_TRUE(parsed->result.ok());
  const SegmentStore& model = *parsed->segments;
  EXPECT_EQ(model.SegmentAnchorMode(2), 3);
  EXPECT_TRUE(parsed->result.more_segments);
  EXPECT_EQ(model.JointVertexNext, 3);
  EXPECT_EQ(model.JointVertexNumber(1), 0);
  EXPECT_EQ(model.JointVertexNumber(2), 1);
  EXPECT_EQ(model.JointVertexSegment(2), 2);
  EXPECT_DOUBLE_EQ(model.JointVertexPos(1, 1), -0.5);
  EXPECT_DOUBLE_EQ(model.JointVertexPos(2, 1), 0.5);
  EXPECT_EQ(model.SegmentVertexEnd(2), 1);
  // An "X" outside an anchor segment is a face code.
  auto face = parse("{X1,2,3,-1,}");
  EXPECT_EQ(face->model->FaceFlags(1), "X");
}

TEST(Parser, PointAnchorAsTheLastSegmentReadsTheRealms) {
  auto parsed = parse("{1,2,3,-1,}{P V}[1,2,-2,3,0,-1,]", 2, 2);
  ASSERT_TRUE(parsed->result.ok());
  const SegmentStore& model = *parsed->segments;
  EXPECT_EQ(model.SegmentAnchorMode(2), 1);
  EXPECT_EQ(model.SegmentTrailFlags(2), "V");
  EXPECT_EQ(model.SegmentVertexEnd(2), 2);
  EXPECT_TRUE(parsed->result.realms_read);
  EXPECT_FALSE(parsed->result.more_segments);
  EXPECT_EQ(model.RealmFaceNo, 2);
  EXPECT_EQ(model.RealmFaceVertex(1, 1), 3);
  EXPECT_EQ(model.RealmFaceSegment(1, 2), 2);
}

TEST(Parser, RealmSection) {
  Model read;
  SegmentStore model;
  test::MessageRecorder messages;
  ParseRequest request;
  request.realm_only = true;
  request.segments = &model;
  request.SegmentCount = 2;
  // The first face gives its segments before -2; the second reuses them.
  std::string text =
      "{1,2,3,-1,}{1,2,3,-1,}\r\n[ 1,1,2,2,-2, 1,2,2,1,-1, y\r\n 3,2,-1, 'comment ]\r\n -7, ]";
  ParseResult result = parse_input(read, text, request, messages);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_TRUE(result.realms_read);
  EXPECT_EQ(model.RealmFaceNo, 3);
  const int vertices[] = {1, 2, 2, 1};
  const int segments[] = {1, 1, 2, 2};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(model.RealmFaceVertex(1, k), vertices[k - 1]);
    EXPECT_EQ(model.RealmFaceSegment(1, k), segments[k - 1]);
  }
  EXPECT_EQ(model.RealmFaceFlags(2), "Qy");
  EXPECT_EQ(model.RealmFaceVertex(2, 1), 3);
  EXPECT_EQ(model.RealmFaceSegment(2, 2), 1);
}

TEST(Parser, RealmFaceWithAFifthCornerIsRefused) {
  Model read;
  SegmentStore model;
  test::MessageRecorder messages;
  ParseRequest request;
  request.realm_only = true;
  request.segments = &model;
  request.SegmentCount = 2;
  ParseResult result = parse_input(read, "{}{}[1,2,3,4,5,-1,]", request, messages);
  EXPECT_EQ(result.status, ParseStatus::kAbandoned);
  EXPECT_EQ(result.message, "Input file error: Realm face can have at most four vertices");
  EXPECT_FALSE(result.realms_read);
}

TEST(Parser, UnclosedRealmSection) {
  Model read;
  SegmentStore model;
  test::MessageRecorder messages;
  ParseRequest request;
  request.realm_only = true;
  request.segments = &model;
  request.SegmentCount = 2;
  request.OutputName = "pair";
  ParseResult result = parse_input(read, "{}{}[1,2,-1,", request, messages);
  EXPECT_EQ(result.status, ParseStatus::kRealmSectionUnclosed);
  EXPECT_EQ(result.message, "W05: pair  Segmented VRML file written");
  EXPECT_FALSE(result.realms_read);
}

TEST(Parser, DebugLinesForMarksAndVertexFlags) {
  auto parsed = parse("{V1,2\\3;-1,}");
  ASSERT_TRUE(parsed->result.ok());
  EXPECT_EQ(parsed->debug.lines(),
            (std::vector<std::string>{"Vertex: 1  Flags:V",
                                      "Cylinder edge identified between vertices: 2  and  3 ",
                                      "Highlight edge identified between vertices: 1  and  3 "}));
}

TEST(Parser, BaseNameEndsAtTheFirstDot) {
  EXPECT_EQ(input_base_name("/tmp/models/cube.v2.txt"), "cube");
  EXPECT_EQ(input_base_name("snub"), "snub");
}

}  // namespace
}  // namespace ostrel

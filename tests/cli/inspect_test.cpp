// End-to-end: ostrel-cli inspect on the bundled examples and on faulty inputs.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace ostrel {
namespace {

using test::run_cli;

std::string data_path(const std::string& name) {
  return std::string(OSTREL_TEST_DATA_DIR) + "/" + name;
}

std::string inspect_json(const std::string& example, std::vector<std::string> extra = {}) {
  std::vector<std::string> arguments{"inspect", test::example_path(example).string(), "--json"};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  auto result = run_cli(arguments);
  EXPECT_EQ(result.exit_code, 0) << result.err;
  return result.out;
}

void expect_contains(const std::string& text, const std::string& part) {
  EXPECT_NE(text.find(part), std::string::npos) << "missing " << part << "\nin " << text;
}

TEST(CliInspect, ReportsTheTablesOfTheExamples) {
  const struct {
    const char* example;
    std::vector<std::string> parts;
  } cases[] = {
      {"cube.txt",
       {R"("first_vertex":1,"last_vertex":8,"face_count":6,"link_count":0)",
        R"({"sides":4,"step":1,"flags":"","vertices":[5,8,7,6]})", R"("segment_count":1)",
        R"("marked_edges":[])", R"("start_positions":[])"}},
      {"pentagrammic_prism.txt",
       {R"({"sides":5,"step":2,"flags":"","vertices":[1,2,3,4,5]})", R"("face_count":7)"}},
      {"octahedron_marks.txt",
       {R"("face_count":8,"link_count":1)", R"({"sides":2,"step":1,"flags":"","vertices":[1,6]})",
        R"("flags":"Qh","vertices":[6,3,2])", R"("vertex_flags":{"4":"V"})",
        R"("marked_edges":[[1,2,1],[3,4,2],[1,5,3]])"}},
      {"square_start.txt", {R"("start_positions":[[0,0,0],[1,0,0],[1,1,0],[0,1,0]])"}},
      {"two_triangles_realm.txt", {R"("segment_count":2)", R"("face_count":1)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.example);
    std::string json = inspect_json(c.example);
    for (const auto& part : c.parts) expect_contains(json, part);
  }
}

TEST(CliInspect, SegmentsAndRealms) {
  std::string second = inspect_json("two_triangles_realm.txt", {"--segment", "2", "--realms"});
  expect_contains(second, R"("segment":2)");
  expect_contains(second,
                  R"("realm_faces":[{"vertices":[1,2,2,1],"segments":[1,1,2,2],"flags":"Qy"}])");
  auto missing = run_cli(
      {"inspect", test::example_path("two_triangles_realm.txt").string(), "--segment", "3"});
  EXPECT_EQ(missing.exit_code, 1);
}

TEST(CliInspect, ReadableTextByDefault) {
  auto result = run_cli({"inspect", test::example_path("octahedron_marks.txt").string()});
  ASSERT_EQ(result.exit_code, 0);
  expect_contains(result.out, "link 9: 2 corners, step 1: 1 6\n");
  expect_contains(result.out, "marked edge 3-4 cylinder\n");
}

TEST(CliInspect, FaultyInputsGiveTheSystemsMessageAndExitOne) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"inspect", data_path("missing_comma.txt")},
       "Input error: Possible missing comma at end of line\n"},
      {{"inspect", data_path("step13.txt")},
       "Input error: Possible missing comma at end of line\n"},
      {{"inspect", data_path("realm_five_corners.txt"), "--realms"},
       "Input file error: Realm face can have at most four vertices\n"},
      {{"inspect", data_path("six_segments.txt"), "--segment", "6"},
       "Input error: A model can have at most 5 segments; this input has 6\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments[1]);
    auto result = run_cli(c.arguments);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, c.message);
    EXPECT_EQ(result.out, "");
  }
}

TEST(CliInspect, ModelPastACapacityIsRefused) {
  test::TempDir dir;
  std::string exact = "{";
  std::string over = "{";
  for (int face = 1; face <= 3000; ++face) exact += "1,2,3,-1,\r\n";
  over = exact + "1,2,3,-1,\r\n}";
  exact += "}";
  test::write_file(dir.path() / "exact.txt", exact);
  test::write_file(dir.path() / "over.txt", over);
  EXPECT_EQ(run_cli({"inspect", (dir.path() / "exact.txt").string()}).exit_code, 0);
  auto result = run_cli({"inspect", (dir.path() / "over.txt").string()});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err.substr(0, result.err.find('\n')),
            "Error: Subscript out of range.  Input file too large?");
}

TEST(CliInspect, BadUsageExitsTwo) {
  EXPECT_EQ(run_cli({"inspect"}).exit_code, 2);
  EXPECT_EQ(run_cli({"inspect", "x.txt", "--no-such-option"}).exit_code, 2);
  EXPECT_EQ(run_cli({}).exit_code, 2);
  EXPECT_EQ(run_cli({"inspect", "/nonexistent/model.txt"}).exit_code, 1);
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(CliInspect, PreparedModelShowsEdgesAndLinks) {
  auto result = test::run_cli(
      {"inspect", test::example_path("pentagrammic_prism.txt").string(), "--prepared", "--json"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const std::string& json = result.out;
  // The pentagram's corners in the order around its outline, its outline and star edges.
  EXPECT_NE(json.find(R"({"sides":5,"step":2,"flags":"","vertices":[1,3,5,2,4]})"),
            std::string::npos);
  EXPECT_NE(json.find(R"({"ends":[1,2],"mark":0,"faces":[1,3],"class":2,"target":1})"),
            std::string::npos);
  EXPECT_NE(json.find(R"({"ends":[1,3],"mark":0,"faces":[1,0],"class":1,"target":0.6180339887498)"),
            std::string::npos);
  EXPECT_NE(json.find(R"("1":[3,4,5,2,6])"), std::string::npos);
  EXPECT_NE(json.find(R"("last_linked_vertex":10)"), std::string::npos);

  auto weakened = test::run_cli({"inspect", test::example_path("cube.txt").string(), "--prepared",
                                 "--set", "Weaken=1", "--set", "Once=1", "--set", "WeakenLimit=2"});
  EXPECT_EQ(weakened.exit_code, 1);
  EXPECT_NE(weakened.err.find("Error: Invalid value for Weaken Limit."), std::string::npos);
}

}  // namespace
}  // namespace ostrel

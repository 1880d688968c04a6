// The run from the engine's side: its messages, write points and buttons, with a recording host.
#include "engine/run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/test_support.h"

namespace ostrel {
namespace {

struct Fixture {
  test::TempDir dir;
  test::RecordingHost host;
  RunRequest request;

  explicit Fixture(const std::string& input_text, std::uint64_t seed = 3) {
    test::write_file(dir.path() / "model.txt", input_text);
    request.input = dir.path() / "model.txt";
    request.output_folder = dir.path();
    request.seed = seed;
    request.limits.attempts = 5;
    request.limits.new_isomorphs = 1;
    // The OFF file alone: the engine's write points are what these tests are about.
    request.settings.SolidVRML = request.settings.FrameVRML = request.settings.SwitchVRML = false;
    request.settings.AnimVRML = request.settings.CylVRML = false;
  }
  RunReport run() { return ostrel::run(request, host); }
};

const char* kCube = "{1,2,3,4,-1,5,8,7,6,-1,1,5,6,2,-1,2,6,7,3,-1,3,7,8,4,-1,4,8,5,1,-1,}";
const char* kPyramid = "{1,2,3,4,5,-1,1,2,6,-1,2,3,6,-1,3,4,6,-1,4,5,6,-1,5,1,6,-1,}";

bool contains(const std::vector<std::string>& list, const std::string& text) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

TEST(Run, WritesTheSettledModel) {
  Fixture f(kCube);
  RunReport report = f.run();
  ASSERT_EQ(report.end, RunEnd::kFinished);
  ASSERT_EQ(report.isomorphs.size(), 1u);
  EXPECT_EQ(report.isomorphs[0].outcome, IsomorphOutcome::kNew);
  EXPECT_LT(report.isomorphs[0].deform, 1e-10);
  ASSERT_EQ(report.files.size(), 1u);
  EXPECT_EQ(report.files[0], f.dir.path() / "model.off");
  EXPECT_TRUE(f.host.messages.empty());  // isomorph runs write without a message
}

TEST(Run, OnceEndsWithW11) {
  Fixture f(kCube);
  f.request.settings.Once = true;
  RunReport report = f.run();
  EXPECT_EQ(f.host.messages, std::vector<std::string>{"W11: model  VRML files written"});
  EXPECT_EQ(report.files.size(), 1u);
}

TEST(Run, SameSeedSameBytes) {
  Fixture a(kPyramid, 42);
  Fixture b(kPyramid, 42);
  a.run();
  b.run();
  EXPECT_EQ(test::read_file(a.dir.path() / "model.off"),
            test::read_file(b.dir.path() / "model.off"));
}

TEST(Run, SecondIsomorphOfACubeIsADuplicate) {
  Fixture f(kCube);
  f.request.limits.new_isomorphs = 2;
  f.request.limits.attempts = 2;
  RunReport report = f.run();
  ASSERT_EQ(report.isomorphs.size(), 2u);
  EXPECT_EQ(report.isomorphs[0].outcome, IsomorphOutcome::kNew);
  EXPECT_EQ(report.isomorphs[1].outcome, IsomorphOutcome::kDuplicate);
  EXPECT_EQ(report.isomorphs[1].number, 2);
  EXPECT_TRUE(contains(f.host.labels, "Duplicate Isomorph"));
  EXPECT_EQ(report.files.size(), 1u);
}

TEST(Run, IterationLimitFromMaxIter) {
  for (auto [max_iter, iterations] : {std::pair{"0", 1}, {"2.5", 316}}) {
    Fixture f(kCube);
    f.request.settings.MaxIter = max_iter;
    f.request.limits.attempts = 1;
    RunReport report = f.run();
    ASSERT_EQ(report.isomorphs.size(), 1u);
    EXPECT_EQ(report.isomorphs[0].iterations, iterations) << max_iter;
  }
}

TEST(Run, WeakeningWithoutAWeakenableEdgeStops) {
  Fixture f(kCube);
  f.request.settings.Weaken = true;
  f.request.settings.Once = true;
  f.request.settings.WeakenLimit = "2";
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kError);
  EXPECT_EQ(
      f.host.messages,
      std::vector<std::string>{
          "Error: Invalid value for Weaken Limit.  No sides can be weakened.  There must be at "
          "least one edge where both adjacent polygons have a number of sides less than or "
          "equal to the Weaken Limit"});
}

TEST(Run, WeakenedRunEndsWithW10UnderItsSuffix) {
  Fixture f(kPyramid);
  f.request.settings.Weaken = true;
  f.request.settings.Once = true;
  f.request.settings.WeakenLimit = "3";
  RunReport report = f.run();
  EXPECT_EQ(f.host.messages, std::vector<std::string>{"W10: model  VRML files written"});
  ASSERT_EQ(report.files.size(), 1u);
  EXPECT_EQ(report.files[0].filename(), "model_weaken3.off");
}

TEST(Run, CentroidVerticesMustBeFour) {
  Fixture three("{C1,C2,C3,-1,1,3,4,-1,1,4,2,-1,2,4,3,-1,}");
  three.run();
  EXPECT_EQ(three.host.messages,
            std::vector<std::string>{"Error: Exactly 4 centroid vertices must be defined"});
  Fixture four("{C1,C2,C3,-1,1,3,C4,-1,1,4,2,-1,2,4,3,-1,}");
  four.run();
  EXPECT_TRUE(four.host.messages.empty());
}

TEST(Run, FailedWritesAreReportedWithoutACompletionMessage) {
  Fixture f(kCube);
  f.request.settings.Once = true;
  f.request.output_folder = f.dir.path() / "missing";
  f.run();
  std::string path = (f.dir.path() / "missing" / "model.off").string();
  EXPECT_EQ(f.host.prompts,
            std::vector<std::string>{"OSTREL has come across error, attempting to resume 76"});
  EXPECT_EQ(f.host.messages,
            (std::vector<std::string>{"Ostrel has come across an Error.  Code: 76File: " + path}));
}

TEST(Run, CancelAtThePromptEndsTheRunSilently) {
  Fixture f(kCube);
  f.request.settings.Once = true;
  f.request.output_folder = f.dir.path() / "missing";
  f.host.resume = false;
  RunReport report = f.run();
  EXPECT_EQ(f.host.prompts.size(), 1u);
  EXPECT_TRUE(f.host.messages.empty());
  EXPECT_EQ(report.end, RunEnd::kError);
}

TEST(Run, CoincidentVerticesAreNotWritten) {
  // Two triangles on one edge, flat and without inflation: started on the same side of the
  // edge, their third corners meet.
  bool seen = false;
  for (std::uint64_t seed = 1; seed <= 20 && !seen; ++seed) {
    Fixture f("{1,2,3,-1,1,2,4,-1,}", seed);
    f.request.settings.XYConfine = true;
    f.request.settings.InflateOption = 1;
    f.request.limits.attempts = 1;
    RunReport report = f.run();
    if (report.isomorphs.empty() || report.isomorphs[0].outcome != IsomorphOutcome::kCoincident)
      continue;
    seen = true;
    EXPECT_TRUE(contains(f.host.labels, "Co-incident vertices found"));
    EXPECT_TRUE(report.files.empty());
  }
  EXPECT_TRUE(seen) << "no seed folded the two triangles";
}

TEST(Run, ButtonsActOnceAtThePoll) {
  Fixture plain(kCube);
  plain.run();
  Fixture pressed(kCube);
  pressed.host.poll_hook = [](ButtonPresses& buttons, int poll) {
    buttons.more_f1 = buttons.less_f1 = poll == 1;
  };
  pressed.run();
  // More F1 then Less F1 at one poll leaves the strength as it was: the same model comes out.
  EXPECT_EQ(test::read_file(plain.dir.path() / "model.off").substr(200),
            test::read_file(pressed.dir.path() / "model.off").substr(200));
}

TEST(Run, QuitWritesNothingAndSaysNothing) {
  Fixture f(kCube);
  f.host.next_presses.quit = true;
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kQuit);
  EXPECT_TRUE(report.files.empty());
  EXPECT_TRUE(f.host.messages.empty());
  EXPECT_EQ(f.host.last_iteration, 10);
}

TEST(Run, WriteOnRequest) {
  Fixture f(kCube);
  f.host.poll_hook = [](ButtonPresses& buttons, int poll) { buttons.write = poll == 3; };
  RunReport report = f.run();
  EXPECT_EQ(f.host.messages, std::vector<std::string>{"W12: model VRML files written"});
  EXPECT_GE(report.files.size(), 2u);  // the request, then the settled model
}

TEST(Run, InputFaultsEndTheRunWithTheirMessage) {
  Fixture f("{1,2,3,-1\r\n4,5,6,-1,}");
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kError);
  EXPECT_EQ(f.host.messages,
            std::vector<std::string>{"Input error: Possible missing comma at end of line"});
}

TEST(Run, TooLargeInputStopsWithTheSubscriptMessage) {
  Fixture f("{1,2,3001,-1,}");
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kError);
  EXPECT_EQ(f.host.prompts,
            std::vector<std::string>{"OSTREL has come across error, attempting to resume 9"});
  EXPECT_EQ(f.host.messages,
            std::vector<std::string>{"Error: Subscript out of range.  Input file too large?"});
}

TEST(Run, DebugLogRecordsThePreparation) {
  Fixture f("{V1,2,3,-1,1,3,4,-1,1,4,2,-1,2,4,3,-1,}");
  f.request.settings.Debug = true;
  f.run();
  std::string log = test::read_file(f.dir.path() / "model_debug.txt");
  EXPECT_EQ(log.substr(0, 19), "OSTREL Debug File\r\n");
  for (const char* line :
       {"Vertex: 1  Flags:V\r\n", "sides  4 \r\n",
        "edge: 1 vertices: 1  and  2 sides: 1  and  3 length: 1  strength: 1 \r\n",
        "expand : 1 \r\n", "maxvert : 4 \r\n", "d4fac : 1 \r\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(Run, LocalInflationEndsAndTheModelSettles) {
  for (int item : {2, 3}) {  // "Local 'one'" and "Local Diagonal"
    Fixture f(kCube, 1);
    f.request.settings.InflateOption = item;
    RunReport report = f.run();
    ASSERT_FALSE(report.isomorphs.empty());
    EXPECT_EQ(report.isomorphs.back().outcome, IsomorphOutcome::kNew) << item;
    EXPECT_EQ(report.files.size(), 1u) << item;
  }
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(Run, ReReadTakesTheFileAsItIsNow) {
  Fixture f(kCube);
  std::filesystem::path input = f.request.input;
  f.host.poll_hook = [input](ButtonPresses& buttons, int poll) {
    if (poll != 1) return;
    test::write_file(input, "{1,2,3,-1,1,3,4,-1,1,4,2,-1,2,4,3,-1,}");  // now a tetrahedron
    buttons.reread = true;
  };
  RunReport report = f.run();
  ASSERT_EQ(report.files.size(), 1u);
  EXPECT_NE(test::read_file(report.files[0]).find("\r\n 4  4  6 \r\n"), std::string::npos);
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(Run, UserDataBlockCarriesTheRunOptions) {
  for (bool userdata : {true, false}) {
    Fixture f(kCube);
    f.request.settings.SolidVRML = true;
    f.request.settings.Userdata = userdata;
    f.request.settings.Weaken = true;
    f.request.settings.WeakenLimit = "4";
    f.run();
    std::string solid = test::read_file(f.dir.path() / "model_solid_weaken4.wrl");
    EXPECT_EQ(solid.find("# USERDATA information\r\n") != std::string::npos, userdata);
    if (!userdata) continue;
    for (const char* line :
         {"# input file: model.txt\r\n", "# Inflation: Global\r\n", "# Weaken side Limit: 4\r\n",
          "# Collapse Stars :not asked\r\n", "# END OF USER DATA\r\n"}) {
      EXPECT_NE(solid.find(line), std::string::npos) << line;
    }
  }
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(Run, MoreThanFiveSegmentsAreRefused) {
  Fixture f("{1,2,3,-1,}{1,2,3,-1,}{1,2,3,-1,}{1,2,3,-1,}{1,2,3,-1,}{1,2,3,-1,}");
  f.request.settings.SegmentCount = 6;
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kError);
  EXPECT_EQ(f.host.messages,
            std::vector<std::string>{
                "Input error: A model can have at most 5 segments; this input has 6"});
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(Run, ForcesThatOvershootEndTheRunWithTheOverflowMessage) {
  Fixture f(kCube);
  f.request.settings.Force[2] = "0";  // the weakened-face strength divides by Force2
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kError);
  EXPECT_EQ(f.host.prompts,
            std::vector<std::string>{"OSTREL has come across error, attempting to resume 6"});
  EXPECT_EQ(f.host.messages,
            std::vector<std::string>{"Error: Overflow.  Try reducing some Force Strengths"});
  EXPECT_TRUE(report.files.empty());
}

TEST(Run, CentroidVerticesAreNotCheckedForAModelWrittenAsEntered) {
  Fixture f("{C1,C2,C3,-1,1,3,4,-1,1,4,2,-1,2,4,3,-1,(0,0,0,1,0,0,0,1,0,0,0,1,)}");
  f.request.settings.incord = true;
  f.run();
  EXPECT_EQ(f.host.messages,
            (std::vector<std::string>{"Reading Starting Positions",
                                      "W08: model  VRML files written as entered"}));
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(Run, OnceAtTheIterationLimitWritesTheModelAsItStands) {
  Fixture f(kCube);
  f.request.settings.Once = true;
  f.request.settings.MaxIter = "1";  // ten iterations: far from settled
  f.request.limits.attempts = 0;     // as in the desktop program: no limit of attempts
  RunReport report = f.run();
  ASSERT_EQ(report.isomorphs.size(), 1u);
  EXPECT_EQ(report.isomorphs[0].iterations, 10);
  EXPECT_EQ(report.files.size(), 1u);
  EXPECT_EQ(f.host.messages, std::vector<std::string>{"W11: model  VRML files written"});
}

TEST(Run, WeakenWithoutOnceWeakensNothingAndRuns) {
  Fixture f(kCube);
  f.request.settings.Weaken = true;
  f.request.settings.WeakenLimit = "3";  // no triangles: would refuse the run with Once
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kFinished);
  ASSERT_EQ(report.files.size(), 1u);
  EXPECT_EQ(report.files[0].filename(), "model_weaken3.off");
}

TEST(Run, AnchorAsTheLastSegmentWithoutItsRealmSectionIsWritten) {
  Fixture f("{1,2,3,-1,}{P}");
  f.request.settings.SegmentCount = 2;
  RunReport report = f.run();
  EXPECT_EQ(report.end, RunEnd::kFinished);
  EXPECT_EQ(f.host.messages, std::vector<std::string>{"W05: model  Segmented VRML file written"});
  EXPECT_EQ(report.files.size(), 2u);  // the segmented VRML file and the 4OFF file
}

TEST(Run, SquareRootOfANegativeHopIsAnInvalidCall) {
  // A band of negative length (the front ends refuse it; the engine still must not make NaNs).
  Fixture f("{1,2,3,-1,2,3,4,-1,3,4,1,-1,4,1,2,-1,1,3,-1,}");
  f.request.settings.SqrtHop = true;
  f.request.settings.BandLen = "-1";
  f.run();
  EXPECT_EQ(f.host.prompts,
            std::vector<std::string>{"OSTREL has come across error, attempting to resume 5"});
}

}  // namespace
}  // namespace ostrel

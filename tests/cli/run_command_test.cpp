// End-to-end: ostrel-cli run, its files, messages, report and exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdlib>

#include "support/off_reader.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::Point;

std::string data_path(const std::string& name) {
  return std::string(OSTREL_TEST_DATA_DIR) + "/" + name;
}

using test::CliRun;

TEST(CliRun, WrittenAsEnteredMatchesTheGoldenFile) {
  CliRun run(data_path("incord_pyramid.txt"), {"--incord"}, "SOURCE_DATE_EPOCH=0");
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_EQ(test::read_file(run.file("incord_pyramid.off")),
            test::read_file(std::string(OSTREL_TEST_DATA_DIR) + "/../golden/incord_pyramid.off"));
  EXPECT_NE(run.result.err.find("W08: incord_pyramid  VRML files written as entered\n"),
            std::string::npos);
  EXPECT_EQ(run.result.out.substr(0, run.result.out.find('\n')),
            run.file("incord_pyramid.off").string());
}

TEST(CliRun, SameSeedGivesTheSameBytes) {
  CliRun first(test::example_path("snub_cube.txt"), {"--seed", "99"}, "SOURCE_DATE_EPOCH=86400");
  CliRun second(test::example_path("snub_cube.txt"), {"--seed", "99"}, "SOURCE_DATE_EPOCH=86400");
  ASSERT_EQ(first.result.exit_code, 0);
  std::string bytes = test::read_file(first.file("snub_cube.off"));
  EXPECT_EQ(bytes, test::read_file(second.file("snub_cube.off")));
  EXPECT_NE(bytes.find("Generation Date: 01-02-1970\r\n"), std::string::npos);
  EXPECT_EQ(first.result.err.find("seed:"), std::string::npos);  // a given seed is not echoed
  CliRun clocked(test::example_path("tetrahedron.txt"), {});
  EXPECT_NE(clocked.result.err.find("seed: "), std::string::npos);
}

TEST(CliRun, ReportSummarisesTheRun) {
  test::TempDir reports;
  CliRun run(test::example_path("cube.txt"),
             {"--seed", "5", "--isomorphs", "2", "--attempts", "2", "--report",
              (reports.path() / "report.json").string()});
  std::string json = test::read_file(reports.path() / "report.json");
  EXPECT_NE(json.find("\"seed\":\"5\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"number\":1,\"iterations\":"), std::string::npos);
  EXPECT_NE(json.find("\"outcome\":\"new\""), std::string::npos);
  EXPECT_NE(json.find("\"outcome\":\"duplicate\""), std::string::npos);
  EXPECT_NE(json.find("cube.off\""), std::string::npos);
}

TEST(CliRun, ExitStatusAndMessages) {
  CliRun missing_comma(data_path("missing_comma.txt"), {});
  EXPECT_EQ(missing_comma.result.exit_code, 1);
  EXPECT_NE(missing_comma.result.err.find("Input error: Possible missing comma at end of line\n"),
            std::string::npos);

  CliRun bad_set(test::example_path("cube.txt"), {"--set", "NoSuchControl=1"});
  EXPECT_EQ(bad_set.result.exit_code, 2);
  EXPECT_NE(bad_set.result.err.find("no control is named \"NoSuchControl\""), std::string::npos);

  CliRun bad_inflate(test::example_path("cube.txt"), {"--inflate", "sideways"});
  EXPECT_EQ(bad_inflate.result.exit_code, 2);

  CliRun no_input(data_path("no_such_file.txt"), {});
  EXPECT_EQ(no_input.result.exit_code, 1);

  CliRun no_attempts(test::example_path("cube.txt"), {"--attempts", "0"});
  EXPECT_EQ(no_attempts.result.exit_code, 2);
  EXPECT_NE(no_attempts.result.err.find("Value 0 not in range 1 to 2147483647\n"),
            std::string::npos)
      << no_attempts.result.err;

  CliRun once(test::example_path("cube.txt"), {"--once", "--seed", "1", "--set", "Debug=1"});
  EXPECT_EQ(once.result.exit_code, 0);
  EXPECT_NE(once.result.err.find("W11: cube  VRML files written\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(once.file("cube_debug.txt")));  // --set and flags together
}

TEST(CliRun, OptionsTheFormRefusesAreRefusedBeforeTheRun) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--glob-lim", "0.5"}, "Error: Global Limit must be >= 1\n"},
      {{"--band-length", "-1"}, "Error: Band Length must be > 0\n"},
      {{"--augment", "4"}, "Error: You must choose an Augment Option\n"},
      {{"--weaken", "2"}, "Error: Weaken limit must be >=3\n"},
  };
  for (const auto& [options, message] : cases) {
    CliRun run(test::example_path("cube.txt"), options);
    EXPECT_EQ(run.result.exit_code, 2);
    EXPECT_EQ(run.result.err, message);
    EXPECT_FALSE(std::filesystem::exists(run.file("cube.off")));
  }
  // An input with segments greys these options on the form; here they are dropped with a word.
  CliRun segmented(test::example_path("anchored_square.txt"),
                   {"--seed", "1", "--weaken", "2", "--gltf"});
  EXPECT_EQ(segmented.result.exit_code, 0) << segmented.result.err;
  EXPECT_NE(segmented.result.err.find(
                "Warning: Once, Weaken, GltfFile ignored: the input has segments\n"),
            std::string::npos)
      << segmented.result.err;
}

TEST(CliRun, OutputFolderIsMadeBeforeTheRun) {
  test::TempDir dir;
  const auto run_into = [&](const std::filesystem::path& folder) {
    return test::run_cli({"run", test::example_path("cube.txt").string(), "-o", folder.string(),
                          "--ini", (dir.path() / "ostrel.ini").string(), "--once", "--seed", "1",
                          "-q"});
  };
  auto made = run_into(dir.path() / "new" / "folder");
  EXPECT_EQ(made.exit_code, 0) << made.err;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "new" / "folder" / "cube.off"));

  test::write_file(dir.path() / "a_file", "");
  auto refused = run_into(dir.path() / "a_file" / "below");
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(refused.err.rfind("Error: Cannot make the output folder ", 0), 0u) << refused.err;
  EXPECT_EQ(refused.err.find("W11"), std::string::npos);
}

std::string quoted(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

// Runs a shell command line; its exit status.
int shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CliRun, FilesTheRunCouldNotWriteEndWithStatusOne) {
  test::TempDir dir;
  const std::filesystem::path folder = dir.path() / "café";
  const std::string cube_run = quoted(OSTREL_CLI_PATH) + " run " +
                               quoted(test::example_path("cube.txt")) + " -o " + quoted(folder) +
                               " --ini " + quoted(dir.path() / "ostrel.ini") +
                               " --once --seed 1 -q";
  const std::filesystem::path report = dir.path() / "report.json";
  ASSERT_EQ(shell(cube_run + " --report " + quoted(report) + " >/dev/null 2>&1"), 0);
  EXPECT_NE(test::read_file(report).find("café/cube.off\""), std::string::npos);  // kept UTF-8

  const std::filesystem::path err = dir.path() / "err.txt";
  EXPECT_EQ(shell(cube_run + " --report /nonexistent/r.json >/dev/null 2>" + quoted(err)), 1);
  EXPECT_NE(test::read_file(err).find("Error: Cannot write the report /nonexistent/r.json\n"),
            std::string::npos);
  EXPECT_EQ(shell(cube_run + " --report /dev/full >/dev/null 2>/dev/null"), 1);
  EXPECT_EQ(shell(cube_run + " >/dev/full 2>" + quoted(err)), 1);
  EXPECT_NE(test::read_file(err).find("Error: Cannot write to standard output\n"),
            std::string::npos);
}

TEST(CliRun, DashReadsTheInputFromStandardInput) {
  test::TempDir dir;
  const int status = shell(quoted(OSTREL_CLI_PATH) + " run - -o " + quoted(dir.path()) +
                           " --ini " + quoted(dir.path() / "ostrel.ini") + " --once --seed 1 -q <" +
                           quoted(test::example_path("tetrahedron.txt")) + " >/dev/null 2>&1");
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "stdin.off"));
}

// Installed, the program stands alone in a folder (read-only, or written only by root): the
// settings go to the user's ~/.config/ostrel. A portable copy with ostrel.ini beside it keeps
// using that file.
TEST(CliRun, InstalledProgramKeepsItsSettingsPerUser) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.path() / "bin");
  std::filesystem::copy_file(OSTREL_CLI_PATH, dir.path() / "bin" / "ostrel-cli");
  const auto run_installed = [&](const std::string& home) {
    return shell("cd " + quoted(dir.path()) + " && env -u XDG_CONFIG_HOME HOME=" + home + " " +
                 quoted(dir.path() / "bin" / "ostrel-cli") + " run " +
                 quoted(test::example_path("tetrahedron.txt")) +
                 " --once --seed 1 -q >/dev/null 2>err.txt");
  };
  EXPECT_EQ(run_installed(quoted(dir.path() / "home")), 0);
  EXPECT_EQ(test::read_file(dir.path() / "err.txt").find("settings"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "home/.config/ostrel/ostrel.ini"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "bin" / "ostrel.ini"));

  test::write_file(dir.path() / "bin" / "ostrel.ini", "end \r\n");
  EXPECT_EQ(run_installed(quoted(dir.path() / "home2")), 0);
  EXPECT_EQ(test::read_file(dir.path() / "err.txt").find("settings"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "home2"));
}

// The acute angle of each rhombus of the file, with its edges checked to be 1.
std::vector<double> rhombus_angles(const test::OffModel& model) {
  std::vector<double> angles;
  for (const auto& face : model.faces) {
    EXPECT_EQ(face.corners.size(), 4u);
    const Point& a = model.vertices[static_cast<std::size_t>(face.corners[0])];
    const Point& b = model.vertices[static_cast<std::size_t>(face.corners[1])];
    const Point& c = model.vertices[static_cast<std::size_t>(face.corners[2])];
    const Point& d = model.vertices[static_cast<std::size_t>(face.corners[3])];
    for (auto [p, q] : {std::pair{a, b}, {b, c}, {c, d}, {d, a}})
      EXPECT_NEAR(test::distance(p, q), 1.0, 1e-6);
    double short_diagonal = std::min(test::distance(a, c), test::distance(b, d));
    angles.push_back(2 * std::asin(short_diagonal / 2));
  }
  return angles;
}

TEST(CliRun, RhombusSetsSettleToTheirForcedAngles) {
  const double kPi = 3.14159265358979323846;
  const struct {
    const char* input;
    std::vector<std::string> options;
    double angle;
  } cases[] = {
      {"rhombic_dodecahedron.txt",
       {"--seed", "1", "--set", "ForceRhom=r12"},
       2 * std::atan(std::sqrt(0.5))},
      // The golden rhombus closes into the Bilinski dodecahedron.
      {"rhombic_dodecahedron.txt",
       {"--seed", "2", "--set", "ForceRhom=r30", "--once", "--inflate", "none"},
       std::atan(2.0)},
      {"rhombohedron_d.txt",
       {"--seed", "1", "--set", "ForceRhom2=72", "--once", "--inflate", "none"},
       72 * kPi / 180},
      {"rhombohedron_q.txt",
       {"--seed", "1", "--set", "ForceRhom3=P5", "--once", "--inflate", "none"},
       72 * kPi / 180},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    CliRun run(data_path(c.input), c.options);
    ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
    std::string name = std::string(c.input).substr(0, std::string(c.input).find('.'));
    for (double angle : rhombus_angles(test::read_off(run.file(name + ".off"))))
      EXPECT_NEAR(angle, c.angle, 1e-6);
  }
}

TEST(CliRun, DistortedHexagonSettlesToItsDiagonals) {
  CliRun run(data_path("distorted_hexagon.txt"), {"--xy", "--seed", "1"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  test::OffModel model = test::read_off(run.file("distorted_hexagon.off"));
  const auto& c = model.faces.at(0).corners;
  auto at = [&](int k) {
    return model.vertices[static_cast<std::size_t>(c[static_cast<std::size_t>(k % 6)])];
  };
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(test::distance(at(k), at(k + 1)), 1.0, 1e-6);
  std::vector<double> diagonals{test::distance(at(0), at(3)), test::distance(at(1), at(4)),
                                test::distance(at(2), at(5))};
  std::sort(diagonals.begin(), diagonals.end());
  // Two long diagonals agree (the pair); the odd one follows from their mean.
  double pair = diagonals[1] - diagonals[0] < diagonals[2] - diagonals[1]
                    ? (diagonals[0] + diagonals[1]) / 2
                    : (diagonals[1] + diagonals[2]) / 2;
  double odd =
      diagonals[1] - diagonals[0] < diagonals[2] - diagonals[1] ? diagonals[2] : diagonals[0];
  EXPECT_NEAR(odd, 2 * std::sqrt(1 - (pair * pair - 1) / 4) + 1, 1e-6);
}

TEST(CliRun, WeakenedRunWritesItsSuffix) {
  CliRun run(test::example_path("pentagonal_pyramid.txt"), {"--weaken", "3", "--seed", "1"});
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_TRUE(std::filesystem::exists(run.file("pentagonal_pyramid_weaken3.off")));
  EXPECT_NE(run.result.err.find("W10: pentagonal_pyramid  VRML files written\n"),
            std::string::npos);
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

test::CommandResult run_shape(const test::TempDir& dir, std::vector<std::string> words) {
  std::vector<std::string> arguments{"shape"};
  arguments.insert(arguments.end(), words.begin(), words.end());
  for (std::string extra : {std::string("-o"), dir.path().string(), std::string("--ini"),
                            (dir.path() / "ostrel.ini").string(), std::string("-q"),
                            std::string("--seed"), std::string("1")}) {
    arguments.push_back(extra);
  }
  return test::run_cli(arguments);
}

TEST(CliShape, RunsASimpleShapeWithoutAFile) {
  test::TempDir dir;
  auto prism = run_shape(dir, {"prism", "5"});
  ASSERT_EQ(prism.exit_code, 0) << prism.err;
  test::OffModel model = test::read_off(dir.path() / "prism5.off");
  EXPECT_EQ(model.vertices.size(), 10u);
  EXPECT_EQ(model.faces.size(), 7u);
  auto star = run_shape(dir, {"antiprism", "5/2"});
  ASSERT_EQ(star.exit_code, 0) << star.err;
  EXPECT_EQ(test::read_off(dir.path() / "antiprism5-2.off").faces.size(), 12u);

  auto shared = run_shape(dir, {"prism", "6/2"});
  EXPECT_EQ(shared.exit_code, 2);
  EXPECT_EQ(shared.err, "Error: 6/2 is not one star polygon: 6 and 2 share a factor\n");
  EXPECT_EQ(run_shape(dir, {"cube", "4"}).exit_code, 2);
}

TEST(CliRun, AugmentedModelSettles) {
  CliRun run(test::example_path("augmented_pentagrammic_prism.txt"),
             {"--seed", "1", "--set", "AugmentColour=0"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  test::OffModel model = test::read_off(run.file("augmented_pentagrammic_prism.off"));
  EXPECT_EQ(model.vertices.size(), 12u);
  EXPECT_EQ(model.faces.size(), 17u);
  for (const auto& face : model.faces) {
    const std::size_t n = face.corners.size();
    for (std::size_t k = 0; k < n; ++k) {
      EXPECT_NEAR(
          test::distance(model.vertices[static_cast<std::size_t>(face.corners[k])],
                         model.vertices[static_cast<std::size_t>(face.corners[(k + 1) % n])]),
          1.0, 1e-6);
    }
    if (n == 3) {
      // "Original" gives the code of the base face's corner count: five corners, the pentagon
      // colour.
      EXPECT_EQ(face.colour, (std::array<int, 3>{0, 255, 0}));
    }
  }
}

TEST(CliRun, SegmentedModelWritesTheFourDimensionalOff) {
  CliRun run(test::example_path("anchored_square.txt"),
             {"--seed", "1", "--segment", "2:edge=2,flip=x"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_NE(run.result.err.find("W02: anchored_square segmented VRML file written\n"),
            std::string::npos);
  std::string off = test::read_file(run.file("anchored_square.off"));
  EXPECT_EQ(off.substr(0, 6), "4OFF\r\n");
  EXPECT_NE(off.find(" 6  3 0 0\r\n"), std::string::npos);

  CliRun negative(test::example_path("anchored_square.txt"), {"--segment", "1:edge=-1"});
  EXPECT_EQ(negative.result.exit_code, 2);
  EXPECT_EQ(negative.result.err, "Error: Segment 1 edge length must be >= 0\n");
  CliRun comma(test::example_path("anchored_square.txt"), {"--set", "SegEdge(5)=1,5"});
  EXPECT_EQ(comma.result.exit_code, 2);
  EXPECT_EQ(comma.result.err, "Dorvik, stop putting numbers in with commas!\n");
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

TEST(CliRun, AugmentFlags) {
  CliRun run(test::example_path("pentagrammic_prism.txt"),
             {"--seed", "1", "--augment", "5/2", "--augment-option", "remove", "--augment-colour",
              "triangle"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  test::OffModel model = test::read_off(run.file("pentagrammic_prism.off"));
  EXPECT_EQ(model.vertices.size(), 12u);
  EXPECT_EQ(model.faces.size(), 15u);  // the pentagrams removed: five squares, ten triangles
  EXPECT_TRUE(std::filesystem::exists(run.file("pentagrammic_prism_solid_aug.wrl")));
}

}  // namespace
}  // namespace ostrel

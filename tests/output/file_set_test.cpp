#include "output/file_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/model.h"
#include "core/run_error.h"
#include "engine/orientation.h"
#include "output/generation_date.h"
#include "output/output_file.h"
#include "support/output_models.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::cube;
using test::ErrorRecorder;

OutputContext cube_context(const std::filesystem::path& folder) {
  OutputContext context;
  context.OutputDirectory = folder;
  context.OutputName = "cube";
  return context;
}

std::set<std::string> files_in(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

TEST(FileSetNames, SuffixesAndPaths) {
  RunSettings settings;
  EXPECT_EQ(WeakenSuffix(settings), "");
  settings.Weaken = true;
  settings.WeakenLimit = "2.50";  // the text as typed, not a number
  EXPECT_EQ(WeakenSuffix(settings), "_weaken2.50");
  settings.Augment = true;
  settings.Smooth = true;
  EXPECT_EQ(VariantSuffix(settings, true), "_weaken2.50_stress_aug_smooth");
  EXPECT_EQ(StyleSuffix(""), "");
  EXPECT_EQ(StyleSuffix(" "), "");
  EXPECT_EQ(StyleSuffix("solid"), "_solid");

  settings = RunSettings{};
  settings.Weaken = true;
  settings.Augment = true;
  settings.FrameSuffix = " ";
  OutputContext context = cube_context("out");
  EXPECT_EQ(off_file_path(settings, context), std::filesystem::path("out") / "cube_weaken3.off");
  EXPECT_EQ(vrml_file_path(settings, context, VrmlStyle::kSolid),
            std::filesystem::path("out") / "cube_solid_weaken3_aug.wrl");
  context.StressPass = true;
  EXPECT_EQ(vrml_file_path(settings, context, VrmlStyle::kFrame),
            std::filesystem::path("out") / "cube_weaken3_stress_aug.wrl");

  const std::pair<VrmlStyle, const char*> styles[] = {
      {VrmlStyle::kSolid, "cube_solid.wrl"},       {VrmlStyle::kAnim, "cube_anim.wrl"},
      {VrmlStyle::kFrame, "cube_frame.wrl"},       {VrmlStyle::kSwitch, "cube_switch.wrl"},
      {VrmlStyle::kCylinder, "cube_cylinder.wrl"},
  };
  for (const auto& [style, name] : styles) {
    EXPECT_EQ(vrml_file_path(RunSettings{}, cube_context("out"), style),
              std::filesystem::path("out") / name);
  }
}

TEST(FileSet, WritesEveryVrmlStyleInEachPass) {
  struct Case {
    bool stress_pass;
    std::string blank_suffixes;      // styles whose suffix text is one blank: s a f w c
    std::vector<std::string> files;  // in the order written
  };
  const Case cases[] = {
      {false,
       "",
       {"cube.off", "cube_solid.wrl", "cube_anim.wrl", "cube_frame.wrl", "cube_switch.wrl",
        "cube_cylinder.wrl"}},
      {true,
       "",
       {"cube_solid_stress.wrl", "cube_anim_stress.wrl", "cube_frame_stress.wrl",
        "cube_switch_stress.wrl", "cube_cylinder_stress.wrl"}},
      // Styles without a suffix share one name; the last one written wins.
      {false,
       "sawc",
       {"cube.off", "cube.wrl", "cube.wrl", "cube_frame.wrl", "cube.wrl", "cube.wrl"}},
  };
  for (const Case& c : cases) {
    test::TempDir folder;
    Model model = cube();
    RunSettings settings;
    settings.StressMap = c.stress_pass;
    for (char style : c.blank_suffixes) {
      (style == 's'   ? settings.SolidSuffix
       : style == 'a' ? settings.AnimSuffix
       : style == 'f' ? settings.FrameSuffix
       : style == 'w' ? settings.SwitchSuffix
                      : settings.CylSuffix) = " ";
    }
    OutputContext context = cube_context(folder.path());
    context.StressPass = c.stress_pass;
    test::FileSetHost host;
    ErrorRecorder errors;
    std::vector<std::string> names;
    for (const WrittenFile& file : write_file_set(model, settings, context, host, errors)) {
      names.push_back(file.path.filename().string());
    }
    EXPECT_EQ(names, c.files);
    EXPECT_TRUE(errors.errors.empty());
    if (c.blank_suffixes.empty()) continue;
    // The cylinder file, written last, draws spheres and cylinders but no face sets.
    const std::string shared = test::read_file(folder.path() / "cube.wrl");
    EXPECT_EQ(shared.find("coordIndex["), std::string::npos);
    EXPECT_NE(shared.find("     DEF Balls Shape {"), std::string::npos);
  }
}

TEST(FileSet, DummySphereIsDecidedForTheWholeCall) {
  // A lower-case "v" asks for the sphere step, which then finds no "V" vertex to draw: no file of
  // the call gets the dummy sphere, not even those whose own step drew spheres or did not run.
  test::TempDir folder;
  Model model = cube();
  model.VertexFlags(1) = "v";
  test::FileSetHost host;
  ErrorRecorder errors;
  const auto files =
      write_file_set(model, RunSettings{}, cube_context(folder.path()), host, errors);
  ASSERT_EQ(files.size(), 6u);
  for (const WrittenFile& file : files) {
    if (file.path.extension() != ".wrl") continue;
    EXPECT_EQ(test::read_file(file.path).find("# Dummy sphere"), std::string::npos)
        << file.path.filename();
  }
}

TEST(FileSet, WritesTheOffFileUnderItsName) {
  struct Case {
    void (*adjust)(RunSettings&, OutputContext&);
    std::set<std::string> files;
  };
  const Case cases[] = {
      {[](RunSettings&, OutputContext&) {}, {"cube.off"}},
      {[](RunSettings& s, OutputContext&) { s.Weaken = true, s.WeakenLimit = "2.5"; },
       {"cube_weaken2.5.off"}},
      {[](RunSettings& s, OutputContext&) { s.Augment = true, s.Smooth = true; }, {"cube.off"}},
      {[](RunSettings&, OutputContext& c) { c.OutputName = "cube_isom2"; }, {"cube_isom2.off"}},
      {[](RunSettings& s, OutputContext&) { s.OffFile = false; }, {}},
      {[](RunSettings&, OutputContext& c) { c.SegmentCount = 2; }, {}},
      {[](RunSettings& s, OutputContext& c) { s.StressMap = true, c.StressPass = true; }, {}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    test::TempDir folder;
    Model model = cube();
    RunSettings settings = test::settings_with_styles({});
    OutputContext context = cube_context(folder.path());
    cases[i].adjust(settings, context);
    test::FileSetHost host;
    ErrorRecorder errors;
    const auto written = write_file_set(model, settings, context, host, errors);
    EXPECT_EQ(files_in(folder.path()), cases[i].files) << i;
    ASSERT_EQ(written.size(), cases[i].files.size()) << i;
    if (!written.empty()) {
      EXPECT_EQ(written[0].kind, OutputKind::kOff);
      EXPECT_EQ(test::read_file(written[0].path).substr(0, 5), "OFF\r\n");
    }
    EXPECT_TRUE(errors.errors.empty()) << i;
  }
}

TEST(FileSet, MissingFolderGoesToTheErrorHandler) {
  test::TempDir folder;
  Model model = cube();
  const OutputContext context = cube_context(folder.path() / "missing");
  test::FileSetHost host;
  ErrorRecorder errors;
  EXPECT_TRUE(write_file_set(model, test::settings_with_styles({}), context, host, errors).empty());
  EXPECT_EQ(errors.errors,
            std::vector<std::string>{"76 Ostrel has come across an Error.  Code: 76File: " +
                                     (folder.path() / "missing" / "cube.off").string()});
  EXPECT_TRUE(files_in(folder.path()).empty());

  errors.stop = true;
  EXPECT_THROW(write_file_set(model, RunSettings{}, context, host, errors), RunStopped);
}

TEST(OutputFile, LeavesTheOldFileWhenWritingFails) {
  test::TempDir folder;
  const std::filesystem::path path = folder.path() / "cube.off";
  test::write_file(path, "good\r\n");
  const auto half_then = [](auto fail) {
    return [fail](std::ostream& out) {
      out << "half a ";
      fail(out);
    };
  };
  // A stream that fails part way, as on a full disk; and a writer stopped by a run error.
  try {
    write_output_file(path, half_then([](std::ostream& out) { out.setstate(std::ios::badbit); }));
    ADD_FAILURE();
  } catch (const RunError& error) {
    EXPECT_EQ(error.what(), "Ostrel has come across an Error.  Code: 75File: " + path.string());
  }
  EXPECT_THROW(write_output_file(path, half_then([](std::ostream&) { throw_overflow_error(""); })),
               RunError);
  EXPECT_EQ(test::read_file(path), "good\r\n");
  EXPECT_EQ(files_in(folder.path()), std::set<std::string>{"cube.off"});  // no temporary left

  write_output_file(path, [](std::ostream& out) { out << "new\r\n"; });
  EXPECT_EQ(test::read_file(path), "new\r\n");
  EXPECT_EQ(files_in(folder.path()), std::set<std::string>{"cube.off"});
}

TEST(RhombusColours, OverrideGivesSquaresAndEqualShapesOneColour) {
  const RhombusDiagonals square{std::sqrt(2.0), std::sqrt(2.0)};
  const RhombusDiagonals thin{0.5, std::sqrt(3.75)};
  const RhombusDiagonals wide{1.0, std::sqrt(3.0)};
  const RhombusDiagonals none{};
  struct Case {
    bool override_on;
    std::array<RhombusDiagonals, 4> diagonals;
    std::array<std::string, 4> colours;
  };
  const Case cases[] = {
      {false, {none, square, square, thin}, {"", "A", "B", "C"}},
      {true, {none, square, thin, wide}, {"", "S", "B", "C"}},
      {true, {none, thin, square, thin}, {"", "A", "S", "A"}},
      {true, {none, thin, wide, wide}, {"", "A", "B", "B"}},
      {true, {none, wide, wide, wide}, {"", "A", "A", "A"}},
      {true, {none, thin, wide, none}, {"", "A", "B", "C"}},
  };
  for (const auto& c : cases) {
    RunSettings settings;
    settings.RhomCol1 = "A";
    settings.RhomCol2 = "B";
    settings.RhomCol3 = "C";
    settings.Colour4 = "S";
    settings.RhomColO = c.override_on;
    EXPECT_EQ(choose_rhombus_colours(settings, c.diagonals).set, c.colours);
  }
}

TEST(Orientation, TurnsTheFootPointOfTheFVerticesOntoThePositiveZAxis) {
  struct Case {
    std::vector<int> flagged;
    std::vector<int> foot_of;  // vertices whose centre is the foot point
    double height;
  };
  const Case cases[] = {
      {{1}, {1}, std::sqrt(0.75)},        // the vertex itself
      {{1, 2}, {1, 2}, std::sqrt(0.5)},   // the midpoint of their edge
      {{1, 2, 4}, {1, 2, 3, 4}, 0.5},     // the centre of their face
      {{1, 2, 4, 8}, {1, 2, 3, 4}, 0.5},  // a fourth "F" vertex is not used
  };
  for (const auto& c : cases) {
    Model model = cube();
    for (int v : c.flagged) model.VertexFlags(v) = "F";
    OrientationStep(model);
    double x = 0, y = 0, z = 0;
    for (int v : c.foot_of) {
      x += model.VertexX(v) / static_cast<double>(c.foot_of.size());
      y += model.VertexY(v) / static_cast<double>(c.foot_of.size());
      z += model.VertexZ(v) / static_cast<double>(c.foot_of.size());
    }
    EXPECT_NEAR(x, 0.0, 1e-12);
    EXPECT_NEAR(y, 0.0, 1e-12);
    EXPECT_NEAR(z, c.height, 1e-12);
    EXPECT_NEAR(std::hypot(model.VertexX(1) - model.VertexX(8), model.VertexY(1) - model.VertexY(8),
                           model.VertexZ(1) - model.VertexZ(8)),
                std::sqrt(3.0), 1e-12);
  }
}

TEST(Orientation, TurnsTheTVertexOntoPositiveYAndMirrorsForR) {
  Model model = cube();
  model.VertexFlags(8) = "F";
  model.VertexFlags(1) = "T";
  Model mirrored = model;
  OrientationStep(model);
  EXPECT_NEAR(model.VertexZ(8), std::sqrt(0.75), 1e-12);
  EXPECT_NEAR(model.VertexX(1), 0.0, 1e-12);
  EXPECT_GT(model.VertexY(1), 0.0);

  const int left = model.VertexX(2) < 0 ? 2 : 3;  // 2 and 3 lie on either side of x = 0
  ASSERT_LT(model.VertexX(left), -0.1);
  mirrored.VertexFlags(left) = "R";
  OrientationStep(mirrored);
  for (int v = 1; v <= 8; ++v) {
    EXPECT_NEAR(mirrored.VertexX(v), -model.VertexX(v), 1e-12);
    EXPECT_NEAR(mirrored.VertexY(v), model.VertexY(v), 1e-12);
  }
}

// The stress pass belongs to the write point of the ordinary pass before it. The model is
// written as the run turned it: the writer leaves an "F" vertex where it stands.
TEST(FileSet, BeepsInTheOrdinaryPassOnlyAndLeavesTheModelAsItIs) {
  test::TempDir folder;
  Model model = cube();
  model.VertexFlags(8) = "F";
  model.OrientFlag = true;
  const double z8 = model.VertexZ(8);
  RunSettings settings;
  settings.BeepIt = true;
  OutputContext context = cube_context(folder.path());
  test::FileSetHost host;
  ErrorRecorder errors;
  write_file_set(model, settings, context, host, errors);
  context.StressPass = true;
  write_file_set(model, settings, context, host, errors);
  EXPECT_EQ(model.VertexZ(8), z8);
  EXPECT_EQ(host.beeps, 3);
}

TEST(GenerationDate, IsMonthDayYear) {
  EXPECT_EQ(generation_date_from_epoch(951782400), "02-29-2000");
  EXPECT_EQ(generation_date_from_epoch(-1), "12-31-1969");
  const char* saved = std::getenv("SOURCE_DATE_EPOCH");
  const std::string saved_value = saved ? saved : "";
  setenv("SOURCE_DATE_EPOCH", "0", 1);
  EXPECT_EQ(generation_date(), "01-01-1970");
  setenv("SOURCE_DATE_EPOCH", "soon", 1);  // not a number: today's date
  EXPECT_NE(generation_date(), "01-01-1970");
  if (saved) {
    setenv("SOURCE_DATE_EPOCH", saved_value.c_str(), 1);
  } else {
    unsetenv("SOURCE_DATE_EPOCH");
  }
}

}  // namespace
}  // namespace ostrel

// The VRML files: golden text of the solid and frame files of a small model, the place of every
// style in the file set, and every written file read back by a real VRML 2.0 reader (tovrmlx3d,
// when it is installed) and by a check of the index lists of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/model.h"
#include "output/file_set.h"
#include "output/vrml_frame.h"
#include "output/vrml_solid.h"
#include "support/output_models.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using test::add_face;
using test::add_square_vertices;
using test::add_vertex;
using test::golden;
using test::kPi;
using test::lines_of;
using test::pyramid;
using test::pyramid_context;
using test::VrmlWriter;
using test::written;

// A pentagrammic prism: two {5/2} faces and five squares along their edges.
Model pentagrammic_prism() {
  Model model;
  const double radius = 0.5 / std::sin(2 * kPi / 5);
  for (int k = 0; k < 5; ++k) {
    const double angle = 2 * kPi * k / 5;
    add_vertex(model, k + 1, radius * std::cos(angle), radius * std::sin(angle), -0.5);
    add_vertex(model, k + 6, radius * std::cos(angle), radius * std::sin(angle), 0.5);
  }
  add_face(model, {1, 2, 3, 4, 5}, 2);
  add_face(model, {6, 7, 8, 9, 10}, 2, "D");
  for (int k = 1; k <= 5; ++k) {
    const int next = (k + 1) % 5 + 1;  // k + 2 around the outline
    add_face(model, {k, next, next + 5, k + 5});
  }
  return model;
}

TEST(VrmlFiles, SolidAndFrameFilesMatchTheirGoldenText) {
  RunSettings settings;
  settings.Edge = true;
  const Model model = pyramid();
  EXPECT_EQ(written(write_solid_vrml, model, settings, pyramid_context()),
            test::read_file(golden("pyramid_solid.wrl")));
  EXPECT_EQ(written(write_frame_vrml, model, settings, pyramid_context()),
            test::read_file(golden("pyramid_frame.wrl")));
}

// Writes the file set of `model` into `folder`: the VRML styles `settings` asks for, no OFF file.
std::vector<WrittenFile> write_set(Model& model, RunSettings settings, const OutputContext& base,
                                   const std::filesystem::path& folder) {
  settings.OffFile = false;
  OutputContext context = base;
  context.OutputDirectory = folder;
  test::FileSetHost host;
  test::ErrorRecorder errors;
  std::vector<WrittenFile> files = write_file_set(model, settings, context, host, errors);
  EXPECT_TRUE(errors.errors.empty());
  return files;
}

TEST(VrmlFiles, FileSetWritesEveryStyleUnderItsName) {
  struct Style {
    OutputKind kind;
    const char* name;
    const char* node;  // a line only that style writes (the solid and frame files have goldens)
  };
  const Style styles[] = {
      {OutputKind::kSolidVrml, "pyramid_solid_smooth.wrl", nullptr},
      {OutputKind::kAnimVrml, "pyramid_anim_smooth.wrl", "DEF CI CoordinateInterpolator {"},
      {OutputKind::kFrameVrml, "pyramid_frame_smooth.wrl", nullptr},
      {OutputKind::kSwitchVrml, "pyramid_switch_smooth.wrl", "    DEF POLY Switch {"},
      {OutputKind::kCylinderVrml, "pyramid_cylinder_smooth.wrl", "  DEF Cyl Shape {"},
  };
  test::TempDir folder;
  Model model = pyramid();
  RunSettings settings;
  settings.Smooth = true;
  const std::vector<WrittenFile> files =
      write_set(model, settings, pyramid_context(), folder.path());
  ASSERT_EQ(files.size(), std::size(styles));
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(files[i].kind, styles[i].kind) << i;
    EXPECT_EQ(files[i].path.filename(), styles[i].name);
    const std::string text = test::read_file(files[i].path);
    EXPECT_EQ(text.substr(0, 17), "#VRML V2.0 utf8\r\n");
    if (!styles[i].node) continue;
    const std::vector<std::string> lines = lines_of(text);
    EXPECT_NE(std::find(lines.begin(), lines.end(), styles[i].node), lines.end()) << styles[i].name;
  }
}

TEST(VrmlFiles, RhombusOverrideDrawsASquareSetInTheSquareColour) {
  for (bool override_on : {false, true}) {
    test::TempDir folder;
    Model model;
    add_square_vertices(model, 1, 0);
    add_face(model, {1, 2, 3, 4}, 1, "D");
    RunSettings settings = test::settings_with_styles({VrmlStyle::kSolid});
    settings.RhomColO = override_on;
    OutputContext context = pyramid_context();
    context.RhombusSetDiagonals[1] = {std::sqrt(2.0), std::sqrt(2.0)};
    const std::vector<WrittenFile> files = write_set(model, settings, context, folder.path());
    ASSERT_EQ(files.size(), 1u);
    const std::vector<std::string> lines = lines_of(test::read_file(files[0].path));
    const auto table = std::find(lines.begin(), lines.end(), "color [");
    ASSERT_LT(table + 15, lines.end());
    EXPECT_EQ(*(table + 15), override_on ? "       1.000 0.502 0.000, #  14 rhombus set 1"
                                         : "       1.000 0.000 1.000, #  14 rhombus set 1");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "       14 ,"), lines.end());
  }
}

TEST(VrmlFiles, DummySphereFollowsTheVertexSphereStep) {
  struct Case {
    const char* flags;  // of vertex 1
    bool sphere;
  };
  for (const Case& c : {Case{"", true}, Case{"v", false}, Case{"V", true}}) {
    Model model = pentagrammic_prism();
    model.VertexFlags(1) = c.flags;
    for (VrmlWriter writer : {VrmlWriter{write_solid_vrml}, VrmlWriter{write_frame_vrml}}) {
      const std::string text = written(writer, model, RunSettings{}, pyramid_context());
      EXPECT_EQ(
          text.find("# Dummy sphere to reset centre of rotation to origin") != std::string::npos,
          c.sphere)
          << "'" << c.flags << "'";
    }
  }
}

// --- Reading the files back ----------------------------------------------------------------

// Integers of an index list ("  0 , 1 ,-1," or "0,1,2,").
std::vector<long> index_numbers(const std::string& text) {
  std::vector<long> numbers;
  std::string cleaned = text;
  std::replace(cleaned.begin(), cleaned.end(), ',', ' ');
  std::istringstream in(cleaned);
  for (long n; in >> n;) numbers.push_back(n);
  return numbers;
}

// Checks every index list of a file against its coordinate list and colour table: point
// indices within the points of C1, one colour index per polygon, colours within the table.
void check_index_lists(const std::string& text, const std::string& name) {
  const std::vector<std::string> lines = lines_of(text);
  const auto start = std::find(lines.begin(), lines.end(), "         point[");
  if (start == lines.end()) {  // the cylinder file has neither points nor index lists
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "    coordIndex["), lines.end()) << name;
    return;
  }
  ASSERT_NE(start + 1, lines.end()) << name;
  long points = std::find(start, lines.end(), "         ]") - start - 1;
  if (start[1].rfind("0 0 0,", 0) == 0) {  // the animated file's placeholders, on one line
    points = 0;
    for (std::size_t at = 0; (at = start[1].find("0 0 0,", at)) != std::string::npos; at += 6) {
      ++points;
    }
  }
  bool edges = false;  // in the edge line set, whose colour table has three entries
  for (auto line = lines.begin(); line != lines.end(); ++line) {
    if (line->find("geometry Indexed") != std::string::npos) {
      edges = *line == "    geometry IndexedLineSet{";
    }
    if (*line != "    coordIndex[") continue;
    long polygons = 0;
    for (++line; line != lines.end() && *line != "    ]"; ++line) {
      for (long n : index_numbers(*line)) {
        EXPECT_TRUE(n >= -1 && n < points) << name << ": " << *line;
        if (n == -1) ++polygons;
      }
    }
    ASSERT_NE(line, lines.end()) << name;
    ++line;
    ASSERT_NE(line, lines.end()) << name;
    ASSERT_EQ(line->rfind("    colorIndex[", 0), 0u) << name << ": " << *line;
    const std::string colours = *line == "    colorIndex[" ? *(line + 1) : line->substr(15);
    const std::vector<long> indices = index_numbers(colours);
    EXPECT_EQ(static_cast<long>(indices.size()), polygons) << name;
    for (long index : indices) EXPECT_TRUE(index >= 0 && index <= (edges ? 2 : 32)) << name;
  }
}

TEST(VrmlFiles, ARealReaderAcceptsEveryWrittenFile) {
  struct Case {
    const char* name;
    Model (*model)();
    void (*adjust)(Model&, RunSettings&);
    bool stress_pass = false;
    double side_2_deviation = 0.0;
  };
  const Case cases[] = {
      {"plain", pentagrammic_prism, [](Model&, RunSettings&) {}},
      {"star faces with edges", pentagrammic_prism, [](Model&, RunSettings& s) { s.Edge = true; }},
      {"billboard labels", pyramid,
       [](Model&, RunSettings& s) { s.Labelling = s.SideLab = true, s.VertexLabel = 1; }},
      {"standard labels", pentagrammic_prism,
       [](Model& m, RunSettings& s) {
         s.Labelling = s.SideLab = true, s.VertexLabel = 0;
         m.VertexX(1) = m.VertexY(1) = 0, m.VertexZ(1) = -1;  // on the negative z axis
       }},
      {"vertex spheres", pentagrammic_prism,
       [](Model& m, RunSettings& s) {
         s.HighVert = true;
         for (int v = 1; v <= 10; ++v) m.VertexFlags(v) = "V";
       }},
      {"transparent, hidden and framed faces, edges, smooth", pyramid,
       [](Model&, RunSettings& s) { s.Edge = s.Smooth = true, s.SmoothAngle = "0.5"; }},
      {"transparent star, an odd crease angle", pentagrammic_prism,
       [](Model& m, RunSettings& s) {
         m.FaceFlags(1) = "ft", m.FaceFlags(3) = "s";
         s.Smooth = true, s.SmoothAngle = "half";
       }},
      {"'v' vertices only: no dummy sphere", pyramid,
       [](Model& m, RunSettings&) { m.VertexFlags(3) = "v"; }},
      {"cylinder edges marked '\\' and '/', an 'O' face, a '*' vertex", pyramid,
       [](Model& m, RunSettings& s) {
         m.CylinderFlag = m.Cylinder2Flag = true, s.Edge = true;
         m.EdgeVertices(1, 3) = kCylinderMark, m.EdgeVertices(2, 3) = kCylinder2Mark;
         m.EdgeVertices(8, 3) = kCylinder2Mark;
         m.FaceFlags(2) += "O", m.VertexFlags(4) = "*";
       }},
      {"cylinders on all edges", pyramid,
       [](Model& m, RunSettings& s) {
         s.AllCyl = true;
         for (int f = 1; f <= m.FaceCount; ++f) m.FaceFlags(f) += "O";
       }},
      {"stress pass of a deformed model with labels, spheres and type-2 cylinders", pyramid,
       [](Model& m, RunSettings& s) {
         s.StressMap = true, s.StressMult = "20", s.StBallMult = "50";
         s.Labelling = s.HighVert = true;
         m.Cylinder2Flag = true, m.EdgeVertices(2, 3) = kCylinder2Mark;
       },
       true, 0.004},
  };
  const bool reader = test::tovrmlx3d_installed();
  for (const Case& c : cases) {
    test::TempDir folder;
    Model model = c.model();
    RunSettings settings;
    c.adjust(model, settings);
    OutputContext context = pyramid_context();
    context.OutputName = "model";
    context.StressPass = c.stress_pass;
    if (c.side_2_deviation > 0) context.deviations.set_face(2, c.side_2_deviation);
    const std::vector<WrittenFile> files = write_set(model, settings, context, folder.path());
    ASSERT_EQ(files.size(), kVrmlStyles.size()) << c.name;
    for (const WrittenFile& file : files) {
      const std::string label = std::string(c.name) + " " + file.path.filename().string();
      check_index_lists(test::read_file(file.path), label);
      if (!reader) continue;
      const auto [status, messages] = test::read_with_tovrmlx3d(file.path);
      EXPECT_EQ(status, 0) << label << "\n" << messages;
      EXPECT_EQ(messages.find("Warning"), std::string::npos) << label << "\n" << messages;
      EXPECT_EQ(messages.find("Error"), std::string::npos) << label << "\n" << messages;
    }
  }
  if (!reader) GTEST_SKIP() << "tovrmlx3d is not installed (Debian package view3dscene)";
}

}  // namespace
}  // namespace ostrel

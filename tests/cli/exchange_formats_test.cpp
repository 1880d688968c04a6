// End-to-end: OFF files as input; the glTF and STL files written beside the OFF file, checked
// with the Khronos glTF validator, TinyGLTF and an STL reader of the test's own.
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <array>
#include <cmath>
#include <cstring>
#include <map>

#include "support/off_reader.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

using Vec = std::array<double, 3>;

using test::CliRun;

// Triangles of a binary STL file: the stored normal, then the three corners.
std::vector<std::array<Vec, 4>> read_stl(const std::filesystem::path& path) {
  const std::string bytes = test::read_file(path);
  std::uint32_t count = 0;
  std::memcpy(&count, bytes.data() + 80, 4);
  EXPECT_EQ(bytes.size(), 84 + 50 * std::size_t{count});
  EXPECT_NE(bytes.substr(0, 5), "solid");
  std::vector<std::array<Vec, 4>> triangles(count);
  for (std::size_t t = 0; t < count && 84 + 50 * (t + 1) <= bytes.size(); ++t) {
    for (std::size_t k = 0; k < 12; ++k) {
      float value = 0;
      std::memcpy(&value, bytes.data() + 84 + 50 * t + 4 * k, 4);
      triangles[t][k / 3][k % 3] = value;
    }
  }
  return triangles;
}

Vec minus(const Vec& a, const Vec& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
double dot(const Vec& a, const Vec& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Every edge of the mesh in exactly two triangles, run in opposite directions, and every normal
// pointing away from the centre of the (convex) solid.
void expect_closed_and_outward(const std::vector<std::array<Vec, 4>>& triangles) {
  std::map<std::pair<Vec, Vec>, int> directed;
  Vec centre{};
  for (const auto& t : triangles) {
    for (int k = 1; k <= 3; ++k) {
      ++directed[{t[k], t[k % 3 + 1]}];
      for (int a = 0; a < 3; ++a)
        centre[a] += t[k][a] / (3.0 * static_cast<double>(triangles.size()));
    }
  }
  for (const auto& [edge, count] : directed) {
    EXPECT_EQ(count, 1);
    EXPECT_EQ(directed.count({edge.second, edge.first}), 1u) << "an edge in one triangle only";
  }
  for (const auto& t : triangles) {
    const Vec middle{(t[1][0] + t[2][0] + t[3][0]) / 3, (t[1][1] + t[2][1] + t[3][1]) / 3,
                     (t[1][2] + t[2][2] + t[3][2]) / 3};
    EXPECT_GT(dot(t[0], minus(middle, centre)), 0) << "a normal points inwards";
  }
}

struct Written {
  const char* input;  // an example, or a file of tests/data
  const char* name;
  std::size_t triangles;
  bool closed;
};

TEST(ExchangeFormats, GlbAndStlOfPlainStarColouredTransparentAndHiddenFaces) {
  const Written cases[] = {
      {OSTREL_EXAMPLES_DIR "/cube.txt", "cube", 12, true},
      {OSTREL_EXAMPLES_DIR "/octahedron_marks.txt", "octahedron_marks", 8, true},
      {OSTREL_EXAMPLES_DIR "/pentagrammic_prism.txt", "pentagrammic_prism", 2 * 10 + 5 * 2, false},
      {OSTREL_EXAMPLES_DIR "/pentagrammic_antiprism.off", "pentagrammic_antiprism", 2 * 10 + 10,
       false},
      // hidden base, transparent side, framed side of three quadrilaterals
      {OSTREL_TEST_DATA_DIR "/pyramid_flags.txt", "pyramid_flags", 1 + 6 + 2, false},
  };
  std::vector<std::unique_ptr<CliRun>> runs;
  std::string validate = "node '" OSTREL_GLTF_VALIDATOR "'";
  for (const Written& c : cases) {
    SCOPED_TRACE(c.name);
    runs.push_back(std::make_unique<CliRun>(
        c.input, std::vector<std::string>{"--gltf", "--stl", "--seed", "3"}));
    const CliRun& run = *runs.back();
    ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
    const std::string name = c.name;
    EXPECT_NE(run.result.out.find(run.file(name + ".glb").string() + "\n"), std::string::npos);
    EXPECT_NE(run.result.out.find(run.file(name + ".stl").string() + "\n"), std::string::npos);
    validate += " '" + run.file(name + ".glb").string() + "'";

    const test::OffModel off = test::read_off(run.file(name + ".off"));
    tinygltf::Model gltf;
    std::string error, warning;
    ASSERT_TRUE(tinygltf::TinyGLTF().LoadBinaryFromFile(&gltf, &error, &warning,
                                                        run.file(name + ".glb").string()))
        << error;
    EXPECT_EQ(gltf.asset.generator, "Ostrel " OSTREL_VERSION);
    const tinygltf::Accessor& points = gltf.accessors[0];
    const tinygltf::BufferView& view = gltf.bufferViews[points.bufferView];
    const auto* xyz = reinterpret_cast<const float*>(gltf.buffers[0].data.data() + view.byteOffset +
                                                     points.byteOffset);
    ASSERT_GE(points.count, off.vertices.size());
    for (std::size_t v = 0; v < off.vertices.size(); ++v) {
      for (std::size_t a = 0; a < 3; ++a) EXPECT_NEAR(xyz[3 * v + a], off.vertices[v][a], 1e-6);
    }
    std::size_t indices = 0;
    for (const auto& primitive : gltf.meshes[0].primitives) {
      indices += gltf.accessors[static_cast<std::size_t>(primitive.indices)].count;
    }
    EXPECT_EQ(indices, 3 * c.triangles);

    const auto triangles = read_stl(run.file(name + ".stl"));
    EXPECT_EQ(triangles.size(), c.triangles);
    if (c.closed) expect_closed_and_outward(triangles);

    if (name == "pentagrammic_antiprism") {  // the input's colours are kept
      EXPECT_EQ(off.faces[0].colour, (std::array<int, 3>{230, 160, 30}));
      EXPECT_EQ(gltf.materials.size(), 2u);
      EXPECT_NEAR(gltf.materials[0].pbrMetallicRoughness.baseColorFactor[0],
                  std::pow((230 / 255.0 + 0.055) / 1.055, 2.4), 1e-6);
    }
    if (name == "pyramid_flags") {  // the transparent side blends at 1 − TransLevel
      bool blended = false;
      for (const auto& material : gltf.materials) {
        if (material.alphaMode != "BLEND") continue;
        blended = true;
        EXPECT_NEAR(material.pbrMetallicRoughness.baseColorFactor[3], 0.5, 1e-6);
      }
      EXPECT_TRUE(blended);
    }
  }
  const int status =
      std::system((validate + " > '" + runs[0]->file("validator.txt").string() + "' 2>&1").c_str());
  const std::string report = test::read_file(runs[0]->file("validator.txt"));
  EXPECT_EQ(status, 0) << report << "(scripts/install-deps.sh installs the validator)";
  for (const Written& c : cases) {
    EXPECT_NE(report.find(std::string(c.name) + ".glb: 0 errors"), std::string::npos) << report;
  }
}

TEST(ExchangeFormats, SameSeedWritesTheSameBytes) {
  CliRun first(OSTREL_EXAMPLES_DIR "/cube.txt", {"--gltf", "--stl", "--seed", "5"});
  CliRun second(OSTREL_EXAMPLES_DIR "/cube.txt", {"--gltf", "--stl", "--seed", "5"});
  ASSERT_EQ(first.result.exit_code, 0) << first.result.err;
  for (const char* file : {"cube.glb", "cube.stl"}) {
    EXPECT_EQ(test::read_file(first.file(file)), test::read_file(second.file(file))) << file;
  }
}

TEST(ExchangeFormats, MalformedOffIsRefusedNamingTheLine) {
  const std::string triangle = "0 0 0\n1 0 0\n0 1 0\n";
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {"OFF\n3 1 0\n0 0 0\n1 0 0\n",
       "line 4 of the OFF file: the file ends after 2 of the 3 vertices"},
      {"OFF\n3 2 0\n" + triangle + "3 0 1 2\n",
       "line 6 of the OFF file: the file ends after 1 of the 2 faces"},
      {"OFF\n3 1 0\n" + triangle + "3 0 1 2\n3 0 1 2\n", "line 7 of the OFF file: more lines than"},
      {"OFF\n3 1 0\n" + triangle + "3 0 1 3\n",
       "line 6 of the OFF file: vertex index 3 is out of range 0..2"},
      {"OFF\n3 1 0\n0 0 0\n1 zero 0\n0 1 0\n3 0 1 2\n",
       "line 4 of the OFF file: \"zero\" is not a number"},
      {"OFF\n3 1 0\n" + triangle + "3 0 1 2.5\n",
       "line 6 of the OFF file: \"2.5\" is not a number"},
      {"OFF\n3 1 0\n" + triangle + "2 0 1\n",
       "line 6 of the OFF file: a face needs at least 3 corners"},
      {"OFF\n3 1 0\n" + triangle + "3 0 1\n",
       "line 6 of the OFF file: the face lists 2 of its 3 corners"},
      {"OFF\n3 1 0\n" + triangle + "4 0 1 1 2\n",
       "line 6 of the OFF file: the face repeats vertex index 1"},
      {"OFF\n3 1 0\n" + triangle + "3 0 1 2 255 0\n",
       "line 6 of the OFF file: a face colour has 3 or 4"},
      {"# counts\nOFF\nthree 1 0\n",
       "line 3 of the OFF file: the count \"three\" is not a whole number"},
      {"4OFF\n3 1 0\n", "line 1 of the OFF file: \"4OFF\" is not a three-dimensional OFF file"},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    test::write_file(dir.path() / "bad.off", c.text);
    CliRun run((dir.path() / "bad.off").string(), {"--seed", "1"});
    EXPECT_EQ(run.result.exit_code, 1);
    EXPECT_NE(run.result.err.find(std::string("Input error: ") + c.message), std::string::npos)
        << run.result.err;
    EXPECT_TRUE(run.result.out.empty());
  }
}

// An OFF file's faces are final: a fan of triangles (a pentagonal pyramid's sides, listed from
// the apex) is not taken for a star polygon drawn as triangles.
TEST(ExchangeFormats, OffTriangleFanIsNotAStarQuestion) {
  test::TempDir dir;
  std::string text = "OFF\n6 6 0\n0 0 1\n";
  for (int k = 0; k < 5; ++k) {
    text += std::to_string(std::cos(k * 1.2566370614359172)) + " " +
            std::to_string(std::sin(k * 1.2566370614359172)) + " 0\n";
  }
  for (int k = 0; k < 5; ++k) {
    text += "3 0 " + std::to_string(k + 1) + " " + std::to_string((k + 1) % 5 + 1) + "\n";
  }
  text += "5 5 4 3 2 1\n";
  test::write_file(dir.path() / "pyramid.off", text);
  CliRun run((dir.path() / "pyramid.off").string(), {"--seed", "1"});
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_EQ(run.result.err.find("Collapse possible star polygon"), std::string::npos)
      << run.result.err;
}

TEST(ExchangeFormats, OffInputInTheOutputFolderIsNotWrittenOver) {
  test::TempDir dir;
  const std::filesystem::path input = dir.path() / "antiprism.off";
  const std::string text = test::read_file(OSTREL_EXAMPLES_DIR "/pentagrammic_antiprism.off");
  test::write_file(input, text);
  auto result = test::run_cli({"run", input.string(), "-o", dir.path().string(), "--ini",
                               (dir.path() / "ostrel.ini").string(), "--seed", "1", "-q"});
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(test::read_file(input), text);
  EXPECT_NE(result.err.find(input.string() + " is the input file; it is not written over"),
            std::string::npos)
      << result.err;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "antiprism_solid.wrl"));
}

}  // namespace
}  // namespace ostrel

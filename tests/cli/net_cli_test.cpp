// `ostrel-cli run ... --net`: the net's pages beside the OFF file, drawn by a real SVG renderer
// (rsvg-convert, Debian package librsvg2-bin); a model whose faces cross and an edge too long
// for the page are failures that leave the other files written; a segmented model is skipped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace ostrel {
namespace {

bool renderer_installed() {
  return std::system("rsvg-convert --version > /dev/null 2>&1") == 0;
}

// The size of the PNG rsvg-convert draws of `svg` at 400 pixels across; -1 when it fails.
long rendered_size(const std::filesystem::path& svg) {
  const std::filesystem::path png = svg.string() + ".png";
  const std::string command =
      "rsvg-convert -w 400 -o '" + png.string() + "' '" + svg.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0 || !std::filesystem::exists(png)) return -1;
  return static_cast<long>(std::filesystem::file_size(png));
}

TEST(NetCli, SnubCubeNetPrintsOnA4AndRenders) {
  test::CliRun run(OSTREL_EXAMPLES_DIR "/snub_cube.txt", {"--net", "--seed", "1"});
  ASSERT_EQ(run.result.exit_code, 0) << run.result.err;
  const auto net = run.file("snub_cube_net.svg");
  ASSERT_TRUE(std::filesystem::exists(net));
  EXPECT_NE(run.result.out.find(net.string()), std::string::npos);
  const std::string text = test::read_file(net);
  EXPECT_NE(text.find("width=\"210.00mm\" height=\"297.00mm\" viewBox=\"0 0 210.00 297.00\""),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(run.file("snub_cube.off")));

  if (!renderer_installed()) GTEST_SKIP() << "rsvg-convert is not installed (librsvg2-bin)";
  // A blank page of the same size draws to a few hundred bytes; the net to many more.
  const auto blank = run.file("blank.svg");
  test::write_file(blank,
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"210mm\" height=\"297mm\" "
                   "viewBox=\"0 0 210 297\"><rect width=\"210\" height=\"297\" fill=\"#fff\"/></svg>");
  const long blank_size = rendered_size(blank);
  ASSERT_GT(blank_size, 0);
  EXPECT_GT(rendered_size(net), 4 * blank_size);
}

TEST(NetCli, RefusedNetsFailTheRunButTheOtherFilesAreWritten) {
  {
    test::CliRun run(OSTREL_EXAMPLES_DIR "/pentagrammic_antiprism.off", {"--net", "--seed", "1"});
    EXPECT_EQ(run.result.exit_code, 1);
    EXPECT_NE(run.result.err.find("the faces of this model cross each other; nets are made for "
                                  "solids whose faces do not"),
              std::string::npos)
        << run.result.err;
    EXPECT_TRUE(std::filesystem::exists(run.file("pentagrammic_antiprism_solid.wrl")));
    EXPECT_FALSE(std::filesystem::exists(run.file("pentagrammic_antiprism_net.svg")));
  }
  {
    test::CliRun run(OSTREL_EXAMPLES_DIR "/cube.txt",
                     {"--net", "--net-edge", "250", "--net-page", "letter", "--seed", "1"});
    EXPECT_EQ(run.result.exit_code, 1);
    EXPECT_NE(run.result.err.find("a face of this model does not fit on a Letter page at 250 mm "
                                  "edges; the largest edge length that fits is 130.6 mm"),
              std::string::npos)
        << run.result.err;
    EXPECT_TRUE(std::filesystem::exists(run.file("cube.off")));
  }
}

TEST(NetCli, SegmentedModelsAreSkippedWithAWarning) {
  test::CliRun run(OSTREL_EXAMPLES_DIR "/two_triangles_realm.txt", {"--net", "--seed", "1"});
  EXPECT_EQ(run.result.exit_code, 0) << run.result.err;
  EXPECT_NE(run.result.err.find("Warning: nets are made for models without segments; "
                                "two_triangles_realm_net.svg is not written"),
            std::string::npos)
      << run.result.err;
  EXPECT_TRUE(std::filesystem::exists(run.file("two_triangles_realm.wrl")));
}

}  // namespace
}  // namespace ostrel

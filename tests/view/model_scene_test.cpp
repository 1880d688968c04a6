#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "core/model.h"
#include "engine/run.h"
#include "support/output_models.h"
#include "support/test_support.h"
#include "view/quick_view.h"
#include "view/scene_loader.h"
#include "view/scene_view.h"

namespace ostrel {
namespace {

// An octahedron with a highlighted edge (";"), a highlighted vertex ("V") and a transparent
// face ("t").
constexpr const char* kMarkedOctahedron =
    "{\n1;2,3,-1,\n1,3,4,-1,\n1,4,5,-1,\n1,5,2,-1,\n"
    "6,3,2,-1,\n6,4,3,-1,\n6,5,V4,-1,\nt6,2,5,-1,\n}\n";

TEST(ModelScene, RunOutputLooksAsItsVrmlFilesAndFallsBackToTheOffFile) {
  test::TempDir folder;
  const auto input = folder.path() / "octahedron.txt";
  test::write_file(input, kMarkedOctahedron);
  RunRequest request;
  request.input = input;
  request.output_folder = folder.path();
  request.seed = 1;
  request.settings.Once = true;
  test::RecordingHost host;
  const RunReport report = run(request, host);
  ASSERT_EQ(report.isomorphs.size(), 1u);
  const auto off = folder.path() / "octahedron.off";

  const RunInput run_input{input, std::nullopt, request.settings, std::nullopt};
  SceneLoad load = load_run_scene(off, run_input);
  ASSERT_TRUE(load.ok()) << load.error;
  const ModelScene& scene = load.scene;
  EXPECT_EQ(scene.name, "octahedron");
  EXPECT_EQ(scene.face_count, 8);
  EXPECT_EQ(scene.edge_count, 12);
  EXPECT_EQ(scene.spheres, std::vector<std::uint32_t>{3});  // vertex 4
  EXPECT_FLOAT_EQ(scene.solid.face_rgba[4 * 8 + 3], 0.5f);  // see-through at TransLevel 0.5
  EXPECT_FLOAT_EQ(scene.frame.face_rgba[4 * 8 + 3], 1.0f);  // the frame file draws it as a band
  EXPECT_EQ(std::count(scene.solid.edge_kinds.begin(), scene.solid.edge_kinds.end(), 2), 1);

  // An input changed since the run no longer gives the OFF file's model: the file alone is shown.
  test::write_file(input, "{\n1,2,3,-1,\n1,3,4,-1,\n1,4,2,-1,\n2,4,3,-1,\n}\n");
  load = load_run_scene(off, run_input);
  ASSERT_TRUE(load.ok()) << load.error;
  EXPECT_EQ(load.scene.face_count, 8);
  EXPECT_TRUE(load.scene.spheres.empty());
  EXPECT_FLOAT_EQ(load.scene.solid.face_rgba[4 * 8 + 3], 1.0f);

  test::write_file(off, "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 7\n");
  load = load_off_scene(off, RunSettings{});
  EXPECT_EQ(load.error, "Input error: line 6 of the OFF file: vertex index 7 is out of range 0..2");
}

// Two squares that pass through each other along the y axis: red in the plane z = x, green in
// the plane z = −x. Seen along −z, the green one is nearer on the left and the red one on the
// right, which no order of whole faces can paint.
TEST(SceneView, FacesThatPassThroughEachOtherHideEachOtherPixelByPixel) {
  auto model = std::make_unique<Model>();
  model->FirstVertex = 1;
  model->LastVertex = 8;
  model->FaceCount = 2;
  const double corners[8][3] = {{-1, -1, -1}, {1, -1, 1},  {1, 1, 1},  {-1, 1, -1},
                                {-1, -1, 1},  {1, -1, -1}, {1, 1, -1}, {-1, 1, 1}};
  for (int v = 1; v <= 8; ++v) {
    model->VertexX(v) = corners[v - 1][0];
    model->VertexY(v) = corners[v - 1][1];
    model->VertexZ(v) = corners[v - 1][2];
  }
  for (int f = 1; f <= 2; ++f) {
    model->FaceSides(f) = 4;
    model->FaceStep(f) = 1;
    for (int k = 1; k <= 4; ++k) model->FaceVertices(f, k) = 4 * (f - 1) + k;
  }
  model->FaceInputColour(1) = 0xff0000ff | kInputColourGiven;
  model->FaceInputColour(2) = 0x00ff00ff | kInputColourGiven;
  const ModelScene scene = model_scene(*model, RunSettings{}, {}, model->LastVertex);
  const ViewPicture picture =
      render_view(scene, ViewAngles{0.0, 0.0, 1.0}, ViewStyle::kSolid, 200, 160);
  ASSERT_EQ(picture.pixels.size(), 200u * 160u);
  const auto channel = [&](int x, int y, int shift) { return (picture.at(x, y) >> shift) & 255; };
  EXPECT_GT(channel(60, 80, 8), 100u);  // green on the left
  EXPECT_EQ(channel(60, 80, 16), 0u);
  EXPECT_GT(channel(140, 80, 16), 100u);  // red on the right
  EXPECT_EQ(channel(140, 80, 8), 0u);
  EXPECT_GT(channel(2, 2, 16), 240u);  // the light background where there is no model
}

TEST(SceneView, ClosedSolidShowsItsBackThroughATransparentFace) {
  Model cube = test::cube();
  cube.FaceFlags(1) = "t";  // the bottom
  const ModelScene scene = model_scene(cube, RunSettings{}, {}, cube.LastVertex);
  ASSERT_TRUE(scene.solid.outward);
  const ViewPicture picture =
      render_view(scene, ViewAngles{180.0, 0.0, 1.0}, ViewStyle::kSolid, 100, 100);
  // Seen from below (along +z), the orange top (255.128.0) shows through the orange bottom: no blue
  // of the background comes through.
  const std::uint32_t centre = picture.at(50, 50);
  EXPECT_GT((centre >> 16) & 255, 150u);
  EXPECT_LT(centre & 255, 10u);
}

// The quick picture of a picture too large for it is drawn smaller and enlarged: it shows the
// same model in the same place as the full one.
TEST(SceneView, QuickPictureShowsWhatTheFullOneShows) {
  const Model cube = test::cube();
  const ModelScene scene = model_scene(cube, RunSettings{}, {}, cube.LastVertex);
  const int width = 2400, height = 1000;
  ASSERT_GT(width * height, kQuickSamples);
  const ViewPicture quick =
      render_quick_view(scene, ViewAngles{}, ViewStyle::kSolid, width, height);
  const ViewPicture full = render_view(scene, ViewAngles{}, ViewStyle::kSolid, width, height);
  ASSERT_EQ(quick.width, width);
  ASSERT_EQ(quick.pixels.size(), full.pixels.size());
  std::size_t alike = 0;
  for (std::size_t p = 0; p < full.pixels.size(); ++p) {
    int largest = 0;
    for (int shift : {0, 8, 16}) {
      largest = std::max(largest, std::abs(static_cast<int>((quick.pixels[p] >> shift) & 255) -
                                           static_cast<int>((full.pixels[p] >> shift) & 255)));
    }
    if (largest <= 8) ++alike;
  }
  EXPECT_GT(static_cast<double>(alike) / static_cast<double>(full.pixels.size()), 0.98);
}

}  // namespace
}  // namespace ostrel

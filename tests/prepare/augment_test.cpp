#include "prepare/augment.h"

#include <gtest/gtest.h>

#include <memory>

#include "input/parser.h"
#include "support/test_support.h"

namespace ostrel {
namespace {

std::unique_ptr<Model> parsed(std::string_view text) {
  auto model = std::make_unique<Model>();
  model->start_pass();
  test::MessageRecorder messages;
  EXPECT_TRUE(parse_input(*model, text, ParseRequest{}, messages).ok());
  return model;
}

std::vector<int> corners(const Model& model, int face) {
  std::vector<int> list;
  for (int k = 1; k <= model.FaceSides(face); ++k) list.push_back(model.FaceVertices(face, k));
  return list;
}

const char* kTwoPentagrams =
    "{1,2,3,4,5,-2,6,7,8,9,10,-2,1,2,7,6,-1,2,3,8,7,-1,3,4,9,8,-1,4,5,10,9,-1,5,1,6,10,-1,}";

TEST(Augment, TwoPentagramsGetTwoApexesAndTenTriangles) {
  auto model = parsed(kTwoPentagrams);
  RunSettings settings;
  settings.Augment = true;
  settings.AugmentVal = "5/2";
  settings.AugmentOption = 1;
  DebugLog debug;
  EXPECT_EQ(augment_faces(*model, settings, &debug), "");
  EXPECT_EQ(model->FaceCount, 17);
  EXPECT_EQ(model->LastVertex, 12);
  EXPECT_EQ(corners(*model, 8), (std::vector<int>{1, 2, 11}));  // on the star's own edge 1-2
  EXPECT_EQ(corners(*model, 12), (std::vector<int>{5, 1, 11}));
  EXPECT_EQ(corners(*model, 13), (std::vector<int>{6, 7, 12}));
  EXPECT_EQ(model->FaceFlags(8), "");  // no colour option chosen: no code
  EXPECT_EQ(debug.lines().front(), "Augmented triangle added, side:  8 vertices:  1  2  11 ");
}

TEST(Augment, FlaggedFaceWithRemoveSidesStays) {
  // "A" raises a pyramid even without the option; removal only takes faces of AugmentVal's kind.
  auto model = parsed("{A1,2,3,4,-1,1,2,5,-1,}");
  RunSettings settings;
  settings.AugmentOption = 2;
  settings.AugmentColour = 1;
  EXPECT_EQ(augment_faces(*model, settings, nullptr), "");
  EXPECT_EQ(model->FaceSides(1), 4);
  EXPECT_EQ(model->FaceCount, 6);
  EXPECT_EQ(model->FaceFlags(3), "Q2");
}

TEST(Augment, OptionsAndColours) {
  const struct {
    const char* text;
    const char* value;
    int option;
    int colour;
    int base_sides;
    const char* base_flags;
    const char* triangle_flags;
  } cases[] = {
      {"{1,2,3,4,5,-1,}", "5", 1, 0, 5, "", "Q5"},     // "Original": the pentagon's colour
      {"{r1,2,3,4,5,-1,}", "5", 1, 0, 5, "Qr", "Qr"},  // an input colour carries over
      {"{1,2,3,4,5,6,7,-1,}", "7", 1, 0, 7, "", "Q7"},
      {"{1,2,3,4,5,-1,}", "5", 2, 2, 0, "", "Q3"},   // "Remove sides"
      {"{1,2,3,4,5,-1,}", "5", 3, 1, 5, "B", "Q2"},  // "Leave bands in place"
      {"{1,2,3,4,5,6,-1,}", "6", 1, -1, 6, "", ""},  // hexagons of step 1 only
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto model = parsed(c.text);
    RunSettings settings;
    settings.Augment = true;
    settings.AugmentVal = c.value;
    settings.AugmentOption = c.option;
    settings.AugmentColour = c.colour;
    EXPECT_EQ(augment_faces(*model, settings, nullptr), "");
    EXPECT_EQ(model->FaceSides(1), c.base_sides);
    EXPECT_EQ(model->FaceFlags(1), c.base_flags);
    EXPECT_EQ(model->FaceFlags(2), c.triangle_flags);
  }
  auto pentagram = parsed("{1,2,3,4,5,-2,}");
  RunSettings hexagons;
  hexagons.Augment = true;
  hexagons.AugmentVal = "6";
  augment_faces(*pentagram, hexagons, nullptr);
  EXPECT_EQ(pentagram->FaceCount, 1);
}

TEST(Augment, ModelWithLinksIsRefused) {
  auto model = parsed("{A1,2,3,-1,1,3,-1,}");
  EXPECT_EQ(augment_faces(*model, RunSettings{}, nullptr), kAugmentWithLinksError);
  EXPECT_EQ(model->FaceCount, 1);
}

}  // namespace
}  // namespace ostrel

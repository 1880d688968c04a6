#include "prepare/augment.h"

#include "core/colour.h"
#include "core/flag_letters.h"
#include "core/number_format.h"

namespace ostrel {

bool augmentation_wanted(const Model& model, const RunSettings& settings) {
  return settings.Augment || model.AugmentFlag;
}

std::string augment_faces(Model& model, const RunSettings& settings, DebugLog* debug) {
  if (!augmentation_wanted(model, settings)) return {};
  if (model.LinkCount > 0) return kAugmentWithLinksError;
  FaceKind kind{0, 0};
  if (settings.Augment && !settings.AugmentVal.empty()) kind = settings.augment_kind();
  const int option = settings.AugmentOption;
  const int colour = settings.AugmentColour;
  int next_vertex = model.LastVertex + 1;
  int next_face = model.FaceCount + 1;
  const int faces = model.FaceCount;
  std::vector<std::string> lines;
  for (int f = 1; f <= faces; ++f) {
    const int sides = model.FaceSides(f);
    const int step = model.FaceStep(f);
    bool chosen = has_letter(model.FaceFlags(f), 'A') ||
                  (settings.Augment && sides == kind.sides && step == kind.step);
    if (chosen) {
      if (option == 3) model.FaceFlags(f) += "B";
      int colour_class = 0;
      FaceColourClass(sides, step, model.FaceFlags(f), colour_class);
      std::string code;
      if (colour_class < 21) {
        if (colour == 1) code = "Q2";
        if (colour == 2) code = "Q3";
        if (colour == 0) code = ColourClassToCode(sides);
      } else if (colour >= 0) {
        code = ColourClassToCode(colour_class);  // an input colour carries over
      }
      for (int k = 1; k <= sides; ++k) {
        const int t = next_face;
        const int a = model.FaceVertices(f, k);
        const int b = model.FaceVertices(f, k == sides ? 1 : k + 1);
        model.FaceVertices(t, 1) = a;
        model.FaceVertices(t, 2) = b;
        model.FaceVertices(t, 3) = next_vertex;
        model.FaceSides(t) = 3;
        model.FaceStep(t) = 1;
        model.FaceFlags(t) = code;
        model.FaceInputColour(t) = 0;
        model.VertexFlags(next_vertex).clear();
        lines.push_back("Augmented triangle added, side: " + print_form(t) +
                        "vertices: " + print_form(a) + print_form(b) + print_form(next_vertex));
        ++next_face;
      }
      ++next_vertex;
    }
    if (option == 2 && sides == kind.sides && step == kind.step) {
      model.FaceSides(f) = 0;
      lines.push_back("Side :" + print_form(f) + "removed during augmentation");
    }
  }
  model.FaceCount = next_face - 1;
  model.FaceEntryCount = model.FaceCount;
  model.LastVertex = next_vertex - 1;
  if (debug && !lines.empty()) debug->append(lines);
  return {};
}

}  // namespace ostrel

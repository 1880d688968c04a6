#include "output/vrml_colours.h"

#include <algorithm>

#include "core/colour.h"
#include "core/model.h"
#include "output/colour_classes.h"

namespace ostrel {

const std::array<std::string_view, kVrmlColourCount>& vrml_colour_names() {
  static const std::array<std::string_view, kVrmlColourCount> names = [] {
    std::array<std::string_view, kVrmlColourCount> labels;
    const auto& rows = colour_classes();
    for (std::size_t index = 0; index < rows.size(); ++index)
      labels[index] = rows[index].vrml_label;
    return labels;
  }();
  return names;
}

std::array<std::string, kVrmlColourCount> vrml_colour_texts(const RunSettings& settings,
                                                            const RhombusSetColours& rhombus) {
  std::array<std::string, kVrmlColourCount> texts;
  const auto& rows = colour_classes();
  for (std::size_t index = 0; index < rows.size(); ++index) {
    if (rows[index].text != nullptr) texts[index] = rows[index].text(settings, rhombus);
  }
  return texts;
}

std::array<std::string, kVrmlColourCount> vrml_colour_table(const RunSettings& settings,
                                                            const RhombusSetColours& rhombus,
                                                            MessageSink& sink) {
  std::array<std::string, kVrmlColourCount> lines;
  const auto& rows = colour_classes();
  for (std::size_t index = 0; index < rows.size(); ++index) {
    const ColourClassRow& row = rows[index];
    lines[index] = !row.vrml_fixed.empty()
                       ? std::string(row.vrml_fixed)
                       : "       " +
                             ColourTextToVrml(row.text(settings, rhombus), row.vrml_label, sink) +
                             ", #" + std::string(row.vrml_comment);
  }
  return lines;
}

std::array<std::array<float, 3>, kVrmlColourCount> vrml_colour_values(
    const RunSettings& settings, const RhombusSetColours& rhombus, MessageSink& sink) {
  std::array<std::array<float, 3>, kVrmlColourCount> values{};
  const auto& rows = colour_classes();
  for (std::size_t index = 1; index < rows.size(); ++index) {
    const ColourClassRow& row = rows[index];
    if (row.text == nullptr) {
      values[index] = row.fixed_value;
      continue;
    }
    const std::string& text = row.text(settings, rhombus);
    if (text.empty()) continue;
    const RgbColour rgb = ColourTextToRgb(text, row.vrml_label, sink);
    values[index] = {static_cast<float>(rgb.red) / 255.0f, static_cast<float>(rgb.green) / 255.0f,
                     static_cast<float>(rgb.blue) / 255.0f};
  }
  return values;
}

std::vector<int> face_colour_indices(const Model& model, const RunSettings& settings) {
  std::vector<int> indices(static_cast<std::size_t>(std::max(model.FaceCount, 0)) + 1, 0);
  const HighlightState highlight{settings.Highlight, settings.highlight_kind()};
  int colour_class = 0;  // a face no rule covers takes the previous face's class
  for (int f = 1; f <= model.FaceCount; ++f) {
    const std::optional<int> index =
        FaceColourIndex(model.FaceSides(f), model.FaceStep(f), model.FaceFlags(f), colour_class,
                        highlight, HighlightScope::kVrmlFaceSet);
    indices[static_cast<std::size_t>(f)] = index.value_or(0);
  }
  return indices;
}

}  // namespace ostrel

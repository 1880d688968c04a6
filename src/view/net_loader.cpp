#include "view/net_loader.h"

#include <memory>

#include "core/model.h"
#include "core/run_error.h"
#include "input/off_reader.h"
#include "input/parser.h"

namespace ostrel {

NetFaces net_faces_of_off_file(const std::filesystem::path& path, std::string& error) {
  NetFaces faces;
  auto model = std::make_unique<Model>();
  try {
    const std::string text = read_input_file(path);
    if (!is_off_text(text)) {
      error = "Input error: " + path.string() + " is not an OFF file (it does not start with OFF)";
      return faces;
    }
    model->start_pass();
    const ParseResult parsed = read_off_input(*model, text, ParseRequest{});
    if (!parsed.ok()) {
      error = parsed.message;
      return faces;
    }
  } catch (const RunError& failure) {
    error = failure.what();
    return faces;
  }
  for (int slot = 0; slot < model->vertex_count(); ++slot) {
    faces.positions.insert(faces.positions.end(),
                           {model->StartX(slot), model->StartY(slot), model->StartZ(slot)});
  }
  for (int f = 1; f <= model->FaceCount; ++f) {
    std::vector<int> points;
    for (int k = 1; k <= model->FaceSides(f); ++k) {
      points.push_back(model->FaceVertices(f, k) - model->FirstVertex);
    }
    const std::int64_t given = model->FaceInputColour(f);
    const auto rgb = (given & kInputColourGiven)
                         ? static_cast<std::uint32_t>((given >> 8) & 0xFFFFFF)
                         : std::uint32_t{0xC0C0C0};
    faces.add_face(points, rgb, model->FaceStep(f) != 1);
  }
  return faces;
}

}  // namespace ostrel

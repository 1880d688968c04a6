#include "prepare/load_model.h"

#include "input/input_reader.h"

namespace ostrel {
namespace {

// An OFF file lists its faces as they are: a fan of triangles there is triangles, never a star
// polygon written as its triangles, so the collapse question is answered No without being asked.
class OffFacesDialog final : public UserDialog {
 public:
  explicit OffFacesDialog(UserDialog& host) : host_(host) {}
  void message(const std::string& text) override { host_.message(text); }
  bool ask_yes_no(const std::string&) override { return false; }
  void beep() override { host_.beep(); }

 private:
  UserDialog& host_;
};

}  // namespace

LoadResult load_model(Model& model, const LoadRequest& request, UserDialog& host, DebugLog* debug) {
  LoadResult result;
  if (request.shape) {
    result.error = shape_size_problem(*request.shape);
    if (!result.error.empty()) return result;
    build_shape(model, *request.shape);
  } else {
    result.parsed = read_input(model, request.text, request.parse, host);
    if (!result.parsed.ok()) {
      result.error = result.parsed.message;
      return result;
    }
  }
  if (request.settings == nullptr || result.parsed.realms_read || result.parsed.more_segments)
    return result;
  // A model without faces has nothing to relax or to write.
  if (model.LastVertex < model.FirstVertex || model.FaceCount < 1) {
    result.error = "Input error: No faces found in input";
    return result;
  }
  result.prepared = true;
  OffFacesDialog off_faces(host);
  const bool off = result.parsed.off_file;
  result.preparation =
      prepare_model(model, *request.settings, off ? off_faces : host, debug);
  result.error = result.preparation.error;
  return result;
}

}  // namespace ostrel

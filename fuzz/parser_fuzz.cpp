// Feeds arbitrary bytes to the input readers: an OFF text to the OFF reader, anything else to
// the parser for every segment the prescan finds, then (with several segments) the realm
// section. Refusals and run errors
// are expected; crashes, leaks and sanitizer reports are not.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/run_error.h"
#include "input/input_reader.h"
#include "input/prescan.h"
#include "prepare/load_model.h"

namespace {

class Silent final : public ostrel::UserDialog {
 public:
  void message(const std::string&) override {}
  bool ask_yes_no(const std::string&) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // One store for every input; start_run() empties it, so each input starts from a new model.
  static auto model = std::make_unique<ostrel::Model>();
  static auto segments = std::make_unique<ostrel::SegmentStore>();
  Silent silent;
  ostrel::DebugLog debug;
  ostrel::ParseRequest request;
  request.SegmentCount = std::min(ostrel::prescan_input(text).segment_count(), ostrel::MaxSegments);
  request.debug = &debug;
  request.segments = segments.get();
  try {
    model->start_run();
    segments->start_run();
    bool realms_read = false;
    for (int segment = 1; segment <= request.SegmentCount && !realms_read; ++segment) {
      request.segment = segment;
      model->start_pass();
      segments->start_pass();
      ostrel::LoadRequest load;
      load.text = text;
      load.parse = request;
      const ostrel::LoadResult loaded = ostrel::load_model(*model, load, silent);
      if (!loaded.ok()) return 0;
      realms_read = loaded.parsed.realms_read;
    }
    // As in a run, only a model of several segments has a realm section to read.
    if (request.SegmentCount > 1 && !realms_read) {
      request.realm_only = true;
      ostrel::read_input(*model, text, request, silent);
    }
  } catch (const ostrel::RunError&) {
  }
  return 0;
}

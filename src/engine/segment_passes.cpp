#include "engine/segment_passes.h"

#include "core/number_format.h"
#include "input/parser.h"

namespace ostrel {

SegmentedEnd finish_segmented_model(Model& model, const RunSettings& settings,
                                    const std::string& text, bool read_realms,
                                    const std::string& unclosed_message, SegmentedModel& segmented,
                                    const OutputContext& context, RunHost& host,
                                    ErrorHandler& errors, DebugLog* debug) {
  SegmentedEnd end;
  SegmentStore& store = segmented.store;
  std::string unclosed = unclosed_message;
  if (!read_realms && !unclosed.empty() && store.RealmFaceNo == 0) store.RealmFaceNo = 1;
  if (read_realms) {
    store.RealmFaceNo = 0;
    ParseRequest parse_request;
    parse_request.SegmentCount = settings.SegmentCount;
    parse_request.OutputName = context.OutputName;
    parse_request.realm_only = true;
    parse_request.segments = &store;
    ParseResult realms = parse_input(model, text, parse_request, host);
    if (realms.status == ParseStatus::kAbandoned) {
      end.error = realms.message;
      return end;
    }
    // Without a closed realm section the segments are written with the realm faces read.
    if (realms.status == ParseStatus::kRealmSectionUnclosed) {
      unclosed = realms.message.empty() ? " " : realms.message;
      if (store.RealmFaceNo == 0) store.RealmFaceNo = 1;
    }
  }
  std::vector<int> rows;
  for (int face = 1; face < store.RealmFaceNo; ++face) {
    end.error = realm_face_rows(store, face, rows);
    if (!end.error.empty()) return end;
  }
  if (debug) {
    std::vector<std::string> lines;
    for (int face = 1; face < store.RealmFaceNo; ++face) {
      std::string line = "Inter-realm Link: " + print_form(face) + " Vertices:";
      for (int corner = 1; corner <= store.RealmFaceSides(face); ++corner) {
        line += print_form(store.RealmFaceVertex(face, corner));
      }
      lines.push_back(line);
      lines.push_back("");
    }
    try {
      debug->append(lines);
    } catch (const RunError& error) {
      errors.recover(error);
    }
  }
  segmented.SegmentCount = settings.SegmentCount;
  for (const WrittenFile& file :
       write_segmented_file_set(segmented, model, settings, context, host, errors)) {
    end.files.push_back(file.path);
  }
  end.message = unclosed.size() > 1 ? unclosed
                                    : "W02: " + context.OutputName + " segmented VRML file written";
  return end;
}

}  // namespace ostrel

#include "cli/inspect.h"

#include <ostream>

#include "cli/json_writer.h"
#include "cli/settings_flags.h"
#include "core/model.h"
#include "core/run_error.h"
#include "input/input_reader.h"
#include "input/prescan.h"
#include "prepare/inflation.h"
#include "prepare/load_model.h"

namespace ostrel::cli {
namespace {

struct Inspection {
  Model model;             // the segment asked for
  PreparedModel prepared;  // with --prepared
  int linked_last_vertex = -1;
  SegmentStore segments;  // what reading the segment asked for put there (its anchor)
  Model realm_model;      // every segment then the realm section (with --realms)
  SegmentStore realm_segments;
  InputPrescan scan;
  int segment = 1;
  bool realms = false;
};

// Passes messages on and answers the star-collapse question as told. An OFF file's faces are
// final (a fan of triangles there is triangles), so for one the question is not asked: No.
class AnsweringHost final : public UserDialog {
 public:
  AnsweringHost(MessageSink& messages, bool yes) : messages_(messages), yes_(yes) {}
  void message(const std::string& text) override { messages_.message(text); }
  bool ask_yes_no(const std::string& question) override {
    messages_.message(question + (yes_ ? " Yes" : " No"));
    return yes_;
  }

 private:
  MessageSink& messages_;
  bool yes_;
};

// Reads every segment in turn, then the realm section, as a segmented run does.
ParseResult read_all_segments(Model& model, SegmentStore& segments, std::string_view text,
                              ParseRequest request, MessageSink& messages) {
  model.start_run();
  segments.start_run();
  request.segments = &segments;
  for (int segment = 1; segment <= request.SegmentCount; ++segment) {
    request.segment = segment;
    model.start_pass();
    segments.start_pass();
    ParseResult result = parse_input(model, text, request, messages);
    if (!result.ok()) return result;
    if (result.realms_read) return {};
  }
  request.realm_only = true;
  return parse_input(model, text, request, messages);
}

void write_faces_json(JsonWriter& json, const Model& model) {
  json.key("faces").begin_array();
  for (int face = 1; face <= model.FaceEntryCount; ++face) {
    json.begin_object();
    json.key("sides").value(model.FaceSides(face));
    json.key("step").value(model.FaceStep(face));
    json.key("flags").value(model.FaceFlags(face));
    if (const std::int64_t colour = model.FaceInputColour(face); colour & kInputColourGiven) {
      json.key("colour").begin_array();
      for (int shift = 24; shift >= 0; shift -= 8)
        json.value(static_cast<int>((colour >> shift) & 255));
      json.end_array();
    }
    json.key("vertices").begin_array();
    for (int corner = 1; corner <= model.FaceSides(face); ++corner) {
      json.value(model.FaceVertices(face, corner));
    }
    json.end_array().end_object();
  }
  json.end_array();
}

void write_json(const Inspection& in, std::ostream& out) {
  const Model& model = in.model;
  JsonWriter json;
  json.begin_object();
  json.key("segment").value(in.segment);
  json.key("segment_count").value(in.scan.segment_count());
  json.key("first_vertex").value(model.FirstVertex);
  json.key("last_vertex").value(model.LastVertex);
  json.key("face_count").value(model.FaceCount);
  json.key("link_count").value(model.LinkCount);
  json.key("anchor_mode").value(in.segments.SegmentAnchorMode(in.segment));
  write_faces_json(json, model);
  json.key("vertex_flags").begin_object();
  for (int vertex = std::max(model.FirstVertex, 0); vertex <= model.LastVertex; ++vertex) {
    if (!model.VertexFlags(vertex).empty()) {
      json.key(std::to_string(vertex)).value(model.VertexFlags(vertex));
    }
  }
  json.end_object();
  json.key("marked_edges").begin_array();
  for (int row = 1; row < model.MarkedEdgeCount; ++row) {
    json.begin_array().value(model.MarkedEdges(row, 1)).value(model.MarkedEdges(row, 2));
    json.value(model.MarkedEdges(row, 3)).end_array();
  }
  json.end_array();
  json.key("start_positions").begin_array();
  if (model.StartListRead) {
    for (int slot = 0; slot <= model.LastStartSlot; ++slot) {
      json.begin_array().value(model.StartX(slot)).value(model.StartY(slot));
      json.value(model.StartZ(slot)).end_array();
    }
  }
  json.end_array();
  if (in.prepared.links) {
    json.key("edges").begin_array();
    for (int e = 1; e <= model.EdgeCount; ++e) {
      json.begin_object();
      json.key("ends")
          .begin_array()
          .value(model.EdgeVertices(e, 1))
          .value(model.EdgeVertices(e, 2))
          .end_array();
      json.key("mark").value(model.EdgeVertices(e, 3));
      json.key("faces")
          .begin_array()
          .value(model.EdgeFaces(e, 1))
          .value(model.EdgeFaces(e, 2))
          .end_array();
      json.key("class").value(model.EdgeClass(e));
      json.key("target").value(model.EdgeTarget(e));
      json.end_object();
    }
    json.end_array();
    json.key("vertex_links").begin_object();
    for (int vertex = std::max(model.FirstVertex, 0); vertex <= model.LastVertex; ++vertex) {
      json.key(std::to_string(vertex)).begin_array();
      for (int k = 1; k <= in.prepared.links->VertexLinkCount(vertex); ++k) {
        json.value(in.prepared.links->VertexLinks(vertex, k));
      }
      json.end_array();
    }
    json.end_object();
    json.key("last_linked_vertex").value(in.linked_last_vertex);
  }
  json.key("input_flags").begin_object();
  json.key("cylinder").value(model.CylinderFlag);
  json.key("cylinder2").value(model.Cylinder2Flag);
  json.key("transparent").value(model.TransparentFlag);
  json.key("orient").value(model.OrientFlag);
  json.key("vertex_highlight").value(model.VertexHighlightFlag);
  json.key("augment").value(model.AugmentFlag);
  json.key("augment_letter").value(in.scan.augment_letter);
  json.end_object();
  if (in.realms) {
    const SegmentStore& realm = in.realm_segments;
    json.key("realm_faces").begin_array();
    for (int face = 1; face < realm.RealmFaceNo; ++face) {
      json.begin_object();
      json.key("vertices").begin_array();
      for (int corner = 1; corner <= MaxRealmCorners; ++corner) {
        json.value(realm.RealmFaceVertex(face, corner));
      }
      json.end_array();
      json.key("segments").begin_array();
      for (int corner = 1; corner <= MaxRealmCorners; ++corner) {
        json.value(realm.RealmFaceSegment(face, corner));
      }
      json.end_array();
      json.key("flags").value(realm.RealmFaceFlags(face));
      json.end_object();
    }
    json.end_array();
    json.key("joint_vertices").begin_array();
    for (int row = 1; row < realm.JointVertexNext; ++row) {
      json.begin_object();
      json.key("row").value(row);
      json.key("segment").value(realm.JointVertexSegment(row));
      json.key("number").value(realm.JointVertexNumber(row));
      json.key("position").begin_array();
      for (int axis = 1; axis <= 3; ++axis) json.value(realm.JointVertexPos(row, axis));
      json.end_array().end_object();
    }
    json.end_array();
  }
  json.end_object();
  out << json.text() << "\n";
}

void write_text(const Inspection& in, std::ostream& out) {
  const Model& model = in.model;
  out << "segment " << in.segment << " of " << in.scan.segment_count() << "\n";
  out << "vertices " << model.FirstVertex << " to " << model.LastVertex << "\n";
  out << "faces " << model.FaceCount << ", links " << model.LinkCount << "\n";
  for (int face = 1; face <= model.FaceEntryCount; ++face) {
    out << (face > model.FaceCount ? "link " : "face ") << face << ": " << model.FaceSides(face)
        << " corners, step " << model.FaceStep(face);
    if (!model.FaceFlags(face).empty()) out << ", flags " << model.FaceFlags(face);
    if (const std::int64_t colour = model.FaceInputColour(face); colour & kInputColourGiven) {
      out << ", colour";
      for (int shift = 24; shift >= 0; shift -= 8) out << " " << ((colour >> shift) & 255);
    }
    out << ":";
    for (int corner = 1; corner <= model.FaceSides(face); ++corner) {
      out << " " << model.FaceVertices(face, corner);
    }
    out << "\n";
  }
  for (int vertex = std::max(model.FirstVertex, 0); vertex <= model.LastVertex; ++vertex) {
    if (!model.VertexFlags(vertex).empty()) {
      out << "vertex " << vertex << " flags " << model.VertexFlags(vertex) << "\n";
    }
  }
  static const char* kMarkNames[] = {"", "highlight", "cylinder", "cylinder type 2"};
  if (in.prepared.links) {
    for (int e = 1; e <= model.EdgeCount; ++e) {
      out << "edge " << e << ": " << model.EdgeVertices(e, 1) << "-" << model.EdgeVertices(e, 2)
          << ", faces " << model.EdgeFaces(e, 1) << " and " << model.EdgeFaces(e, 2) << ", class "
          << model.EdgeClass(e) << ", target " << model.EdgeTarget(e);
      int mark = model.EdgeVertices(e, 3);
      if (mark >= 1 && mark <= 3) out << ", " << kMarkNames[mark] << " edge";
      out << "\n";
    }
    for (int vertex = std::max(model.FirstVertex, 0); vertex <= model.LastVertex; ++vertex) {
      out << "vertex " << vertex << " linked to";
      for (int k = 1; k <= in.prepared.links->VertexLinkCount(vertex); ++k) {
        out << " " << in.prepared.links->VertexLinks(vertex, k);
      }
      out << "\n";
    }
    out << "last linked vertex " << in.linked_last_vertex << "\n";
  }
  for (int row = 1; row < model.MarkedEdgeCount; ++row) {
    int mark = model.MarkedEdges(row, 3);
    out << "marked edge " << model.MarkedEdges(row, 1) << "-" << model.MarkedEdges(row, 2) << " "
        << (mark >= 1 && mark <= 3 ? kMarkNames[mark] : "mark " + std::to_string(mark)) << "\n";
  }
  if (model.StartListRead) {
    for (int slot = 0; slot <= model.LastStartSlot; ++slot) {
      out << "start position of vertex " << model.FirstVertex + slot << ": " << model.StartX(slot)
          << " " << model.StartY(slot) << " " << model.StartZ(slot) << "\n";
    }
  }
  if (in.realms) {
    const SegmentStore& realm = in.realm_segments;
    for (int face = 1; face < realm.RealmFaceNo; ++face) {
      out << "realm face " << face << ":";
      for (int corner = 1; corner <= MaxRealmCorners; ++corner) {
        out << " " << realm.RealmFaceSegment(face, corner) << ":"
            << realm.RealmFaceVertex(face, corner);
      }
      if (!realm.RealmFaceFlags(face).empty()) out << " flags " << realm.RealmFaceFlags(face);
      out << "\n";
    }
    for (int row = 1; row < realm.JointVertexNext; ++row) {
      out << "joint vertex " << row << ": segment " << realm.JointVertexSegment(row) << " number "
          << realm.JointVertexNumber(row) << " at " << realm.JointVertexPos(row, 1) << " "
          << realm.JointVertexPos(row, 2) << " " << realm.JointVertexPos(row, 3) << "\n";
    }
  }
}

}  // namespace

int run_inspect(const InspectOptions& options, std::ostream& out, MessageSink& messages) {
  auto inspection = std::make_unique<Inspection>();
  Inspection& in = *inspection;
  std::string text = read_input_file(options.input);
  in.scan = prescan_input(text);
  in.segment = options.segment;
  in.realms = options.realms;
  if (std::string problem = segment_count_problem(in.scan.segment_count()); !problem.empty()) {
    messages.message(problem);
    return 1;
  }
  if (options.segment < 1 || options.segment > std::max(in.scan.segment_count(), 1)) {
    messages.message("Error: The input has " + std::to_string(in.scan.segment_count()) +
                     " segment(s); there is no segment " + std::to_string(options.segment));
    return 1;
  }
  ParseRequest request;
  request.SegmentCount = in.scan.segment_count();
  request.OutputName = input_base_name(options.input);

  request.segment = options.segment;
  request.segments = &in.segments;
  in.model.start_run();
  in.model.start_pass();
  RunSettings settings;
  settings.SegmentCount = in.scan.segment_count();
  for (const std::string& assignment : options.assignments) {
    std::string problem = set_control_assignment(settings, assignment);
    if (!problem.empty()) {
      messages.message("ostrel-cli: " + problem);
      return 2;
    }
  }
  AnsweringHost host(messages, options.collapse_stars);
  LoadRequest load;
  load.text = text;
  load.parse = request;
  if (options.prepared) load.settings = &settings;
  LoadResult loaded = load_model(in.model, load, host);
  if (loaded.parsed.status == ParseStatus::kAbandoned) {
    messages.message(loaded.parsed.message);
    return 1;
  }
  if (options.prepared) {
    if (!loaded.prepared && loaded.error.empty()) {
      messages.message("Error: segment " + std::to_string(options.segment) +
                       " is an anchor; it has nothing to prepare");
      return 1;
    }
    if (!loaded.error.empty()) {
      messages.message(loaded.error);
      return 1;
    }
    in.prepared = std::move(loaded.preparation);
    in.linked_last_vertex = last_linked_vertex(in.model, *in.prepared.links);
  }
  if (options.realms && in.scan.has_segments()) {
    ParseResult realm_result =
        read_all_segments(in.realm_model, in.realm_segments, text, request, messages);
    if (realm_result.status == ParseStatus::kAbandoned) {
      messages.message(realm_result.message);
      return 1;
    }
    if (realm_result.status == ParseStatus::kRealmSectionUnclosed) {
      messages.message("Input error: The realm section has no closing \"]\"");
    }
  }
  if (options.json) {
    write_json(in, out);
  } else {
    write_text(in, out);
  }
  return 0;
}

}  // namespace ostrel::cli

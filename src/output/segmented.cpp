#include "output/segmented.h"

#include <cmath>

#include "core/colour.h"
#include "core/flag_letters.h"
#include "core/message_sink.h"
#include "core/number_format.h"
#include "core/run_error.h"
#include "output/output_file.h"
#include "output/vrml_segmented.h"

namespace ostrel {
namespace {

constexpr std::string_view kCoordinatePattern = "#0.0###############";

void line(std::ostream& out, const std::string& text) {
  out << text << "\r\n";
}

int find_row(const SegmentStore& store, int segment, int number) {
  for (int row = 1; row < store.JointVertexNext; ++row) {
    if (store.JointVertexSegment(row) == segment && store.JointVertexNumber(row) == number) {
      return row;
    }
  }
  return 0;
}

// The colour index of a segment's face: the segment's colour with "Colour Per Segment", else
// the face's own (with the highlight override of the four-dimensional OFF file).
std::optional<int> segment_face_colour(const Model& segment_model, const SegmentStore& store,
                                       int segment, int face, const RunSettings& settings,
                                       int& running_class) {
  const std::string& flags = segment_model.FaceFlags(face);
  HighlightState highlight{settings.Highlight, settings.highlight_kind()};
  std::optional<int> index =
      FaceColourIndex(segment_model.FaceSides(face), segment_model.FaceStep(face), flags,
                      running_class, highlight, HighlightScope::kFourDimensionalOff);
  if (index && settings.SegColour == 0) index = store.SegmentColourClass(segment);
  return index;
}

}  // namespace

void store_segment(SegmentedModel& segmented, const Model& run_model, int segment) {
  SegmentStore& store = segmented.store;
  segmented.segments[static_cast<std::size_t>(segment)] = std::make_unique<Model>(run_model);
  segmented.first_row[static_cast<std::size_t>(segment)] = store.JointVertexNext;
  for (int v = run_model.FirstVertex; v <= run_model.LastVertex; ++v) {
    int row = store.JointVertexNext++;
    store.JointVertexNumber(row) = v;
    store.JointVertexSegment(row) = segment;
    store.JointVertexPos(row, 1) = run_model.VertexX(v);
    store.JointVertexPos(row, 2) = run_model.VertexY(v);
    store.JointVertexPos(row, 3) = run_model.VertexZ(v);
  }
}

std::string realm_face_rows(const SegmentStore& store, int face, std::vector<int>& rows) {
  rows.clear();
  for (int corner = 1; corner <= store.RealmFaceSides(face); ++corner) {
    int segment = store.RealmFaceSegment(face, corner);
    int number = store.RealmFaceVertex(face, corner);
    int row = find_row(store, segment, number);
    if (row == 0) {
      return "Input error: Realm face " + std::to_string(face) + " joins vertex " +
             std::to_string(number) + " of segment " + std::to_string(segment) +
             ", which has no such vertex";
    }
    rows.push_back(row);
  }
  return {};
}

std::array<double, MaxSegments + 1> segment_w_offsets(const SegmentStore& store) {
  std::array<double, MaxSegments + 1> offset{};
  std::vector<int> rows;
  for (int face = 1; face < store.RealmFaceNo; ++face) {
    if (!realm_face_rows(store, face, rows).empty()) continue;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      for (std::size_t j = i + 1; j < rows.size(); ++j) {
        int si = store.JointVertexSegment(rows[i]);
        int sj = store.JointVertexSegment(rows[j]);
        if (si == sj) continue;
        double dx = store.JointVertexPos(rows[i], 1) - store.JointVertexPos(rows[j], 1);
        double dy = store.JointVertexPos(rows[i], 2) - store.JointVertexPos(rows[j], 2);
        double dz = store.JointVertexPos(rows[i], 3) - store.JointVertexPos(rows[j], 3);
        double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        int higher = std::max(si, sj);
        if (higher >= 0 && higher <= MaxSegments) {
          offset[static_cast<std::size_t>(higher)] = d >= 1.0 ? 0.0 : std::sqrt(1.0 - d * d);
        }
      }
    }
  }
  for (int segment = 2; segment <= MaxSegments; ++segment) {
    offset[static_cast<std::size_t>(segment)] += offset[static_cast<std::size_t>(segment - 1)];
  }
  return offset;
}

void write_segmented_off(std::ostream& out, const SegmentedModel& segmented,
                         const RunSettings& settings, const OffColourTable& colours,
                         const OutputContext& context) {
  const SegmentStore& store = segmented.store;
  line(out, "4OFF");
  write_off_comment_header(out, context);
  line(out, "# Vertices Faces Edges Cells");
  int faces = store.RealmFaceNo > 0 ? store.RealmFaceNo - 1 : 0;
  for (int segment = 1; segment <= segmented.SegmentCount; ++segment) {
    const Model* model = segmented.segments[static_cast<std::size_t>(segment)].get();
    if (!model) continue;
    for (int f = 1; f <= model->FaceCount; ++f) {
      if (!has_letter(model->FaceFlags(f), 'B')) ++faces;
    }
  }
  line(out, print_form(store.JointVertexNext - 1) + print_form(faces) + "0 0");
  line(out, "#");
  line(out, "# Vertices");
  auto w = segment_w_offsets(store);
  std::string text;
  for (int row = 1; row < store.JointVertexNext; ++row) {
    text.clear();
    for (int axis = 1; axis <= 3; ++axis) {
      append_output_number(text, store.JointVertexPos(row, axis), kCoordinatePattern);
      text += ' ';
    }
    int segment = store.JointVertexSegment(row);
    append_output_number(
        text, segment >= 0 && segment <= MaxSegments ? w[static_cast<std::size_t>(segment)] : 0.0,
        kCoordinatePattern);
    line(out, text);
  }
  for (int segment = 1; segment <= segmented.SegmentCount; ++segment) {
    const Model* model = segmented.segments[static_cast<std::size_t>(segment)].get();
    if (!model) continue;
    int first_row = segmented.first_row[static_cast<std::size_t>(segment)];
    int running_class = 0;
    for (int f = 1; f <= model->FaceCount; ++f) {
      auto index = segment_face_colour(*model, store, segment, f, settings, running_class);
      if (!index) continue;
      text.clear();
      append_print_form(text, model->FaceSides(f));
      for (int k = 1; k <= model->FaceSides(f); ++k) {
        append_print_form(text, first_row + model->FaceVertices(f, k) - model->FirstVertex - 1);
      }
      text += "  ";
      text += colours[static_cast<std::size_t>(*index)];
      line(out, text);
    }
  }
  std::vector<int> rows;
  for (int face = 1; face < store.RealmFaceNo; ++face) {
    if (!realm_face_rows(store, face, rows).empty()) continue;
    text.clear();
    append_print_form(text, static_cast<long long>(rows.size()));
    for (int row : rows) append_print_form(text, row - 1);
    text += " 255 0 0";
    line(out, text);
  }
  line(out, "#");
  line(out, "# END");
}

std::vector<WrittenFile> write_segmented_file_set(const SegmentedModel& segmented,
                                                  const Model& run_model,
                                                  const RunSettings& settings,
                                                  const OutputContext& context, UserDialog& host,
                                                  ErrorHandler& errors) {
  std::vector<WrittenFile> written;
  {
    std::filesystem::path path = context.OutputDirectory / (context.OutputName + ".wrl");
    try {
      write_segmented_vrml_file(path, segmented, run_model, settings, context, host);
      // The segmented VRML file is a face set file like the solid one; it has no kind of its own.
      written.push_back({OutputKind::kSegmentedVrml, path});
    } catch (const RunError& error) {
      errors.recover(error);
    }
  }
  RhombusSetColours rhombus = choose_rhombus_colours(settings, context.RhombusSetDiagonals);
  if (settings.OffFile) {
    std::filesystem::path path = context.OutputDirectory / (context.OutputName + ".off");
    try {
      OffColourTable colours = build_off_colour_table(settings, rhombus, host);
      write_output_file(path, [&](std::ostream& out) {
        write_segmented_off(out, segmented, settings, colours, context);
      });
      written.push_back({OutputKind::kSegmentedOff, path});
    } catch (const RunError& error) {
      errors.recover(error);
    }
  }
  if (settings.NetFile) {
    host.message("Warning: nets are made for models without segments; " + context.OutputName +
                 "_net.svg is not written");
  }
  return written;
}

}  // namespace ostrel

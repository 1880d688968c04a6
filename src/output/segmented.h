// A segmented model: its segments relaxed one after the other, their vertices gathered in the
// joint vertex table beside the anchors of point and line segments, and the realm faces that
// join vertices of different segments. Written at the end as one segmented VRML file and one
// four-dimensional OFF file, in which the segments are spread along a fourth coordinate.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "core/model.h"
#include "core/segment_store.h"
#include "output/file_set.h"
#include "output/off_writer.h"
#include "settings/run_settings.h"

namespace ostrel {

class UserDialog;
class ErrorHandler;

struct SegmentedModel {
  int SegmentCount = 1;
  // Each ordinary segment as its run left it (empty for anchor segments), by segment 1..5.
  std::array<std::unique_ptr<Model>, MaxSegments + 1> segments;
  // The joint row of each segment's FirstVertex (0 for anchor segments).
  std::array<int, MaxSegments + 1> first_row{};
  // The anchors and realm faces the parser read, and the joint vertex table.
  SegmentStore store;
};

// Keeps a copy of the segment just relaxed in `run_model` and appends its vertices, with their
// positions, to the joint vertex table (one row per vertex, in vertex order).
void store_segment(SegmentedModel& segmented, const Model& run_model, int segment);

// The joint rows (1-based) of the corners of realm face `face`: the row holding each corner's
// segment and vertex number. Returns an error message when a corner names a vertex that no
// segment has; empty otherwise.
std::string realm_face_rows(const SegmentStore& store, int face, std::vector<int>& rows);

// The fourth coordinate of each segment (index 0..5): for every pair of realm-face corners in
// different segments, the higher segment's offset becomes √(1 − d²) for corners d < 1 apart
// (else 0), a later pair replacing an earlier one; then the offsets are summed up segment by
// segment.
std::array<double, MaxSegments + 1> segment_w_offsets(const SegmentStore& store);

// The four-dimensional OFF file ("4OFF").
void write_segmented_off(std::ostream& out, const SegmentedModel& segmented,
                         const RunSettings& settings, const OffColourTable& colours,
                         const OutputContext& context);

// Writes the segmented output set: the segmented VRML file (vrml_segmented.h) at
// OutputDirectory / (OutputName + ".wrl"), then the four-dimensional OFF file (with OffFile) at
// OutputDirectory / (OutputName + ".off"). Failures go to `errors` as for the other files.
// With NetFile a warning says that no net is made of a segmented model.
std::vector<WrittenFile> write_segmented_file_set(const SegmentedModel& segmented,
                                                  const Model& run_model,
                                                  const RunSettings& settings,
                                                  const OutputContext& context, UserDialog& host,
                                                  ErrorHandler& errors);

}  // namespace ostrel

// The segmented VRML file: every relaxed segment of a segmented model as its own framed,
// semi-transparent solid, placed and mirrored by its segment options, and the realm faces and
// link lines that join the segments, all in one file.
//
// The file, in order (lines end with CR LF):
//  1. the header block (WriteVrmlHeader, with the segment edge lengths), then " ";
//  2. per segment, its labels and vertex spheres ("Balls" + segment), placed by its options;
//  3. per ordinary segment k (anchor segments have no faces):
//     - a frame shape: the colour table COL (defined by the first such segment, "color USE COL"
//       after it), the coordinates "C" + k (the segment's vertices, the inner points of its
//       frames and the centres of its whole star faces, placed by the segment's options), every
//       face as its frame quadrilaterals (faces flagged "s" whole), a material with the
//       TransLevel transparency, then the transparent face set TRANS of its "t" faces unless
//       SegTrans(k) is ticked, the edge line set EDGES when Edge is on, and the cylinders of its
//       marked edges (write_edge_and_stress_shapes);
//     - a solid shape over "C" + k: the faces as in the solid file ("f" faces as frames), with
//       the TransLevel transparency in its material;
//  4. the link shape: the coordinates CSEG (the rows of the joint vertex table up to the first
//     row of segment 0, each placed by its own segment's options; row r is point r - 1) and one
//     face per realm face of three or four corners (a two-corner link is no face: it is drawn
//     as a line only), with the TransLevel transparency when RealmTrans is on;
//  5. the link lines over CSEG: the sides of every realm face when Edge is on (colour VRMLEdge)
//     and the two-corner links always (colour RealmLine);
//  6. the closing dummy sphere, then "]" and "}" closing the link shape's Transform, which
//     holds the link lines and the dummy sphere.
//
// Colours. With SegColour 0 ("Colour Per Segment") the faces of segment k take its segment
// colour (class 15 + k, ColourS1..ColourS5) and every realm face the inter-realm face colour
// (index 1), neither recoloured by the highlight option; with SegColour 1 ("Colour Per Face")
// the faces take their own colour index as in the solid file and the realm faces the colour of
// their realm colour letters, or of their corner count when they have none.
#pragma once

#include <filesystem>
#include <ostream>

#include "core/message_sink.h"
#include "output/file_set.h"
#include "output/segmented.h"
#include "settings/run_settings.h"

namespace ostrel {

struct Model;

// Writes the segmented VRML file to `out`. `segmented` holds the segments as their runs left them,
// the joint vertex table and the realm faces; `run_model` stands in for the header when no
// segment was relaxed. The header reports the last
// relaxed segment (the one the context's deformation figures belong to). Segment count, edge
// lengths and placements come from `segmented.SegmentCount` and the segment options of
// `settings`. A realm face with a corner that names no point of CSEG is left out of the faces
// and the lines alike. Clipped colour texts are reported through `sink`.
void write_segmented_vrml(std::ostream& out, const SegmentedModel& segmented,
                          const Model& run_model, const RunSettings& settings,
                          const OutputContext& context, MessageSink& sink);

// The same into the file at `path` (output_file.h: temporary file, renamed when complete).
void write_segmented_vrml_file(const std::filesystem::path& path, const SegmentedModel& segmented,
                               const Model& run_model, const RunSettings& settings,
                               const OutputContext& context, MessageSink& sink);

}  // namespace ostrel

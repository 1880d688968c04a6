#include "output/vrml_segmented.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "core/colour.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "core/number_format.h"
#include "output/output_file.h"
#include "output/vrml_geometry.h"
#include "output/vrml_header.h"

namespace ostrel {
namespace {

constexpr std::string_view kLinkPattern = "#0.00000000";

int segment_total(const SegmentedModel& segmented) {
  return std::clamp(segmented.SegmentCount, 0, MaxSegments);
}

// The model of segment 1..5, or nullptr for an anchor segment (placed, never relaxed).
const Model* segment_model(const SegmentedModel& segmented, int segment) {
  return segmented.segments[static_cast<std::size_t>(segment)].get();
}

// The last segment relaxed: the deformation figures of the context belong to its run.
int last_relaxed_segment(const SegmentedModel& segmented) {
  for (int segment = segment_total(segmented); segment >= 1; --segment) {
    if (segment_model(segmented, segment)) return segment;
  }
  return 0;
}

// The colour index of every face of one segment (entry 0 unused, 0 for a face flagged "B"):
// the segment's colour with "Colour Per Segment", the face's own index otherwise.
std::vector<int> segment_colour_indices(const Model& model, const SegmentStore& store, int segment,
                                        const RunSettings& settings) {
  std::vector<int> indices = face_colour_indices(model, settings);
  if (settings.SegColour != 0) return indices;
  for (int& index : indices) {
    if (index != 0) index = store.SegmentColourClass(segment);
  }
  return indices;
}

// Number of CSEG points: the joint rows from row 1 up to, not including, the first row of
// segment 0 (rows past JointVertexNext - 1 were never filled).
int link_point_count(const SegmentStore& store) {
  int row = 1;
  while (row < store.JointVertexNext && store.JointVertexSegment(row) != 0) ++row;
  return row - 1;
}

// A realm face as the link shape and the link lines draw it.
struct RealmLink {
  std::vector<int> points;  // CSEG point of each corner, in corner order
  std::string flags;
};

// The realm faces in order, each corner turned into its CSEG point. A face with a corner that
// has no joint row, or whose row lies past the CSEG points, is left out: it has nothing to join.
std::vector<RealmLink> realm_links(const SegmentStore& store) {
  const int points = link_point_count(store);
  std::vector<RealmLink> links;
  std::vector<int> rows;
  for (int face = 1; face < store.RealmFaceNo; ++face) {
    if (!realm_face_rows(store, face, rows).empty()) continue;
    if (std::any_of(rows.begin(), rows.end(), [&](int row) { return row < 1 || row > points; })) {
      continue;
    }
    RealmLink link;
    for (int row : rows) link.points.push_back(row - 1);
    link.flags = store.RealmFaceFlags(face);
    links.push_back(std::move(link));
  }
  return links;
}

// A realm face of three or four corners is drawn as a face; a two-corner link has no area and
// is drawn by the link lines alone (a face of two corners is not a valid VRML face).
bool drawn_as_face(const RealmLink& link) {
  return link.points.size() >= 3;
}

std::string transparency_line(const RunSettings& settings) {
  return "        transparency " + FormatOutputNumber(lenient_value(settings.TransLevel), "#0.00");
}

void write_frame_shape(std::ostream& out, const VrmlInputs& inputs, const CoordinateLayout& layout,
                       const std::vector<int>& colours, int segment, bool define_colours) {
  const RunSettings& settings = inputs.settings;
  vrml_line(out, "Transform {");
  vrml_line(out, "  children[");
  vrml_line(out, "  Shape{");
  write_face_set_head(out, inputs, define_colours);
  write_coordinates(out, layout, segment, segment_placement(settings, segment));
  write_face_indices(out, inputs.model, layout, colours, FaceDrawing::kFrame);
  // The frames are as transparent as the segment's solid shape.
  write_face_appearance(out, settings, true);
  const bool transparent_set = !settings.SegTrans[static_cast<std::size_t>(segment)];
  if (transparent_set && has_transparent_faces(inputs.model)) {
    write_transparent_set(out, inputs, layout, colours, segment);
  }
  if (settings.Edge) write_edge_set(out, inputs, segment);
  // The segment's marked cylinder edges (and any stress shapes), placed by its options through
  // the context's current segment. Each segment defines its own "Cyl": its edges have its length.
  CloserOptions closers;
  closers.segmented_file = true;
  closers.segment = segment;
  write_edge_and_stress_shapes(out, inputs, closers);
  vrml_line(out, "]");
  vrml_line(out, "}");
}

void write_solid_shape(std::ostream& out, const VrmlInputs& inputs, const CoordinateLayout& layout,
                       const std::vector<int>& colours, int segment) {
  vrml_line(out, "Transform {");
  vrml_line(out, "  children[");
  vrml_line(out, "  Shape{");
  vrml_line(out, "    geometry IndexedFaceSet {");
  write_crease_angle(out, inputs.settings);
  vrml_line(out, "      solid FALSE");
  vrml_line(out, "      convex FALSE");
  vrml_line(out, "      colorPerVertex FALSE");
  vrml_line(out, "      color USE COL");
  vrml_line(out, "      coord USE C" + std::to_string(segment));
  write_face_indices(out, inputs.model, layout, colours, FaceDrawing::kSolid);
  write_face_appearance(out, inputs.settings, true);
  vrml_line(out, "]");
  vrml_line(out, "}");
}

// The link shape up to the "}" of its Shape; its Transform stays open for the link lines and
// the dummy sphere, and is closed at the end of the file.
void write_link_shape(std::ostream& out, const VrmlInputs& inputs, const SegmentStore& store,
                      const std::vector<RealmLink>& links, bool define_colours) {
  const RunSettings& settings = inputs.settings;
  vrml_line(out, "Transform {");
  vrml_line(out, "  children[");
  vrml_line(out, "  Shape{");
  // Without a segment of faces no frame shape has defined COL: the link shape defines it.
  write_face_set_head(out, inputs, define_colours);
  vrml_line(out, "    coord DEF CSEG Coordinate{");
  vrml_line(out, "         point[");
  std::string text;
  const int points = link_point_count(store);
  for (int row = 1; row <= points; ++row) {
    const SegmentPlacement placement = segment_placement(settings, store.JointVertexSegment(row));
    const Vec3 at = placement.apply(
        {store.JointVertexPos(row, 1), store.JointVertexPos(row, 2), store.JointVertexPos(row, 3)});
    text = "    ";
    append_output_number(text, at.x, kLinkPattern);
    text += ' ';
    append_output_number(text, at.y, kLinkPattern);
    text += ' ';
    append_output_number(text, at.z, kLinkPattern);
    text += ',';
    vrml_line(out, text);
  }
  vrml_line(out, "         ]");
  vrml_line(out, "    }");

  const HighlightState highlight{settings.Highlight, settings.highlight_kind()};
  int colour_class = 0;  // a face no rule covers takes the previous face's class
  std::string colours = "    colorIndex[ ";
  vrml_line(out, "    coordIndex[");
  for (const RealmLink& link : links) {
    if (!drawn_as_face(link)) continue;
    text = "     ";
    for (int point : link.points) {
      append_print_form(text, point);
      text += ',';
    }
    text += "-1,";
    vrml_line(out, text);
    // "Colour Per Segment" gives every realm face the inter-realm face colour, whatever its
    // colour letters say; "Colour Per Face" colours it by its letters or its corner count.
    int index = 1;
    if (settings.SegColour != 0) {
      index = FaceColourIndex(static_cast<int>(link.points.size()), 1, link.flags, colour_class,
                              highlight, HighlightScope::kVrmlFaceSet)
                  .value_or(1);
    }
    append_print_form(colours, index);
    colours += ',';
  }
  vrml_line(out, "    ]");
  vrml_line(out, colours);
  vrml_line(out, "");
  vrml_line(out, "    ]");
  vrml_line(out, "    }");
  vrml_line(out, "    appearance Appearance {");
  vrml_line(out, "      material Material {");
  vrml_line(out, "        shininess 1");
  vrml_line(out, "        specularColor 1 1 1");
  if (settings.RealmTrans) vrml_line(out, transparency_line(settings));
  vrml_line(out, "      }");
  vrml_line(out, "    }");
  vrml_line(out, "}");
}

// The lines between the segments: every side of a realm face when Edge is on (VRMLEdge colour,
// index 0), and each two-corner link as one line (RealmLine colour, index 1).
void write_link_lines(std::ostream& out, const VrmlInputs& inputs,
                      const std::vector<RealmLink>& links) {
  const RunSettings& settings = inputs.settings;
  vrml_line(out, "Transform {");
  vrml_line(out, "  children[");
  vrml_line(out, "  Shape{");
  vrml_line(out, "    geometry IndexedLineSet{");
  vrml_line(out, "      colorPerVertex FALSE");
  vrml_line(out, "      color Color{");
  vrml_line(out, "color [ " + ColourTextToVrml(settings.VRMLEdge, "VRML Edge", inputs.sink) + "," +
                     ColourTextToVrml(settings.RealmLine, "Inter-Realm Line", inputs.sink) + "]");
  vrml_line(out, "      }");
  vrml_line(out, "    coord USE CSEG");
  vrml_line(out, "    coordIndex[");
  std::string colours = "    colorIndex[ ";
  std::string text;
  for (const RealmLink& link : links) {
    const int n = static_cast<int>(link.points.size());
    if (n < 2 || (!settings.Edge && n != 2)) continue;
    // Corner k joins corner k + 1 (the last one corner 1); a two-corner link has one side.
    for (int k = 1; k <= n; ++k) {
      const int j = k < n ? k + 1 : 1;
      if (n == 2 && j != 1) continue;
      text = "     ";
      append_print_form(text, link.points[static_cast<std::size_t>(j - 1)]);
      text += ',';
      append_print_form(text, link.points[static_cast<std::size_t>(k - 1)]);
      text += ",-1,";
      vrml_line(out, text);
      colours += n == 2 ? "1," : "0,";
    }
  }
  vrml_line(out, "    ]");
  vrml_line(out, colours);
  vrml_line(out, "");
  vrml_line(out, "    ]");
  vrml_line(out, "    }");
  vrml_line(out, "  }");
  vrml_line(out, "  ]");
  vrml_line(out, "}");
}

}  // namespace

void write_segmented_vrml(std::ostream& out, const SegmentedModel& segmented,
                          const Model& run_model, const RunSettings& settings,
                          const OutputContext& context, MessageSink& sink) {
  const int segments = segment_total(segmented);
  const RhombusSetColours rhombus = choose_rhombus_colours(settings, context.RhombusSetDiagonals);
  OutputContext file_context = context;
  file_context.SegmentCount = segmented.SegmentCount;

  const int last_relaxed = last_relaxed_segment(segmented);
  const Model& header_model =
      last_relaxed > 0 ? *segment_model(segmented, last_relaxed) : run_model;
  WriteVrmlHeader(out, VrmlInputs{header_model, settings, file_context, rhombus, sink});
  vrml_line(out, " ");

  // Each segment's labels and spheres, placed by its options. The context knows which of the
  // vertices the engine added, and the deviations, only for the segment relaxed last; the others
  // count all as input and as not measured.
  const auto segment_context = [&](int segment) {
    OutputContext own = file_context;
    own.CurrentSegment = segment;
    if (segment != last_relaxed) {
      own.InputLastVertex.reset();
      own.deviations = {};
    }
    return own;
  };
  bool spheres_asked = false;
  bool spheres_drawn = false;
  for (int segment = 1; segment <= segments; ++segment) {
    const Model* model = segment_model(segmented, segment);
    if (!model) continue;
    const OutputContext own = segment_context(segment);
    const VrmlInputs inputs{*model, settings, own, rhombus, sink};
    write_labels(out, inputs);
    SphereOptions sphere_options;
    sphere_options.segmented_file = true;  // "Balls" + segment: one shape per segment
    sphere_options.segment = segment;
    const SphereStep step = write_vertex_spheres(out, inputs, sphere_options);
    spheres_asked = spheres_asked || step != SphereStep::kNotRun;
    spheres_drawn = spheres_drawn || step == SphereStep::kDrawn;
  }

  bool colours_defined = false;
  for (int segment = 1; segment <= segments; ++segment) {
    const Model* model = segment_model(segmented, segment);
    if (!model) continue;
    const OutputContext own = segment_context(segment);
    const VrmlInputs inputs{*model, settings, own, rhombus, sink};
    // One coordinate list serves both shapes: the frame shape's inner points and the solid
    // shape's frames ("f") and star centres.
    const CoordinateLayout layout =
        plan_coordinates(*model, settings, {FaceDrawing::kFrame, FaceDrawing::kSolid});
    const std::vector<int> colours =
        segment_colour_indices(*model, segmented.store, segment, settings);
    write_frame_shape(out, inputs, layout, colours, segment, !colours_defined);
    colours_defined = true;
    write_solid_shape(out, inputs, layout, colours, segment);
  }

  const VrmlInputs link_inputs{run_model, settings, file_context, rhombus, sink};
  const std::vector<RealmLink> links = realm_links(segmented.store);
  write_link_shape(out, link_inputs, segmented.store, links, !colours_defined);
  write_link_lines(out, link_inputs, links);
  // The dummy sphere is left out when spheres were asked for and none could be drawn.
  if (!spheres_asked || spheres_drawn) write_dummy_sphere(out);
  vrml_line(out, "]");
  vrml_line(out, "}");
}

void write_segmented_vrml_file(const std::filesystem::path& path, const SegmentedModel& segmented,
                               const Model& run_model, const RunSettings& settings,
                               const OutputContext& context, MessageSink& sink) {
  write_output_file(path, [&](std::ostream& out) {
    write_segmented_vrml(out, segmented, run_model, settings, context, sink);
  });
}

}  // namespace ostrel

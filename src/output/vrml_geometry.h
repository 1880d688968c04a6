// The pieces the VRML writers build their files from: the colour table `COL`, the coordinate
// node `C1`, the main face set with its face lines and colour indices, the transparent face set
// `TRANS`, the edge line set `EDGES`, the vertex spheres `Balls`, the vertex and face labels,
// the frame style with its inner points, and the closers every file ends with.
//
// Every line ends with CR LF. Vertex numbers in index lists are written in print form and
// counted from FirstVertex (the first vertex is point 0); coordinates go through
// FormatOutputNumber. A face flagged "B" is never drawn: it is missing from the face lines and
// from the colour indices alike, so both lists stay aligned.
#pragma once

#include <array>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_sink.h"
#include "core/vec3.h"
#include "output/file_set.h"
#include "output/vrml_colours.h"
#include "output/vrml_header.h"
#include "settings/run_settings.h"

namespace ostrel {

struct Model;

// --- Segment placement --------------------------------------------------------------------

// Where a segment's points are written: (ox + fx·e·x, oy + fy·e·y, oz + fz·e·z).
struct SegmentPlacement {
  double edge = 1.0;  // e: the segment's edge length
  double flip_x = 1.0, flip_y = 1.0, flip_z = 1.0;
  double offset_x = 0.0, offset_y = 0.0, offset_z = 0.0;
  Vec3 apply(const Vec3& point) const;
};

// The placement of segment 1..5 from its options: e = SegEdge (1 when it reads as 0), f = −1
// for a ticked FlipX/FlipY/FlipZ, offsets SegX, SegY, SegZ.
SegmentPlacement segment_placement(const RunSettings& settings, int segment);

// Appends "x y z" to `text`, each coordinate of `p` through FormatOutputNumber with `pattern`.
void append_point(std::string& text, const Vec3& p, std::string_view pattern);

// The placement of labels and spheres in the file being written: the current segment's in a
// segmented run. An ordinary run has no segments: its labels and spheres stay on the vertices
// they belong to whatever the segment options still hold from an earlier run.
SegmentPlacement label_placement(const RunSettings& settings, const OutputContext& context);

// --- Frames and coordinates ---------------------------------------------------------------

// How a face set draws the faces.
enum class FaceDrawing {
  kSolid,        // every face but "B"; faces flagged "f" as frames, the others whole
  kFrame,        // every face but "B"; faces flagged "s" whole, the others as frames
  kTransparent,  // only the faces flagged "t" (and not "B"), whole
};

enum class FaceForm { kHidden, kWhole, kFrame };

// How `drawing` draws a face with these flags.
FaceForm face_form(std::string_view flags, FaceDrawing drawing);

// A face drawn whole is a star (a fan of spikes around its centre) when its step is not 1 or
// it is flagged "n".
bool drawn_as_star(int step, std::string_view flags);

// The mean of a face's corners (the origin for a face without corners): the centre point of a
// star face, and where the face's label and distortion sphere stand.
Vec3 face_centre_point(const Model& model, int face);

// The position of vertex v.
Vec3 vertex_point(const Model& model, int v);

// The last vertex that is the input's own (later ones were added by augmentation).
int last_input_vertex(const Model& model, const OutputContext& context);

// The inner points of a face's frame, one per corner 1..n: P + (C − P)·w / (R·cos(π·m/n)) with
// C the mean of the corners, R the distance from C to corner 1, w = FrameVal / 100 and m the
// step d or n − d, whichever is smaller. A degenerate face (R·cos 0) keeps its corners.
std::vector<Vec3> frame_inner_points(const Model& model, int face, double width);

// The coordinate list of a file and where each face's extra points stand in it:
// the vertices FirstVertex..LastVertex (point v − FirstVertex), then, in face order, the inner
// points of every face that one of the file's face sets draws as a frame, then, in face order,
// the centre point (mean of the corners) of every star face that one of them draws whole.
struct CoordinateLayout {
  int first_vertex = 0;
  std::vector<Vec3> points;
  std::vector<int> inner_start;  // by face: point of corner 1's inner point; -1 when none
  std::vector<int> centre;       // by face: point of its centre; -1 when none
};

// The layout for a file whose face sets draw by `drawings` (the transparent set, which draws
// the "t" faces whole, is always counted). Example: the solid file {kSolid}, the frame file
// {kFrame}; a file with a frame state and a solid state over one C1 gives both.
CoordinateLayout plan_coordinates(const Model& model, const RunSettings& settings,
                                  std::initializer_list<FaceDrawing> drawings);

// The coordIndex lines of one face:
// - whole, ordinary: "     " + each corner in print form followed by "," + "-1,";
// - whole, star: one spike per corner k: "     " + centre + "," + corner k + "," +
//   corner k + d + ", -1,";
// - frame: one quadrilateral per side k to k + d: "     " + corner k + "," + corner k + d +
//   "," + inner point k + d + "," + inner point k + ", -1,".
// Throws std::logic_error when the layout lacks the points the form needs.
std::vector<std::string> face_index_lines(const Model& model, const CoordinateLayout& layout,
                                          int face, FaceForm form);

// --- The face set -------------------------------------------------------------------------

// Steps 1..4 of a face set: "    geometry IndexedFaceSet{", the creaseAngle line when Smooth
// is on, "      solid FALSE", "      convex FALSE", "      colorPerVertex FALSE", then the
// colour table: "      color DEF COL Color{", "color [", the 33 lines, "        ]", "      }"
// when `define_colours`, else "      color USE COL".
void write_face_set_head(std::ostream& out, const VrmlInputs& inputs, bool define_colours);

// The creaseAngle line, or nothing when Smooth is off: "      creaseAngle " + the SmoothAngle
// number, which the user types in degrees, in radians ("#0.0#####"): "30" gives 0.523599. A
// text that is not a number reads as 0.
void write_crease_angle(std::ostream& out, const RunSettings& settings);

// "    coord DEF C" + segment + " Coordinate{", "         point[", one line per point
// "          " + x + " " + y + " " + z + "," ("#0.0#######", placed by `placement`),
// "         ]", "    }".
void write_coordinates(std::ostream& out, const CoordinateLayout& layout, int segment,
                       const SegmentPlacement& placement = {});

// "    coordIndex[", the face lines of every face `drawing` draws, "    ]", "    colorIndex[",
// the faces' colour indices in print form each followed by "," (one per face line) on one
// indented line, " ", "    ]", "    }".
void write_face_indices(std::ostream& out, const Model& model, const CoordinateLayout& layout,
                        const std::vector<int>& colour_indices, FaceDrawing drawing);

// "    appearance Appearance {", "      material Material {", "        shininess 1",
// "        specularColor 1 1 1", "        transparency " + TransLevel ("#0.00") when
// `transparent`, "      }", "    }", "  }".
void write_face_appearance(std::ostream& out, const RunSettings& settings, bool transparent);

// Whether the model has faces for the transparent face set (flagged "t" and not "B").
bool has_transparent_faces(const Model& model);

// The transparent face set: "Transform {", "  children[", "  DEF TRANS Shape{", its head with
// "      color USE COL" and "      coord USE C" + segment, the "t" faces whole, the
// appearance with the TransLevel transparency, "  ]", "}".
void write_transparent_set(std::ostream& out, const VrmlInputs& inputs,
                           const CoordinateLayout& layout, const std::vector<int>& colour_indices,
                           int segment);

// Whether edge e is drawn by the edge line set, and its colour index there (0 VRMLEdge,
// 1 NakedEdge, 2 HiEdge). Only edges of target length 1; an edge between two "B" faces only
// when one carries "E" or both carry "e". Index 2 when a face carries "E", both carry "e", or
// the edge's mark is 1 modulo 10; else 1 when exactly one face carries "B"; else 0.
std::optional<int> edge_line_colour(const Model& model, int edge);

// The edge line set `EDGES` (written when Edge is on): "Transform {", "  children[",
// "  DEF EDGES Shape{", "    geometry IndexedLineSet{", its three colours, "    coord USE C" +
// segment, one line "     " + a + "," + b + ",-1," per drawn edge, their colour indices on one
// line after "    colorIndex[ ", then "", "    ]", "    }", "  }", "  ]", "}".
void write_edge_set(std::ostream& out, const VrmlInputs& inputs, int segment);

struct FaceSetOptions {
  FaceDrawing drawing = FaceDrawing::kSolid;
  int segment = 1;                     // coordinates "C" + segment ("C1" in an ordinary file)
  SegmentPlacement placement;          // of the coordinates (a segmented file's segments)
  bool define_colours = true;          // define COL here, or use it
  bool material_transparency = false;  // the main material takes TransLevel too
  bool transparent_set = true;         // add TRANS when the model has "t" faces
  bool edge_set = true;                // add EDGES when Edge is on
};

// The whole face set, from "    geometry IndexedFaceSet{" to its appearance, then TRANS and
// EDGES when they apply. The caller writes the "Transform {", "  children[", "  Shape{" before
// it and the "]", "}" after it. `layout` must hold the points of `options.drawing`.
void write_face_set(std::ostream& out, const VrmlInputs& inputs, const CoordinateLayout& layout,
                    const FaceSetOptions& options);

// --- Vertices and labels ------------------------------------------------------------------

// What the vertex-sphere step did in the file being written; the closing dummy sphere depends
// on it (write_closers).
enum class SphereStep {
  kNotRun,     // the file has no vertex-sphere step, or the model asks for no spheres
  kNoneDrawn,  // the step ran and found no vertex to draw
  kDrawn,      // at least one sphere was written
};

struct SphereOptions {
  bool every_vertex = false;    // the cylinder file: a sphere on every vertex
  bool segmented_file = false;  // names "Balls" + segment
  int segment = 1;
};

// The vertex spheres. The step runs when `every_vertex` is set or the model asks for spheres
// (vertex letters "V" or "v" were read, or HighVert is on); it draws a sphere at every vertex
// flagged "V" (every vertex with `every_vertex`) up to the input's last vertex, placed by
// label_placement. The first one defines the shape "Balls" (radius VertexSize × 0.01, colour
// VertexCol reported as "Highlight Vertices"), the others use it.
SphereStep write_vertex_spheres(std::ostream& out, const VrmlInputs& inputs,
                                const SphereOptions& options = {});

// What the vertex-sphere step of a file would do, without writing anything.
SphereStep vertex_sphere_step(const Model& model, const RunSettings& settings,
                              const OutputContext& context, bool every_vertex);

// The labels: with Labelling on, one per vertex up to the input's last vertex; with SideLab on,
// one per face not flagged "B", at the mean of its corners. Each stands on the ray from the
// origin through its point at 1.01 times it with VertexLabel 1 (Billboard, facing the viewer)
// or 1 times it with VertexLabel 0 (turned to face outwards), plus VertexSize × 0.005 with
// HighVert on. Text " <number> " in a SERIF font of size viewing distance × edge length / 50;
// colours LabVCol ("Vertex Labels") and LabFCol ("Face Total Labels").
void write_labels(std::ostream& out, const VrmlInputs& inputs);

// --- Closers ------------------------------------------------------------------------------

// The invisible sphere at the origin that makes viewers turn the scene about the origin:
// "# Dummy sphere to reset centre of rotation to origin", "Transform {", ... , " }", "".
void write_dummy_sphere(std::ostream& out);

// What the closers of a file draw besides the dummy sphere.
struct CloserOptions {
  // The cylinder file: its own cylinders stand on every edge, so no marked-edge cylinders are
  // added; the stress pass gives it no cones and no distortion spheres either.
  bool cylinder_file = false;
  bool segmented_file = false;  // distortion spheres named "Balls" + segment
  int segment = 1;
};

// The cylinder edges the input marks ("Cyl", "Cyl2"; in the stress pass the stress cones instead,
// write_cylinder_edges) and, in the stress pass, the side distortion spheres
// (write_distortion_spheres). The segmented file writes them into each segment's frame shape.
void write_edge_and_stress_shapes(std::ostream& out, const VrmlInputs& inputs,
                                  const CloserOptions& options = {});

// What every VRML file ends with, after its geometry (vrml_cylinder.h draws the first two):
// - the cylinder edges the input marks ("Cyl", "Cyl2"), which the stress pass draws by their
//   stress cones (write_cylinder_edges);
// - in the stress pass, the side distortion spheres (write_distortion_spheres);
// - the closing dummy sphere (write_dummy_sphere). It is left out when a vertex-sphere step of
//   the writer call ran and found no vertex to draw: the file's own (`spheres` kNoneDrawn) or
//   another file's of the same call (`inputs.dummy_sphere` false); a file without a
//   vertex-sphere step passes kNotRun.
void write_closers(std::ostream& out, const VrmlInputs& inputs, SphereStep spheres,
                   const CloserOptions& options = {});

}  // namespace ostrel

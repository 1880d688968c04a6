// The block every VRML file of the output set begins with: the "#VRML V2.0 utf8" line and a
// WorldInfo node, a comment block on how far the model is from the ideal (edge, polygon and
// angle deformation, the faces and edges that are off, the angles of rhombi and distorted
// hexagons, the segment edge lengths), with Userdata on the options the model was made with,
// then the scene settings: Background, NavigationInfo and six Viewpoints. Each VRML writer calls
// WriteVrmlHeader first and adds its geometry after it.
//
// Lines end with CR LF. The deformation summary line carries a degree sign as the single byte
// 0xB0 (the files are written in the Western single-byte code page).
#pragma once

#include <array>
#include <ostream>
#include <string_view>

#include "core/message_sink.h"
#include "output/file_set.h"
#include "settings/run_settings.h"

namespace ostrel {

struct Model;

// What every VRML writer of one writer call reads.
struct VrmlInputs {
  const Model& model;
  const RunSettings& settings;
  const OutputContext& context;
  const RhombusSetColours& rhombus;  // the rhombus set colours chosen for this call
  MessageSink& sink;                 // clipped colour texts are reported here
  // False when a vertex-sphere step of this writer call finds no vertex to draw: then no file of
  // the call gets the closing dummy sphere.
  bool dummy_sphere = true;
};

// One line of a VRML file: the text and CR LF.
void vrml_line(std::ostream& out, std::string_view text);

// Arcsine and arccosine in radians that accept any argument: arc_sine gives π/2 for x ≥ 1 and
// −π/2 for x ≤ −1; arc_cosine gives 0 for x ≥ 1 and π for x ≤ −1. NaN stays NaN.
// (The two-argument arctangent of the re-orientation is orientation_angle, orientation.h.)
double arc_sine(double x);
double arc_cosine(double x);

// Target angles of the angle deformation, in radians.
struct AngleTargets {
  // Acute angle of the rhombi of sets 1..3 ("D", "d", "q" on four corners): 2·asin(diagonal/2)
  // of the set's short diagonal. Entry 0 unused.
  std::array<double, 4> rhombus{};
  // Apex angle a of the distorted hexagons of sets 1 and 2 ("D", "d" on six corners):
  // 2·asin(√(h² − 1)/2) of the set's mean pair diagonal h (0 when h is below 1). Entry 0 unused.
  std::array<double, 3> hexagon{};
};

// The targets from the shape figures the engine measured (OutputContext).
AngleTargets angle_targets(const OutputContext& context);

// Aggregate angle deformation A in degrees: over every face 1..FaceCount and every corner,
// |θ − target| × 180/π, where θ is the corner's angle between its neighbours along the face's
// edges (corners k − d and k + d for step d; a step below 1 counts as 1). Targets:
// - four corners, "D", "d" or "q" (tested in this order): the rhombus set's acute angle α or
//   π − α, whichever is nearer θ (π − α on a tie);
// - six corners, "D" or "d": the hexagon set's apex angle a or π − a/2, whichever is nearer θ;
// - any other face flagged "D" or "d": nothing;
// - every other face: the regular angle π·(n − 2d)/n.
// A corner that coincides with a neighbour has no angle and adds nothing.
double AngleDeformation(const Model& model, const AngleTargets& targets);

// Deviations of edges and faces at or below this are not counted as deviations: the header
// lists no such edge or face, and the stress shapes leave them out.
inline constexpr double kReportedDeviation = 1e-10;

// SE: the largest |EdgeDeviation| (of the context's deviations) over edges 1..EdgeCount whose
// |deviation| exceeds 1e-10; 0 when there is none.
double max_single_edge_distortion(const Model& model, const Deviations& deviations);

// The four figures of the deformation summary.
struct VrmlDeformation {
  double E = 0.0;   // aggregate edge deformation
  double SE = 0.0;  // largest single edge distortion
  double P = 0.0;   // polygonal deformation
  double A = 0.0;   // aggregate angle deformation, degrees
};

// E and P of the current measurement when `incord` is on (a model written as entered),
// otherwise those of the last completed iteration; SE and A measured from the model.
VrmlDeformation measure_deformation(const Model& model, const RunSettings& settings,
                                    const OutputContext& context);

// Acute angle (radians) of a four-corner face from the distance L of its corners 1 and 3:
// 0 when L is 2 or more; for L above √2 the other diagonal √(4 − L²) is taken; 2·asin(L/2).
double rhombus_acute_angle(const Model& model, int face);

// Apex angle (radians) of a six-corner face: of its long diagonals 1–4, 2–5 and 3–6 the two
// that agree best are the pair, the third joins the two apexes (ties decided as the relaxation
// decides them); 2·asin(L/2) with L the distance between the two neighbours of an apex.
double hexagon_apex_angle(const Model& model, int face);

// In the stress pass every face counts as flagged "O" (the stress shapes select every edge)
// when the summary's E exceeds 1e-10. The writers ask this instead of adding the letter to the
// model, so that later writes of the same run do not find it there.
bool stress_marks_every_face(const RunSettings& settings, const OutputContext& context);

// Writes the header block to `out`:
//   "#VRML V2.0 utf8", WorldInfo with the title OutputName + "   Generation Date: " + date,
//   banner and credit comments;
//   the deformation summary (when incord is off or Userdata is on): E, SE, P in print form,
//   A in degrees and radians, the one-line summary "(E=0.000, P=0.000, A=0.0°)", and one line
//   per face whose FaceDeviation (context.deviations) exceeds 1e-10 (when P does);
//   when E exceeds 1e-10 and incord is off, one line per edge whose |EdgeDeviation| exceeds
//   1e-10, "  Elongation" or "  Compression";
//   the acute angle of the first rhombus of each set and the apex angle of the first distorted
//   hexagon of each set;
//   with two segments or more, each segment's edge length;
//   when Userdata is on, the user-data block: "# USERDATA information", the input file and
//   the options of the run (graphics, inflation, highlighting, collapsed stars, augmentation),
//   up to "# END OF USER DATA";
//   Background (skyColor VRMLBack), NavigationInfo and six Viewpoints at the viewing distance
//   (2 when unknown) times VRMLScale and five times that.
// A clipped background colour is reported through inputs.sink as "Screen Background".
void WriteVrmlHeader(std::ostream& out, const VrmlInputs& inputs);

}  // namespace ostrel

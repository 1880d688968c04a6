// The output writer: one call turns the model store into the set of result files the user
// asked for, names them, and hands every file's failure to the run's error handler.
//
// One call writes one pass: the ordinary pass, or the stress pass that follows it when
// `StressMap` is on (OutputContext::StressPass). Files, in this order:
//   OFF          OutputDirectory / (OutputName + WeakenSuffix + ".off")
//                when OffFile, SegmentCount < 2 and not the stress pass;
//   glTF, STL    beside it, named like it with ".glb" and ".stl", at the same write points,
//                when GltfFile, StlFile (whether OffFile is on or not);
//   net          beside it, NAME_net.svg (and NAME_net_p2.svg, ... for further pages), when
//                NetFile (output/net_file.h);
//   VRML styles  OutputDirectory / (OutputName + StyleSuffix + VariantSuffix + ".wrl"),
//                solid, animated, frame, switch, cylinder, each when its switch is on and
//                SegmentCount < 2.
// A segmented run (SegmentCount 2 or more) writes none of these.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/run_settings.h"

namespace ostrel {

struct Model;
class DebugLog;
class UserDialog;
class ErrorHandler;

// What the relaxation measured at its last step, for the deformation summary and the stress
// shapes: FaceDeviation by face 1..FaceCount, EdgeDeviation (length minus target) by edge
// 1..EdgeCount; entry 0 unused. An entry past the end reads 0: a model that no relaxation
// measured deviates nowhere.
struct Deviations {
  std::vector<double> FaceDeviation;
  std::vector<double> EdgeDeviation;

  double face(int f) const { return entry(FaceDeviation, f); }
  double edge(int e) const { return entry(EdgeDeviation, e); }
  void set_face(int f, double value) { put(FaceDeviation, f, value); }
  void set_edge(int e, double value) { put(EdgeDeviation, e, value); }

 private:
  static double entry(const std::vector<double>& table, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < table.size()
               ? table[static_cast<std::size_t>(index)]
               : 0.0;
  }
  static void put(std::vector<double>& table, int index, double value) {
    const auto i = static_cast<std::size_t>(index);
    if (table.size() <= i) table.resize(i + 1, 0.0);
    table[i] = value;
  }
};

// What the engine supplies to a writer call besides the model and the settings.
struct OutputContext {
  std::filesystem::path OutputDirectory;  // folder of every output file
  std::string OutputName;                 // base name, e.g. "cube" or "cube_isom2"
  std::string version;                    // program version for the file headers
  std::string generation_date;            // "month-day-year" (output/generation_date.h)
  int SegmentCount = 1;                   // 1 without segments
  // Short and long diagonals of the rhombi of sets 1..3 ("D", "d", "q") as the engine measured
  // them; 0 when the model has no such faces. Entry 0 is unused.
  std::array<RhombusDiagonals, 4> RhombusSetDiagonals{};
  // Mean pair diagonal of the distorted hexagons of sets 1 and 2 ("D" and "d" on six corners)
  // as the engine measured it (the h of their apex angle); 0 without such faces. Entry 0 unused.
  std::array<double, 3> HexagonSetPairMean{};
  // Edge (Deform) and polygon (Deforp) deformation for the VRML summary: those of the last
  // completed iteration, and those of a measurement of the current positions, which a model
  // written as entered (incord) reports instead.
  double IterationDeform = 0.0;
  double IterationDeforp = 0.0;
  double MeasuredDeform = 0.0;
  double MeasuredDeforp = 0.0;
  // The faces' and edges' deviations of that iteration or measurement.
  Deviations deviations;
  // Scene size of the VRML viewpoints and label fonts: 3.5 × the largest distance of a vertex
  // from the origin. 0 when unknown (the viewpoints then stand at 2 and 10).
  double ViewingDistance = 0.0;
  // Last vertex number of the input's own vertices; those after it were added by the engine
  // (augmentation apexes) and get neither a vertex sphere nor a label. Empty: all are the input's.
  std::optional<int> InputLastVertex;
  int CurrentSegment = 1;  // segment being written, from 1
  // For the user-data block of the VRML header: the input file (or shape) and the answer to the
  // star-collapse question ("Yes", "No", or "not asked" when no fan was found).
  std::string InputFile;
  std::string CollapseStars = "not asked";
  // The input file, when there is one: no output file is written over it (an OFF input in the
  // output folder would otherwise be replaced by the OFF output of the same name).
  std::filesystem::path InputPath;
  bool StressPass = false;        // the second pass of a StressMap run
  DebugLog* debug_log = nullptr;  // the run's debug log, when it keeps one
};

// Colour texts of rhombus sets 1..3 (entry 0 unused), as every colour table of a call uses them.
struct RhombusSetColours {
  std::array<std::string, 4> set;
};

// Set 1, 2 and 3 take RhomCol1, RhomCol2 and RhomCol3. With RhomColO ("Rhombus Colour
// Override") on, a set whose short diagonal lies within 1e-8 of √2 (a square) takes Colour4;
// then set 2 takes set 1's colour when their diagonals agree within 1e-8, set 3 takes set 1's
// when theirs agree, and set 3 takes set 2's when theirs agree, in this order. Diagonals agree
// when both the short and the long one do.
RhombusSetColours choose_rhombus_colours(const RunSettings& settings,
                                         const std::array<RhombusDiagonals, 4>& diagonals);

// "_weaken" + WeakenLimit exactly as typed ("2.5" stays "2.5") when Weaken is on; else "".
std::string WeakenSuffix(const RunSettings& settings);

// WeakenSuffix, then "_stress" in the stress pass, "_aug" with Augment, "_smooth" with Smooth.
std::string VariantSuffix(const RunSettings& settings, bool stress_pass);

// "" for an empty suffix text or one single blank; otherwise "_" + the text.
std::string StyleSuffix(const std::string& suffix_text);

// The VRML styles of an ordinary run, in the order they are written.
enum class VrmlStyle { kSolid, kAnim, kFrame, kSwitch, kCylinder };
inline constexpr std::array<VrmlStyle, 5> kVrmlStyles{VrmlStyle::kSolid, VrmlStyle::kAnim,
                                                      VrmlStyle::kFrame, VrmlStyle::kSwitch,
                                                      VrmlStyle::kCylinder};

// The switch and the suffix text of a style (SolidVRML and SolidSuffix, ...).
bool style_enabled(const RunSettings& settings, VrmlStyle style);
const std::string& style_suffix_text(const RunSettings& settings, VrmlStyle style);

// OutputDirectory / (OutputName + WeakenSuffix + ".off").
std::filesystem::path off_file_path(const RunSettings& settings, const OutputContext& context);

// OutputDirectory / (OutputName + StyleSuffix + VariantSuffix + ".wrl").
std::filesystem::path vrml_file_path(const RunSettings& settings, const OutputContext& context,
                                     VrmlStyle style);

// What a written file is.
enum class OutputKind {
  kOff,
  kSolidVrml,
  kAnimVrml,
  kFrameVrml,
  kSwitchVrml,
  kCylinderVrml,
  kSegmentedVrml,  // the segmented file of a segmented run
  kSegmentedOff,   // its four-dimensional OFF file
  kGltf,           // the glTF binary beside the OFF file
  kStl,            // the STL file beside the OFF file
  kNet,            // a page of the net beside the OFF file
};

// The kind of file a VRML style writes.
OutputKind output_kind(VrmlStyle style);

struct WrittenFile {
  OutputKind kind;
  std::filesystem::path path;
};

// One writer call (one pass):
// 1. three beeps through host.beep() when BeepIt is on (ordinary pass only: the stress pass
//    belongs to the same write point);
// 2. the rhombus set colours (choose_rhombus_colours);
// 3. the files listed at the top of this header.
// The model is written as it is: the run turns it (OrientationStep) before the call.
// Clipped colour texts are reported through `host`. A file that fails with a RunError is handed
// to errors.recover(): when it returns, the file is skipped (a file already at its path stays
// as it was) and the next one follows; when it throws RunStopped, that ends the call.
// Returns the files written, in order.
std::vector<WrittenFile> write_file_set(const Model& model, const RunSettings& settings,
                                        const OutputContext& context, UserDialog& host,
                                        ErrorHandler& errors);

}  // namespace ostrel

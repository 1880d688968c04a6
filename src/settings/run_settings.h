// The run settings: one record with every option the engine, the preparation steps and the
// writers read, each field named after the control that supplies it. Front ends fill it (the
// desktop forms from their controls, ostrel-cli from ostrel.ini and its flags); the engine
// never reads a form. Text boxes are kept as the text typed, so that their lenient reading
// and the texts used as typed (the weaken limit in file names) both stay available.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/face_kind.h"
#include "core/model.h"
#include "settings/stored_options.h"

namespace ostrel {

// Short and long diagonal of the unit-edge rhombus with a given angle.
struct RhombusDiagonals {
  double short_diagonal = 0.0;
  double long_diagonal = 0.0;
};

// Expansion (inflation) modes.
enum ExpansionMode : int {
  kExpandNone = 0,
  kExpandGlobal = 1,
  kExpandLocalOne = 3,
  kExpandLocalDiagonal = 4,
  kExpandStress = 5  // stress majorization on the step distances
};

// Items of the LocalOption group.
enum LocalOptionItem : int {
  kLocalValue = 0,
  kLocalRange = 1,
  kLocalDifferential = 2,
  kLocalDifferentialRange = 3
};

// Every option of a run: those ostrel.ini keeps (StoredOptions) and the run-time options.
struct RunSettings : StoredOptions {
  std::string InFile;  // input file name

  // --- Run-time options ---
  bool Debug = false;
  bool Labelling = false;
  bool SideLab = false;
  bool Userdata = false;
  bool Once = false;
  bool Weaken = false;
  std::string WeakenLimit = "3";
  bool Isomorph = false;
  bool Augment = false;
  bool Coincidence = false;
  bool Highlight = false;
  std::string HighlightVal = "5/3";
  bool HighVert = false;
  bool AllCyl = false;
  bool incord = false;
  bool XYConfine = false;
  bool IgnoreCoordinates = false;  // an OFF input relaxes from random starts, not its points
  bool RegHex = false;
  bool StressMap = false;
  std::string StressMult = "1";
  std::string StBallMult = "1";
  bool Smooth = false;
  std::string SmoothAngle = "0";
  int SegmentCount = 1;  // from the input prescan; 1 without segments
  // Item chosen: 0 "Global", 1 "None", 2 "Local 'one'", 3 "Local Diagonal", 4 "Stress".
  int InflateOption = 0;
  bool InflateGiven = false;  // the inflation was chosen for this run, not left at its default
  std::string GlobLim = "99";
  int LocalOption = kLocalRange;
  std::array<std::string, 4> LocInfMin{"", "0", "0", "0"};  // LocInfMin1..3
  std::array<std::string, 4> LocInfMax{"", "1", "1", "1"};  // LocInfMax1..3
  std::string SelectFace;
  bool SqrtHop = false;
  std::string SqrtMult = "1";
  std::string BandLen = "1";
  std::string AugmentVal = "5/2";
  int AugmentOption = 0;   // 0 none chosen, 1 leave sides, 2 remove sides, 3 leave bands
  int AugmentColour = -1;  // -1 none chosen, 0 original, 1 highlight, 2 triangle
  std::string ForceRhom = "0";
  std::string ForceRhom2 = "0";
  std::string ForceRhom3 = "0";
  // The net (NetFile): printed length of an edge in millimetres, and the paper ("a4", "letter").
  std::string NetEdge = "30";
  std::string NetPage = "a4";

  // --- Segment options (rows 1..5) ---
  std::array<std::string, MaxSegments + 1> SegEdge{"", "1", "1", "1", "1", "1"};
  std::array<std::string, MaxSegments + 1> SegX{"", "0", "0", "0", "0", "0"};
  std::array<std::string, MaxSegments + 1> SegY{"", "0", "0", "0", "0", "0"};
  std::array<std::string, MaxSegments + 1> SegZ{"", "0", "0", "0", "0", "0"};
  std::array<bool, MaxSegments + 1> SegTrans{};
  std::array<bool, MaxSegments + 1> FlipX{};
  std::array<bool, MaxSegments + 1> FlipY{};
  std::array<bool, MaxSegments + 1> FlipZ{};
  int SegColour = 0;  // 0 "Colour Per Segment", 1 "Colour Per Face"

  // --- Conversions, each done the way the run does it ---
  double force_strength(int index) const;  // Force1..Force6 read leniently
  double frame_width() const;              // FrameVal × 0.01
  double weaken_limit() const;             // WeakenLimit when Weaken and Once, else 99
  int run_mode() const;                    // 1, 2 or 3
  int expansion_mode() const;              // from InflateOption
  std::int64_t iteration_limit() const;    // integer part of 10^MaxIter
  int threads() const;                     // Threads read leniently; 0 (one per core) off 1..1024
  double rhombus_angle(int set) const;     // ForceRhom (1), ForceRhom2 (2), ForceRhom3 (3)
  FaceKind highlight_kind() const { return parse_face_kind(HighlightVal); }
  FaceKind select_face_kind() const { return parse_face_kind(SelectFace); }
  FaceKind augment_kind() const { return parse_face_kind(AugmentVal); }

  static FaceKind parse_face_kind(std::string_view text);
};

// Angle in radians of a fixed rhombus shape typed as degrees, "r30"/"R30", "mr30", "r12"/"R12",
// "P5" or "P5/2"; 0 when empty or 0 (no fixed shape). `set` 1..3 picks the "mr30" variant.
double rhombus_angle_from_text(std::string_view text, int set);

// Diagonals of the unit-edge rhombus with angle theta (radians): 2·sin(θ/2) and
// √(4 − (2·sin(θ/2))²), the larger being the long one.
RhombusDiagonals rhombus_diagonals(double theta);

// Integer part of 10^exponent, at most the largest 32-bit iteration number.
std::int64_t iteration_limit_from_exponent(double exponent);

}  // namespace ostrel

// Colour values and colour classes.
//
// A colour text is either three integers 0..255 joined by periods, red.green.blue
// ("255.255.0", "0.160.255"), or one integer standing for a grey ("192"). It is converted for
// the VRML files as three fractions ("1.000 0.627 0.000") and for the OFF files as three
// integers ("255 160 0").
//
// A colour class is a slot 1..32 of the writers' colour tables:
//    1 inter realm faces   9 black, no rule chooses it   17..20 segment 2..5
//    2 highlighting       10 decagon                     21..28 red, amber, yellow, green, cyan,
//    3 triangle           11 pentagram                          blue, magenta, pseudo-white
//    4 square             12 octagram                    29 highlight (input letter "h")
//    5 pentagon           13 decagram                    30 distorted hexagon 1
//    6 hexagon            14 rhombus set 1               31 distorted hexagon 2
//    7 apolydronic        15 rhombus set 2               32 rhombus set 3
//    8 octagon            16 segment 1
// A face's flags may fix its class outright with a colour code: "Q" and a class mark ("Q1" to
// "Q8", "QX" for 10, and the input's colour letters "Qr" 21, "Qa" 22, "Qy" 23, "Qg" 24,
// "Qc" 25, "Qb" 26, "Qm" 27, "Qw" 28, "Qh" 29).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/face_kind.h"
#include "core/message_sink.h"

namespace ostrel {

struct RgbColour {
  int red = 0;
  int green = 0;
  int blue = 0;
};

// Reads a colour text. `label` names the colour in messages ("Highlight Colour",
// "Triangles"); a label whose first six characters are "OFFSET" in any case also carries an
// offset, the number read from its seventh character on ("Offset 128" gives 128).
//
// Each component is read leniently (engine/lenient_number.h) and taken to the nearest integer,
// halves to even; a component outside 16 bits throws the overflow RunError. A component of 256
// or more is clipped to 255 and one below 0 to 0, each with a message through `sink`, in the
// order red, green, blue:
//   "Red value in " + label + " Colour clipped at 255"   ("Green value in ", "Blue value in ")
//   "Red value in " + label + " Colour clipped at 0"
// A one-part text is a grey; clipped with
//   "No periods in " + label + " Colour, single number assumed, clipped at 255"
//   "No periods in " + label + " Edge Colour, single number assumed, clipped at 0"
// A text with a single period ("255.128") reports
//   "Colour value " + text + " in " + label + " has only two parts; the missing part is taken as 0"
// and reads as red.green with blue 0.
// Last, the offset is added to each component, the sum taken to the nearest integer (halves to
// even) and replaced by its remainder on division by 256, with the sign of the sum: with offset
// 128 a component of 200 becomes 72 (a negative offset can give a negative component).
RgbColour ColourTextToRgb(std::string_view text, std::string_view label, MessageSink& sink);

// The VRML form: each component / 255 through FormatOutputNumber with "0.000", separated by
// single blanks. "255.160.0" -> "1.000 0.627 0.000"; "192" -> "0.753 0.753 0.753".
std::string ColourTextToVrml(std::string_view text, std::string_view label, MessageSink& sink);

// The OFF form: the three integers separated by single blanks. "255.160.0" -> "255 160 0".
std::string ColourTextToInts(std::string_view text, std::string_view label, MessageSink& sink);

// The colour code of a class: 1 "Q1"; 2 and 29 "Q2"; 3 "Q3"; 4 "Q4"; 5 "Q5"; 6 "Q6"; 8 "Q8";
// 10 "QX"; 21 "Qr"; 22 "Qa"; 23 "Qy"; 24 "Qg"; 25 "Qc"; 26 "Qb"; 27 "Qm"; 28 "Qw"; every other
// number (7, 9, 11..20, 30..32, anything outside 1..32) "Q7".
std::string ColourClassToCode(int colour_class);

// Sets `colour_class` for a face of `sides` corners and step `step` (1 for an ordinary
// polygon) with flag letters `flags` (case-sensitive):
// - flags holding "Q": the colour codes are tested in the order "Q1", "Qy", "Qb", "Qa", "Qg",
//   "Qc", "Qm", "Qr", "Qw", "Qh", "Q2", "Q3", "Q4", "Q5", "Q6", "Q8", "QX", "Q7", and the last
//   one found decides ("Qb" with "Qr" gives 21); when none is found the class is unchanged;
// - otherwise by corner count: 3 -> 3; 4 -> 14 with "D", else 15 with "d", else 32 with "q",
//   else 4; 5 -> 5 for step 1, else 11; 6 -> 30 with "D", else 31 with "d", else 6; 7, 9 and
//   more than 10 -> 7; 8 -> 8 for step 1, else 12; 10 -> 10 for step 1, else 13; fewer than 3
//   -> unchanged.
// Writers pass the previous face's class in, so a face no rule covers takes that one.
void FaceColourClass(int sides, int step, std::string_view flags, int& colour_class);

// Which faces the highlight override of FaceColourIndex may recolour, by the file written.
enum class HighlightScope {
  kVrmlFaceSet,        // classes below 21
  kOff,                // every class outside 20..28
  kFourDimensionalOff  // classes below 20
};

// The highlight option of a run: `on` from `Highlight`, `kind` from `HighlightVal`
// (RunSettings::highlight_kind()); a kind of 0 sides means every face.
struct HighlightState {
  bool on = false;
  FaceKind kind;
};

// The colour table index (1..32) of one face, the one rule both the OFF and the VRML writers
// colour faces by:
// - a face whose flags hold "B" gets none (it is not written) and leaves `colour_class` alone;
// - otherwise FaceColourClass updates the running `colour_class` and the index is that class.
//   A face no rule covers keeps the previous face's class; when there is none yet (the running
//   class is outside 1..32) it takes 7, apolydronic, so the index always lies in 1..32;
// - highlight override: when `highlight` is on and the face's corner count and step equal the
//   highlighted kind (or the kind has 0 sides), an index within `scope` becomes 2. The running
//   class is not changed by the override.
// The index is the class itself, not the class of its colour code (ColourClassToCode): going
// through the code would turn pentagrams, octagrams, decagrams, rhombi and distorted hexagons
// (11..15, 30..32) into apolydronic 7 and "h" faces (29) into 2, leaving their colours unused.
std::optional<int> FaceColourIndex(int sides, int step, std::string_view flags, int& colour_class,
                                   const HighlightState& highlight, HighlightScope scope);

// Length of the vector (x, y, z): the square root of x² + y² + z².
double vector_length(double x, double y, double z);

}  // namespace ostrel

// OFF files as input: the geometry format of most polyhedron tools and collections, read into
// the same model tables as the face-list format.
//
// The file: an optional run of comment and blank lines, the header word "OFF" (or a variant with
// per-vertex extras, "COFF", "NOFF", "STCNOFF", ...), the counts "vertices faces edges" (on the
// header line or the next one), one line per vertex ("x y z", anything after the third number
// being per-vertex extras that are skipped), one line per face ("n i1 ... in" with 0-based vertex
// indices, then optionally its colour). "#" starts a comment that runs to the end of its line;
// blank lines are skipped. The edge count is not checked (many tools write 0).
//
// What the model gets:
// - face k of the file becomes face k + 1, its corners the vertex numbers index + 1, in the
//   file's order;
// - a face whose corners wind more than once around their mean, measured in the face's best-fit
//   plane (Newell's normal), is a star polygon whose step is that winding number: a pentagram
//   listed in drawing order (0 2 4 1 3) is {5/2}. Every other face has step 1;
// - the coordinates become the starting positions of the vertices (unless the request says to
//   ignore them; the steps are still measured on them);
// - a face colour of three or four numbers, integers 0..255 or reals 0..1 (a "." or an exponent
//   in any of them makes them reals), red green blue [alpha], becomes FaceInputColour; a single
//   number (an index into a colour map the file does not carry) is skipped.
#pragma once

#include <string_view>

#include "core/model.h"
#include "input/parser.h"

namespace ostrel {

// True when the first word of `text` after comment and blank lines (and a UTF-8 byte-order mark)
// is an OFF header word: "OFF" with optional prefixes "ST", "C", "N", "4", "n" in that order.
bool is_off_text(std::string_view text);

// Reads an OFF text into `model`, prepared for the pass by the caller (Model::start_pass).
// A malformed file is refused with kAbandoned and a message naming the line:
//   "Input error: line 7 of the OFF file: vertex index 12 is out of range 0..7"
// Refused: a missing or non-numeric count, counts beyond the model's capacity, a vertex line
// without three numbers, a face of fewer than 3 or more than MaxCorners corners, a corner
// missing or not an integer, an index out of range, a colour of 2 or more than 4 numbers, any
// word that is not a number, fewer vertex or face lines than counted or lines beyond them,
// a face winding more than MaxStep times, and the four-dimensional ("4OFF") and binary forms.
ParseResult read_off_input(Model& model, std::string_view text, const ParseRequest& request);

// The step of a face whose corners, in the order given, lie at `points` (x, y, z each): the
// number of times they wind about their mean in their best-fit plane, or 1 when they wind at
// most once (or the points span no plane).
int off_face_step(const double* points, int corners);

}  // namespace ostrel

// The first preparation steps after parsing: fan collapse, vertex clean-up, face compaction
// and the corner order of star faces.
#pragma once

#include <optional>
#include <string>

#include "core/debug_log.h"
#include "core/message_sink.h"
#include "core/model.h"

namespace ostrel {

// e with e·d ≡ −1 (mod n): the corner step that walks a star {n/d} listed in edge order
// around its outline; 0 when n and d share a factor.
int StarOrderStep(int corners, int step);

// Collapses every run of five or more triangles sharing their first corner (a fan around a
// centre vertex) into one star face, after asking `host` once per pass. The centre is marked
// in VertexX with -999 for the vertex clean-up. Returns the answer given (nullopt when no fan
// was found, so nothing was asked).
std::optional<bool> collapse_fans(Model& model, UserDialog& host, DebugLog* debug);

// Removes vertices that no face uses (collapsed centres among them) and closes the gaps in the
// numbering: face corners, links, vertex flags, marked edges, the current segment's joint
// vertices and the starting positions all follow their vertex.
void clean_up_vertices(Model& model, DebugLog* debug);

// Drops faces whose FaceSides is 0 or less and closes up the face table; links stay after the
// faces.
void compact_faces(Model& model);

// Puts the corners of every star face into the order around the polygon. Returns an error
// message for a star face whose corner count and step share a factor (such a face cannot be
// drawn as one star polygon); empty when every face is fine.
std::string order_star_corners(Model& model, DebugLog* debug);

}  // namespace ostrel

// The segments of a segmented model and the realm faces that join them: what the parser reads of
// anchors and the realm section, and the joint vertex table in which the segmented writer
// gathers every segment's vertices. The run owns one; the parser and the segmented writer write it.
//
// Index conventions: segments 1..MaxSegments; joint rows 1..JointVertexNext-1, columns 1..3 of
// JointVertexPos x, y, z; realm faces 1..RealmFaceNo-1, corners 1..MaxRealmCorners.
#pragma once

#include <array>
#include <string>

#include "core/model.h"
#include "core/table.h"

namespace ostrel {

struct SegmentStore {
  SegmentStore() { start_run(); }

  // Start of a run: no segment, joint row or realm face read yet.
  void start_run();
  // Start of one parse: the realm faces read by an earlier pass are forgotten.
  void start_pass() { RealmFaceNo = 0; }

  // Anchor mode of each segment: 0 ordinary, 1 point, 2 line, 3..5 line along x, y, z.
  Table<int> SegmentAnchorMode{"SegmentAnchorMode", MaxSegments + 1};
  // Vertex letter codes that trail an anchor segment's letters.
  Table<std::string> SegmentTrailFlags{"SegmentTrailFlags", MaxSegments + 1};
  Table<int> SegmentVertexEnd{"SegmentVertexEnd", MaxSegments + 1};
  // Colour class of the faces of segment 1..5 in a segmented model: 16..20.
  Table<int> SegmentColourClass{"SegmentColourClass", MaxSegments + 1};

  // Joint vertex table shared by all segments.
  Table2<double> JointVertexPos{"JointVertexPos", 2 * ModelCapacity + 1, 4};
  Table<int> JointVertexSegment{"JointVertexSegment", 2 * ModelCapacity + 1};
  Table<int> JointVertexNumber{"JointVertexNumber", 2 * ModelCapacity + 1};
  int JointVertexNext = 1;

  // Realm faces: each corner's vertex number and segment, the face's letter codes, its corners.
  Table2<int> RealmFaceVertex{"RealmFaceVertex", ModelCapacity + 1, MaxRealmCorners + 1};
  Table2<int> RealmFaceSegment{"RealmFaceSegment", ModelCapacity + 1, MaxRealmCorners + 1};
  Table<std::string> RealmFaceFlags{"RealmFaceFlags", ModelCapacity + 1};
  Table<int> RealmFaceSides{"RealmFaceSides", ModelCapacity + 1};  // corners given (at most 4)
  int RealmFaceNo = 0;  // after the section: one more than the complete realm faces
  std::array<int, MaxRealmCorners + 1> RealmSegmentRow{};
};

}  // namespace ostrel

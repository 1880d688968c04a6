#include "core/segment_store.h"

namespace ostrel {

void SegmentStore::start_run() {
  for (auto* table : {&SegmentColourClass, &SegmentAnchorMode, &SegmentVertexEnd,
                      &JointVertexSegment, &JointVertexNumber, &RealmFaceSides}) {
    table->clear();
  }
  RealmFaceVertex.clear();
  RealmFaceSegment.clear();
  SegmentTrailFlags.clear();
  RealmFaceFlags.clear();
  JointVertexPos.clear();
  for (int segment = 1; segment <= MaxSegments; ++segment) {
    SegmentColourClass(segment) = 15 + segment;
    SegmentAnchorMode(segment) = 0;
    SegmentTrailFlags(segment).clear();
    SegmentVertexEnd(segment) = 0;
  }
  JointVertexNext = 1;
  RealmFaceNo = 0;
  RealmSegmentRow.fill(0);
}

}  // namespace ostrel

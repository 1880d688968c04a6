#include "core/model.h"

namespace ostrel {

Model::Model() {
  start_run();
}

void Model::start_run() {
  // Every table reads as a new one: a run never sees what an earlier run left behind.
  for (auto* table :
       {&VertexX,      &VertexY,         &VertexZ,         &VertexShiftX,    &VertexShiftY,
        &VertexShiftZ, &VertexVelocityX, &VertexVelocityY, &VertexVelocityZ, &VertexPrevX,
        &VertexPrevY,  &VertexPrevZ,     &FaceDeviation,   &FaceCentreX,     &FaceCentreY,
        &FaceCentreZ,  &EdgeTarget,      &EdgeDeviation,   &ForceStrength,   &StartX,
        &StartY,       &StartZ}) {
    table->clear();
  }
  for (auto* table :
       {&FaceSides, &FaceStep, &EdgeClass, &SegmentColourClass, &SegmentAnchorMode,
        &SegmentVertexEnd, &JointVertexSegment, &JointVertexNumber, &RealmFaceSides}) {
    table->clear();
  }
  for (auto* table : {&FaceVertices, &EdgeVertices, &EdgeFaces, &MarkedEdges, &RealmFaceVertex,
                      &RealmFaceSegment}) {
    table->clear();
  }
  for (auto* table : {&VertexFlags, &FaceFlags, &SegmentTrailFlags, &RealmFaceFlags}) {
    table->clear();
  }
  CentroidMark.clear();
  JointVertexPos.clear();
  LastStartSlot = 0;
  StartListRead = false;
  for (int segment = 1; segment <= MaxSegments; ++segment) {
    SegmentColourClass(segment) = 15 + segment;
    SegmentAnchorMode(segment) = 0;
    SegmentTrailFlags(segment).clear();
    SegmentVertexEnd(segment) = 0;
  }
  CylinderFlag = Cylinder2Flag = TransparentFlag = false;
  OrientFlag = VertexHighlightFlag = AugmentFlag = false;
  SegmentNo = 1;
  AnchorMode = 0;
  JointVertexNext = 1;
  MarkedEdgeCount = 1;
  RealmFaceNo = 0;
  RealmSegmentRow.fill(0);
  RealmOnly = RealmsRead = MoreSegments = false;
  EdgeCount = 0;
  start_pass();
}

void Model::start_pass() {
  FirstVertex = 999;
  LastVertex = -1;
  FaceCount = 0;
  FaceEntryCount = 0;
  LinkCount = 0;
  AugmentFlag = false;
  TransparentFlag = false;
  RealmFaceNo = 0;
  // Marks belong to the segment being read: a pass that reads it again (a re-read, a segment
  // tried again) or the next segment must not apply the rows of earlier passes.
  MarkedEdgeCount = 1;
  FaceFlags.clear();
  VertexFlags.clear();
  FaceInputColour.clear();
}

}  // namespace ostrel

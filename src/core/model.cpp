#include "core/model.h"

namespace ostrel {

Model::Model() {
  start_run();
}

void Model::start_run() {
  // Every table reads as a new one: a run never sees what an earlier run left behind.
  for (auto* table : {&VertexX, &VertexY, &VertexZ, &EdgeTarget, &ForceStrength, &StartX, &StartY,
                       &StartZ}) {
    table->clear();
  }
  for (auto* table : {&FaceSides, &FaceStep, &EdgeClass}) table->clear();
  for (auto* table : {&FaceVertices, &EdgeVertices, &EdgeFaces, &MarkedEdges}) table->clear();
  for (auto* table : {&VertexFlags, &FaceFlags}) table->clear();
  CentroidMark.clear();
  LastStartSlot = 0;
  StartListRead = false;
  CylinderFlag = Cylinder2Flag = TransparentFlag = false;
  OrientFlag = VertexHighlightFlag = AugmentFlag = false;
  MarkedEdgeCount = 1;
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
  // Marks belong to the segment being read: a pass that reads it again (a re-read, a segment
  // tried again) or the next segment must not apply the rows of earlier passes.
  MarkedEdgeCount = 1;
  FaceFlags.clear();
  VertexFlags.clear();
  FaceInputColour.clear();
}

}  // namespace ostrel

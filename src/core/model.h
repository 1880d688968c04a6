// The model store: every table a run shares between the parser, the preparation steps,
// the relaxation and the writers, with the counters that say how much of each is in use.
//
// Index conventions:
//  - vertices are numbered FirstVertex..LastVertex (0..ModelCapacity);
//  - faces run 1..FaceCount, followed by the links (two-corner entries) up to FaceEntryCount;
//  - corner k of face f is 1-based, k <= FaceSides(f) <= MaxCorners;
//  - edges run 1..EdgeCount; ends are columns 1 and 2 of EdgeVertices, its mark column 3.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/table.h"

namespace ostrel {

inline constexpr int ModelCapacity = 3000;
inline constexpr int EdgeCapacity = 10000;
inline constexpr int MaxCorners = 40;
inline constexpr int MaxStep = 12;          // greatest step of a star face
inline constexpr int MaxSegments = 5;       // segments of a segmented model
inline constexpr int HopMatrixSide = ModelCapacity;  // side of the vertex distance matrix
inline constexpr int MaxRealmCorners = 4;   // corners of a realm face

// Edge marks carried from the input's separators.
enum EdgeMark : int { kNoMark = 0, kHighlightMark = 1, kCylinderMark = 2, kCylinder2Mark = 3 };

// Marks a FaceInputColour entry as given (an entry never written reads 0: no colour).
inline constexpr std::int64_t kInputColourGiven = std::int64_t{1} << 32;

struct Model {
  Model();

  // Start of a run: every table reads as new again (a table added below is also emptied
  // here), and the counters and flags that live for the whole run (marked edges, run flags)
  // are cleared.
  void start_run();
  // Start of one parse: the face and vertex flag texts are emptied and the vertex range
  // reset to the "nothing read" state (FirstVertex 999, LastVertex -1).
  void start_pass();

  // Number of vertices FirstVertex..LastVertex (0 when none).
  int vertex_count() const { return LastVertex >= FirstVertex ? LastVertex - FirstVertex + 1 : 0; }

  // --- Vertices (by vertex number 0..ModelCapacity) ---
  // Positions only: the relaxation keeps its own shifts, velocities and previous positions, and
  // what it measures of faces and edges (engine/motion_state.h).
  Table<double> VertexX{"VertexX", ModelCapacity + 1};
  Table<double> VertexY{"VertexY", ModelCapacity + 1};
  Table<double> VertexZ{"VertexZ", ModelCapacity + 1};
  // Letter codes of each vertex, case-sensitive ("V", "v", "C", "F", "T", "R", "O", "*").
  Table<std::string> VertexFlags{"VertexFlags", ModelCapacity + 1};
  Table<std::int16_t> CentroidMark{"CentroidMark", ModelCapacity + 1};

  // --- Faces (by face 1..ModelCapacity; corners 1..MaxCorners) ---
  Table2<int> FaceVertices{"FaceVertices", ModelCapacity + 1, MaxCorners + 1};
  Table<int> FaceSides{"FaceSides", ModelCapacity + 1};
  Table<int> FaceStep{"FaceStep", ModelCapacity + 1};
  Table<std::string> FaceFlags{"FaceFlags", ModelCapacity + 1};
  // The exact colour an OFF input gives a face: kInputColourGiven | 0xRRGGBBAA (alpha 255 for an
  // opaque face); 0 when the input gives none and the face takes the colour of its class.
  Table<std::int64_t> FaceInputColour{"FaceInputColour", ModelCapacity + 1};

  // --- Edges (by edge 1..EdgeCapacity) ---
  Table2<int> EdgeVertices{"EdgeVertices", EdgeCapacity + 1, 4};  // ends 1, 2; mark 3
  Table2<int> EdgeFaces{"EdgeFaces", EdgeCapacity + 1, 3};        // sides 1, 2 (0: none)
  Table<int> EdgeClass{"EdgeClass", EdgeCapacity + 1};            // index into ForceStrength
  Table<double> EdgeTarget{"EdgeTarget", EdgeCapacity + 1};

  // Force strengths 1..6 (entry 0 unused).
  Table<double> ForceStrength{"ForceStrength", 7};
  // --- Counters ---
  int FirstVertex = 999;
  int LastVertex = -1;
  int FaceCount = 0;       // faces proper (links not counted)
  int FaceEntryCount = 0;  // face lists read, links included
  int LinkCount = 0;       // two-corner face lists (bands)
  int EdgeCount = 0;

  // --- Starting positions (by slot 0..ModelCapacity; slot k belongs to FirstVertex + k) ---
  Table<double> StartX{"StartX", ModelCapacity + 1};
  Table<double> StartY{"StartY", ModelCapacity + 1};
  Table<double> StartZ{"StartZ", ModelCapacity + 1};
  int LastStartSlot = 0;  // last slot the input filled (0 without a list)
  bool StartListRead = false;

  // --- Edge marks from the input: rows 1..MarkedEdgeCount-1, columns smaller end, larger
  // end, mark ---
  Table2<int> MarkedEdges{"MarkedEdges", EdgeCapacity + 1, 4};
  int MarkedEdgeCount = 1;  // next free row

  // --- Flags the parser sets and the run clears ---
  bool CylinderFlag = false;
  bool Cylinder2Flag = false;
  bool TransparentFlag = false;
  bool OrientFlag = false;
  bool VertexHighlightFlag = false;
  bool AugmentFlag = false;
};

}  // namespace ostrel

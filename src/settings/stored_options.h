// The options that the settings file ostrel.ini keeps and a run reads: the file selection, the
// user preferences and the colour preferences, each named after the control that holds it.
// The values given here are those of a newly created ostrel.ini: the settings file writes its
// default records from them, and a run that reads no settings file starts from them.
#pragma once

#include <array>
#include <string>

#include "core/model.h"

namespace ostrel {

struct StoredOptions {
  // --- File selection ---
  std::string InDir;     // input folder
  bool OutSame = false;  // output folder is the input folder
  std::string OutDir;    // output folder when OutSame is off

  // --- User preferences ---
  std::string FrameVal = "3";
  std::array<std::string, 7> Force{"", "100", "100", "10", "10", "20", "100"};  // Force1..Force6
  std::string MaxIter = "7";
  std::string Screen = "3";
  bool SolidVRML = true;
  bool FrameVRML = true;
  bool SwitchVRML = true;
  bool AnimVRML = true;
  bool CylVRML = true;
  bool OffFile = true;
  // The glTF binary (.glb) and STL files and the net for a paper model (NAME_net.svg) beside
  // the OFF file. Not in a new ostrel.ini: a save adds their records (vglb, vstl, vnet) after
  // the others, and only when they are on.
  bool GltfFile = false;
  bool StlFile = false;
  bool NetFile = false;
  // Threads for the attempts run ahead and the pair sums, as typed: "0" (or empty) one per core.
  // Not in a new ostrel.ini either: a save adds its record (thrd) only when it is not "0".
  std::string Threads = "0";
  bool BeepIt = false;
  bool Edge = false;
  bool RealmTrans = true;
  std::string TransLevel = "0.5";
  std::string SolidSuffix = "solid";
  std::string FrameSuffix = "frame";
  std::string SwitchSuffix = "switch";
  std::string AnimSuffix = "anim";
  std::string CylSuffix = "cylinder";
  std::string VRMLScale = "1";
  std::string VertexSize = "5";
  std::string Cylsize = "1";
  int VertexLabel = 1;  // 1 "Billboard", 0 "Standard"

  // --- Colour preferences (colour texts "r.g.b" or a grey) ---
  std::string VRMLBack = "0.0.0";
  std::string VRMLEdge = "0.0.0";
  std::string NakedEdge = "0";
  std::string HiEdge = "255.255.0";
  std::string RealmLine = "255.255.0";
  std::string RealmFace = "192";
  std::string VertexCol = "255";
  std::string CylCol = "255.255.0";
  std::string CylCol2 = "0.255.255";
  std::string ExtCol = "255.0.0";
  std::string CompCol = "255.0.0";
  std::string DistBall = "255.255.0";
  std::string RhomCol1 = "255.0.255";
  std::string RhomCol2 = "128.0.255";
  std::string RhomCol3 = "128.0.128";
  std::string DHCol1 = "0.255.128";
  std::string DHCol2 = "0.128.255";
  bool RhomColO = false;
  std::string Colour3 = "0.0.255";
  std::string Colour4 = "255.128.0";
  std::string Colour5 = "0.255.0";
  std::string Colour52 = "0.160.0";
  std::string Colour6 = "0.160.255";
  std::string Colour7 = "205";
  std::string Colour8 = "255.0.255";
  std::string Colour83 = "128.0.128";
  std::string Colour10 = "255.0.0";
  std::string Colour103 = "160.64.0";
  std::array<std::string, MaxSegments + 1> ColourS{"",        "0.0.255",   "255.0.0",
                                                   "0.255.0", "255.128.0", "255.0.255"};
  std::string ColourH = "255.255.0";
  std::string LabVCol = "255.255.255";
  std::string LabFCol = "28.128.128";

  bool operator==(const StoredOptions&) const = default;
};

}  // namespace ostrel

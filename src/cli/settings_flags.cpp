#include "cli/settings_flags.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

#include "core/lenient_number.h"

namespace ostrel::cli {
namespace {

using Setter = std::function<std::string(RunSettings&, std::string_view)>;

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return out;
}

Setter text(std::string RunSettings::*field) {
  return [field](RunSettings& s, std::string_view value) {
    s.*field = std::string(value);
    return std::string();
  };
}

Setter check(bool RunSettings::*field) {
  return [field](RunSettings& s, std::string_view value) -> std::string {
    std::string v = lower(value);
    if (v == "1" || v == "yes" || v == "true" || v == "on") {
      s.*field = true;
    } else if (v == "0" || v == "2" || v == "no" || v == "false" || v == "off") {
      s.*field = false;  // a greyed box (2) counts as off
    } else {
      return "a check box takes 1 or 0, not \"" + std::string(value) + "\"";
    }
    return std::string();
  };
}

Setter option(int RunSettings::*field, int lowest, int highest) {
  return [=](RunSettings& s, std::string_view value) -> std::string {
    double number = lenient_value(value);
    if (number != static_cast<int>(number) || number < lowest || number > highest) {
      return "an option group takes an item number from " + std::to_string(lowest) + " to " +
             std::to_string(highest);
    }
    s.*field = static_cast<int>(number);
    return std::string();
  };
}

template <class Owner, std::size_t N>
Setter text_item(std::array<std::string, N> Owner::*field, std::size_t index) {
  return [=](RunSettings& s, std::string_view value) {
    (s.*field)[index] = std::string(value);
    return std::string();
  };
}

template <std::size_t N>
Setter check_item(std::array<bool, N> RunSettings::*field, std::size_t index) {
  return [=](RunSettings& s, std::string_view value) -> std::string {
    RunSettings probe;
    std::string error = check(&RunSettings::Once)(probe, value);
    if (!error.empty()) return error;
    (s.*field)[index] = probe.Once;
    return std::string();
  };
}

const std::map<std::string, Setter>& setters() {
  static const std::map<std::string, Setter> table = [] {
    std::map<std::string, Setter> t;
    // Texts of the user preferences and the run-time options.
    for (auto [name, field] :
         std::initializer_list<std::pair<const char*, std::string RunSettings::*>>{
             {"FrameVal", &RunSettings::FrameVal},
             {"MaxIter", &RunSettings::MaxIter},
             {"Screen", &RunSettings::Screen},
             {"TransLevel", &RunSettings::TransLevel},
             {"SolidSuffix", &RunSettings::SolidSuffix},
             {"FrameSuffix", &RunSettings::FrameSuffix},
             {"SwitchSuffix", &RunSettings::SwitchSuffix},
             {"AnimSuffix", &RunSettings::AnimSuffix},
             {"CylSuffix", &RunSettings::CylSuffix},
             {"VRMLScale", &RunSettings::VRMLScale},
             {"VertexSize", &RunSettings::VertexSize},
             {"Cylsize", &RunSettings::Cylsize},
             {"VRMLBack", &RunSettings::VRMLBack},
             {"VRMLEdge", &RunSettings::VRMLEdge},
             {"NakedEdge", &RunSettings::NakedEdge},
             {"HiEdge", &RunSettings::HiEdge},
             {"RealmLine", &RunSettings::RealmLine},
             {"RealmFace", &RunSettings::RealmFace},
             {"VertexCol", &RunSettings::VertexCol},
             {"CylCol", &RunSettings::CylCol},
             {"CylCol2", &RunSettings::CylCol2},
             {"ExtCol", &RunSettings::ExtCol},
             {"CompCol", &RunSettings::CompCol},
             {"DistBall", &RunSettings::DistBall},
             {"RhomCol1", &RunSettings::RhomCol1},
             {"RhomCol2", &RunSettings::RhomCol2},
             {"RhomCol3", &RunSettings::RhomCol3},
             {"DHCol1", &RunSettings::DHCol1},
             {"DHCol2", &RunSettings::DHCol2},
             {"Colour3", &RunSettings::Colour3},
             {"Colour4", &RunSettings::Colour4},
             {"Colour5", &RunSettings::Colour5},
             {"Colour52", &RunSettings::Colour52},
             {"Colour6", &RunSettings::Colour6},
             {"Colour7", &RunSettings::Colour7},
             {"Colour8", &RunSettings::Colour8},
             {"Colour83", &RunSettings::Colour83},
             {"Colour10", &RunSettings::Colour10},
             {"Colour103", &RunSettings::Colour103},
             {"ColourH", &RunSettings::ColourH},
             {"LabVCol", &RunSettings::LabVCol},
             {"LabFCol", &RunSettings::LabFCol},
             {"WeakenLimit", &RunSettings::WeakenLimit},
             {"HighlightVal", &RunSettings::HighlightVal},
             {"StressMult", &RunSettings::StressMult},
             {"StBallMult", &RunSettings::StBallMult},
             {"SmoothAngle", &RunSettings::SmoothAngle},
             {"GlobLim", &RunSettings::GlobLim},
             {"SelectFace", &RunSettings::SelectFace},
             {"SqrtMult", &RunSettings::SqrtMult},
             {"BandLen", &RunSettings::BandLen},
             {"AugmentVal", &RunSettings::AugmentVal},
             {"ForceRhom", &RunSettings::ForceRhom},
             {"ForceRhom2", &RunSettings::ForceRhom2},
             {"ForceRhom3", &RunSettings::ForceRhom3}}) {
      t[name] = text(field);
    }
    for (auto [name, field] : std::initializer_list<std::pair<const char*, bool RunSettings::*>>{
             {"SolidVRML", &RunSettings::SolidVRML},
             {"FrameVRML", &RunSettings::FrameVRML},
             {"SwitchVRML", &RunSettings::SwitchVRML},
             {"AnimVRML", &RunSettings::AnimVRML},
             {"CylVRML", &RunSettings::CylVRML},
             {"OffFile", &RunSettings::OffFile},
             {"GltfFile", &RunSettings::GltfFile},
             {"StlFile", &RunSettings::StlFile},
             {"IgnoreCoordinates", &RunSettings::IgnoreCoordinates},
             {"BeepIt", &RunSettings::BeepIt},
             {"Edge", &RunSettings::Edge},
             {"RealmTrans", &RunSettings::RealmTrans},
             {"RhomColO", &RunSettings::RhomColO},
             {"Debug", &RunSettings::Debug},
             {"Labelling", &RunSettings::Labelling},
             {"SideLab", &RunSettings::SideLab},
             {"Userdata", &RunSettings::Userdata},
             {"Once", &RunSettings::Once},
             {"Weaken", &RunSettings::Weaken},
             {"Isomorph", &RunSettings::Isomorph},
             {"Augment", &RunSettings::Augment},
             {"Coincidence", &RunSettings::Coincidence},
             {"Highlight", &RunSettings::Highlight},
             {"HighVert", &RunSettings::HighVert},
             {"AllCyl", &RunSettings::AllCyl},
             {"incord", &RunSettings::incord},
             {"XYConfine", &RunSettings::XYConfine},
             {"RegHex", &RunSettings::RegHex},
             {"StressMap", &RunSettings::StressMap},
             {"Smooth", &RunSettings::Smooth},
             {"SqrtHop", &RunSettings::SqrtHop},
             {"OutSame", &RunSettings::OutSame}}) {
      t[name] = check(field);
    }
    t["InflateOption"] = option(&RunSettings::InflateOption, 0, 4);
    t["LocalOption"] = option(&RunSettings::LocalOption, 0, 3);
    t["AugmentOption"] = option(&RunSettings::AugmentOption, 1, 3);
    t["AugmentColour"] = option(&RunSettings::AugmentColour, 0, 2);
    t["SegColour"] = option(&RunSettings::SegColour, 0, 1);
    t["VertexLabel"] = option(&RunSettings::VertexLabel, 0, 1);
    for (std::size_t k = 1; k <= 6; ++k)
      t["Force" + std::to_string(k)] = text_item(&RunSettings::Force, k);
    for (std::size_t k = 1; k <= 3; ++k) {
      t["LocInfMin" + std::to_string(k)] = text_item(&RunSettings::LocInfMin, k);
      t["LocInfMax" + std::to_string(k)] = text_item(&RunSettings::LocInfMax, k);
    }
    for (std::size_t k = 1; k <= static_cast<std::size_t>(MaxSegments); ++k) {
      std::string index = "(" + std::to_string(k) + ")";
      t["ColourS" + std::to_string(k)] = text_item(&RunSettings::ColourS, k);
      t["SegEdge" + index] = text_item(&RunSettings::SegEdge, k);
      t["SegX" + index] = text_item(&RunSettings::SegX, k);
      t["SegY" + index] = text_item(&RunSettings::SegY, k);
      t["SegZ" + index] = text_item(&RunSettings::SegZ, k);
      t["SegTrans" + index] = check_item(&RunSettings::SegTrans, k);
      t["FlipX" + index] = check_item(&RunSettings::FlipX, k);
      t["FlipY" + index] = check_item(&RunSettings::FlipY, k);
      t["FlipZ" + index] = check_item(&RunSettings::FlipZ, k);
    }
    return t;
  }();
  return table;
}

}  // namespace

std::string set_control(RunSettings& settings, std::string_view name, std::string_view value) {
  auto found = setters().find(std::string(name));
  if (found == setters().end()) return "no control is named \"" + std::string(name) + "\"";
  std::string error = found->second(settings, value);
  return error.empty() ? error : std::string(name) + ": " + error;
}

std::string set_control_assignment(RunSettings& settings, std::string_view assignment) {
  auto equals = assignment.find('=');
  if (equals == std::string_view::npos || equals == 0) {
    return "\"" + std::string(assignment) + "\" is not of the form Control=Value";
  }
  if (assignment.substr(0, equals) == "InflateOption") settings.InflateGiven = true;
  return set_control(settings, assignment.substr(0, equals), assignment.substr(equals + 1));
}

std::string set_segment_options(RunSettings& settings, std::string_view text) {
  auto colon = text.find(':');
  if (colon == std::string_view::npos) return "--segment takes K:edge=E,x=X,y=Y,z=Z,flip=xyz,trans";
  double row = lenient_value(text.substr(0, colon));
  if (row != static_cast<int>(row) || row < 1 || row > MaxSegments) {
    return "--segment: the segment number must be from 1 to " + std::to_string(MaxSegments);
  }
  const std::string index = "(" + std::to_string(static_cast<int>(row)) + ")";
  std::string_view fields = text.substr(colon + 1);
  while (!fields.empty()) {
    auto comma = fields.find(',');
    std::string_view field = fields.substr(0, comma);
    fields = comma == std::string_view::npos ? std::string_view() : fields.substr(comma + 1);
    auto equals = field.find('=');
    std::string key(field.substr(0, equals));
    std::string value =
        equals == std::string_view::npos ? "" : std::string(field.substr(equals + 1));
    std::string problem;
    if (key == "edge") {
      problem = set_control(settings, "SegEdge" + index, value);
    } else if (key == "x" || key == "y" || key == "z") {
      std::string axis = key == "x" ? "X" : key == "y" ? "Y" : "Z";
      problem = set_control(settings, "Seg" + axis + index, value);
    } else if (key == "flip") {
      for (char axis : value) {
        if (axis != 'x' && axis != 'y' && axis != 'z')
          return "--segment: flip takes the letters x, y and z";
        std::string name = std::string("Flip") + static_cast<char>(std::toupper(axis)) + index;
        problem = set_control(settings, name, "1");
      }
    } else if (key == "trans" && equals == std::string_view::npos) {
      problem = set_control(settings, "SegTrans" + index, "1");
    } else {
      return "--segment: unknown field \"" + std::string(field) + "\"";
    }
    if (!problem.empty()) return problem;
  }
  return {};
}

std::vector<std::string> control_names() {
  std::vector<std::string> names;
  for (const auto& [name, setter] : setters()) names.push_back(name);
  return names;
}

}  // namespace ostrel::cli

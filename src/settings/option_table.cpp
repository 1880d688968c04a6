#include "settings/option_table.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "core/lenient_number.h"

namespace ostrel {
namespace {

template <auto Member>
auto& member(RunSettings& settings) {
  return settings.*Member;
}

template <auto Member, std::size_t Index>
auto& element(RunSettings& settings) {
  return (settings.*Member)[Index];
}

OptionRow text(std::string control, std::string& (*field)(RunSettings&), std::string flag = {},
               std::string help = {}, std::vector<std::string> implies = {}) {
  OptionRow row;
  row.control = std::move(control);
  row.kind = OptionKind::kText;
  row.text = field;
  row.flag = std::move(flag);
  row.help = std::move(help);
  row.implies = std::move(implies);
  return row;
}

OptionRow check(std::string control, bool& (*field)(RunSettings&), std::string flag = {},
                std::string help = {}, std::vector<std::string> implies = {}) {
  OptionRow row;
  row.control = std::move(control);
  row.kind = OptionKind::kCheck;
  row.check = field;
  row.flag = std::move(flag);
  row.help = std::move(help);
  row.implies = std::move(implies);
  return row;
}

OptionRow choice(std::string control, int& (*field)(RunSettings&), int lowest, int highest,
                 std::string flag = {}, std::string help = {},
                 std::vector<std::string> items = {}) {
  OptionRow row;
  row.control = std::move(control);
  row.kind = OptionKind::kChoice;
  row.choice = field;
  row.lowest = lowest;
  row.highest = highest;
  row.flag = std::move(flag);
  row.help = std::move(help);
  row.items = std::move(items);
  return row;
}

OptionRow given(OptionRow row, bool& (*field)(RunSettings&)) {
  row.given = field;
  return row;
}

// A row that ostrel.ini keeps under `key`.
OptionRow ini(OptionRow row, std::string key, IniStyle style = IniStyle::kAsHeld) {
  row.ini = std::move(key);
  row.ini_style = style;
  return row;
}
constexpr IniStyle kFolder = IniStyle::kDirectory;
constexpr IniStyle kSuffix = IniStyle::kSuffix;
constexpr IniStyle kBlank = IniStyle::kBlankFlag;

using R = RunSettings;

// The numbered controls of the forms: Force1..Force6, LocInfMin1..3, ColourS1..5 and the
// segment rows SegEdge(1)..SegEdge(5) and their neighbours.
template <std::size_t... K>
void add_forces(std::vector<OptionRow>& rows, std::index_sequence<K...>) {
  (rows.push_back(ini(text("Force" + std::to_string(K + 1), &element<&R::Force, K + 1>),
                      "f00" + std::to_string(K + 1))),
   ...);
}
template <std::size_t... K>
void add_local_bounds(std::vector<OptionRow>& rows, std::index_sequence<K...>) {
  (rows.push_back(text("LocInfMin" + std::to_string(K + 1), &element<&R::LocInfMin, K + 1>)), ...);
  (rows.push_back(text("LocInfMax" + std::to_string(K + 1), &element<&R::LocInfMax, K + 1>)), ...);
}
template <std::size_t... K>
void add_segment_rows(std::vector<OptionRow>& rows, std::index_sequence<K...>) {
  const auto index = [](std::size_t k) { return "(" + std::to_string(k) + ")"; };
  (rows.push_back(ini(text("ColourS" + std::to_string(K + 1), &element<&R::ColourS, K + 1>),
                      "cls" + std::to_string(K + 1))),
   ...);
  (rows.push_back(text("SegEdge" + index(K + 1), &element<&R::SegEdge, K + 1>)), ...);
  (rows.push_back(text("SegX" + index(K + 1), &element<&R::SegX, K + 1>)), ...);
  (rows.push_back(text("SegY" + index(K + 1), &element<&R::SegY, K + 1>)), ...);
  (rows.push_back(text("SegZ" + index(K + 1), &element<&R::SegZ, K + 1>)), ...);
  (rows.push_back(check("SegTrans" + index(K + 1), &element<&R::SegTrans, K + 1>)), ...);
  (rows.push_back(check("FlipX" + index(K + 1), &element<&R::FlipX, K + 1>)), ...);
  (rows.push_back(check("FlipY" + index(K + 1), &element<&R::FlipY, K + 1>)), ...);
  (rows.push_back(check("FlipZ" + index(K + 1), &element<&R::FlipZ, K + 1>)), ...);
}

std::vector<OptionRow> build_rows() {
  std::vector<OptionRow> rows{
      // --- options with a flag, in the order the command line lists them ---
      check("Once", &member<&R::Once>, "--once", "'Once' mode: one attempt at an output file"),
      text("WeakenLimit", &member<&R::WeakenLimit>, "--weaken",
           "Weaken faces of at most LIMIT corners (implies --once)", {"Weaken", "Once"}),
      check("Isomorph", &member<&R::Isomorph>, "--isomorph", "Vertex isomorph detection"),
      check("Coincidence", &member<&R::Coincidence>, "--no-coincidence-check",
            "Permit coincident vertices"),
      check("XYConfine", &member<&R::XYConfine>, "--xy", "Confine the model to the XY plane"),
      check("incord", &member<&R::incord>, "--incord",
            "Write the input coordinates as entered, without relaxing"),
      check("IgnoreCoordinates", &member<&R::IgnoreCoordinates>, "--ignore-coordinates",
            "OFF input: relax from random starts, not the file's points"),
      ini(check("GltfFile", &member<&R::GltfFile>, "--gltf",
                "Also write NAME.glb, a glTF 2.0 binary of the solid faces"),
          "vglb"),
      ini(check("StlFile", &member<&R::StlFile>, "--stl",
                "Also write NAME.stl, a binary STL of the solid surface"),
          "vstl"),
      ini(check("NetFile", &member<&R::NetFile>, "--net",
                "Also write NAME_net.svg: the solid unfolded into a net for a paper model"),
          "vnet"),
      text("NetEdge", &member<&R::NetEdge>, "--net-edge",
           "Printed edge length of the net in millimetres (default 30)"),
      text("NetPage", &member<&R::NetPage>, "--net-page",
           "Paper of the net's pages: a4 or letter (default a4)"),
      check("Debug", &member<&R::Debug>, "--debug",
            "Keep the debug log <name>_debug.txt in the output folder"),
      check("RegHex", &member<&R::RegHex>, "--reghex",
            "Keep hexagons regular while local inflation is on"),
      check("StressMap", &member<&R::StressMap>, "--stress",
            "Also write every VRML style with stress cones (\"_stress\")"),
      text("SmoothAngle", &member<&R::SmoothAngle>, "--smooth",
           "Smooth edges whose dihedral angle is below ANGLE degrees (\"_smooth\")", {"Smooth"}),
      check("Labelling", &member<&R::Labelling>, "--labels",
            "Label the vertices in the VRML files"),
      check("SideLab", &member<&R::SideLab>, "--side-labels", "Label the faces in the VRML files"),
      check("HighVert", &member<&R::HighVert>, "--all-vertices", "Put a sphere on every vertex"),
      check("AllCyl", &member<&R::AllCyl>, "--all-cylinders", "Put a cylinder on every edge"),
      check("Userdata", &member<&R::Userdata>, "--userdata",
            "Write the run options into the VRML header"),
      text("HighlightVal", &member<&R::HighlightVal>, "--highlight",
           "Highlight faces of the kind N/D (0: every face)", {"Highlight"}),
      text("GlobLim", &member<&R::GlobLim>, "--glob-lim", "Global inflation limit (default 99)"),
      ini(text("MaxIter", &member<&R::MaxIter>, "--max-iter", "Iteration limit as a power of ten"),
          "mxit"),
      text("BandLen", &member<&R::BandLen>, "--band-length", "Length of the bands (links)"),
      text("SqrtMult", &member<&R::SqrtMult>, "--sqrt-hop",
           "Modified hop: multiplier x sqrt(hop distance)", {"SqrtHop"}),
      text("SelectFace", &member<&R::SelectFace>, "--select-face",
           "Faces N/D given their own local inflation"),
      given(choice("InflateOption", &member<&R::InflateOption>, 0, 4, "--inflate",
                   "Inflation: global, none, local-one, local-diagonal or stress (stress "
                   "majorization)",
                   {"global", "none", "local-one", "local-diagonal", "stress"}),
            &member<&R::InflateGiven>),
      text("AugmentVal", &member<&R::AugmentVal>, "--augment",
           "Raise pyramids on the faces of kind N/D (\"_aug\")", {"Augment"}),
      choice("AugmentOption", &member<&R::AugmentOption>, 1, 3, "--augment-option",
             "Base face of a pyramid: leave, remove or bands (kept, hidden)",
             {"leave", "remove", "bands"}),
      choice("AugmentColour", &member<&R::AugmentColour>, 0, 2, "--augment-colour",
             "Colour of the new triangles: original, highlight or triangle",
             {"original", "highlight", "triangle"}),
      choice("LocalOption", &member<&R::LocalOption>, 0, 3, "--local-option",
             "Local diagonal option: value, range, differential or differential-range",
             {"value", "range", "differential", "differential-range"}),

      // --- the run-time form's other controls ---
      check("Weaken", &member<&R::Weaken>),
      check("Smooth", &member<&R::Smooth>),
      check("Highlight", &member<&R::Highlight>),
      check("SqrtHop", &member<&R::SqrtHop>),
      check("Augment", &member<&R::Augment>),
      text("StressMult", &member<&R::StressMult>),
      text("StBallMult", &member<&R::StBallMult>),
      text("ForceRhom", &member<&R::ForceRhom>),
      text("ForceRhom2", &member<&R::ForceRhom2>),
      text("ForceRhom3", &member<&R::ForceRhom3>),
      choice("SegColour", &member<&R::SegColour>, 0, 1),

      // --- the preferences ostrel.ini keeps ---
      ini(text("InDir", &member<&R::InDir>), "diri", kFolder),
      ini(text("OutDir", &member<&R::OutDir>), "diro", kFolder),
      ini(text("Threads", &member<&R::Threads>), "thrd"),
      ini(check("OutSame", &member<&R::OutSame>), "otsm"),
      ini(text("FrameVal", &member<&R::FrameVal>), "fram"),
      ini(text("Screen", &member<&R::Screen>), "scrn"),
      ini(check("SolidVRML", &member<&R::SolidVRML>), "vsol"),
      ini(check("FrameVRML", &member<&R::FrameVRML>), "vfrm"),
      ini(check("SwitchVRML", &member<&R::SwitchVRML>), "vswt"),
      ini(check("AnimVRML", &member<&R::AnimVRML>), "vanm"),
      ini(check("CylVRML", &member<&R::CylVRML>), "vcyl"),
      ini(check("OffFile", &member<&R::OffFile>), "voff"),
      ini(check("BeepIt", &member<&R::BeepIt>), "beep", kBlank),
      ini(check("Edge", &member<&R::Edge>), "edge", kBlank),
      ini(check("RealmTrans", &member<&R::RealmTrans>), "rtrn", kBlank),
      ini(text("TransLevel", &member<&R::TransLevel>), "tran"),
      ini(text("SolidSuffix", &member<&R::SolidSuffix>), "ssol", kSuffix),
      ini(text("FrameSuffix", &member<&R::FrameSuffix>), "sfrm", kSuffix),
      ini(text("SwitchSuffix", &member<&R::SwitchSuffix>), "sswt", kSuffix),
      ini(text("AnimSuffix", &member<&R::AnimSuffix>), "sanm", kSuffix),
      ini(text("CylSuffix", &member<&R::CylSuffix>), "scyl", kSuffix),
      ini(text("VRMLScale", &member<&R::VRMLScale>), "vscl"),
      ini(text("VertexSize", &member<&R::VertexSize>), "vxsz"),
      ini(text("Cylsize", &member<&R::Cylsize>), "cyls"),
      ini(choice("VertexLabel", &member<&R::VertexLabel>, 0, 1), "vlab"),
      ini(text("VRMLBack", &member<&R::VRMLBack>), "colb"),
      ini(text("VRMLEdge", &member<&R::VRMLEdge>), "cole"),
      ini(text("NakedEdge", &member<&R::NakedEdge>), "nedg"),
      ini(text("HiEdge", &member<&R::HiEdge>), "hedg"),
      ini(text("RealmLine", &member<&R::RealmLine>), "rlin"),
      ini(text("RealmFace", &member<&R::RealmFace>), "rfac"),
      ini(text("VertexCol", &member<&R::VertexCol>), "vxcl"),
      ini(text("CylCol", &member<&R::CylCol>), "cylc"),
      ini(text("CylCol2", &member<&R::CylCol2>), "cy2c"),
      ini(text("ExtCol", &member<&R::ExtCol>), "extc"),
      ini(text("CompCol", &member<&R::CompCol>), "comc"),
      ini(text("DistBall", &member<&R::DistBall>), "disb"),
      ini(text("RhomCol1", &member<&R::RhomCol1>), "rcl1"),
      ini(text("RhomCol2", &member<&R::RhomCol2>), "rcl2"),
      ini(text("RhomCol3", &member<&R::RhomCol3>), "rcl3"),
      ini(text("DHCol1", &member<&R::DHCol1>), "hxc1"),
      ini(text("DHCol2", &member<&R::DHCol2>), "hxc2"),
      ini(check("RhomColO", &member<&R::RhomColO>), "rclo"),
      ini(text("Colour3", &member<&R::Colour3>), "clp3"),
      ini(text("Colour4", &member<&R::Colour4>), "clp4"),
      ini(text("Colour5", &member<&R::Colour5>), "clp5"),
      ini(text("Colour52", &member<&R::Colour52>), "cl52"),
      ini(text("Colour6", &member<&R::Colour6>), "clp6"),
      ini(text("Colour7", &member<&R::Colour7>), "clp7"),
      ini(text("Colour8", &member<&R::Colour8>), "clp8"),
      ini(text("Colour83", &member<&R::Colour83>), "cl83"),
      ini(text("Colour10", &member<&R::Colour10>), "clpx"),
      ini(text("Colour103", &member<&R::Colour103>), "clx3"),
      ini(text("ColourH", &member<&R::ColourH>), "clph"),
      ini(text("LabVCol", &member<&R::LabVCol>), "lbcv"),
      ini(text("LabFCol", &member<&R::LabFCol>), "lbcf"),
  };
  add_forces(rows, std::make_index_sequence<6>());
  add_local_bounds(rows, std::make_index_sequence<3>());
  add_segment_rows(rows, std::make_index_sequence<MaxSegments>());
  return rows;
}

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return out;
}

}  // namespace

const std::vector<OptionRow>& option_table() {
  static const std::vector<OptionRow> rows = build_rows();
  return rows;
}

const OptionRow* find_option(std::string_view name) {
  static const std::unordered_map<std::string_view, const OptionRow*> by_name = [] {
    std::unordered_map<std::string_view, const OptionRow*> map;
    for (const OptionRow& row : option_table()) map.emplace(row.control, &row);
    return map;
  }();
  const auto found = by_name.find(name);
  return found == by_name.end() ? nullptr : found->second;
}

std::string set_option(RunSettings& settings, std::string_view name, std::string_view value) {
  const OptionRow* row = find_option(name);
  if (row == nullptr) return "no control is named \"" + std::string(name) + "\"";
  if (row->given != nullptr) row->given(settings) = true;
  switch (row->kind) {
    case OptionKind::kText: row->text(settings) = std::string(value); return {};
    case OptionKind::kCheck: {
      const std::string v = lower(value);
      if (v == "1" || v == "yes" || v == "true" || v == "on") {
        row->check(settings) = true;
      } else if (v == "0" || v == "2" || v == "no" || v == "false" || v == "off") {
        row->check(settings) = false;  // a greyed box (2) counts as off
      } else {
        return std::string(name) + ": a check box takes 1 or 0, not \"" + std::string(value) + "\"";
      }
      return {};
    }
    case OptionKind::kChoice: {
      const double number = lenient_value(value);
      if (number != static_cast<int>(number) || number < row->lowest || number > row->highest) {
        return std::string(name) + ": an option group takes an item number from " +
               std::to_string(row->lowest) + " to " + std::to_string(row->highest);
      }
      row->choice(settings) = static_cast<int>(number);
      return {};
    }
  }
  return {};
}

std::string default_option_text(std::string_view name) {
  const OptionRow* row = find_option(name);
  if (row == nullptr || row->kind != OptionKind::kText) return {};
  RunSettings defaults;
  return row->text(defaults);
}

void apply_flag(RunSettings& settings, const OptionRow& row, const std::string& value) {
  for (const std::string& implied : row.implies) find_option(implied)->check(settings) = true;
  if (row.given != nullptr) row.given(settings) = true;
  switch (row.kind) {
    case OptionKind::kText: row.text(settings) = value; break;
    case OptionKind::kCheck: row.check(settings) = true; break;
    case OptionKind::kChoice: {
      const auto item = std::find(row.items.begin(), row.items.end(), value);
      if (item != row.items.end())
        row.choice(settings) = row.lowest + static_cast<int>(item - row.items.begin());
      break;
    }
  }
}

}  // namespace ostrel

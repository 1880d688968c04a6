#include "output/vrml_header.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/colour.h"
#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/model.h"
#include "core/number_format.h"
#include "core/vec3.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerRadian = 180.0 / kPi;
constexpr double kReported = kReportedDeviation;
constexpr char kDegreeSign = '\xB0';

Vec3 corner_point(const Model& model, int face, int corner) {
  const int v = model.FaceVertices(face, corner);
  return {model.VertexX(v), model.VertexY(v), model.VertexZ(v)};
}

double distance(const Vec3& a, const Vec3& b) {
  return vector_length(a.x - b.x, a.y - b.y, a.z - b.z);
}

// Corner k (any integer) of a face of n corners, counted cyclically from 1.
int cyclic_corner(long long k, int n) {
  const long long corner = ((k - 1) % n + n) % n;
  return static_cast<int>(corner) + 1;
}

// The set a face belongs to, as the relaxation decodes it: 1 "D", 2 "d", 3 "q" (rhombi, four
// corners only) or 1 "D", 2 "d" (distorted hexagons, six corners only); 0 for none.
int rhombus_set(int sides, const std::string& flags) {
  if (sides != 4) return 0;
  if (has_letter(flags, 'D')) return 1;
  if (has_letter(flags, 'd')) return 2;
  if (has_letter(flags, 'q')) return 3;
  return 0;
}

int hexagon_set(int sides, const std::string& flags) {
  if (sides != 6) return 0;
  if (has_letter(flags, 'D')) return 1;
  if (has_letter(flags, 'd')) return 2;
  return 0;
}

// The nearer of two targets; the second on a tie.
double nearer(double theta, double first, double second) {
  return std::abs(theta - first) < std::abs(theta - second) ? first : second;
}

// A title is a VRML string: a double quote or backslash in the name must not end it early.
std::string vrml_string_text(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '"' || c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string in_quotes(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

void write_summary(std::ostream& out, const Model& model, const Deviations& deviations,
                   const VrmlDeformation& figures) {
  vrml_line(out, "# Aggregate Edge Deformation (E):       " + print_form(figures.E));
  vrml_line(out, "# Maximum Single Edge Distortion (SE):  " + print_form(figures.SE));
  vrml_line(out, "# Polygonal Deformation (P):            " + print_form(figures.P));
  vrml_line(out, "# Aggregate Angle Deformation (A):      " + print_form(figures.A) + " degrees");
  vrml_line(out, "#                                       " +
                     print_form(figures.A / kDegreesPerRadian) + " radians");
  vrml_line(out, "#");
  // The figures of this line follow the same digits as every other number of the file: a
  // decimal point whatever the user's locale.
  vrml_line(
      out, "# Deformation Summary                    (E=" + FormatOutputNumber(figures.E, "0.000") +
               ", P=" + FormatOutputNumber(figures.P, "0.000") +
               ", A=" + FormatOutputNumber(figures.A, "0.0") + kDegreeSign + ")");
  vrml_line(out, "#");
  if (figures.P > kReported) {
    std::string text;
    for (int f = 1; f <= model.FaceCount; ++f) {
      if (!(deviations.face(f) > kReported)) continue;
      text = "# side :" + print_form(f) + "Vertices :" + print_form(model.FaceSides(f)) + " Nos. (";
      for (int k = 1; k <= model.FaceSides(f); ++k)
        append_print_form(text, model.FaceVertices(f, k));
      text += ")  Deformation ";
      append_output_number(text, deviations.face(f), "0.0######");
      vrml_line(out, text);
    }
  }
  vrml_line(out, "#");
}

void write_edge_list(std::ostream& out, const Model& model, const Deviations& deviations) {
  std::string text;
  for (int e = 1; e <= model.EdgeCount; ++e) {
    const double deviation = deviations.edge(e);
    if (!(std::abs(deviation) > kReported)) continue;
    text = "# Edge :" + print_form(e) + "Vertices :" + print_form(model.EdgeVertices(e, 1)) +
           print_form(model.EdgeVertices(e, 2)) + "Deformation :";
    append_output_number(text, deviation, "0.0######");
    text += deviation >= 0.0 ? "  Elongation" : "  Compression";
    vrml_line(out, text);
  }
}

std::string angle_figures(double angle) {
  return FormatOutputNumber(angle, "0.0###") + " radians, " +
         FormatOutputNumber(angle * kDegreesPerRadian, "#0.0##") + " degrees.";
}

void write_shape_reports(std::ostream& out, const Model& model, const RunSettings& settings) {
  std::array<int, 4> first_rhombus{};  // first face of rhombus sets 1..3
  std::array<int, 3> first_hexagon{};  // first face of hexagon sets 1..2
  for (int f = model.FaceCount; f >= 1; --f) {
    const std::string& flags = model.FaceFlags(f);
    if (const int set = rhombus_set(model.FaceSides(f), flags)) first_rhombus[set] = f;
    if (const int set = hexagon_set(model.FaceSides(f), flags)) first_hexagon[set] = f;
  }
  struct RhombusText {
    const char* forced;
    const char* plain;
  };
  static constexpr RhombusText kRhombusTexts[] = {
      {"", ""},
      {"# Forced rhombus ", "# Rhombus "},
      {"# Forced type 2 rhombus ", "# Type 2 Rhombus "},
      {"# Forced type 3 rhombus ", "# Type 3 Rhombus "},
  };
  for (int set = 1; set <= 3; ++set) {
    const int face = first_rhombus[static_cast<std::size_t>(set)];
    if (face == 0) continue;
    const RhombusText& text = kRhombusTexts[set];
    vrml_line(out, std::string(settings.rhombus_angle(set) > 0.0 ? text.forced : text.plain) +
                       "acute angle: " + angle_figures(rhombus_acute_angle(model, face)));
    vrml_line(out,
              "# Angle deformation above assumption that all rhombi have acute angle as above");
  }
  const std::string other_angles =
      "# Distorted hexagons contain 2 apex angles (a) and four other angles of pi-(a/2) radians.";
  if (first_hexagon[1] != 0) {
    vrml_line(out, "# Distorted hexagon apex angle: " +
                       angle_figures(hexagon_apex_angle(model, first_hexagon[1])));
    vrml_line(out,
              "# Angle deformation above assumption that all distorted hexagons above have "
              "have apex angle as above.");
    vrml_line(out, other_angles);
  }
  if (first_hexagon[2] != 0) {
    vrml_line(out, "# Distorted hexagon type 2 apex angle: " +
                       angle_figures(hexagon_apex_angle(model, first_hexagon[2])));
    vrml_line(out,
              "# Angle deformation above assumption that all above distorted hexagons have "
              "have apex angle as above.");
    vrml_line(out, other_angles);
  }
}

void write_scene(std::ostream& out, const RunSettings& settings, const OutputContext& context,
                 MessageSink& sink) {
  vrml_line(out, "#");
  vrml_line(out, "Background {");
  vrml_line(out,
            "  skyColor [" + ColourTextToVrml(settings.VRMLBack, "Screen Background", sink) + "]");
  vrml_line(out, "}");
  vrml_line(out, " ");
  vrml_line(out, "NavigationInfo {");
  vrml_line(out, " type " + in_quotes("EXAMINE"));
  vrml_line(out, " headlight TRUE");
  vrml_line(out, " avatarSize [0, 0, 0, 0, 0, 0]");
  vrml_line(out, "}");

  const double scale = lenient_value(settings.VRMLScale);
  const double wide = (context.ViewingDistance == 0.0 ? 2.0 : context.ViewingDistance) * scale;
  const double telephoto =
      (context.ViewingDistance == 0.0 ? 10.0 : 5.0 * context.ViewingDistance) * scale;
  const auto viewpoint = [&](std::initializer_list<std::string> lines) {
    vrml_line(out, "Viewpoint {");
    for (const std::string& text : lines) vrml_line(out, text);
    vrml_line(out, "}");
    vrml_line(out, " ");
  };
  viewpoint({" position 0 0 " + FormatOutputNumber(wide, "#0.0##"),
             " description " + in_quotes("Wide Angle")});
  viewpoint({" position 0 0 " + FormatOutputNumber(telephoto, "#0.0##"), " fieldOfView 0.15",
             " description " + in_quotes("Telephoto")});
  viewpoint({" position 0 0 0", " description " + in_quotes("Origin")});
  viewpoint(
      {" position 0 0 0", " fieldOfView 1.0", " description " + in_quotes("Origin Wide Angle")});
  viewpoint(
      {" position 0 0 0", " fieldOfView 1.57", " description " + in_quotes("Origin Fish-Eye")});
  viewpoint({" position 0 0 0", " fieldOfView 2.4",
             " description " + in_quotes("Origin Super Fish-Eye")});
}

}  // namespace

void vrml_line(std::ostream& out, std::string_view text) {
  out << text << "\r\n";
}

double arc_sine(double x) {
  if (x >= 1.0) return kPi / 2.0;
  if (x <= -1.0) return -kPi / 2.0;
  return std::asin(x);
}

double arc_cosine(double x) {
  if (x >= 1.0) return 0.0;
  if (x <= -1.0) return kPi;
  return std::acos(x);
}

AngleTargets angle_targets(const OutputContext& context) {
  AngleTargets targets;
  for (std::size_t set = 1; set <= 3; ++set) {
    targets.rhombus[set] = 2.0 * arc_sine(context.RhombusSetDiagonals[set].short_diagonal / 2.0);
  }
  for (std::size_t set = 1; set <= 2; ++set) {
    const double h = context.HexagonSetPairMean[set];
    targets.hexagon[set] = 2.0 * arc_sine(std::sqrt(std::max(h * h - 1.0, 0.0)) / 2.0);
  }
  return targets;
}

double AngleDeformation(const Model& model, const AngleTargets& targets) {
  double sum = 0.0;
  for (int f = 1; f <= model.FaceCount; ++f) {
    const int n = model.FaceSides(f);
    if (n < 3) continue;
    const std::string& flags = model.FaceFlags(f);
    const int d = std::max(model.FaceStep(f), 1);
    const int rhombus = rhombus_set(n, flags);
    const int hexagon = hexagon_set(n, flags);
    const bool other_set =
        rhombus == 0 && hexagon == 0 && (has_letter(flags, 'D') || has_letter(flags, 'd'));
    if (other_set) continue;
    const double regular = kPi * static_cast<double>(n - 2 * d) / static_cast<double>(n);
    for (int k = 1; k <= n; ++k) {
      const long long at = static_cast<long long>(k) * d + 1;
      const Vec3 p = corner_point(model, f, cyclic_corner(at, n));
      const Vec3 previous = corner_point(model, f, cyclic_corner(at - d, n));
      const Vec3 next = corner_point(model, f, cyclic_corner(at + d, n));
      const double ax = previous.x - p.x, ay = previous.y - p.y, az = previous.z - p.z;
      const double bx = next.x - p.x, by = next.y - p.y, bz = next.z - p.z;
      const double lengths = vector_length(ax, ay, az) * vector_length(bx, by, bz);
      if (!(lengths > 0.0)) continue;  // a corner on top of its neighbour has no angle
      const double theta = arc_cosine((ax * bx + ay * by + az * bz) / lengths);
      double target = regular;
      if (rhombus != 0) {
        const double alpha = targets.rhombus[static_cast<std::size_t>(rhombus)];
        target = nearer(theta, alpha, kPi - alpha);
      } else if (hexagon != 0) {
        const double a = targets.hexagon[static_cast<std::size_t>(hexagon)];
        target = nearer(theta, a, kPi - a / 2.0);
      }
      sum += std::abs(theta - target) * kDegreesPerRadian;
    }
  }
  return sum;
}

double max_single_edge_distortion(const Model& model, const Deviations& deviations) {
  double largest = 0.0;
  for (int e = 1; e <= model.EdgeCount; ++e) {
    const double size = std::abs(deviations.edge(e));
    if (size > kReported) largest = std::max(largest, size);
  }
  return largest;
}

VrmlDeformation measure_deformation(const Model& model, const RunSettings& settings,
                                    const OutputContext& context) {
  VrmlDeformation figures;
  figures.E = settings.incord ? context.MeasuredDeform : context.IterationDeform;
  figures.P = settings.incord ? context.MeasuredDeforp : context.IterationDeforp;
  figures.SE = max_single_edge_distortion(model, context.deviations);
  figures.A = AngleDeformation(model, angle_targets(context));
  return figures;
}

double rhombus_acute_angle(const Model& model, int face) {
  double diagonal = distance(corner_point(model, face, 1), corner_point(model, face, 3));
  if (diagonal >= 2.0) return 0.0;
  if (diagonal > std::sqrt(2.0)) diagonal = std::sqrt(4.0 - diagonal * diagonal);
  return 2.0 * arc_sine(diagonal / 2.0);
}

double hexagon_apex_angle(const Model& model, int face) {
  const auto diagonal = [&](int a, int b) {
    return distance(corner_point(model, face, a), corner_point(model, face, b));
  };
  const double d1 = diagonal(1, 4), d2 = diagonal(2, 5), d3 = diagonal(3, 6);
  const double e12 = std::abs(d2 - d1), e23 = std::abs(d3 - d2), e31 = std::abs(d1 - d3);
  const double least = std::min({e12, e23, e31});
  // The apex is an end of the odd diagonal; a later match replaces an earlier one.
  int apex = 1;
  if (e12 == least) apex = 3;
  if (e31 == least) apex = 2;
  if (e23 == least) apex = 1;
  const double neighbours = diagonal(cyclic_corner(apex - 1, 6), cyclic_corner(apex + 1, 6));
  return 2.0 * arc_sine(neighbours / 2.0);
}

bool stress_marks_every_face(const RunSettings& settings, const OutputContext& context) {
  return context.StressPass &&
         (settings.incord ? context.MeasuredDeform : context.IterationDeform) > kReported;
}

// The options the model was made with, for the user who wants to make it again.
void write_user_data(std::ostream& out, const RunSettings& settings, const OutputContext& context) {
  static const char* kInflation[] = {"Global", "None", "Local 'one'", "Local Diagonal", "Stress"};
  static const char* kLocal[] = {"Value", "Range", "Differential", "Differential Range"};
  static const char* kAugmentOption[] = {"none", "Leave sides in place", "Remove sides",
                                         "Leave bands in place"};
  static const char* kAugmentColour[] = {"none", "Original", "Highlight", "Triangle"};
  auto item = [](const char* const* names, int index, int count) {
    return index >= 0 && index < count ? std::string(names[index]) : std::string("none");
  };
  auto pair = [](const std::string& a, const std::string& b) { return a + "/" + b; };
  vrml_line(out, "# USERDATA information");
  for (int k = 0; k < 7; ++k) vrml_line(out, "#");
  vrml_line(out, "# input file: " + context.InputFile);
  vrml_line(out, "# Graphics: " + settings.Screen);
  vrml_line(out, "# Inflation: " + item(kInflation, settings.InflateOption, 5));
  vrml_line(out, "# Global Inflation Limit: " + settings.GlobLim);
  vrml_line(out, "# Weaken side Limit: " +
                     (settings.Weaken ? settings.WeakenLimit : std::string("none")));
  vrml_line(out, "# Local Inflation Option :" + item(kLocal, settings.LocalOption, 4));
  vrml_line(out, "# Min/Max Inflation :" + pair(settings.LocInfMin[1], settings.LocInfMax[1]));
  vrml_line(out, "# Spacific Inflation/Edges/Cycles :" +
                     pair(settings.LocInfMin[3], settings.LocInfMax[3]) + " " +
                     settings.SelectFace);
  vrml_line(out, "# Min/Max star Inflation :" + pair(settings.LocInfMin[2], settings.LocInfMax[2]));
  vrml_line(out,
            "# Min/Max Regular Inflation :" + pair(settings.LocInfMin[1], settings.LocInfMax[1]));
  vrml_line(out, "# Temporary Band Length :" + settings.BandLen);
  vrml_line(out, "# Highlight Edges/Cycles :" +
                     (settings.Highlight ? settings.HighlightVal : std::string("none")));
  vrml_line(out, "# Collapse Stars :" + context.CollapseStars);
  vrml_line(out, "# Augment Sides/Cycles: " +
                     (settings.Augment ? settings.AugmentVal : std::string("none")));
  vrml_line(out, "# Augment Original side Option/Colour :" +
                     item(kAugmentOption, settings.AugmentOption, 4) + "/" +
                     item(kAugmentColour, settings.AugmentColour + 1, 4));
  vrml_line(out, "# END OF USER DATA");
}

void WriteVrmlHeader(std::ostream& out, const VrmlInputs& inputs) {
  const Model& model = inputs.model;
  const RunSettings& settings = inputs.settings;
  const OutputContext& context = inputs.context;

  vrml_line(out, "#VRML V2.0 utf8");
  vrml_line(out, "WorldInfo{");
  vrml_line(out, "      title " + in_quotes(vrml_string_text(context.OutputName) +
                                            "   Generation Date: " + context.generation_date));
  vrml_line(out, "      info[ ");
  vrml_line(out, "      ]");
  vrml_line(out, "}");
  vrml_line(out, "#");
  vrml_line(out, "# File generated by: Ostrel " + context.version);
  vrml_line(out, "# Models of polyhedra relaxed from their faces");
  vrml_line(out, "# Generated by Ostrel; free to use");
  vrml_line(out, "#");
  vrml_line(out, "#");

  const VrmlDeformation figures = measure_deformation(model, settings, context);
  if (!settings.incord || settings.Userdata)
    write_summary(out, model, context.deviations, figures);
  if (figures.E > kReported && !settings.incord) write_edge_list(out, model, context.deviations);
  write_shape_reports(out, model, settings);

  if (context.SegmentCount > 1) {
    vrml_line(out, "");
    for (int segment = 1; segment <= context.SegmentCount && segment <= MaxSegments; ++segment) {
      vrml_line(
          out, "# Segment:" + print_form(segment) + "  Edge Length: " +
                   FormatOutputNumber(
                       lenient_value(settings.SegEdge[static_cast<std::size_t>(segment)]), "0.00"));
    }
    vrml_line(out, "");
  }
  if (settings.Userdata) write_user_data(out, settings, context);
  write_scene(out, settings, context, inputs.sink);
}

}  // namespace ostrel

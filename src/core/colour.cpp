#include "core/colour.h"

#include <cmath>
#include <cstddef>

#include "core/flag_letters.h"
#include "core/lenient_number.h"
#include "core/number_format.h"

namespace ostrel {
namespace {

constexpr std::string_view kComponentNames[] = {"Red", "Green", "Blue"};

// A blue part longer than this is cut (the rest of such a text is never a number anyway).
constexpr std::size_t kLongestLastPart = 99;

bool has_offset(std::string_view label) {
  constexpr std::string_view kOffset = "OFFSET";
  if (label.size() < kOffset.size()) return false;
  for (std::size_t i = 0; i < kOffset.size(); ++i) {
    char c = label[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kOffset[i]) return false;
  }
  return true;
}

double label_offset(std::string_view label) {
  return has_offset(label) ? lenient_value(label.substr(6)) : 0.0;
}

int read_component(std::string_view part) {
  return to_int16(lenient_value(part), part);
}

int clip_component(int value, int index, std::string_view label, MessageSink& sink) {
  const auto report = [&](std::string_view limit) {
    std::string text(kComponentNames[index]);
    text += " value in ";
    text += label;
    text += " Colour clipped at ";
    text += limit;
    sink.message(text);
  };
  if (value >= 256) {
    report("255");
    return 255;
  }
  if (value < 0) {
    report("0");
    return 0;
  }
  return value;
}

int clip_grey(int value, std::string_view label, MessageSink& sink) {
  if (value >= 256) {
    sink.message("No periods in " + std::string(label) +
                 " Colour, single number assumed, clipped at 255");
    return 255;
  }
  if (value < 0) {
    sink.message("No periods in " + std::string(label) +
                 " Edge Colour, single number assumed, clipped at 0");
    return 0;
  }
  return value;
}

// The sum taken to the nearest integer, then its remainder on division by 256 with the sign of
// the sum (std::fmod keeps the sign of its first operand).
int apply_offset(int component, double offset) {
  if (offset == 0.0) return component;
  return static_cast<int>(std::fmod(round_half_even(component + offset), 256.0));
}

}  // namespace

RgbColour ColourTextToRgb(std::string_view text, std::string_view label, MessageSink& sink) {
  const double offset = label_offset(label);
  RgbColour colour;
  const std::size_t first = text.find('.');
  if (first == std::string_view::npos) {
    const int grey = clip_grey(read_component(text), label, sink);
    colour = {grey, grey, grey};
  } else {
    // The red part is read with its period ("255." reads as 255).
    colour.red = clip_component(read_component(text.substr(0, first + 1)), 0, label, sink);
    const std::size_t second = text.find('.', first + 1);
    if (second == std::string_view::npos) {
      sink.message("Colour value " + std::string(text) + " in " + std::string(label) +
                   " has only two parts; the missing part is taken as 0");
      colour.green = clip_component(read_component(text.substr(first + 1)), 1, label, sink);
      colour.blue = 0;
    } else {
      const std::string_view green = text.substr(first + 1, second - first - 1);
      const std::string_view blue = text.substr(second + 1, kLongestLastPart);
      colour.green = clip_component(read_component(green), 1, label, sink);
      colour.blue = clip_component(read_component(blue), 2, label, sink);
    }
  }
  colour.red = apply_offset(colour.red, offset);
  colour.green = apply_offset(colour.green, offset);
  colour.blue = apply_offset(colour.blue, offset);
  return colour;
}

std::string ColourTextToVrml(std::string_view text, std::string_view label, MessageSink& sink) {
  const RgbColour colour = ColourTextToRgb(text, label, sink);
  std::string out;
  append_output_number(out, colour.red / 255.0, "0.000");
  out += ' ';
  append_output_number(out, colour.green / 255.0, "0.000");
  out += ' ';
  append_output_number(out, colour.blue / 255.0, "0.000");
  return out;
}

std::string ColourTextToInts(std::string_view text, std::string_view label, MessageSink& sink) {
  const RgbColour colour = ColourTextToRgb(text, label, sink);
  return std::to_string(colour.red) + ' ' + std::to_string(colour.green) + ' ' +
         std::to_string(colour.blue);
}

std::string ColourClassToCode(int colour_class) {
  switch (colour_class) {
    case 1: return "Q1";
    case 2:
    case 29: return "Q2";
    case 3: return "Q3";
    case 4: return "Q4";
    case 5: return "Q5";
    case 6: return "Q6";
    case 8: return "Q8";
    case 10: return "QX";
    case 21: return "Qr";
    case 22: return "Qa";
    case 23: return "Qy";
    case 24: return "Qg";
    case 25: return "Qc";
    case 26: return "Qb";
    case 27: return "Qm";
    case 28: return "Qw";
    default: return "Q7";
  }
}

void FaceColourClass(int sides, int step, std::string_view flags, int& colour_class) {
  auto has = [&](std::string_view letters) {
    return flags.find(letters) != std::string_view::npos;
  };
  if (has("Q")) {
    struct CodeClass {
      std::string_view code;
      int colour_class;
    };
    // Tested in this order; the last one found decides.
    static constexpr CodeClass kCodes[] = {
        {"Q1", 1},  {"Qy", 23}, {"Qb", 26}, {"Qa", 22}, {"Qg", 24}, {"Qc", 25},
        {"Qm", 27}, {"Qr", 21}, {"Qw", 28}, {"Qh", 29}, {"Q2", 2},  {"Q3", 3},
        {"Q4", 4},  {"Q5", 5},  {"Q6", 6},  {"Q8", 8},  {"QX", 10}, {"Q7", 7},
    };
    for (const CodeClass& entry : kCodes) {
      if (has(entry.code)) colour_class = entry.colour_class;
    }
    return;
  }
  switch (sides) {
    case 3: colour_class = 3; break;
    case 4: colour_class = has("D") ? 14 : has("d") ? 15 : has("q") ? 32 : 4; break;
    case 5: colour_class = step == 1 ? 5 : 11; break;
    case 6: colour_class = has("D") ? 30 : has("d") ? 31 : 6; break;
    case 7:
    case 9: colour_class = 7; break;
    case 8: colour_class = step == 1 ? 8 : 12; break;
    case 10: colour_class = step == 1 ? 10 : 13; break;
    default:
      if (sides > 10) colour_class = 7;  // fewer than 3 corners: unchanged
      break;
  }
}

std::optional<int> FaceColourIndex(int sides, int step, std::string_view flags, int& colour_class,
                                   const HighlightState& highlight, HighlightScope scope) {
  if (has_letter(flags, 'B')) return std::nullopt;
  FaceColourClass(sides, step, flags, colour_class);
  if (colour_class < 1 || colour_class > 32) colour_class = 7;
  int index = colour_class;
  const bool highlighted =
      highlight.on &&
      (highlight.kind.sides == 0 || (sides == highlight.kind.sides && step == highlight.kind.step));
  if (highlighted) {
    bool in_scope = false;
    switch (scope) {
      case HighlightScope::kVrmlFaceSet: in_scope = index < 21; break;
      case HighlightScope::kOff: in_scope = index < 20 || index > 28; break;
      case HighlightScope::kFourDimensionalOff: in_scope = index < 20; break;
    }
    if (in_scope) index = 2;
  }
  return index;
}

double vector_length(double x, double y, double z) {
  return std::sqrt(x * x + y * y + z * z);
}

}  // namespace ostrel

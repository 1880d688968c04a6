#include "output/net_svg.h"

#include <charconv>
#include <cmath>

namespace ostrel {
namespace {

std::string number(double value) {
  if (std::abs(value) < 0.005) value = 0.0;  // no "-0.00"
  char text[48];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
  return std::string(text, end);
}

std::string points(const std::vector<net::P2>& corners) {
  std::string text;
  for (const net::P2& p : corners) {
    if (!text.empty()) text += ' ';
    text += number(p.x) + "," + number(p.y);
  }
  return text;
}

std::string colour(std::uint32_t rgb) {
  static const char* kHex = "0123456789abcdef";
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= 4) text += kHex[(rgb >> shift) & 15];
  return text;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

const char* line_attributes(NetLineKind kind) {
  switch (kind) {
    case NetLineKind::kCut: return "class=\"cut\" stroke=\"#000000\" stroke-width=\"0.35\"";
    case NetLineKind::kTabbedCut:
      return "class=\"cut tabbed\" stroke=\"#000000\" stroke-width=\"0.25\" "
             "stroke-dasharray=\"1.5,1\"";
    case NetLineKind::kMountain:
      return "class=\"fold mountain\" stroke=\"#000000\" stroke-width=\"0.25\" "
             "stroke-dasharray=\"3,1.5\"";
    case NetLineKind::kValley:
      return "class=\"fold valley\" stroke=\"#000000\" stroke-width=\"0.25\" "
             "stroke-dasharray=\"3,1,0.5,1\"";
  }
  return "";
}

}  // namespace

void write_net_svg(std::ostream& out, const NetPage& page, const std::string& title) {
  const std::string w = number(page.width), h = number(page.height);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << w << "mm\" height=\""
      << h << "mm\" viewBox=\"0 0 " << w << " " << h << "\">\n"
      << "<title>" << escaped(title) << "</title>\n"
      << "<rect class=\"paper\" x=\"0\" y=\"0\" width=\"" << w << "\" height=\"" << h
      << "\" fill=\"#ffffff\"/>\n";
  out << "<g class=\"tabs\">\n";
  for (const auto& tab : page.tabs) {
    out << "<polygon class=\"tab\" points=\"" << points(tab)
        << "\" fill=\"#e6e6e6\" stroke=\"#000000\" stroke-width=\"0.35\"/>\n";
  }
  out << "</g>\n<g class=\"faces\">\n";
  for (const auto& face : page.faces) {
    out << "<polygon class=\"face\" points=\"" << points(face.corners) << "\" fill=\""
        << colour(face.rgb) << "\"/>\n";
  }
  out << "</g>\n<g class=\"edges\" stroke-linecap=\"round\">\n";
  for (const auto& line : page.lines) {
    out << "<line " << line_attributes(line.kind) << " x1=\"" << number(line.a.x) << "\" y1=\""
        << number(line.a.y) << "\" x2=\"" << number(line.b.x) << "\" y2=\"" << number(line.b.y)
        << "\"/>\n";
  }
  out << "</g>\n<g class=\"pairs\" font-family=\"sans-serif\" text-anchor=\"middle\">\n";
  for (const auto& label : page.labels) {
    // The baseline sits a third of the size below the point, so the digits stand centred on it.
    out << "<text class=\"pair\" x=\"" << number(label.at.x) << "\" y=\"" << number(label.at.y)
        << "\" font-size=\"" << number(label.size) << "\" transform=\"rotate("
        << number(label.angle) << " " << number(label.at.x) << " " << number(label.at.y)
        << ") translate(0 " << number(label.size / 3) << ")\" fill=\""
        << (label.white ? "#ffffff" : "#000000") << "\">" << label.number << "</text>\n";
  }
  out << "</g>\n</svg>\n";
}

}  // namespace ostrel

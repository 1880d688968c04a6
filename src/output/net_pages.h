// The net laid out on paper: the solid unfolded into pieces that fit a page (net_unfold.h), its
// tabs and pair numbers (net_tabs.h), scaled so that an edge of the solid's mean length prints
// at the chosen length, and the pieces packed in rows onto pages of the chosen size with 10 mm
// margins. Everything on a page is in millimetres from its top left corner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "output/net_geometry.h"
#include "output/net_solid.h"

namespace ostrel {

struct NetOptions {
  double edge_mm = 30.0;     // printed length of an edge of the solid's mean edge length
  std::string paper = "a4";  // "a4" (210 × 297 mm) or "letter" (215.9 × 279.4 mm)
};

enum class NetLineKind { kCut, kTabbedCut, kMountain, kValley };

struct NetPage {
  double width = 210.0;
  double height = 297.0;
  struct Face {
    std::vector<net::P2> corners;
    std::uint32_t rgb = 0;
  };
  struct Line {
    net::P2 a, b;
    NetLineKind kind = NetLineKind::kCut;
  };
  struct Label {
    net::P2 at;
    double angle = 0;  // degrees, clockwise on the page
    double size = 4;   // font size in mm
    int number = 0;
    bool white = false;  // white digits on a dark face, else black
  };
  std::vector<Face> faces;
  std::vector<std::vector<net::P2>> tabs;
  std::vector<Line> lines;   // cut sides (each cut edge twice), fold edges once
  std::vector<Label> labels;
};

struct NetLayout {
  std::string problem;  // why no net was made; empty when `pages` hold it
  std::vector<NetPage> pages;
  int piece_count = 0;
};

// The page's width and height in mm; {0, 0} for an unknown paper name.
net::P2 paper_size(const std::string& paper);

// The net of `solid` (whose faces must not cross: see crossing_faces_problem). When a face with
// its tabs cannot fit on a page at this edge length, `problem` names the largest edge length
// that fits.
NetLayout lay_out_net(const NetSolid& solid, const NetOptions& options);

}  // namespace ostrel

#include "output/net_pages.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

#include "output/net_tabs.h"
#include "output/net_unfold.h"

namespace ostrel {
namespace {

using net::Box;
using net::P2;

constexpr double kMargin = 10.0;   // mm round the page
constexpr double kGap = 4.0;       // mm between pieces
constexpr double kTabShare = 0.25; // tab depth as a share of the edge

std::string millimetres(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
  return std::string(text, end);
}

// Where a piece goes: its page, the top left corner of its box there, and whether it is turned a
// quarter (clockwise) to fit.
struct Placement {
  int page = 0;
  P2 at;
  bool turned = false;
  Box box;  // in the solid's units, in the piece's own frame
};

}  // namespace

P2 paper_size(const std::string& paper) {
  if (paper == "a4") return {210.0, 297.0};
  if (paper == "letter") return {215.9, 279.4};
  return {0.0, 0.0};
}

NetLayout lay_out_net(const NetSolid& solid, const NetOptions& options) {
  NetLayout layout;
  const P2 paper = paper_size(options.paper);
  if (paper.x <= 0) {
    layout.problem = "the paper size \"" + options.paper + "\" is not known: a4 or letter";
    return layout;
  }
  if (!(options.edge_mm > 0) || !std::isfinite(options.edge_mm)) {
    layout.problem = "the edge length of a net must be a number of millimetres above 0";
    return layout;
  }
  const NetFaces& faces = solid.faces;
  const double unit = solid.mean_edge;
  const double scale = options.edge_mm / unit;  // mm per unit of the solid
  const double inner_w = paper.x - 2 * kMargin, inner_h = paper.y - 2 * kMargin;
  const double depth = kTabShare * unit;
  const PieceLimit limit{inner_w / scale - 2 * depth, inner_h / scale - 2 * depth};

  double largest_scale = 1e300;
  bool too_big = false;
  for (int f = 0; f < faces.face_count(); ++f) {
    Box box;
    for (const P2& p : net::face_in_plane(faces, f)) box.add(p);
    const double w = box.width() + 2 * depth, h = box.height() + 2 * depth;
    if (!fits(limit, box.width(), box.height())) too_big = true;
    largest_scale = std::min(largest_scale, std::max(std::min(inner_w / w, inner_h / h),
                                                     std::min(inner_h / w, inner_w / h)));
  }
  if (too_big) {
    const double largest = std::floor(largest_scale * unit * 10.0) / 10.0;
    const std::string paper_name = options.paper == "a4" ? "an A4" : "a Letter";
    layout.problem = "a face of this model does not fit on " + paper_name + " page at " +
                     millimetres(options.edge_mm) +
                     " mm edges; the largest edge length that fits is " + millimetres(largest) +
                     " mm";
    return layout;
  }

  const Unfolding unfolding = unfold(solid, limit);
  const NetTabs tabs = place_tabs(solid, unfolding, depth);
  layout.piece_count = unfolding.piece_count;
  std::vector<int> face_of_side(faces.corners.size());
  std::vector<Placement> pieces(static_cast<std::size_t>(unfolding.piece_count));
  for (int f = 0; f < faces.face_count(); ++f) {
    for (int c = faces.first_corner[static_cast<std::size_t>(f)];
         c < faces.first_corner[static_cast<std::size_t>(f) + 1]; ++c) {
      face_of_side[static_cast<std::size_t>(c)] = f;
      Box& box = pieces[static_cast<std::size_t>(unfolding.piece[static_cast<std::size_t>(f)])].box;
      box.add(unfolding.placed[static_cast<std::size_t>(c)]);
      for (const P2& p : tabs.tab[static_cast<std::size_t>(c)]) box.add(p);
    }
  }

  // Rows of pieces, tallest first, a new row when the row is full, a new page when the page is.
  for (Placement& piece : pieces) {
    piece.turned = !(piece.box.width() * scale <= inner_w && piece.box.height() * scale <= inner_h);
  }
  const auto size_of = [&](const Placement& piece) {
    const P2 size{piece.box.width() * scale, piece.box.height() * scale};
    return piece.turned ? P2{size.y, size.x} : size;
  };
  std::vector<int> order(pieces.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return size_of(pieces[static_cast<std::size_t>(a)]).y > size_of(pieces[static_cast<std::size_t>(b)]).y;
  });
  // Each piece goes to the first page with room for it, upright or turned, at the end of the
  // page's last row or in a new row below it.
  struct Sheet {
    double x = 0, row_top = 0, row_height = 0;
  };
  std::vector<Sheet> sheets(1);
  const auto room = [&](Sheet& sheet, P2 size, P2& at) {
    if (size.x > inner_w + 1e-9 || size.y > inner_h + 1e-9) return false;
    if (sheet.x + size.x <= inner_w + 1e-9 && sheet.row_top + size.y <= inner_h + 1e-9) {
      at = {sheet.x, sheet.row_top};
    } else if (sheet.row_top + sheet.row_height + kGap + size.y <= inner_h + 1e-9) {
      sheet.row_top += sheet.row_height + kGap;
      sheet.x = sheet.row_height = 0;
      at = {0, sheet.row_top};
    } else {
      return false;
    }
    sheet.x += size.x + kGap;
    sheet.row_height = std::max(sheet.row_height, size.y);
    return true;
  };
  for (int index : order) {
    Placement& piece = pieces[static_cast<std::size_t>(index)];
    bool placed = false;
    const std::size_t last = sheets.size();  // a new page, when none has room
    for (std::size_t page = 0; page <= last && !placed; ++page) {
      if (page == sheets.size()) sheets.emplace_back();
      for (int turn = 0; turn < 2 && !placed; ++turn) {
        if (turn == 1) piece.turned = !piece.turned;
        P2 at;
        if (room(sheets[page], size_of(piece), at)) {
          piece.page = static_cast<int>(page);
          piece.at = {kMargin + at.x, kMargin + at.y};
          placed = true;
        } else if (turn == 1) {
          piece.turned = !piece.turned;
        }
      }
    }
    if (!placed) piece = Placement{static_cast<int>(last), {kMargin, kMargin}, piece.turned, piece.box};
  }
  layout.pages.assign(sheets.size(), NetPage{paper.x, paper.y, {}, {}, {}, {}});
  if (faces.face_count() == 0) layout.pages.clear();

  const auto on_page = [&](int face, P2 p) {
    const Placement& piece = pieces[static_cast<std::size_t>(unfolding.piece[static_cast<std::size_t>(face)])];
    const P2 d = piece.turned ? P2{piece.box.y1 - p.y, p.x - piece.box.x0}
                              : P2{p.x - piece.box.x0, p.y - piece.box.y0};
    return piece.at + d * scale;
  };
  const double font = std::clamp(0.15 * options.edge_mm, 1.2, 8.0);
  for (int f = 0; f < faces.face_count(); ++f) {
    NetPage& sheet = layout.pages[static_cast<std::size_t>(
        pieces[static_cast<std::size_t>(unfolding.piece[static_cast<std::size_t>(f)])].page)];
    NetPage::Face face{{}, faces.rgb[static_cast<std::size_t>(f)]};
    const int first = faces.first_corner[static_cast<std::size_t>(f)];
    const int n = faces.sides(f);
    P2 centre;
    for (int k = 0; k < n; ++k) {
      face.corners.push_back(on_page(f, unfolding.placed[static_cast<std::size_t>(first + k)]));
      centre = centre + face.corners.back() * (1.0 / n);
    }
    for (int k = 0; k < n; ++k) {
      const auto side = static_cast<std::size_t>(first + k);
      const P2 a = face.corners[static_cast<std::size_t>(k)];
      const P2 b = face.corners[static_cast<std::size_t>((k + 1) % n)];
      const int mate = solid.mate[side];
      if (unfolding.fold[side]) {
        if (mate > static_cast<int>(side)) {
          sheet.lines.push_back({a, b, solid.valley[side] ? NetLineKind::kValley : NetLineKind::kMountain});
        }
      } else {
        sheet.lines.push_back({a, b, tabs.tab[side].empty() ? NetLineKind::kCut : NetLineKind::kTabbedCut});
      }
      if (!tabs.tab[side].empty()) {
        std::vector<P2> tab;
        for (const P2& p : tabs.tab[side]) tab.push_back(on_page(f, p));
        sheet.tabs.push_back(std::move(tab));
      }
      if (tabs.number[side] > 0) {
        const P2 middle = (a + b) * 0.5;
        const P2 along = (b - a) * (1.0 / std::max(length(b - a), 1e-300));
        P2 inward{-along.y, along.x};
        if (dot(inward, centre - middle) < 0) inward = inward * -1.0;
        double angle = std::atan2(along.y, along.x) * 180.0 / 3.14159265358979323846;
        if (angle > 90.0) angle -= 180.0;
        if (angle <= -90.0) angle += 180.0;
        const std::uint32_t rgb = faces.rgb[static_cast<std::size_t>(f)];
        const double luma = 0.299 * (rgb >> 16 & 255) + 0.587 * (rgb >> 8 & 255) + 0.114 * (rgb & 255);
        sheet.labels.push_back(
            {middle + inward * (0.8 * font), angle, font, tabs.number[side], luma < 128});
      }
    }
    sheet.faces.push_back(std::move(face));
  }
  return layout;
}

}  // namespace ostrel

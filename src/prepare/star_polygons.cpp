#include "prepare/star_polygons.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/number_format.h"

namespace ostrel {
int StarOrderStep(int corners, int step) {
  if (corners < 1 || step < 1) return 0;
  // The smallest g > 0 with g·n − 1 divisible by d; there is none when n and d share a factor.
  for (int g = 1; g <= step; ++g) {
    if ((g * corners - 1) % step == 0) return (g * corners - 1) / step;
  }
  return 0;
}

std::optional<bool> collapse_fans(Model& model, UserDialog& host, DebugLog* debug) {
  std::optional<bool> answer;
  Table<int> rim("FanList", MaxCorners + 1);  // second corners of the run's triangles
  int run_length = 1;
  int previous_first = 0;
  bool have_previous = false;
  // Face FaceCount + 1 stands for the end of the list: it always breaks a run.
  for (int f = 1; f <= model.FaceCount + 1; ++f) {
    bool in_list = f <= model.FaceCount;
    bool continues = in_list && have_previous && model.FaceSides(f) == 3 &&
                     model.FaceVertices(f, 1) == previous_first;
    if (continues) {
      if (run_length == 1 && f > 1) rim(1) = model.FaceVertices(f - 1, 2);
      ++run_length;
      rim(run_length) = model.FaceVertices(f, 2);
    } else {
      if (run_length > 4) {
        if (!answer) answer = host.ask_yes_no("Collapse possible star polygon found in input?");
        if (*answer) {
          int n = run_length;
          int start = f - n;
          int centre = model.FaceVertices(f - 1, 1);
          model.FaceSides(start) = n;
          if (n == 5) model.FaceStep(start) = 2;
          if (n == 8 || n == 10) model.FaceStep(start) = 3;
          for (int g = start + 1; g <= start + n - 1; ++g) model.FaceSides(g) = -1;
          std::string corners;
          for (int k = 1; k <= n; ++k) {
            model.FaceVertices(start, k) = rim(k);
            corners += print_form(rim(k));
          }
          if (debug) {
            debug->append({"star polygon found :" + print_form(n), "Vertices :" + corners,
                           "  Centered on vertex: " + print_form(centre)});
          }
        }
      }
      run_length = 1;
    }
    if (in_list) {
      previous_first = model.FaceVertices(f, 1);
      have_previous = true;
    }
  }
  return answer;
}

void clean_up_vertices(Model& model, DebugLog* debug) {
  if (model.LastVertex < model.FirstVertex) return;
  const int first = model.FirstVertex;
  const int last = model.LastVertex;
  std::vector<char> used(static_cast<std::size_t>(last - first + 1), 0);
  for (int f = 1; f <= model.FaceEntryCount; ++f) {
    for (int k = 1; k <= model.FaceSides(f); ++k) {
      int v = model.FaceVertices(f, k);
      if (v >= first && v <= last) used[static_cast<std::size_t>(v - first)] = 1;
    }
  }
  // A vertex goes when no face uses it: the centre of a collapsed fan goes with its triangles,
  // unless another face still uses it. Removing v lowers every number above it by one, so a
  // kept vertex u moves down by the number of removed vertices below it: one pass gives the
  // same numbering as removing them one by one.
  std::vector<int> renumber(static_cast<std::size_t>(last - first + 1));
  std::vector<std::string> removed_lines;
  int removed = 0;
  for (int v = first; v <= last; ++v) {
    bool remove = !used[static_cast<std::size_t>(v - first)];
    renumber[static_cast<std::size_t>(v - first)] = v - removed;
    if (remove) {
      ++removed;
      removed_lines.push_back("Vertex removed :" + print_form(v));
    }
  }
  if (removed == 0) return;
  auto new_number = [&](int v) {
    if (v < first) return v;
    if (v > last) return v - removed;
    return renumber[static_cast<std::size_t>(v - first)];
  };
  // The log names them from the highest down, the order in which they are taken out.
  if (debug) debug->append(std::vector<std::string>(removed_lines.rbegin(), removed_lines.rend()));

  for (int f = 1; f <= model.FaceEntryCount; ++f) {
    for (int k = 1; k <= model.FaceSides(f); ++k)
      model.FaceVertices(f, k) = new_number(model.FaceVertices(f, k));
  }
  // A marked edge that touches a removed vertex (a spoke of a collapsed fan) goes with it;
  // renumbered, it would mark some other edge.
  auto removed_vertex = [&](int v) {
    return v >= first && v <= last && !used[static_cast<std::size_t>(v - first)];
  };
  int kept_rows = 1;
  for (int row = 1; row < model.MarkedEdgeCount; ++row) {
    if (removed_vertex(model.MarkedEdges(row, 1)) || removed_vertex(model.MarkedEdges(row, 2)))
      continue;
    for (int column = 1; column <= 3; ++column) {
      int value = model.MarkedEdges(row, column);
      model.MarkedEdges(kept_rows, column) = column < 3 ? new_number(value) : value;
    }
    ++kept_rows;
  }
  model.MarkedEdgeCount = kept_rows;
  // The joint rows of a segment are made only after it has been relaxed (anchors, which have
  // rows from the parser, are never prepared): there are none to renumber here.
  // Flags and starting positions move down with their vertex (ascending, so nothing is
  // overwritten before it has moved).
  int last_start_vertex = first + model.LastStartSlot;
  int kept_starts = 0;
  for (int v = first; v <= last; ++v) {
    bool kept = used[static_cast<std::size_t>(v - first)];
    if (!kept) continue;
    int target = new_number(v);
    if (v <= last_start_vertex) ++kept_starts;
    if (target == v) continue;
    model.VertexFlags(target) = model.VertexFlags(v);
    model.StartX(target - first) = model.StartX(v - first);
    model.StartY(target - first) = model.StartY(v - first);
    model.StartZ(target - first) = model.StartZ(v - first);
  }
  for (int v = last - removed + 1; v <= last; ++v) model.VertexFlags(v).clear();
  // The slots given by the input now end with the last kept vertex that had one.
  if (model.StartListRead) model.LastStartSlot = kept_starts > 0 ? kept_starts - 1 : 0;
  model.LastVertex = last - removed;
}

void compact_faces(Model& model) {
  int kept = 0;
  int kept_faces = 0;
  for (int f = 1; f <= model.FaceEntryCount; ++f) {
    if (model.FaceSides(f) <= 0) continue;
    ++kept;
    if (f <= model.FaceCount) ++kept_faces;
    if (kept == f) continue;
    model.FaceSides(kept) = model.FaceSides(f);
    model.FaceStep(kept) = model.FaceStep(f);
    model.FaceFlags(kept) = model.FaceFlags(f);
    model.FaceInputColour(kept) = model.FaceInputColour(f);
    for (int k = 1; k <= model.FaceSides(f); ++k)
      model.FaceVertices(kept, k) = model.FaceVertices(f, k);
  }
  model.LinkCount = kept - kept_faces;
  model.FaceCount = kept_faces;
  model.FaceEntryCount = kept;
}

std::string order_star_corners(Model& model, DebugLog* debug) {
  std::array<int, MaxCorners + 1> work{};
  for (int f = 1; f <= model.FaceCount; ++f) {
    int n = model.FaceSides(f);
    int d = model.FaceStep(f);
    if (d <= 1) continue;
    int e = StarOrderStep(n, d);
    if (e == 0) {
      return "Input error: Face " + std::to_string(f) + " has " + std::to_string(n) +
             " corners and step " + std::to_string(d) +
             ", which share a factor; it cannot be drawn as one star polygon";
    }
    for (int k = 1; k <= n; ++k) work[static_cast<std::size_t>(k)] = model.FaceVertices(f, k);
    int p = -1;
    for (int k = 1; k <= n; ++k) {
      p = ((p + e) % n + n) % n;
      model.FaceVertices(f, k) = work[static_cast<std::size_t>(p == 0 ? n : p)];
    }
  }
  if (debug) {
    std::vector<std::string> lines{
        "sides " + print_form(model.FaceCount),
        "vertices " + print_form(model.FirstVertex) + " to " + print_form(model.LastVertex)};
    for (int f = 1; f <= model.FaceCount; ++f) {
      lines.push_back("side" + print_form(f) + " vertices" + print_form(model.FaceSides(f)) +
                      " cycles" + print_form(model.FaceStep(f)));
    }
    debug->append(lines);
  }
  return {};
}

}  // namespace ostrel

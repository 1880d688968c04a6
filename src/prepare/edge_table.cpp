#include "prepare/edge_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "core/flag_letters.h"
#include "core/number_format.h"

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

void add_edge(Model& model, int a, int b, int edge_class, double target, int face) {
  int e = ++model.EdgeCount;
  model.EdgeVertices(e, 1) = a;
  model.EdgeVertices(e, 2) = b;
  model.EdgeVertices(e, 3) = kNoMark;
  model.EdgeClass(e) = edge_class;
  model.EdgeTarget(e) = target;
  model.EdgeFaces(e, 1) = face;
  model.EdgeFaces(e, 2) = 0;
}

std::string target_text(double target) {
  return target >= 0.99 ? print_form(target) : FormatOutputNumber(target, "0.0##");
}

}  // namespace

double StarEdgeRatio(int corners, int step) {
  return std::sin(kPi / corners) / std::sin(step * kPi / corners);
}

void build_edge_table(Model& model, double weaken_limit, DebugLog* debug) {
  model.EdgeCount = 0;
  for (int f = 1; f <= model.FaceCount; ++f) {
    int n = model.FaceSides(f);
    int d = model.FaceStep(f);
    int face_class = n < weaken_limit + 1 ? 1 : 2;
    double side_target = d == 1 ? 1.0 : StarEdgeRatio(n, d);
    for (int k = 1; k <= n - 1; ++k) {
      add_edge(model, model.FaceVertices(f, k), model.FaceVertices(f, k + 1), face_class,
               side_target, f);
    }
    add_edge(model, model.FaceVertices(f, 1), model.FaceVertices(f, n), face_class, side_target, f);
    if (d >= 2 || has_letter(model.FaceFlags(f), 'n')) {
      for (int k = 1; k <= n; ++k) {
        int j = (k + d) % n;
        add_edge(model, model.FaceVertices(f, k), model.FaceVertices(f, j == 0 ? n : j), 2, 1.0, f);
      }
    }
  }
  merge_edges(model);
  if (debug) {
    std::vector<std::string> lines;
    for (int e = 1; e <= model.EdgeCount; ++e) {
      lines.push_back("edge:" + print_form(e) + "vertices:" + print_form(model.EdgeVertices(e, 1)) +
                      " and " + print_form(model.EdgeVertices(e, 2)) +
                      "sides:" + print_form(model.EdgeFaces(e, 1)) + " and " +
                      print_form(model.EdgeFaces(e, 2)) +
                      "length:" + target_text(model.EdgeTarget(e)) +
                      " strength:" + print_form(model.EdgeClass(e)));
    }
    debug->append(lines);
  }
}

void merge_edges(Model& model) {
  // Each edge meets at most one earlier edge with the same ends that is still in the table: the
  // first copy (later copies are removed as they are met). A map from the ordered ends to the
  // first copy finds it without comparing every pair.
  std::unordered_map<std::int64_t, int> first_copy;
  first_copy.reserve(static_cast<std::size_t>(model.EdgeCount) * 2);
  std::vector<char> removed(static_cast<std::size_t>(model.EdgeCount) + 1, 0);
  for (int e = 1; e <= model.EdgeCount; ++e) {
    int a = model.EdgeVertices(e, 1);
    int b = model.EdgeVertices(e, 2);
    if (a > b) std::swap(a, b);
    model.EdgeVertices(e, 1) = a;
    model.EdgeVertices(e, 2) = b;
    std::int64_t key = (static_cast<std::int64_t>(a) << 32) | static_cast<std::uint32_t>(b);
    auto [entry, inserted] = first_copy.try_emplace(key, e);
    if (inserted) continue;
    int e2 = entry->second;
    model.EdgeClass(e2) = std::max(model.EdgeClass(e2), model.EdgeClass(e));
    model.EdgeFaces(e2, 2) = model.EdgeFaces(e, 1);
    removed[static_cast<std::size_t>(e)] = 1;
  }
  int kept = 0;
  for (int e = 1; e <= model.EdgeCount; ++e) {
    if (removed[static_cast<std::size_t>(e)]) continue;
    ++kept;
    if (kept == e) continue;
    for (int column = 1; column <= 3; ++column)
      model.EdgeVertices(kept, column) = model.EdgeVertices(e, column);
    model.EdgeClass(kept) = model.EdgeClass(e);
    model.EdgeTarget(kept) = model.EdgeTarget(e);
    model.EdgeFaces(kept, 1) = model.EdgeFaces(e, 1);
    model.EdgeFaces(kept, 2) = model.EdgeFaces(e, 2);
  }
  model.EdgeCount = kept;
}

void apply_edge_marks(Model& model) {
  std::unordered_map<std::int64_t, int> edge_of;
  edge_of.reserve(static_cast<std::size_t>(model.EdgeCount) * 2);
  for (int e = 1; e <= model.EdgeCount; ++e) {
    std::int64_t key = (static_cast<std::int64_t>(model.EdgeVertices(e, 1)) << 32) |
                       static_cast<std::uint32_t>(model.EdgeVertices(e, 2));
    edge_of.emplace(key, e);
  }
  for (int row = 1; row < model.MarkedEdgeCount; ++row) {
    std::int64_t key = (static_cast<std::int64_t>(model.MarkedEdges(row, 1)) << 32) |
                       static_cast<std::uint32_t>(model.MarkedEdges(row, 2));
    auto found = edge_of.find(key);
    if (found != edge_of.end()) model.EdgeVertices(found->second, 3) = model.MarkedEdges(row, 3);
  }
}

int count_weakenable_edges(const Model& model, double weaken_limit) {
  int count = 0;
  for (int e = 1; e <= model.EdgeCount; ++e) {
    int f1 = model.EdgeFaces(e, 1);
    int f2 = model.EdgeFaces(e, 2);
    int n1 = f1 > 0 ? model.FaceSides(f1) : 0;
    int n2 = f2 > 0 ? model.FaceSides(f2) : 0;
    if (n1 <= weaken_limit && n2 <= weaken_limit) ++count;
  }
  return count;
}

void build_vertex_links(const Model& model, VertexLinkTable& links, DebugLog* debug) {
  for (int v = std::max(model.FirstVertex, 0); v <= model.LastVertex; ++v)
    links.VertexLinkCount(v) = 0;
  for (int e = 1; e <= model.EdgeCount; ++e) {
    int v = model.EdgeVertices(e, 1);
    int w = model.EdgeVertices(e, 2);
    links.VertexLinks(v, ++links.VertexLinkCount(v)) = w;
    links.VertexLinks(w, ++links.VertexLinkCount(w)) = v;
  }
  if (debug) {
    std::vector<std::string> lines;
    for (int v = std::max(model.FirstVertex, 0); v <= model.LastVertex; ++v) {
      std::string line = "vertex:" + print_form(v) + "  linked to: ";
      for (int k = 1; k <= links.VertexLinkCount(v); ++k)
        line += print_form(links.VertexLinks(v, k));
      lines.push_back(line + "(" + print_form(links.VertexLinkCount(v)) + ")");
    }
    debug->append(lines);
  }
}

}  // namespace ostrel

#include "support/output_models.h"

#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace ostrel::test {

void add_vertex(Model& model, int v, double x, double y, double z, const std::string& flags) {
  model.VertexX(v) = x;
  model.VertexY(v) = y;
  model.VertexZ(v) = z;
  model.VertexFlags(v) = flags;
  model.FirstVertex = std::min(model.FirstVertex, v);
  model.LastVertex = std::max(model.LastVertex, v);
}

int add_face(Model& model, const std::vector<int>& corners, int step, const std::string& flags) {
  const int f = ++model.FaceCount;
  model.FaceSides(f) = static_cast<int>(corners.size());
  model.FaceStep(f) = step;
  model.FaceFlags(f) = flags;
  for (std::size_t k = 0; k < corners.size(); ++k) {
    model.FaceVertices(f, static_cast<long>(k) + 1) = corners[k];
  }
  return f;
}

int add_edge(Model& model, int a, int b, int first_face, int second_face, int mark) {
  const int e = ++model.EdgeCount;
  model.EdgeVertices(e, 1) = a;
  model.EdgeVertices(e, 2) = b;
  model.EdgeVertices(e, 3) = mark;
  model.EdgeFaces(e, 1) = first_face;
  model.EdgeFaces(e, 2) = second_face;
  model.EdgeTarget(e) = 1.0;
  return e;
}

void add_square_vertices(Model& model, int first, double z) {
  add_vertex(model, first, 0.5, 0.5, z);
  add_vertex(model, first + 1, -0.5, 0.5, z);
  add_vertex(model, first + 2, -0.5, -0.5, z);
  add_vertex(model, first + 3, 0.5, -0.5, z);
}

void add_polygon_vertices(Model& model, int first, int n, double radius) {
  for (int k = 0; k < n; ++k) {
    const double angle = 2.0 * kPi * k / n;
    add_vertex(model, first + k, radius * std::cos(angle), radius * std::sin(angle), 0.0);
  }
}

Model pyramid() {
  Model model;
  const double h = std::sqrt(0.5);
  add_square_vertices(model, 1, -h / 2);
  model.VertexFlags(3) = "V";
  add_vertex(model, 5, 0.01, 0, h / 2);
  add_face(model, {4, 3, 2, 1});
  add_face(model, {1, 2, 5});
  add_face(model, {2, 3, 5}, 1, "ft");
  add_face(model, {3, 4, 5}, 1, "f");
  add_face(model, {4, 1, 5}, 1, "Qr");
  add_face(model, {1, 3, 5}, 1, "B");
  add_edge(model, 1, 2, 1, 2);
  add_edge(model, 2, 3, 1, 3);
  add_edge(model, 3, 4, 1, 4);
  add_edge(model, 4, 1, 1, 5);
  add_edge(model, 1, 5, 2, 5);
  add_edge(model, 2, 5, 2, 3);
  add_edge(model, 3, 5, 3, 4);
  add_edge(model, 4, 5, 4, 5);
  return model;
}

Model cube() {
  Model model;
  for (int v = 1; v <= 8; ++v) {
    add_vertex(model, v, (v - 1) & 1 ? 0.5 : -0.5, (v - 1) & 2 ? 0.5 : -0.5,
               (v - 1) & 4 ? 0.5 : -0.5);
  }
  const int faces[6][4] = {{1, 3, 4, 2}, {5, 6, 8, 7}, {1, 2, 6, 5},
                           {3, 7, 8, 4}, {1, 5, 7, 3}, {2, 4, 8, 6}};
  for (const auto& face : faces) add_face(model, {face[0], face[1], face[2], face[3]});
  // Each edge: its two vertices, then its two faces.
  const int edges[12][4] = {{1, 2, 1, 3}, {3, 4, 1, 4}, {5, 6, 2, 3}, {7, 8, 2, 4},
                            {1, 3, 1, 5}, {2, 4, 1, 6}, {5, 7, 2, 5}, {6, 8, 2, 6},
                            {1, 5, 3, 5}, {2, 6, 3, 6}, {3, 7, 4, 5}, {4, 8, 4, 6}};
  for (const auto& edge : edges) add_edge(model, edge[0], edge[1], edge[2], edge[3]);
  return model;
}

OutputContext output_context(const std::string& name) {
  OutputContext context;
  context.OutputName = name;
  context.version = "1.2.3";
  context.generation_date = "01-01-1970";
  return context;
}

OutputContext pyramid_context() {
  OutputContext context = output_context("pyramid");
  context.IterationDeform = 0.003;
  context.IterationDeforp = 0.0025;
  context.ViewingDistance = 2.5;
  context.deviations.set_edge(3, -0.0015);
  context.deviations.set_edge(7, 0.0015);
  context.deviations.set_face(4, 0.0025);
  return context;
}

RunSettings settings_with_styles(std::initializer_list<VrmlStyle> styles) {
  const auto on = [&](VrmlStyle style) {
    return std::find(styles.begin(), styles.end(), style) != styles.end();
  };
  RunSettings settings;
  settings.SolidVRML = on(VrmlStyle::kSolid);
  settings.AnimVRML = on(VrmlStyle::kAnim);
  settings.FrameVRML = on(VrmlStyle::kFrame);
  settings.SwitchVRML = on(VrmlStyle::kSwitch);
  settings.CylVRML = on(VrmlStyle::kCylinder);
  return settings;
}

std::vector<std::string> VrmlRun::lines(
    const std::function<void(std::ostream&, const VrmlInputs&)>& write) {
  std::ostringstream out;
  write(out, inputs());
  return lines_of(out.str());
}

std::string written(VrmlWriter writer, const Model& model, const RunSettings& settings,
                    const OutputContext& context, std::vector<std::string>* messages) {
  MessageRecorder sink;
  const RhombusSetColours rhombus = choose_rhombus_colours(settings, context.RhombusSetDiagonals);
  std::ostringstream out;
  writer(out, VrmlInputs{model, settings, context, rhombus, sink});
  if (messages) *messages = sink.messages;
  return out.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::filesystem::path golden(const std::string& name) {
  return std::filesystem::path(OSTREL_TEST_DATA_DIR) / ".." / "golden" / name;
}

bool tovrmlx3d_installed() {
  return std::system("command -v tovrmlx3d > /dev/null 2>&1") == 0;
}

std::pair<int, std::string> read_with_tovrmlx3d(const std::filesystem::path& path) {
  const std::string command =
      "tovrmlx3d '" + path.string() + "' --encoding=classic 2>&1 >/dev/null";
  std::string messages;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {-1, "popen failed"};
  std::array<char, 512> buffer;
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) messages += buffer.data();
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, messages};
}

}  // namespace ostrel::test

#include "output/net_file.h"

#include <memory>
#include <sstream>

#include "core/lenient_number.h"
#include "core/model.h"
#include "core/run_error.h"
#include "output/net_svg.h"
#include "output/output_file.h"

namespace ostrel {

NetOptions net_options(const RunSettings& settings) {
  NetOptions options;
  options.edge_mm = lenient_value(settings.NetEdge);
  options.paper.clear();
  for (char c : settings.NetPage) {
    options.paper += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return options;
}

NetLayout make_net(const NetFaces& faces, const NetOptions& options) {
  NetLayout layout;
  layout.problem = crossing_faces_problem(faces);
  if (!layout.problem.empty()) return layout;
  return lay_out_net(net_solid(faces), options);
}

std::filesystem::path net_page_path(const std::filesystem::path& first, int page) {
  if (page <= 1) return first;
  std::filesystem::path path = first;
  return path.replace_filename(first.stem().string() + "_p" + std::to_string(page) +
                               first.extension().string());
}

std::string net_page_title(const std::string& name, int page, int pages,
                           const NetOptions& options) {
  std::ostringstream edge;
  edge << options.edge_mm;
  return name + " net, page " + std::to_string(page) + " of " + std::to_string(pages) + ", " +
         edge.str() + " mm edges";
}

std::string net_page_svg(const NetPage& page, const std::string& title) {
  std::ostringstream out;
  write_net_svg(out, page, title);
  return out.str();
}

void write_net_page_file(const std::filesystem::path& path, const NetPage& page,
                         const std::string& title) {
  write_output_file(path, [&](std::ostream& out) { write_net_svg(out, page, title); });
}

}  // namespace ostrel

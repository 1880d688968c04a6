#include "input/off_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace ostrel {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// The words of one line, its comment cut off.
std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  line = line.substr(0, line.find('#'));
  std::size_t k = 0;
  while (k < line.size()) {
    while (k < line.size() && is_blank(line[k])) ++k;
    std::size_t start = k;
    while (k < line.size() && !is_blank(line[k])) ++k;
    if (k > start) words.push_back(line.substr(start, k - start));
  }
  return words;
}

std::string_view without_plus(std::string_view word) {
  if (word.size() > 1 && word.front() == '+') word.remove_prefix(1);
  return word;
}

bool read_real(std::string_view word, double& value) {
  word = without_plus(word);
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size() && std::isfinite(value);
}

bool read_integer(std::string_view word, long long& value) {
  word = without_plus(word);
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  return error == std::errc() && end == word.data() + word.size();
}

// The header word: "OFF" after the optional prefixes ST, C, N, 4 and n. Sets `higher` for the
// four- and n-dimensional forms.
bool is_header_word(std::string_view word, bool& higher) {
  higher = false;
  for (std::string_view prefix : {"ST", "C", "N"}) {
    if (word.substr(0, prefix.size()) == prefix) word.remove_prefix(prefix.size());
  }
  for (char prefix : {'4', 'n'}) {
    if (!word.empty() && word.front() == prefix) {
      word.remove_prefix(1);
      higher = true;
    }
  }
  return word == "OFF";
}

std::string_view without_byte_order_mark(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  return text;
}

// One face as read, before it goes into the model.
struct OffFaceLine {
  int line = 0;
  std::vector<int> corners;  // 0-based vertex indices
  std::int64_t colour = -1;  // 0xRRGGBBAA or -1
};

class OffReader {
 public:
  OffReader(Model& model, std::string_view text, const ParseRequest& request)
      : model_(model), rest_(without_byte_order_mark(text)), request_(request) {}

  ParseResult run() {
    std::vector<std::string_view> words;
    if (!next_line(words)) return refuse("the file holds no \"OFF\" header");
    bool higher = false;
    if (!is_header_word(words[0], higher)) {
      return refuse("the file starts with \"" + std::string(words[0]) + "\", not \"OFF\"");
    }
    if (higher) {
      return refuse("\"" + std::string(words[0]) +
                    "\" is not a three-dimensional OFF file; only those can be read");
    }
    words.erase(words.begin());
    if (!words.empty() && words[0] == "BINARY") return refuse("binary OFF files cannot be read");
    if (words.empty() && !next_line(words)) return refuse("the counts are missing");
    if (std::string problem = read_counts(words); !problem.empty()) return refuse(problem);

    points_.reserve(static_cast<std::size_t>(3 * vertex_count_));
    for (long long v = 0; v < vertex_count_; ++v) {
      if (!next_line(words)) {
        return refuse("the file ends after " + std::to_string(v) + " of the " +
                      std::to_string(vertex_count_) + " vertices");
      }
      if (std::string problem = read_vertex(words); !problem.empty()) return refuse(problem);
    }
    faces_.reserve(static_cast<std::size_t>(face_count_));
    for (long long f = 0; f < face_count_; ++f) {
      if (!next_line(words)) {
        return refuse("the file ends after " + std::to_string(f) + " of the " +
                      std::to_string(face_count_) + " faces");
      }
      if (std::string problem = read_face(words); !problem.empty()) return refuse(problem);
    }
    if (next_line(words)) {
      return refuse("more lines than the " + std::to_string(vertex_count_) + " vertices and " +
                    std::to_string(face_count_) + " faces the counts give");
    }
    return fill_model();
  }

 private:
  // The words of the next line that holds any; false at the end of the text.
  bool next_line(std::vector<std::string_view>& words) {
    while (!rest_.empty()) {
      const std::size_t end = rest_.find('\n');
      const std::string_view line = rest_.substr(0, end);
      rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
      ++line_;
      words = words_of(line);
      if (!words.empty()) return true;
    }
    return false;
  }

  std::string read_counts(const std::vector<std::string_view>& words) {
    if (words.size() < 2 || words.size() > 3) {
      return "expected the counts of vertices, faces and edges";
    }
    long long counts[3] = {0, 0, 0};
    for (std::size_t k = 0; k < words.size(); ++k) {
      if (!read_integer(words[k], counts[k]) || counts[k] < 0) {
        return "the count \"" + std::string(words[k]) + "\" is not a whole number";
      }
    }
    vertex_count_ = counts[0];
    face_count_ = counts[1];
    for (auto [count, what] : {std::pair{vertex_count_, "vertices"}, {face_count_, "faces"}}) {
      if (count > ModelCapacity) {
        return std::to_string(count) + " " + what + " are more than a model can hold (" +
               std::to_string(ModelCapacity) + ")";
      }
    }
    return {};
  }

  std::string read_vertex(const std::vector<std::string_view>& words) {
    if (words.size() < 3) return "a vertex needs three coordinates";
    for (std::size_t k = 0; k < words.size(); ++k) {
      double value = 0.0;
      if (!read_real(words[k], value)) return not_a_number(words[k]);
      if (k < 3) points_.push_back(value);
    }
    return {};
  }

  std::string read_face(const std::vector<std::string_view>& words) {
    long long corners = 0;
    if (!read_integer(words[0], corners)) return not_a_number(words[0]);
    if (corners < 3) {
      return "a face needs at least 3 corners, not " + std::to_string(corners);
    }
    if (corners > MaxCorners) {
      return "a face of " + std::to_string(corners) + " corners; a face can have at most " +
             std::to_string(MaxCorners);
    }
    const auto n = static_cast<std::size_t>(corners);
    if (words.size() < n + 1) {
      return "the face lists " + std::to_string(words.size() - 1) + " of its " +
             std::to_string(corners) + " corners";
    }
    OffFaceLine face;
    face.line = line_;
    for (std::size_t k = 1; k <= n; ++k) {
      long long index = 0;
      if (!read_integer(words[k], index)) return not_a_number(words[k]);
      if (index < 0 || index >= vertex_count_) {
        return "vertex index " + std::to_string(index) + " is out of range 0.." +
               std::to_string(vertex_count_ - 1);
      }
      // A face that repeats a vertex has no shape to settle into.
      if (std::find(face.corners.begin(), face.corners.end(), index) != face.corners.end()) {
        return "the face repeats vertex index " + std::to_string(index);
      }
      face.corners.push_back(static_cast<int>(index));
    }
    double colour[4] = {0.0, 0.0, 0.0, 0.0};
    std::size_t channels = 0;
    bool reals = false;
    for (std::size_t k = n + 1; k < words.size(); ++k, ++channels) {
      double value = 0.0;
      if (!read_real(words[k], value)) return not_a_number(words[k]);
      reals = reals || words[k].find_first_of(".eE") != std::string_view::npos;
      if (channels < 4) colour[channels] = value;
    }
    if (channels == 2 || channels > 4) {
      return "a face colour has 3 or 4 numbers (or 1, an index), not " + std::to_string(channels);
    }
    if (channels >= 3) {
      if (channels == 3) colour[3] = reals ? 1.0 : 255.0;
      std::int64_t packed = 0;
      for (double channel : colour) {
        const double scaled = std::round(reals ? channel * 255.0 : channel);
        packed = packed * 256 + static_cast<std::int64_t>(std::clamp(scaled, 0.0, 255.0));
      }
      face.colour = packed;
    }
    faces_.push_back(std::move(face));
    return {};
  }

  ParseResult fill_model() {
    std::vector<double> corner_points;
    int face_number = 0;
    for (const OffFaceLine& face : faces_) {
      ++face_number;
      const int n = static_cast<int>(face.corners.size());
      corner_points.clear();
      for (int index : face.corners) {
        const double* p = &points_[static_cast<std::size_t>(3 * index)];
        corner_points.insert(corner_points.end(), p, p + 3);
      }
      const int step = off_face_step(corner_points.data(), n);
      if (step > MaxStep) {
        line_ = face.line;
        return refuse("the face winds " + std::to_string(step) +
                      " times around its centre; a star polygon can have a step of at most " +
                      std::to_string(MaxStep));
      }
      model_.FaceSides(face_number) = n;
      model_.FaceStep(face_number) = step;
      model_.FaceInputColour(face_number) = face.colour >= 0 ? face.colour | kInputColourGiven : 0;
      for (int k = 1; k <= n; ++k) {
        const int vertex = face.corners[static_cast<std::size_t>(k - 1)] + 1;
        model_.FaceVertices(face_number, k) = vertex;
        model_.FirstVertex = std::min(model_.FirstVertex, vertex);
        model_.LastVertex = std::max(model_.LastVertex, vertex);
      }
    }
    model_.FaceCount = model_.FaceEntryCount = face_number;
    model_.LinkCount = 0;
    if (!request_.IgnoreCoordinates && model_.LastVertex >= model_.FirstVertex) {
      for (int v = model_.FirstVertex; v <= model_.LastVertex; ++v) {
        const double* p = &points_[static_cast<std::size_t>(3 * (v - 1))];
        model_.StartX(v - model_.FirstVertex) = p[0];
        model_.StartY(v - model_.FirstVertex) = p[1];
        model_.StartZ(v - model_.FirstVertex) = p[2];
      }
      model_.StartListRead = true;
      model_.LastStartSlot = model_.LastVertex - model_.FirstVertex;
    }
    return {};
  }

  std::string not_a_number(std::string_view word) const {
    return "\"" + std::string(word) + "\" is not a number";
  }

  ParseResult refuse(const std::string& problem) const {
    return {ParseStatus::kAbandoned,
            "Input error: line " + std::to_string(line_) + " of the OFF file: " + problem};
  }

  Model& model_;
  std::string_view rest_;
  const ParseRequest& request_;
  int line_ = 0;
  long long vertex_count_ = 0;
  long long face_count_ = 0;
  std::vector<double> points_;  // x, y, z of vertex index i at 3i
  std::vector<OffFaceLine> faces_;
};

}  // namespace

bool is_off_text(std::string_view text) {
  text = without_byte_order_mark(text);
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::vector<std::string_view> words = words_of(text.substr(0, end));
    if (!words.empty()) {
      bool higher = false;
      return is_header_word(words[0], higher);
    }
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  return false;
}

ParseResult read_off_input(Model& model, std::string_view text, const ParseRequest& request) {
  return OffReader(model, text, request).run();
}

int off_face_step(const double* points, int corners) {
  if (corners < 3) return 1;
  double centre[3] = {0.0, 0.0, 0.0};
  for (int k = 0; k < corners; ++k) {
    for (int a = 0; a < 3; ++a) centre[a] += points[3 * k + a] / corners;
  }
  // Newell's normal of the corner cycle: the normal of the plane that fits the corners best.
  double normal[3] = {0.0, 0.0, 0.0};
  for (int k = 0; k < corners; ++k) {
    const double* p = points + 3 * k;
    const double* q = points + 3 * ((k + 1) % corners);
    normal[0] += (p[1] - q[1]) * (p[2] + q[2]);
    normal[1] += (p[2] - q[2]) * (p[0] + q[0]);
    normal[2] += (p[0] - q[0]) * (p[1] + q[1]);
  }
  const double length =
      std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
  if (!(length > 1e-12)) return 1;
  for (double& c : normal) c /= length;
  // Two directions in the plane: u across the axis the normal leans on least, v = normal × u.
  const int axis = std::fabs(normal[0]) <= std::fabs(normal[1])
                       ? (std::fabs(normal[0]) <= std::fabs(normal[2]) ? 0 : 2)
                       : (std::fabs(normal[1]) <= std::fabs(normal[2]) ? 1 : 2);
  double e[3] = {0.0, 0.0, 0.0};
  e[axis] = 1.0;
  double u[3] = {normal[1] * e[2] - normal[2] * e[1], normal[2] * e[0] - normal[0] * e[2],
                 normal[0] * e[1] - normal[1] * e[0]};
  const double u_length = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
  for (double& c : u) c /= u_length;
  const double v[3] = {normal[1] * u[2] - normal[2] * u[1], normal[2] * u[0] - normal[0] * u[2],
                       normal[0] * u[1] - normal[1] * u[0]};
  const auto angle = [&](int k) {
    const double* p = points + 3 * (k % corners);
    double d[3] = {p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]};
    return std::atan2(d[0] * v[0] + d[1] * v[1] + d[2] * v[2],
                      d[0] * u[0] + d[1] * u[1] + d[2] * u[2]);
  };
  double turned = 0.0;
  for (int k = 0; k < corners; ++k) {
    double change = angle(k + 1) - angle(k);
    if (change > kPi) change -= 2 * kPi;
    if (change <= -kPi) change += 2 * kPi;
    turned += change;
  }
  const int winding = static_cast<int>(std::lround(std::fabs(turned) / (2 * kPi)));
  return winding >= 2 ? winding : 1;
}

}  // namespace ostrel

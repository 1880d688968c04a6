#include "input/parser.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/lenient_number.h"
#include "core/number_format.h"
#include "core/run_error.h"

namespace ostrel {
namespace {

constexpr char kApostrophe = '\'';

bool is_control(char c) {
  return static_cast<unsigned char>(c) < 30;
}
bool is_letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Edge mark of a separator: "," none, ";" highlight, "\" cylinder, "/" cylinder type 2;
// -1 for a character that is not a separator.
int separator_mark(char c) {
  switch (c) {
    case ',': return kNoMark;
    case ';': return kHighlightMark;
    case '\\': return kCylinderMark;
    case '/': return kCylinder2Mark;
    default: return -1;
  }
}

// Whether a number text that reads as 0 stands for the number 0: it has a digit, and every
// digit is 0.
bool reads_as_zero(std::string_view text) {
  bool digit = false;
  for (char c : text) {
    if (c >= '1' && c <= '9') return false;
    digit = digit || c == '0';
  }
  return digit;
}

std::string number_line(const std::string& label, long long value) {
  return label + print_form(value);
}

class Parser {
 public:
  Parser(Model& model, std::string_view text, const ParseRequest& request, MessageSink& host)
      : model_(model),
        own_segments_(request.segments ? nullptr : std::make_unique<SegmentStore>()),
        segments_(request.segments ? *request.segments : *own_segments_),
        text_(text),
        request_(request),
        host_(host) {}

  ParseResult run() {
    ParseResult result = request_.realm_only ? read_realm_section() : read_segment();
    result.more_segments = more_segments_;
    result.realms_read = realms_read_;
    return result;
  }

 private:
  // --- the segment being read ---

  ParseResult read_segment() {
    int brace_count = 0;
    bool active = false;
    while (true) {
      if (at_end()) {
        if (active) {
          return abandon("Input error: Unexpected end of file inside the braces of segment " +
                         std::to_string(request_.segment) + ", check for a missing \"}\"");
        }
        return abandon("Input error: No segment " + std::to_string(request_.segment) +
                       " found in input, check for a missing \"{\"");
      }
      char c = next();
      if (skip_comment_or_control(c)) continue;
      if (c == '{') {
        ++brace_count;
        if (brace_count == request_.segment) active = true;
        continue;
      }
      if (!active) continue;
      if (c == '}') return close_segment();
      if (c == '[') {
        return abandon("Input error: \"[\" inside the braces of segment " +
                       std::to_string(request_.segment) +
                       "; realm faces belong in the section after the last segment");
      }
      if (c == '(') {
        if (!read_start_positions()) {
          return abandon("Unexpected End of File in input, check for closing brackets");
        }
        continue;
      }
      if (apply_code(c)) continue;
      if (is_letter(c)) continue;
      int mark = separator_mark(c);
      if (mark < 0) {
        number_text_ += c;
        continue;
      }
      if (!at_separator(mark)) {
        return abandon(face_problem_.empty() ? "Input error: Possible missing comma at end of line"
                                             : face_problem_);
      }
    }
  }

  // Letter codes of faces, vertices and segments; false for a character that is none.
  bool apply_code(char c) {
    switch (c) {
      case 'A':
        face_flags() += 'A';
        model_.AugmentFlag = true;
        return true;
      case 'B':
      case 'D':
      case 'd':
      case 'q':
      case 'N':
      case 'n':
      case 'E':
      case 'e':
      case 's':
      case 'f': face_flags() += c; return true;
      case 't':
        face_flags() += "ft";
        model_.TransparentFlag = true;
        return true;
      case 'O':
        face_flags() += 'O';
        pending_vertex_flags_ += 'O';
        model_.CylinderFlag = true;
        return true;
      case 'o':
        face_flags() += 'o';
        model_.CylinderFlag = true;
        return true;
      case 'X':
      case 'Y':
      case 'Z':
        if (anchor_mode_ == 2) {
          anchor_mode_ = 3 + (c - 'X');
        } else {
          face_flags() += c;
        }
        return true;
      case 'r':
      case 'a':
      case 'y':
      case 'g':
      case 'c':
      case 'b':
      case 'm':
      case 'w':
      case 'h':
        face_flags() += 'Q';
        face_flags() += c;
        return true;
      case '*':
        pending_vertex_flags_ += '*';
        model_.CylinderFlag = true;
        return true;
      case 'F':
      case 'T':
      case 'R':
        pending_vertex_flags_ += c;
        model_.OrientFlag = true;
        return true;
      case 'C': pending_vertex_flags_ += 'C'; return true;
      case 'V':
      case 'v':
        pending_vertex_flags_ += c;
        model_.VertexHighlightFlag = true;
        return true;
      case 'P': anchor_mode_ = 1; return true;
      case 'L': anchor_mode_ = 2; return true;
      default: return false;
    }
  }

  std::string& face_flags() { return model_.FaceFlags(face_); }

  // A separator ends the number text. Returns false when a face's step is impossible.
  bool at_separator(int mark) {
    int number = lenient_int16(number_text_);
    if (number == 0 && !reads_as_zero(number_text_)) {
      // An empty entry (",,") or a garbled one ("--1") is no vertex: read as vertex 0 it would
      // join the face as a corner nobody meant.
      face_problem_ = "Input error: Face " + std::to_string(face_) + ": \"" + number_text_ +
                      "\" is not a vertex number";
      return false;
    }
    number_text_.clear();
    if (number >= 0) {
      // The separator after a vertex number marks the edge from that corner to the next one.
      // (A mark after the closing negative number belongs to no edge and is dropped, so that it
      // cannot leak into the next face read.)
      if (mark > 0) {
        corner_marks_.at(static_cast<std::size_t>(std::min(corner_, MaxCorners + 1))) += mark;
        if (mark == kCylinderMark) model_.CylinderFlag = true;
        if (mark == kCylinder2Mark) model_.Cylinder2Flag = true;
      }
      add_corner(number);
      return true;
    }
    return close_face(-number);
  }

  void add_corner(int vertex) {
    model_.FaceVertices(face_, corner_) = vertex;
    ++corner_;
    model_.LastVertex = std::max(model_.LastVertex, vertex);
    model_.FirstVertex = std::min(model_.FirstVertex, vertex);
    std::string& flags = model_.VertexFlags(vertex);
    flags += pending_vertex_flags_;
    if (!flags.empty()) debug({number_line("Vertex:", vertex) + " Flags:" + flags});
    pending_vertex_flags_.clear();
  }

  bool close_face(int step) {
    int corners = corner_ - 1;
    if (corners == 2) ++model_.LinkCount;
    model_.FaceSides(face_) = corners;
    model_.FaceStep(face_) = step;
    if (step > MaxStep || step > corners) return false;
    if (std::string problem = face_list_problem(corners); !problem.empty()) {
      face_problem_ = problem;
      return false;
    }
    for (int p = 1; p <= corners; ++p) {
      int mark = corner_marks_[static_cast<std::size_t>(p)];
      if (mark < 1) continue;
      int a = model_.FaceVertices(face_, p);
      int b = model_.FaceVertices(face_, p == corners ? 1 : p + 1);
      int row = model_.MarkedEdgeCount;
      model_.MarkedEdges(row, 1) = std::min(a, b);
      model_.MarkedEdges(row, 2) = std::max(a, b);
      model_.MarkedEdges(row, 3) = mark;
      static const std::array<const char*, 4> kLines{
          "", "Highlight edge identified between vertices:",
          "Cylinder edge identified between vertices:",
          "Cylinder type 2 edge identified between vertices:"};
      int kind = mark % 10;
      if (kind >= 1 && kind <= 3) {
        debug({std::string(kLines[static_cast<std::size_t>(kind)]) +
               print_form(static_cast<long long>(std::min(a, b))) + " and " +
               print_form(static_cast<long long>(std::max(a, b)))});
      }
      corner_marks_[static_cast<std::size_t>(p)] = 0;
      ++model_.MarkedEdgeCount;
    }
    corner_ = 1;
    ++face_;
    return true;
  }

  // A face that repeats a vertex has no shape to settle into; a link among the faces would be
  // taken for the last face and the last face for a link.
  std::string face_list_problem(int corners) {
    const std::string name = (corners == 2 ? "Link " : "Face ") + std::to_string(face_);
    std::array<int, MaxCorners + 1> sorted{};
    for (int k = 1; k <= corners; ++k)
      sorted[static_cast<std::size_t>(k)] = model_.FaceVertices(face_, k);
    std::sort(sorted.begin() + 1, sorted.begin() + corners + 1);
    for (int k = 2; k <= corners; ++k) {
      if (sorted[static_cast<std::size_t>(k)] == sorted[static_cast<std::size_t>(k - 1)]) {
        return "Input error: " + name + " repeats vertex " +
               std::to_string(sorted[static_cast<std::size_t>(k)]);
      }
    }
    if (corners == 2 && first_link_ == 0) {
      first_link_ = face_;
      first_link_text_ = std::to_string(model_.FaceVertices(face_, 1)) + ", " +
                         std::to_string(model_.FaceVertices(face_, 2));
    }
    if (corners != 2 && first_link_ != 0) {
      return "Input error: Link " + std::to_string(first_link_) + " (" + first_link_text_ +
             ") stands before face " + std::to_string(face_) + "; links come after the last face";
    }
    return {};
  }

  // "(" opens the starting positions: reals, each ended by a comma, three to a slot.
  // Returns false at the end of the file before ")".
  bool read_start_positions() {
    host_.message("Reading Starting Positions");
    int slot = 0;
    int coordinate = 0;
    model_.StartListRead = true;
    while (true) {
      if (at_end()) return false;
      char c = next();
      if (skip_comment_or_control(c)) continue;
      if (c == ')') return true;
      if (c != ',') {
        number_text_ += c;
        continue;
      }
      double value = lenient_value(number_text_);
      number_text_.clear();
      if (coordinate == 3) {
        ++slot;
        coordinate = 1;
      } else {
        ++coordinate;
      }
      if (coordinate == 1) model_.StartX(slot) = value;
      if (coordinate == 2) model_.StartY(slot) = value;
      if (coordinate == 3) model_.StartZ(slot) = value;
      model_.LastStartSlot = slot;
    }
  }

  ParseResult close_segment() {
    int segment = request_.segment;
    segments_.SegmentAnchorMode(segment) = anchor_mode_;
    if (anchor_mode_ == 0) {
      model_.FaceEntryCount = face_ - 1;
      model_.FaceCount = model_.FaceEntryCount - model_.LinkCount;
      return {};
    }
    if (request_.SegmentCount < 2) {
      return abandon(
          "Input error: The model is only a point or line anchor (\"P\" or \"L\"); anchors "
          "place the segments of a model with several brace pairs");
    }
    int row = segments_.JointVertexNext;
    segments_.SegmentTrailFlags(segment) = pending_vertex_flags_;
    if (anchor_mode_ == 1) {
      set_joint_row(row, 0, segment);
      segments_.JointVertexNext = row + 1;
      segments_.SegmentVertexEnd(segment) = row + 1;
    } else {
      set_joint_row(row, 0, segment);
      set_joint_row(row + 1, 1, segment);
      segments_.SegmentVertexEnd(segment) = row;
      int axis = anchor_mode_ - 2;  // 1 x, 2 y, 3 z; 0 for a line without an axis letter
      if (axis >= 1) {
        segments_.JointVertexPos(row, axis) = -0.5;
        segments_.JointVertexPos(row + 1, axis) = 0.5;
      }
      segments_.JointVertexNext = row + 2;
    }
    if (segment == request_.SegmentCount) return read_realm_section();
    more_segments_ = true;
    return {};
  }

  void set_joint_row(int row, int number, int segment) {
    segments_.JointVertexNumber(row) = number;
    segments_.JointVertexSegment(row) = segment;
    for (int axis = 1; axis <= 3; ++axis) segments_.JointVertexPos(row, axis) = 0.0;
  }

  // --- the realm section after the last segment ---

  ParseResult read_realm_section() {
    position_ = 0;
    comment_ = false;
    number_text_.clear();
    bool active = false;
    int corner = 1;
    while (!at_end()) {
      if (segments_.RealmFaceNo == 0) segments_.RealmFaceNo = 1;
      char c = next();
      if (skip_comment_or_control(c)) continue;
      if (c == '[') {
        active = true;
        corner = 1;
        continue;
      }
      if (!active) continue;
      if (c == ']') {
        realms_read_ = true;
        return {};
      }
      if (const char* code = realm_colour_code(c)) {
        segments_.RealmFaceFlags(segments_.RealmFaceNo) += code;
        continue;
      }
      if (c != ',') {
        number_text_ += c;
        continue;
      }
      int number = lenient_int16(number_text_);
      number_text_.clear();
      int face = segments_.RealmFaceNo;
      if (number >= 0) {
        if (corner > MaxRealmCorners) {
          return abandon("Input file error: Realm face can have at most four vertices");
        }
        segments_.RealmFaceVertex(face, corner) = number;
        segments_.RealmFaceSegment(face, corner) =
            segments_.RealmSegmentRow[static_cast<std::size_t>(corner)];
        ++corner;
      } else if (number == -2) {
        for (int k = 1; k <= MaxRealmCorners; ++k) {
          segments_.RealmSegmentRow[static_cast<std::size_t>(k)] =
              segments_.RealmFaceVertex(face, k);
        }
        corner = 1;
      } else if (number == -1) {
        segments_.RealmFaceSides(face) = corner - 1;
        ++segments_.RealmFaceNo;
        corner = 1;
      }
    }
    ParseResult result;
    result.status = ParseStatus::kRealmSectionUnclosed;
    result.message = "W05: " + request_.OutputName + "  Segmented VRML file written";
    return result;
  }

  static const char* realm_colour_code(char c) {
    switch (c) {
      case 's': return "s";
      case 'y': return "Qy";
      case 'b': return "Qb";
      case 'a': return "Qa";
      case 'g': return "Qg";
      case 'c': return "Qc";
      case 'm': return "Qm";
      case 'r': return "Qr";
      case 'w': return "Qw";
      case 'h': return "Qh";
      default: return nullptr;
    }
  }

  // --- characters ---

  bool at_end() const { return position_ >= text_.size(); }
  char next() { return text_[position_++]; }

  // Apostrophes open a comment, control characters close it; both are dropped, and so is
  // everything inside a comment. Returns true when `c` is consumed that way.
  bool skip_comment_or_control(char c) {
    if (c == kApostrophe) {
      comment_ = true;
      return true;
    }
    if (is_control(c)) {
      comment_ = false;
      return true;
    }
    return comment_;
  }

  void debug(const std::vector<std::string>& lines) {
    if (request_.debug) request_.debug->append(lines);
  }

  static ParseResult abandon(std::string message) {
    return {ParseStatus::kAbandoned, std::move(message)};
  }

  Model& model_;
  std::unique_ptr<SegmentStore> own_segments_;  // when the request brings no store
  SegmentStore& segments_;
  std::string_view text_;
  const ParseRequest& request_;
  MessageSink& host_;
  std::size_t position_ = 0;
  bool comment_ = false;
  std::string number_text_;
  std::string pending_vertex_flags_;
  int anchor_mode_ = 0;  // 0 ordinary, 1 point ("P"), 2 line ("L"), 3..5 line along x, y, z
  bool more_segments_ = false;
  bool realms_read_ = false;
  int face_ = 1;
  int corner_ = 1;
  int first_link_ = 0;  // the first link of the segment (face list number), 0 before one
  std::string first_link_text_;
  std::string face_problem_;  // why the last face list was refused
  std::array<int, MaxCorners + 2> corner_marks_{};
};

}  // namespace

ParseResult parse_input(Model& model, std::string_view text, const ParseRequest& request,
                        MessageSink& host) {
  return Parser(model, text, request, host).run();
}

std::string read_input_file(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    throw RunError(kFileNotFound, "Error: Cannot open input file " + path.string(), path.string());
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string input_base_name(const std::filesystem::path& path) {
  std::string name = path.filename().string();
  return name.substr(0, name.find('.'));
}

}  // namespace ostrel

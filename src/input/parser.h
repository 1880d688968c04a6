// The input file parser: reads a model description character by character into the model
// store.
//
// The model proper stands between braces, one brace pair per segment; faces are runs of vertex
// numbers each ended by a separator ("," ";" "\" "/"), a negative number ending the face with
// its step; letters are face, vertex and segment codes; "(" ... ")" holds starting positions;
// after the last segment "[" ... "]" lists the realm faces that join segments. Control
// characters are dropped wherever they stand and an apostrophe starts a comment that runs to
// the next control character.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/debug_log.h"
#include "core/message_sink.h"
#include "core/model.h"
#include "core/segment_store.h"

namespace ostrel {

struct ParseRequest {
  int SegmentCount = 1;     // segments of the file (from the input prescan); 1 when none
  int segment = 1;          // the segment to read, from 1
  bool realm_only = false;  // read only the realm section after the last segment
  // Where anchors, joint rows and realm faces go; a store of the parse's own when none is given
  // (a file of one segment needs none).
  SegmentStore* segments = nullptr;
  std::string OutputName;          // for the message about an unterminated realm section
  DebugLog* debug = nullptr;       // lines for the debug log when it is on
  bool IgnoreCoordinates = false;  // OFF input: relax from random starts, not the file's points
};

enum class ParseStatus {
  kComplete,              // the segment (or realm section) was read
  kAbandoned,             // the input is faulty; `message` says why; the run must not go on
  kRealmSectionUnclosed,  // the realm section ran to the end of the file without "]"
};

struct ParseResult {
  ParseStatus status = ParseStatus::kComplete;
  std::string message;         // the message to show for kAbandoned (and kRealmSectionUnclosed)
  bool more_segments = false;  // an anchor segment was read and more segments follow
  bool realms_read = false;    // the realm section was read up to its closing bracket
  bool off_file = false;       // the text was an OFF file (read_input tells them apart)
  bool ok() const { return status == ParseStatus::kComplete; }
};

// Reads segment request.segment of `text` (or, with request.realm_only, only the realm section)
// into `model` and the request's segment store. The caller prepares the model for the pass first
// (Model::start_pass). "Reading Starting Positions" is shown through `host` when a
// starting-position list opens. Numbers outside 16 bits raise the overflow RunError; tables
// overflowing their capacity raise the subscript RunError.
ParseResult parse_input(Model& model, std::string_view text, const ParseRequest& request,
                        MessageSink& host);

// Reads the file's bytes; a file that cannot be read raises a RunError naming the path.
std::string read_input_file(const std::filesystem::path& path);

// The input base name: the file name up to its first ".".
std::string input_base_name(const std::filesystem::path& path);

}  // namespace ostrel

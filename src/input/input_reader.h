// Reading an input text of either kind into the model store: an OFF file, recognised by its
// header word whatever the file is called, or the face-list format of the parser.
#pragma once

#include <string_view>

#include "core/message_sink.h"
#include "core/model.h"
#include "input/parser.h"

namespace ostrel {

// read_off_input (off_reader.h) for a text that is_off_text recognises, parse_input otherwise;
// both fill the same tables, starting positions included, and report the same way.
ParseResult read_input(Model& model, std::string_view text, const ParseRequest& request,
                       MessageSink& host);

}  // namespace ostrel

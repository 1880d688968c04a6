#include "input/input_reader.h"

#include "input/off_reader.h"

namespace ostrel {

ParseResult read_input(Model& model, std::string_view text, const ParseRequest& request,
                       MessageSink& host) {
  if (!request.realm_only && is_off_text(text)) {
    ParseResult result = read_off_input(model, text, request);
    result.off_file = true;
    return result;
  }
  return parse_input(model, text, request, host);
}

}  // namespace ostrel

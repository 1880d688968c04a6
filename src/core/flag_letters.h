// The letter codes that faces and vertices carry from the input ("B" hidden, "n" free, "V"
// highlighted, ...): strings of case-sensitive letters, tested one letter at a time.
#pragma once

#include <string_view>

namespace ostrel {

// Whether the letter codes `flags` hold `letter`.
inline bool has_letter(std::string_view flags, char letter) {
  return flags.find(letter) != std::string_view::npos;
}

}  // namespace ostrel

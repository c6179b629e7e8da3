#pragma once
// Strict UTF-8, as text from a request must be before anything reads it: no overlong forms (a
// "C1 A1" read as "a" would let one name pass for another), no surrogates, no stray
// continuation bytes, nothing past U+10FFFF.

#include <cstddef>
#include <string_view>

namespace cn::web {

// The length of the well-formed character starting at `at`; 0 when the bytes there are not one.
std::size_t CharacterLength(std::string_view text, std::size_t at);

bool IsUtf8(std::string_view text);

}  // namespace cn::web

#pragma once
// Names of the tags HTML defines, held once per process and shared by every element of that
// tag: a page holds thousands of elements and a handful of different tags.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cn::dom::internal {

// An element keeps its tag as a number in one byte: the tags HTML defines, and this one for
// any other (whose name the element keeps itself).
inline constexpr std::uint8_t kUnknownTag = 0xFF;

// The number of `upper_tag` when HTML defines that tag; kUnknownTag otherwise.
std::uint8_t KnownTagNumber(std::string_view upper_tag);
// The upper-case names of the known tags, indexed by number.
std::vector<std::string> MakeKnownTagNames();

// Every known tag's shared upper-case name, indexed by number.
inline const std::vector<std::string>& KnownTagNames() {
  static const std::vector<std::string> names = MakeKnownTagNames();
  return names;
}
// The shared upper-case name of a known tag's number; inline, as every tag test asks it.
inline const std::string& KnownTagName(std::uint8_t number) { return KnownTagNames()[number]; }

}  // namespace cn::dom::internal

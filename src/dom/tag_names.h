#pragma once
// Names of the tags HTML defines, held once per process and shared by every element of that
// tag: a page holds thousands of elements and a handful of different tags.

#include <string>
#include <string_view>

namespace cn::dom::internal {

// The shared upper-case name of `upper_tag` when HTML defines that tag; null otherwise.
const std::string* KnownTagName(std::string_view upper_tag);

}  // namespace cn::dom::internal

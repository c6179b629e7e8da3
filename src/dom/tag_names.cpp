#include "dom/tag_names.h"

#include <gumbo.h>

#include <vector>

#include "dom/internal.h"

namespace cn::dom::internal {
namespace {

// Indexed by the parser's tag number; built on first use and never changed after.
const std::vector<std::string>& Names() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    all.reserve(GUMBO_TAG_UNKNOWN);
    for (int tag = 0; tag < GUMBO_TAG_UNKNOWN; ++tag) {
      all.push_back(AsciiUpper(gumbo_normalized_tagname(static_cast<GumboTag>(tag))));
    }
    return all;
  }();
  return names;
}

}  // namespace

const std::string* KnownTagName(std::string_view upper_tag) {
  const GumboTag tag = gumbo_tagn_enum(upper_tag.data(), static_cast<unsigned>(upper_tag.size()));
  if (tag < 0 || tag >= GUMBO_TAG_UNKNOWN) return nullptr;
  const std::string& name = Names()[static_cast<std::size_t>(tag)];
  return name == upper_tag ? &name : nullptr;
}

}  // namespace cn::dom::internal

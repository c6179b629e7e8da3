#include "dom/tag_names.h"

#include <gumbo.h>

#include <vector>

#include "dom/internal.h"

namespace cn::dom::internal {

std::vector<std::string> MakeKnownTagNames() {
  std::vector<std::string> all;
  all.reserve(GUMBO_TAG_UNKNOWN);
  for (int tag = 0; tag < GUMBO_TAG_UNKNOWN; ++tag) {
    all.push_back(AsciiUpper(gumbo_normalized_tagname(static_cast<GumboTag>(tag))));
  }
  return all;
}

static_assert(GUMBO_TAG_UNKNOWN < kUnknownTag, "every known tag's number fits in a byte");

std::uint8_t KnownTagNumber(std::string_view upper_tag) {
  const GumboTag tag = gumbo_tagn_enum(upper_tag.data(), static_cast<unsigned>(upper_tag.size()));
  if (tag < 0 || tag >= GUMBO_TAG_UNKNOWN) return kUnknownTag;
  const auto number = static_cast<std::uint8_t>(tag);
  return KnownTagName(number) == upper_tag ? number : kUnknownTag;
}

}  // namespace cn::dom::internal

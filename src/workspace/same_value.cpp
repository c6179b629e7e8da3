#include "workspace/same_value.h"

#include <optional>
#include <string>
#include <vector>

#include "base/currency.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn {
namespace {

bool SameElement(std::string_view before, std::string_view after) {
  if (before == after) return true;
  if (Trim(before).empty() || Trim(after).empty()) return false;
  const std::optional<Currency> old_amount = Currency::TryParse(before);
  const std::optional<Currency> new_amount = Currency::TryParse(after);
  return old_amount && new_amount && *old_amount == *new_amount;
}

}  // namespace

bool SameValue(std::string_view before, std::string_view after) {
  if (before == after) return true;
  const std::vector<std::string> old_elements = Split(before, DialogArgSeparator);
  const std::vector<std::string> new_elements = Split(after, DialogArgSeparator);
  if (old_elements.size() != new_elements.size()) return false;
  for (std::size_t i = 0; i < old_elements.size(); ++i) {
    if (!SameElement(old_elements[i], new_elements[i])) return false;
  }
  return true;
}

bool SameArrays(const CoverNoteFields& a, const CoverNoteFields& b,
                std::span<const TextArray> arrays) {
  for (const TextArray array : arrays) {
    const std::vector<std::string>& left = a.*array;
    const std::vector<std::string>& right = b.*array;
    if (left.size() != right.size()) return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
      if (!SameElement(left[i], right[i])) return false;
    }
  }
  return true;
}

}  // namespace cn

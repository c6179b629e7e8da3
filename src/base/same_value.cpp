#include "base/same_value.h"

#include <optional>
#include <string>
#include <vector>

#include "base/currency.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn {

bool SameValue(std::string_view before, std::string_view after) {
  if (before == after) return true;
  const std::vector<std::string> old_elements = Split(before, DialogArgSeparator);
  const std::vector<std::string> new_elements = Split(after, DialogArgSeparator);
  if (old_elements.size() != new_elements.size()) return false;
  for (std::size_t i = 0; i < old_elements.size(); ++i) {
    if (old_elements[i] == new_elements[i]) continue;
    const std::optional<Currency> old_amount = Currency::TryParse(old_elements[i]);
    const std::optional<Currency> new_amount = Currency::TryParse(new_elements[i]);
    if (Trim(old_elements[i]).empty() || Trim(new_elements[i]).empty() || !old_amount ||
        !new_amount || *old_amount != *new_amount) {
      return false;
    }
  }
  return true;
}

}  // namespace cn

#include "workspace/same_value.h"

#include <string>
#include <vector>

namespace cn {

bool SameArrays(const CoverNoteFields& a, const CoverNoteFields& b,
                std::span<const TextArray> arrays) {
  for (const TextArray array : arrays) {
    const std::vector<std::string>& left = a.*array;
    const std::vector<std::string>& right = b.*array;
    if (left.size() != right.size()) return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
      if (!SameValue(left[i], right[i])) return false;
    }
  }
  return true;
}

}  // namespace cn

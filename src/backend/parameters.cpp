#include "backend/parameters.h"

#include <charconv>

#include "base/separators.h"
#include "base/text.h"

namespace cn::backend {
namespace {

bool IsPlainValue(std::string_view value) {
  for (std::string_view separator : {RecordSeparator, FieldSeparator, DialogArgSeparator}) {
    if (value.find(separator) != std::string_view::npos) return false;
  }
  return Len(value) <= kMaxParameterCharacters;
}

}  // namespace

std::optional<std::vector<std::string>> SplitParameters(std::string_view text,
                                                        std::size_t count, bool record_last) {
  std::vector<std::string> values =
      text.empty() ? std::vector<std::string>{""} : Split(text, ParamSeparator);
  if (values.size() != count) return std::nullopt;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (record_last && i + 1 == values.size()) continue;
    if (!IsPlainValue(values[i])) return std::nullopt;
  }
  return values;
}

std::optional<int> WholeNumber(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace cn::backend

#include "base/decimal_text.h"

namespace cn {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::optional<DecimalDigits> ScanDecimal(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  DecimalDigits digits;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    digits.negative = text[i] == '-';
    ++i;
  }
  // Grouping, when there is any, is in threes after a first group of one to three digits:
  // "12,34" is a slip of the keyboard, not twelve hundred and thirty-four.
  std::size_t group = 0;  // digits since the last "," or the start
  bool grouped = false;
  for (; i < text.size() && text[i] != '.'; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      digits.whole += c;
      ++group;
    } else if (c == ',') {
      const bool group_fits = grouped ? group == 3 : group >= 1 && group <= 3;
      if (!group_fits) return std::nullopt;
      grouped = true;
      group = 0;
    } else {
      return std::nullopt;
    }
  }
  if (grouped && group != 3) return std::nullopt;
  if (i < text.size()) {  // the decimal point
    for (++i; i < text.size(); ++i) {
      if (!IsDigit(text[i])) return std::nullopt;
      digits.fraction += text[i];
    }
  }
  if (digits.whole.empty() && digits.fraction.empty()) return std::nullopt;
  return digits;
}

}  // namespace cn

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
  for (; i < text.size() && text[i] != '.'; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      digits.whole += c;
    } else if (c == ',') {
      const bool between_digits =
          i > 0 && IsDigit(text[i - 1]) && i + 1 < text.size() && IsDigit(text[i + 1]);
      if (!between_digits) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
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

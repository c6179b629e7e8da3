#include "base/number_format.h"

#include <cstdint>
#include <optional>

#include "base/decimal_text.h"
#include "base/rounding.h"
#include "base/runtime_failure.h"

namespace cn {

namespace {

constexpr int kMaxDecimals = 4;

std::string Grouped(std::string digits) {
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

}  // namespace

std::string FormatNumber(Currency value, int decimals) {
  if (decimals < 0 || decimals > kMaxDecimals) {
    throw RuntimeFailure(failure::kInvalidArgument, "Invalid procedure call or argument",
                         "FormatNumber");
  }
  WideInt step = 1;
  for (int i = decimals; i < kMaxDecimals; ++i) step *= 10;
  const WideInt shown = DivideRoundingHalfAway<WideInt>(value.units(), step);
  const WideInt magnitude = shown < 0 ? -shown : shown;

  WideInt unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  std::string text = shown < 0 ? "-" : "";
  text += Grouped(std::to_string(static_cast<std::uint64_t>(magnitude / unit)));
  if (decimals > 0) {
    text += '.';
    text += std::to_string(static_cast<std::uint64_t>(magnitude % unit + unit)).substr(1);
  }
  return text;
}

std::string FormatMoney2(Currency value) { return FormatNumber(value, 2); }

std::string FormatNumber(std::string_view text, int decimals) {
  return FormatNumber(Currency::Parse(text), decimals);
}

std::string FormatMoney2(std::string_view text) { return FormatNumber(text, 2); }

std::string FormatFigure(std::string_view text, int decimals) {
  const std::optional<Currency> value = Currency::TryParse(text);
  return value ? FormatNumber(*value, decimals) : std::string(text);
}

bool IsNumeric(std::string_view text) { return ScanDecimal(text).has_value(); }

}  // namespace cn

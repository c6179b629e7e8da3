#include "base/currency.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/decimal_text.h"
#include "base/rounding.h"
#include "base/runtime_failure.h"

namespace cn {

namespace {

constexpr std::string_view kSource = "Currency";

[[noreturn]] void ThrowOverflow() {
  throw RuntimeFailure(failure::kOverflow, "Overflow", std::string(kSource));
}

Currency Checked(WideInt units) {
  if (units > std::numeric_limits<std::int64_t>::max() ||
      units < std::numeric_limits<std::int64_t>::min()) {
    ThrowOverflow();
  }
  return Currency::FromUnits(static_cast<std::int64_t>(units));
}

// Four decimals kept, the fifth decides the rounding; digits after it cannot
// change a half-away-from-zero result.
std::optional<Currency> FromDigits(const DecimalDigits& digits) {
  constexpr int kKept = 5;
  WideInt value = 0;
  for (const char c : digits.whole) {
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int64_t>::max()) return std::nullopt;
  }
  for (int i = 0; i < kKept; ++i) {
    const int digit = i < static_cast<int>(digits.fraction.size()) ? digits.fraction[i] - '0' : 0;
    value = value * 10 + digit;
  }
  if (digits.negative) value = -value;
  const WideInt units = DivideRoundingHalfAway<WideInt>(value, 10);
  if (units > std::numeric_limits<std::int64_t>::max() ||
      units < std::numeric_limits<std::int64_t>::min()) {
    return std::nullopt;
  }
  return Currency::FromUnits(static_cast<std::int64_t>(units));
}

}  // namespace

Currency Currency::FromWhole(std::int64_t whole) { return Checked(WideInt{whole} * kScale); }

Currency Currency::FromDouble(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 1e15) ThrowOverflow();
  // Scientific form first to learn the exponent, then fixed form with 15
  // significant digits, so that 123.455 computed as 123.45499999999998 stays
  // 123.455. Past 20 decimals nothing can reach the fourth.
  char buffer[64];
  const auto scientific =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string_view exponent_text(buffer, scientific.ptr - buffer);
  exponent_text.remove_prefix(exponent_text.find('e') + 1);
  if (exponent_text.front() == '+') exponent_text.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exponent_text.data(), exponent_text.data() + exponent_text.size(), exponent);
  const int decimals = std::clamp(14 - exponent, 0, 20);
  const auto fixed =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return Parse(std::string_view(buffer, fixed.ptr - buffer));
}

Currency Currency::Parse(std::string_view user_text) {
  const std::optional<DecimalDigits> digits = ScanDecimal(user_text);
  if (!digits) throw RuntimeFailure(failure::kTypeMismatch, "Type mismatch", std::string(kSource));
  const std::optional<Currency> value = FromDigits(*digits);
  if (!value) ThrowOverflow();
  return *value;
}

std::optional<Currency> Currency::TryParse(std::string_view user_text) {
  const std::optional<DecimalDigits> digits = ScanDecimal(user_text);
  if (!digits) return std::nullopt;
  return FromDigits(*digits);
}

std::string Currency::ToPlainText() const {
  const bool negative = units_ < 0;
  // Unsigned so that the most negative amount has a magnitude too.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(units_) : static_cast<std::uint64_t>(units_);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / kScale);
  std::string fraction = std::to_string(magnitude % kScale + kScale).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

Currency Currency::operator+(Currency other) const {
  return Checked(WideInt{units_} + other.units_);
}

Currency Currency::operator-(Currency other) const {
  return Checked(WideInt{units_} - other.units_);
}

Currency Currency::operator-() const { return Checked(-WideInt{units_}); }

Currency Currency::operator*(Currency rate) const {
  return Checked(DivideRoundingHalfAway<WideInt>(WideInt{units_} * rate.units_, kScale));
}

Currency Currency::operator*(std::int64_t factor) const {
  return Checked(WideInt{units_} * factor);
}

}  // namespace cn

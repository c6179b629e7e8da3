#pragma once
// Money as a 64-bit count of ten-thousandths: four decimals, exact addition and
// no binary fractions, from -922,337,203,685,477.5808 to 922,337,203,685,477.5807.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cn {

class Currency {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr Currency() = default;

  // From a count of ten-thousandths (1.5 is 15000).
  static constexpr Currency FromUnits(std::int64_t units) { return Currency(units); }
  // Throws RuntimeFailure (overflow) outside the range.
  static Currency FromWhole(std::int64_t whole);
  // A figure computed in binary floating point: its first 15 significant digits,
  // rounded to four decimals. NaN, infinities and values out of range throw
  // RuntimeFailure (overflow).
  static Currency FromDouble(double value);

  // What a user types: "1,234.50", " -12", ".5", "+3", "5." (see ScanDecimal for
  // the grammar). More than four decimals round half away from zero. Throws
  // RuntimeFailure (type mismatch) for anything that is not a number and
  // RuntimeFailure (overflow) for a number out of range.
  static Currency Parse(std::string_view user_text);
  // As Parse, but nullopt for non-numbers and numbers out of range.
  static std::optional<Currency> TryParse(std::string_view user_text);

  constexpr std::int64_t units() const { return units_; }
  double ToDouble() const { return static_cast<double>(units_) / kScale; }

  // No grouping, no trailing zeros: 1234.5, 0, -0.5. What the back end is sent.
  std::string ToPlainText() const;

  // All arithmetic throws RuntimeFailure (overflow) when the result is out of range.
  Currency operator+(Currency other) const;
  Currency operator-(Currency other) const;
  Currency operator-() const;
  Currency& operator+=(Currency other) { return *this = *this + other; }
  Currency& operator-=(Currency other) { return *this = *this - other; }
  // Product with a rate, rounded half away from zero to four decimals.
  Currency operator*(Currency rate) const;
  Currency operator*(std::int64_t factor) const;

  friend constexpr auto operator<=>(Currency, Currency) = default;

 private:
  constexpr explicit Currency(std::int64_t units) : units_(units) {}

  std::int64_t units_ = 0;
};

}  // namespace cn

#pragma once
// What users type as a number: the one grammar behind amounts and "is numeric".

#include <optional>
#include <string>
#include <string_view>

namespace cn {

// The digits of a typed number, without sign, grouping or decimal point.
struct DecimalDigits {
  bool negative = false;
  std::string whole;     // digits before the decimal point, may be empty (".5")
  std::string fraction;  // digits after it, may be empty ("5.")
};

// Reads a plain decimal number in the fixed locale. Accepted: surrounding blanks
// (spaces, tabs, line breaks), one leading "+" or "-", digits with "," grouping in
// the whole part, one "." and more digits; at least one digit in all. Grouping is
// the locale's: a first group of one to three digits, then groups of exactly three
// ("1,234,567"; "12,34", "1,2345" and "1234,567" are refused). Rejected: empty
// text, a trailing sign, a second point or sign, doubled, leading or trailing
// commas, exponents, currency signs and parentheses.
std::optional<DecimalDigits> ScanDecimal(std::string_view text);

}  // namespace cn

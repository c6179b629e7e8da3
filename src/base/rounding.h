#pragma once
// The one rounding rule for amounts.

#include <type_traits>

namespace cn {

// Wide enough for a product of two amounts before it is scaled back.
__extension__ using WideInt = __int128;

// numerator / divisor (divisor > 0), rounded half away from zero: 0.125 to two
// decimals is 0.13 and -0.125 is -0.13. Premium figures are shown to agents and
// clients, who check them by hand the way they were taught, so a half always
// goes up in size; the same rule is used when a typed amount keeps four decimals,
// when amounts are multiplied and when they are shown with fewer decimals.
template <typename Int>
constexpr Int DivideRoundingHalfAway(Int numerator, Int divisor) {
  Int quotient = numerator / divisor;
  Int remainder = numerator % divisor;
  if (remainder < 0) remainder = -remainder;
  if (remainder >= divisor - remainder) quotient += numerator < 0 ? Int{-1} : Int{1};
  return quotient;
}

}  // namespace cn

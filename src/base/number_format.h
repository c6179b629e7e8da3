#pragma once
// Numbers and amounts as the screen shows them. The locale is fixed: decimal
// point ".", grouping "," in threes, a leading "-" for negatives, a leading zero
// before the point (1,234.50; -0.50; 0.00).

#include <string>
#include <string_view>

#include "base/currency.h"

namespace cn {

// The value with exactly `decimals` decimals (0 to 4), rounded half away from
// zero, grouped: FormatNumber(1234.5, 0) is "1,235". A value that rounds to zero
// shows without a sign. Other decimal counts throw RuntimeFailure (invalid argument).
std::string FormatNumber(Currency value, int decimals);

// Money with two decimals, the form of every amount on the screen and in the record.
std::string FormatMoney2(Currency value);

// As above for a text that is read first with Currency::Parse; a text that is not
// a number (also an empty one) throws RuntimeFailure (type mismatch).
std::string FormatNumber(std::string_view text, int decimals);
std::string FormatMoney2(std::string_view text);
// As FormatNumber for a stored figure; a text that is not a number (also an empty one) is
// given back as it is, so that nothing stored is lost by showing it.
std::string FormatFigure(std::string_view text, int decimals);

// True when the text is a number in the sense of Currency::Parse, whatever its
// size (an identity-card number of twelve digits is numeric). Empty is not numeric.
bool IsNumeric(std::string_view text);

}  // namespace cn

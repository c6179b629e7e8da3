#pragma once
// Texts the logic must read as a date, a date and time or a number. A text that does not read
// is a type mismatch naming the text and the routine, as a desktop conversion would fail.

#include <string_view>

#include "base/currency.h"
#include "base/date.h"

namespace cn {

Date RequireDate(std::string_view text, std::string_view routine);
DateTime RequireDateTime(std::string_view text, std::string_view routine);
Currency RequireNumber(std::string_view text, std::string_view routine);

}  // namespace cn

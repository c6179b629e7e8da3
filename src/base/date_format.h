#pragma once
// How dates and times are written everywhere: "dd-MMM-yyyy" with English month
// abbreviations (05-Mar-2014), "hh:mm:ss AM/PM" on the 12-hour clock
// (02:05:00 PM; midnight is 12:00:00 AM), and the two joined by one space.

#include <optional>
#include <string>
#include <string_view>

#include "base/date.h"

namespace cn {

std::string FormatDate(const Date& date);
std::string FormatTime(const Time& time);
std::string FormatDateTime(const DateTime& date_time);

// "Jan" to "Dec" for months 1 to 12.
std::string_view MonthAbbreviation(int month);
// 1 to 12 for an English month name or its three-letter abbreviation, any letter
// case ("mar", "March", "MARCH"); nullopt for anything else.
std::optional<int> MonthFromName(std::string_view name);

}  // namespace cn

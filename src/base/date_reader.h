#pragma once
// The one lenient reader of dates and times, for what administrators type and for
// what the back end and the record hold. It accepts:
//   - day, month name or three-letter abbreviation, year: "5-Mar-2014", "05 March 2014",
//     "2014-Mar-05", "March 5, 2014" (any letter case);
//   - three numbers: "05-03-2014", "05/03/2014", "5/3/14", "5.3.2014" read day/month/year,
//     and month/day/year only when day/month is no date ("03/25/2014" is 25 Mar 2014);
//     a year of three or four digits first reads year/month/day ("2014-03-05"),
//     year/day/month only when that is no date;
//   - two-digit years in the window 1930-2029 (30 is 1930, 29 is 2029);
//   - an optional time before or after the date: "10:30", "14:05:09", "10:30:00 AM",
//     "10 PM", with AM/PM in any letter case;
//   - a time alone, which gets the zero date 30 Dec 1899 (so it writes as
//     30-Dec-1899 when formatted as a date; the record keeps issue and effective
//     times only through their time part).
// A day and month without a year ("5 Mar", "5/3") are not read: cover-note dates
// always carry their year. Empty text, nonsense, 31 Apr and 29 Feb outside leap
// years give nullopt.

#include <optional>
#include <string_view>

#include "base/date.h"

namespace cn {

std::optional<DateTime> ReadDateTime(std::string_view text);
// The date part of ReadDateTime (midnight and the time are dropped).
std::optional<Date> ReadDate(std::string_view text);

// A year written with two digits: 0-29 are 2000-2029, 30-99 are 1930-1999.
int ExpandTwoDigitYear(int two_digit_year);

}  // namespace cn

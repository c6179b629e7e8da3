#pragma once
// The rating factors a premium request derives from a cover note instead of copying a
// field: the period rated, the vehicle's year and age, the ages and driving years of the
// insured and of the first named driver, and amounts and lists written for the rating
// engines. Each works on one copy of the cover note (as amended or as it was before).

#include <string>
#include <string_view>
#include <vector>

#include "base/date.h"
#include "workspace/cover_note_record.h"

namespace cn {

struct RatedPeriod {
  std::string start;  // dd-MMM-yyyy, or empty
  std::string end;
};

// A date as dd-MMM-yyyy; empty stays empty, anything else that is not a date throws.
std::string RatedDate(std::string_view text);

// The cover's own dates; a vehicle not yet registered (number `placeholder`, compared as
// written) without both dates is rated for a year from `today`.
RatedPeriod PeriodRated(const CoverNoteFields& fields, std::string_view placeholder,
                        const Date& today);

// The year made; a vehicle not yet registered (or a commercial one whose log book is not
// yet issued) that has none is rated as made this year. Compared ignoring case.
std::string YearMadeRated(const CoverNoteFields& fields, std::string_view placeholder,
                          const Date& today);

// This year less the year made; empty when the year made is.
std::string VehicleAge(std::string_view year_made, const Date& today);

// Years from the date of birth to the cover's effective date; 26 when either is missing.
std::string AgeAtCover(std::string_view date_of_birth, std::string_view effective_date);

// This year less the licence's year; 0 without a licence date.
std::string DrivingYears(std::string_view licence_date, const Date& today);

// An amount as a plain number without grouping or trailing zeros (1,234.50 is 1234.5);
// empty stays empty. Anything else that is not a number throws RuntimeFailure.
std::string PlainAmount(std::string_view text);

// The elements joined with U+FFFD.
std::string JoinedList(const std::vector<std::string>& values);

// The first element, or empty.
std::string_view FirstOf(const std::vector<std::string>& values);

}  // namespace cn

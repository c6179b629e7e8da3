#pragma once
// Shared date, time and amount rules: the back end's clock, the new-tariff date,
// a cover's expiry, whole years between dates, and sums of amount texts.
// Dates are written "dd-MMM-yyyy", times "hh:mm:ss AM/PM", amounts with two decimals.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/clock.h"
#include "base/date.h"
#include "integration/components.h"

namespace cn {

// "now" as the back end sees it: its clock's reply written as date text, a space
// and time text; the local clock only when the back end replies nothing. A reply
// that is not a date throws RuntimeFailure (type mismatch).
std::string GetSystemDateTime(const Components& components, const Clock& local_clock);

// The date from which the new tariff applies, as date text. Asked of the back end
// (system parameter 1127, third field); a refused request keeps `target` as it was;
// an empty date becomes 01-Jan-2020. A date that cannot be read throws RuntimeFailure.
void ReadNewTariffDate(const Components& components, std::string& target);

// One calendar year later, less one day unless the cover starts on 29 February:
// 15-Mar-2024 runs to 14-Mar-2025, 29-Feb-2024 to 28-Feb-2025.
Date ExpiryFromEffective(const Date& effective);

// The second date's year minus the first's, ignoring day and month. 26 when either
// is an empty text, 0 when either is absent (null). A text that is not a date
// throws RuntimeFailure (type mismatch).
std::int16_t YearsBetween(std::optional<std::string_view> first,
                          std::optional<std::string_view> second);

// True when either text is empty, the date text is not a date, or the date's year
// is not before `year_text`. A year text that is not a number throws RuntimeFailure.
bool IsYearNotBefore(std::string_view date_text, std::string_view year_text);

// a + b (+ c when c is not empty) as an amount text; "" when a or b is empty.
// A text that is not a number throws RuntimeFailure (type mismatch).
std::string SumAmounts(std::string_view a, std::string_view b, std::string_view c);

// True when the value holds more than spaces.
bool IsNotEmpty(std::string_view value);

}  // namespace cn

#include "base/date_format.h"

#include <array>

#include "base/text.h"

namespace cn {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// Zero-padded to `width` digits.
std::string Padded(int number, std::size_t width) {
  std::string digits = std::to_string(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

}  // namespace

std::string_view MonthAbbreviation(int month) { return kMonthNames.at(month - 1).substr(0, 3); }

std::optional<int> MonthFromName(std::string_view name) {
  for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
    if (EqualsIgnoreCase(name, kMonthNames[i]) ||
        EqualsIgnoreCase(name, kMonthNames[i].substr(0, 3))) {
      return static_cast<int>(i) + 1;
    }
  }
  return std::nullopt;
}

std::string FormatDate(const Date& date) {
  return Padded(date.day(), 2) + "-" + std::string(MonthAbbreviation(date.month())) + "-" +
         Padded(date.year(), 4);
}

std::string FormatTime(const Time& time) {
  const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
  return Padded(hour12, 2) + ":" + Padded(time.minute(), 2) + ":" + Padded(time.second(), 2) +
         (time.hour() < 12 ? " AM" : " PM");
}

std::string FormatDateTime(const DateTime& date_time) {
  return FormatDate(date_time.date) + " " + FormatTime(date_time.time);
}

}  // namespace cn

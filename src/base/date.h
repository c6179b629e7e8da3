#pragma once
// Calendar dates, times of day and the two together, as cover notes use them:
// Gregorian dates from 1 Jan 100 to 31 Dec 9999, times to the second.

#include <compare>
#include <cstdint>
#include <optional>

namespace cn {

bool IsLeapYear(int year);
// 28 to 31; 0 for a month outside 1 to 12.
int DaysInMonth(int year, int month);

enum class Weekday { kSunday, kMonday, kTuesday, kWednesday, kThursday, kFriday, kSaturday };

class Date {
 public:
  static constexpr int kMinYear = 100;
  static constexpr int kMaxYear = 9999;

  // The zero date, 30 Dec 1899: the date of a time read without a date.
  constexpr Date() = default;

  // nullopt unless the three form a date in range (31 Apr and 29 Feb 2023 do not).
  static std::optional<Date> FromYmd(int year, int month, int day);
  // Days after the zero date (negative before it); nullopt out of range.
  static std::optional<Date> FromSerial(std::int32_t serial);

  int year() const { return year_; }
  int month() const { return month_; }
  int day() const { return day_; }
  std::int32_t Serial() const;
  Weekday DayOfWeek() const;

  // Each throws RuntimeFailure (invalid argument) when the result leaves the range.
  Date AddDays(int days) const;
  // Months and years keep the day where the target month has it and otherwise take
  // the month's last day: 31 Jan + 1 month is 28 or 29 Feb; 29 Feb 2024 + 1 year
  // is 28 Feb 2025.
  Date AddMonths(int months) const;
  Date AddYears(int years) const;

  friend auto operator<=>(const Date&, const Date&) = default;

 private:
  constexpr Date(int year, int month, int day)
      : year_(static_cast<std::int16_t>(year)),
        month_(static_cast<std::int8_t>(month)),
        day_(static_cast<std::int8_t>(day)) {}

  Date AddMonthsChecked(long long months) const;

  std::int16_t year_ = 1899;  // member order makes the default comparison chronological
  std::int8_t month_ = 12;
  std::int8_t day_ = 30;
};

// Days from `from` to `to`: positive when `to` is later.
std::int32_t DaysBetween(const Date& from, const Date& to);

class Time {
 public:
  constexpr Time() = default;  // midnight

  // nullopt unless 0-23, 0-59, 0-59.
  static std::optional<Time> FromHms(int hour, int minute, int second);

  int hour() const { return hour_; }
  int minute() const { return minute_; }
  int second() const { return second_; }

  friend auto operator<=>(const Time&, const Time&) = default;

 private:
  constexpr Time(int hour, int minute, int second)
      : hour_(static_cast<std::int8_t>(hour)),
        minute_(static_cast<std::int8_t>(minute)),
        second_(static_cast<std::int8_t>(second)) {}

  std::int8_t hour_ = 0;
  std::int8_t minute_ = 0;
  std::int8_t second_ = 0;
};

struct DateTime {
  Date date;
  Time time;

  friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

}  // namespace cn

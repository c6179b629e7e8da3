#include "base/date.h"

#include <gtest/gtest.h>

#include <ctime>

#include "base/clock.h"
#include "base/date_format.h"
#include "failure_text.h"

namespace cn {
namespace {

Date D(int year, int month, int day) { return Date::FromYmd(year, month, day).value(); }
Time T(int hour, int minute, int second) { return Time::FromHms(hour, minute, second).value(); }

TEST(Date, KnowsLeapYearsMonthLengthsAndCalendarDatesInRange) {
  for (const auto& [year, leap] :
       {std::pair{2024, true}, {2000, true}, {2023, false}, {1900, false}}) {
    EXPECT_EQ(IsLeapYear(year), leap) << year;
  }
  EXPECT_EQ((std::vector{DaysInMonth(2024, 2), DaysInMonth(2023, 2), DaysInMonth(2014, 4),
                         DaysInMonth(2014, 13)}),
            (std::vector{29, 28, 30, 0}));
  struct Ymd { int year, month, day; bool valid; };
  for (const Ymd& c : {Ymd{2024, 2, 29, true}, {100, 1, 1, true}, {9999, 12, 31, true},
                       {2023, 2, 29, false}, {2014, 4, 31, false}, {2014, 0, 1, false},
                       {99, 12, 31, false}, {10000, 1, 1, false}}) {
    EXPECT_EQ(Date::FromYmd(c.year, c.month, c.day).has_value(), c.valid) << c.year << c.month;
  }
  EXPECT_FALSE(Time::FromHms(24, 0, 0) || Time::FromHms(10, 60, 0) || Time::FromHms(10, 0, -1));
}

TEST(Date, CountsDaysFromTheZeroDate) {
  EXPECT_EQ(Date(), D(1899, 12, 30));
  EXPECT_EQ((std::vector{Date().Serial(), D(1900, 1, 1).Serial(), D(2014, 3, 5).Serial()}),
            (std::vector{0, 2, 41703}));
  EXPECT_EQ(Date::FromSerial(41703), D(2014, 3, 5));
  EXPECT_EQ(Date::FromSerial(-657434), D(100, 1, 1));
  EXPECT_FALSE(Date::FromSerial(-657435) || Date::FromSerial(2958466));
  EXPECT_EQ((std::pair{D(2014, 3, 5).DayOfWeek(), Date().DayOfWeek()}),
            (std::pair{Weekday::kWednesday, Weekday::kSaturday}));
  EXPECT_EQ(DaysBetween(D(2024, 1, 1), D(2025, 1, 1)), 366);
  EXPECT_EQ(DaysBetween(D(2023, 3, 1), D(2023, 2, 1)), -28);
  EXPECT_LT(D(2013, 12, 31), D(2014, 1, 1));
  EXPECT_LT((DateTime{D(2014, 3, 5), T(23, 59, 59)}), (DateTime{D(2014, 3, 6), Time()}));
  EXPECT_EQ((DateTime{D(2014, 3, 5), Time()}), (DateTime{D(2014, 3, 5), T(0, 0, 0)}));
}

TEST(Date, AddsDaysMonthsAndYearsKeepingTheDayOrTakingTheMonthsLast) {
  struct Case { Date from, to; int days, months, years; };
  const Case cases[] = {
      {D(2013, 12, 31), D(2014, 1, 1), 1, 0, 0},    {D(2024, 3, 1), D(2024, 2, 29), -1, 0, 0},
      {D(2024, 2, 28), D(2025, 2, 28), 366, 0, 0},  {D(2024, 1, 31), D(2024, 2, 29), 0, 1, 0},
      {D(2023, 1, 31), D(2023, 2, 28), 0, 1, 0},    {D(2014, 11, 30), D(2015, 1, 30), 0, 2, 0},
      {D(2014, 1, 31), D(2013, 11, 30), 0, -2, 0},  {D(2014, 3, 15), D(2015, 3, 15), 0, 12, 0},
      {D(2014, 1, 1), D(2013, 12, 1), 0, -1, 0},    {D(2024, 2, 29), D(2025, 2, 28), 0, 0, 1},
      {D(2024, 2, 29), D(2023, 2, 28), 0, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FormatDate(c.from) + " + " + std::to_string(c.days) + "d " +
                 std::to_string(c.months) + "m " + std::to_string(c.years) + "y");
    EXPECT_EQ(c.days != 0     ? c.from.AddDays(c.days)
              : c.months != 0 ? c.from.AddMonths(c.months)
                              : c.from.AddYears(c.years),
              c.to);
  }
}

TEST(Date, RefusesToLeaveTheSupportedYears) {
  for (const auto& step :
       {+[] { return D(9999, 12, 31).AddDays(1); }, +[] { return D(100, 1, 1).AddDays(-1); },
        +[] { return D(2014, 1, 1).AddDays(2'000'000'000); },
        +[] { return D(9999, 12, 1).AddMonths(1); }, +[] { return D(2014, 1, 1).AddYears(9000); },
        +[] { return D(2014, 1, 1).AddYears(-2'000'000'000); }}) {
    EXPECT_EQ(FailureText(step).substr(0, 3), "5: ");
  }
}

TEST(DateFormat, WritesDatesTwelveHourTimesAndEnglishMonthNames) {
  EXPECT_EQ(FormatDate(D(2014, 3, 5)) + " " + FormatDate(D(100, 1, 1)) + " " + FormatDate(Date()),
            "05-Mar-2014 01-Jan-0100 30-Dec-1899");
  const std::pair<Time, std::string_view> times[] = {
      {T(0, 30, 5), "12:30:05 AM"}, {T(11, 59, 59), "11:59:59 AM"},
      {T(12, 0, 0), "12:00:00 PM"}, {T(14, 5, 9), "02:05:09 PM"}};
  for (const auto& [time, shown] : times) EXPECT_EQ(FormatTime(time), shown);
  EXPECT_EQ(FormatDateTime({D(2014, 3, 5), T(14, 5, 0)}), "05-Mar-2014 02:05:00 PM");
  EXPECT_EQ(MonthAbbreviation(12), "Dec");
  EXPECT_EQ((std::vector{MonthFromName("Jan"), MonthFromName("september"), MonthFromName("MAY"),
                         MonthFromName("Sept"), MonthFromName("")}),
            (std::vector<std::optional<int>>{1, 9, 5, std::nullopt, std::nullopt}));
}

// The system clock is the machine's local time, not UTC.
TEST(Clock, SystemClockGivesTheLocalDate) {
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  localtime_r(&seconds, &local);
  const DateTime now = SystemClock().Now();
  const Date expected = D(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  EXPECT_LE(std::abs(DaysBetween(expected, now.date)), 1);  // midnight may pass between
  if (now.date == expected) {
    const int expected_minutes = local.tm_hour * 60 + local.tm_min;
    EXPECT_LE(std::abs(now.time.hour() * 60 + now.time.minute() - expected_minutes), 1);
  }
}

}  // namespace
}  // namespace cn

#include "base/date.h"

#include <gtest/gtest.h>

#include <ctime>

#include "base/clock.h"
#include "base/date_format.h"
#include "base/runtime_failure.h"

namespace cn {
namespace {

Date D(int year, int month, int day) { return Date::FromYmd(year, month, day).value(); }
Time T(int hour, int minute, int second) { return Time::FromHms(hour, minute, second).value(); }

TEST(Date, KnowsLeapYearsAndMonthLengths) {
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2014, 4), 30);
  EXPECT_EQ(DaysInMonth(2014, 13), 0);
}

TEST(Date, AcceptsOnlyCalendarDatesInRange) {
  EXPECT_TRUE(Date::FromYmd(2024, 2, 29));
  EXPECT_TRUE(Date::FromYmd(100, 1, 1));
  EXPECT_TRUE(Date::FromYmd(9999, 12, 31));
  EXPECT_FALSE(Date::FromYmd(2023, 2, 29));
  EXPECT_FALSE(Date::FromYmd(2014, 4, 31));
  EXPECT_FALSE(Date::FromYmd(2014, 0, 1));
  EXPECT_FALSE(Date::FromYmd(99, 12, 31));
  EXPECT_FALSE(Date::FromYmd(10000, 1, 1));
  EXPECT_FALSE(Time::FromHms(24, 0, 0));
  EXPECT_FALSE(Time::FromHms(10, 60, 0));
  EXPECT_FALSE(Time::FromHms(10, 0, -1));
}

TEST(Date, CountsDaysFromTheZeroDate) {
  EXPECT_EQ(Date(), D(1899, 12, 30));
  EXPECT_EQ(Date().Serial(), 0);
  EXPECT_EQ(D(1900, 1, 1).Serial(), 2);
  EXPECT_EQ(D(2014, 3, 5).Serial(), 41703);
  EXPECT_EQ(Date::FromSerial(41703), D(2014, 3, 5));
  EXPECT_EQ(Date::FromSerial(-657434), D(100, 1, 1));
  EXPECT_FALSE(Date::FromSerial(-657435));
  EXPECT_FALSE(Date::FromSerial(2958466));
  EXPECT_EQ(D(2014, 3, 5).DayOfWeek(), Weekday::kWednesday);
  EXPECT_EQ(Date().DayOfWeek(), Weekday::kSaturday);
  EXPECT_EQ(DaysBetween(D(2024, 1, 1), D(2025, 1, 1)), 366);
  EXPECT_EQ(DaysBetween(D(2023, 3, 1), D(2023, 2, 1)), -28);
}

TEST(Date, AddsDaysAcrossMonthAndYearEnds) {
  EXPECT_EQ(D(2013, 12, 31).AddDays(1), D(2014, 1, 1));
  EXPECT_EQ(D(2024, 3, 1).AddDays(-1), D(2024, 2, 29));
  EXPECT_EQ(D(2024, 2, 28).AddDays(366), D(2025, 2, 28));
}

TEST(Date, AddsMonthsAndYearsKeepingTheDayOrTakingTheMonthsLast) {
  struct Case {
    Date from;
    int months;
    Date to;
  };
  const Case cases[] = {
      {D(2024, 1, 31), 1, D(2024, 2, 29)},   {D(2023, 1, 31), 1, D(2023, 2, 28)},
      {D(2014, 11, 30), 2, D(2015, 1, 30)},  {D(2014, 1, 31), -2, D(2013, 11, 30)},
      {D(2014, 3, 15), 12, D(2015, 3, 15)},  {D(2014, 1, 1), -1, D(2013, 12, 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(FormatDate(c.from) + " + " + std::to_string(c.months));
    EXPECT_EQ(c.from.AddMonths(c.months), c.to);
  }
  EXPECT_EQ(D(2024, 2, 29).AddYears(1), D(2025, 2, 28));
  EXPECT_EQ(D(2024, 2, 29).AddYears(-1), D(2023, 2, 28));
}

TEST(Date, RefusesToLeaveTheSupportedYears) {
  for (const auto& step :
       {+[] { return D(9999, 12, 31).AddDays(1); }, +[] { return D(100, 1, 1).AddDays(-1); },
        +[] { return D(2014, 1, 1).AddDays(2'000'000'000); },
        +[] { return D(9999, 12, 1).AddMonths(1); }, +[] { return D(2014, 1, 1).AddYears(9000); },
        +[] { return D(2014, 1, 1).AddYears(-2'000'000'000); }}) {
    try {
      step();
      ADD_FAILURE() << "left the range";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.number(), failure::kInvalidArgument);
    }
  }
}

TEST(Date, OrdersDatesAndDateTimesChronologically) {
  EXPECT_LT(D(2013, 12, 31), D(2014, 1, 1));
  EXPECT_LT((DateTime{D(2014, 3, 5), T(23, 59, 59)}), (DateTime{D(2014, 3, 6), Time()}));
  EXPECT_EQ((DateTime{D(2014, 3, 5), Time()}), (DateTime{D(2014, 3, 5), T(0, 0, 0)}));
}

TEST(DateFormat, WritesDatesAndTwelveHourTimes) {
  EXPECT_EQ(FormatDate(D(2014, 3, 5)), "05-Mar-2014");
  EXPECT_EQ(FormatDate(D(100, 1, 1)), "01-Jan-0100");
  EXPECT_EQ(FormatDate(Date()), "30-Dec-1899");

  struct Case {
    Time time;
    std::string_view shown;
  };
  const Case cases[] = {
      {T(0, 30, 5), "12:30:05 AM"},   {T(11, 59, 59), "11:59:59 AM"}, {T(12, 0, 0), "12:00:00 PM"},
      {T(14, 5, 9), "02:05:09 PM"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatTime(c.time), c.shown);
  EXPECT_EQ(FormatDateTime({D(2014, 3, 5), T(14, 5, 0)}), "05-Mar-2014 02:05:00 PM");
}

TEST(DateFormat, KnowsEnglishMonthNames) {
  EXPECT_EQ(MonthAbbreviation(12), "Dec");
  EXPECT_EQ(MonthFromName("Jan"), 1);
  EXPECT_EQ(MonthFromName("september"), 9);
  EXPECT_EQ(MonthFromName("MAY"), 5);
  EXPECT_FALSE(MonthFromName("Sept"));
  EXPECT_FALSE(MonthFromName(""));
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

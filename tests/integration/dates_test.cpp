// Dates, the back end's clock, the new-tariff date and amount sums.
#include "integration/dates.h"

#include <gtest/gtest.h>

#include "base/date_format.h"
#include "base/date_reader.h"
#include "fake_components.h"
#include "fake_ports.h"

namespace cn::testing {
namespace {

TEST(GetSystemDateTime, TheBackEndClockWinsAndTheLocalOneFillsAnEmptyReply) {
  FakeWorld world;
  const FixedClock clock({*Date::FromYmd(2026, 3, 5), *Time::FromHms(14, 5, 9)});
  EXPECT_EQ(GetSystemDateTime(world.components, clock), "05-Mar-2026 02:05:09 PM");

  world.backend.Answer("KivoInsurance.Find.FindSystemDateTime", "", "2024-01-05 09:30:00");
  EXPECT_EQ(GetSystemDateTime(world.components, clock), "05-Jan-2024 09:30:00 AM");
  EXPECT_EQ(world.backend.sent().back(),
            (SentCommand{"KivoInsurance.Find.FindSystemDateTime", ""}));

  world.backend.Answer("KivoInsurance.Find.FindSystemDateTime", "", "not a date");
  EXPECT_THROW(GetSystemDateTime(world.components, clock), RuntimeFailure);
}

TEST(ReadNewTariffDate, ThirdFieldOfTheParameterOrTheFirstOfJanuary2020) {
  const struct {
    std::string reply;
    std::int32_t status;
    std::string before, expected;
  } cases[] = {
      {Fields({"1127", "New tariff", "1-7-2022"}), 0, "", "01-Jul-2022"},
      {Fields({"1127", "New tariff", ""}), 0, "15-Mar-2021", "01-Jan-2020"},
      {Fields({"1127", "New tariff"}), 0, "", "01-Jan-2020"},
      {Fields({"1127", "New tariff", "1-7-2022"}), 1, "2021-03-15", "15-Mar-2021"},
      {"", 1, "", "01-Jan-2020"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    FakeWorld world;
    world.backend.Answer("KivoInsurance.Maintenance.ReadSystemParameterByCode", "1127", c.reply,
                         c.status);
    std::string target = c.before;
    ReadNewTariffDate(world.components, target);
    EXPECT_EQ(target, c.expected);
    EXPECT_EQ(world.backend.sent().size(), 1u);
  }
}

TEST(ExpiryFromEffective, OneYearLessADayExceptFromALeapDay) {
  const std::pair<const char*, const char*> cases[] = {{"15-Mar-2024", "14-Mar-2025"},
      {"29-Feb-2024", "28-Feb-2025"}, {"01-Mar-2024", "28-Feb-2025"}, {"28-Feb-2024", "27-Feb-2025"}};
  for (const auto& [effective, expiry] : cases)
    EXPECT_EQ(FormatDate(ExpiryFromEffective(*ReadDate(effective))), expiry) << effective;
}

TEST(YearsBetween, CountsCalendarYearsOnly) {
  const struct {
    std::optional<std::string_view> first, second;
    int expected;
  } cases[] = {
      // clang-format off
      {"31-Dec-1999", "01-Jan-2000", 1}, {"01-Jan-2000", "31-Dec-2000", 0}, {"01-Jan-2026", "31-Dec-2020", -6},
      {"", "01-Jan-2000", 26}, {"01-Jan-2000", "", 26}, {"", std::nullopt, 26}, {std::nullopt, "01-Jan-2000", 0},
      {"01-Jan-2000", std::nullopt, 0}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(YearsBetween(c.first, c.second), c.expected) << c.first.value_or("-") << c.second.value_or("-");
  EXPECT_THROW(YearsBetween("soon", "01-Jan-2000"), RuntimeFailure);
}

TEST(IsYearNotBefore, EmptyAndNonDatesPass) {
  const struct {
    const char *date, *year;
    bool passes;
  } cases[] = {{"", "1900", true}, {"01-Jan-1850", "", true}, {"tomorrow", "1900", true},
               {"01-Jan-1900", "1900", true}, {"31-Dec-1950", "1900", true}, {"31-Dec-1899", "1900", false}};
  for (const auto& c : cases) EXPECT_EQ(IsYearNotBefore(c.date, c.year), c.passes) << c.date;
  EXPECT_THROW(IsYearNotBefore("01-Jan-1950", "19x0"), RuntimeFailure);
}

TEST(SumAmounts, AddsInFixedPointAndWritesTwoDecimals) {
  const struct {
    const char *a, *b, *c, *expected;
  } cases[] = {
      {"0.1", "0.2", "", "0.30"}, {"1,000.10", "200", "0.05", "1,200.15"}, {"-5", "2", "", "-3.00"},
      {"", "2", "3", ""}, {"1", "", "3", ""}};
  for (const auto& c : cases)
    EXPECT_EQ(SumAmounts(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
  EXPECT_THROW(SumAmounts("1", "two", ""), RuntimeFailure);
}

TEST(IsNotEmpty, SpacesAloneAreEmpty) {
  EXPECT_EQ((std::vector{IsNotEmpty(""), IsNotEmpty("   "), IsNotEmpty(" x ")}),
            (std::vector{false, false, true}));
}

}  // namespace
}  // namespace cn::testing

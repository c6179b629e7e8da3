// Identity-card numbers: normalising, formatting and the birth date.
#include "integration/ic_numbers.h"

#include <gtest/gtest.h>

#include "fake_components.h"
#include "fake_ports.h"

namespace cn::testing {
namespace {

const ShownMessage kNewIC{2310003, "Invalid IC Number", {"New", "800111-01-1123", "", "", ""}},
    kOldIC{2310003, "Invalid IC Number", {"Old", "A1234567", "", "", ""}};

struct ICCase {
  const char *input, *expected;
  bool message;  // message 2310003 shown
};

// Each case in a fresh world: what `check` returns, and whether it showed `message`.
template <std::size_t N, typename Check>
void ExpectEach(const ICCase (&cases)[N], const ShownMessage& message, Check check) {
  for (const ICCase& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.input + "\"");
    FakeWorld world;
    EXPECT_EQ(check(world.components, c.input), c.expected);
    EXPECT_EQ(world.messages.shown,
              c.message ? std::vector<ShownMessage>{message} : std::vector<ShownMessage>{});
  }
}

TEST(NormaliseICDashes, DropsLeadingAndDoubledDashes) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""}, {"-", "-"}, {"--80-01", "80-01"}, {"80-01-", "80-01-"}, {"8---0", "8-0"}};
  for (const auto& [input, expected] : cases) EXPECT_EQ(NormaliseICDashes(input), expected);
}

// 32 is neither a day nor a month; month 13 reads as month/day; 30 Feb is no date and there
// is no month 30; eleven digits are too few; "nil" and "na" in capitals or small letters
// stand for none, not "Nil".
TEST(FormatNewIC, WritesValidNumbersWithTwoDashesAndRejectsTheRest) {
  // clang-format off
  const ICCase cases[] = {
      {"800111011123", "800111-01-1123", false},   {" 800111011123 ", "800111-01-1123", false},
      {"800111-01-1123", "800111-01-1123", false}, {"801301011123", "801301-01-1123", false},
      {"800111/01/1123", "0", true}, {"803232011123", "0", true},   {"800230011123", "0", true},
      {"800111-0A-1123", "0", true}, {"80011101112", "0", true},    {"Nil", "0", true},
      {"  nil  ", "-", false},       {"NIL", "-", false},           {"na", "-", false},
      {"NA", "-", false},            {"-", "-", false},             {"", "", false},
      {"   ", "", false}};
  // clang-format on
  ExpectEach(cases, kNewIC, [](auto& c, auto input) { return FormatNewIC(c, input, true); });
}

TEST(FormatOldIC, AtMostEightCharacters) {
  const ICCase cases[] = {
      {"A1234567", "A1234567", false}, {" A123 ", "A123", false}, {"A12345678", "0", true},
      {" nil ", "-", false},           {"", "", false},           {"123456789012", "0", true},
  };
  ExpectEach(cases, kOldIC, [](auto& c, auto input) { return FormatOldIC(c, input); });
}

TEST(DOBFromNewIC, BirthDateWithTheYearWindowAgainstToday) {
  const FixedClock clock({*Date::FromYmd(2026, 6, 1), Time()});
  // 2028 would be in the future; month 13 is never a birth month; 29 Feb 2001 is no date;
  // only the written form is read.
  // clang-format off
  const ICCase cases[] = {
      {"800111-01-1123", "11-01-80", false}, {"280111-01-1123", "11-01-1928", false},
      {"260111-01-1123", "11-01-26", false}, {"000229-01-1123", "29-02-00", false},
      {"801311-01-1123", "", true},  {"800132-01-1123", "", true},  {"010229-01-1123", "", true},
      {"800111011123", "", false},   {"", "", false}};
  // clang-format on
  ExpectEach(cases, kNewIC, [&](auto& c, auto i) { return DOBFromNewIC(c, clock, i, true); });
  FakeWorld quiet;  // no message when not asked for one
  EXPECT_EQ(DOBFromNewIC(quiet.components, clock, "801311-01-1123", false), "");
  EXPECT_EQ(FormatNewIC(quiet.components, "800111/01/1123", false), "0");
  EXPECT_TRUE(quiet.messages.shown.empty());
}

}  // namespace
}  // namespace cn::testing

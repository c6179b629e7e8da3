#include "base/number_format.h"

#include <gtest/gtest.h>

#include <limits>

#include "failure_text.h"

namespace cn {
namespace {

Currency C(std::string_view text) { return Currency::Parse(text); }

// Amounts shown with a number of decimals in the fixed locale; halves go away from zero and
// there is no "-0.00". Decimals 2 is also what money2 shows.
TEST(NumberFormat, WritesAmountsWithTheirDecimalsInTheFixedLocale) {
  struct Case { std::string_view value; int decimals; std::string_view shown; };
  const Case cases[] = {
      {"1234.5", 2, "1,234.50"}, {"-0.5", 2, "-0.50"}, {"0", 2, "0.00"},
      {"1000000", 2, "1,000,000.00"}, {"-1234567.891", 2, "-1,234,567.89"}, {"0.005", 2, "0.01"},
      {"-0.005", 2, "-0.01"}, {"0.0049", 2, "0.00"}, {"-0.0049", 2, "0.00"},
      {"999.995", 2, "1,000.00"}, {"922337203685477.5807", 2, "922,337,203,685,477.58"},
      {"1234.4999", 0, "1,234"}, {"-1234.5", 0, "-1,235"}, {"-0.4", 0, "0"}, {"0.25", 1, "0.3"},
      {"1234.5675", 3, "1,234.568"}, {"999", 0, "999"}, {"-0.0001", 4, "-0.0001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " / " + std::to_string(c.decimals));
    EXPECT_EQ(FormatNumber(C(c.value), c.decimals), c.shown);
    EXPECT_EQ(FormatNumber(c.value, c.decimals), c.shown);
    if (c.decimals == 2) {
      EXPECT_EQ(FormatMoney2(C(c.value)), c.shown);
      EXPECT_EQ(FormatMoney2(c.value), c.shown);
    }
  }
  EXPECT_EQ(FormatMoney2(Currency::FromUnits(std::numeric_limits<std::int64_t>::min())),
            "-922,337,203,685,477.58");
  for (const int decimals : {-1, 5})
    EXPECT_EQ(FailureText([&] { FormatNumber(C("1"), decimals); }).substr(0, 3), "5: ") << decimals;
}

// Record amounts are already money2 text and are formatted again on every transfer.
TEST(NumberFormat, RereadsItsOwnTextUnchangedAndRejectsNonNumbers) {
  for (const std::string_view shown : {"1,234.50", "-1,234.50", "0.00", "1,000,000.00"})
    EXPECT_EQ(FormatMoney2(shown), shown);
  EXPECT_EQ(FormatMoney2(" 1,234.5 "), "1,234.50");
  for (const std::string_view text : {"", "abc", "12-", "1.2.3"})
    EXPECT_EQ(FailureText([&] { FormatMoney2(text); }).substr(0, 4), "13: ") << text;
}

TEST(NumberFormat, TellsNumbersFromOtherText) {
  const std::pair<std::string_view, bool> cases[] = {
      {" 800111011123 ", true}, {"1,234.5", true}, {".5", true},
      {"99999999999999999999999", true}, {"800111-01-1123", false}, {"", false}, {"-", false},
      {"1e5", false}, {"1.2.3", false}, {"A1234567", false},
  };
  for (const auto& [text, numeric] : cases) EXPECT_EQ(IsNumeric(text), numeric) << text;
}

}  // namespace
}  // namespace cn

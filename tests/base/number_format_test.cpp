#include "base/number_format.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/runtime_failure.h"

namespace cn {
namespace {

Currency C(std::string_view text) { return Currency::Parse(text); }

TEST(NumberFormat, WritesMoneyWithTwoDecimalsInTheFixedLocale) {
  struct Case {
    std::string_view value, shown;
  };
  const Case cases[] = {
      {"1234.5", "1,234.50"},
      {"-0.5", "-0.50"},
      {"0", "0.00"},
      {"1000000", "1,000,000.00"},
      {"-1234567.891", "-1,234,567.89"},
      {"0.005", "0.01"},
      {"-0.005", "-0.01"},  // halves go away from zero
      {"0.0049", "0.00"},
      {"-0.0049", "0.00"},  // no "-0.00"
      {"999.995", "1,000.00"},
      {"922337203685477.5807", "922,337,203,685,477.58"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(FormatMoney2(C(c.value)), c.shown);
    EXPECT_EQ(FormatMoney2(c.value), c.shown);
  }
  EXPECT_EQ(FormatMoney2(Currency::FromUnits(std::numeric_limits<std::int64_t>::min())),
            "-922,337,203,685,477.58");
}

TEST(NumberFormat, WritesOtherDecimalCounts) {
  struct Case {
    std::string_view value;
    int decimals;
    std::string_view shown;
  };
  const Case cases[] = {
      {"1234.4999", 0, "1,234"}, {"-1234.5", 0, "-1,235"}, {"-0.4", 0, "0"},
      {"0.25", 1, "0.3"},        {"1234.5675", 3, "1,234.568"}, {"999", 0, "999"},
      {"-0.0001", 4, "-0.0001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " / " + std::to_string(c.decimals));
    EXPECT_EQ(FormatNumber(C(c.value), c.decimals), c.shown);
    EXPECT_EQ(FormatNumber(c.value, c.decimals), c.shown);
  }
  for (const int decimals : {-1, 5}) {
    try {
      FormatNumber(C("1"), decimals);
      ADD_FAILURE() << decimals << " decimals accepted";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.number(), failure::kInvalidArgument);
    }
  }
}

// Record amounts are already money2 text and are formatted again on every transfer.
TEST(NumberFormat, RereadsItsOwnTextUnchangedAndRejectsNonNumbers) {
  for (const std::string_view shown : {"1,234.50", "-1,234.50", "0.00", "1,000,000.00"}) {
    EXPECT_EQ(FormatMoney2(shown), shown);
  }
  EXPECT_EQ(FormatMoney2(" 1,234.5 "), "1,234.50");
  for (const std::string_view text : {"", "abc", "12-", "1.2.3"}) {
    SCOPED_TRACE(text);
    try {
      FormatMoney2(text);
      ADD_FAILURE() << "accepted";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.number(), failure::kTypeMismatch);
    }
  }
}

TEST(NumberFormat, TellsNumbersFromOtherText) {
  struct Case {
    std::string_view text;
    bool numeric;
  };
  const Case cases[] = {
      {" 800111011123 ", true},
      {"1,234.5", true},
      {".5", true},
      {"99999999999999999999999", true},
      {"800111-01-1123", false},
      {"", false},
      {"-", false},
      {"1e5", false},
      {"1.2.3", false},
      {"A1234567", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsNumeric(c.text), c.numeric);
  }
}

}  // namespace
}  // namespace cn

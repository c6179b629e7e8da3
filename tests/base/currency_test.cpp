#include "base/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "base/runtime_failure.h"

namespace cn {
namespace {

Currency C(std::string_view text) { return Currency::Parse(text); }

struct ParseCase {
  std::string_view typed;
  std::string_view plain;  // ToPlainText of the result
};

// What administrators type into amount boxes, and what the back end is sent.
TEST(Currency, ReadsWhatUsersTypeAndWritesPlainText) {
  const ParseCase cases[] = {
      {"1,234.50", "1234.5"},
      {" -12", "-12"},
      {".5", "0.5"},
      {"-0.50", "-0.5"},
      {"+7.25", "7.25"},
      {"5.", "5"},
      {"000123.40", "123.4"},
      {"12,34", "1234"},
      {"-0", "0"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(C(c.typed).ToPlainText(), c.plain);
    ASSERT_TRUE(Currency::TryParse(c.typed).has_value());
    EXPECT_EQ(*Currency::TryParse(c.typed), C(c.typed));
  }
}

TEST(Currency, RejectsNonNumbersAsTypeMismatch) {
  const std::string_view rejected[] = {"",   "   ", "1.2.3", "12-", "1,,2", ",5",
                                       "5,", "- 5", "--1",   "1e5", "1 234", ".",
                                       "-",  "0x10", "1.5,0", "\xD9\xA5"};  // an Arabic-Indic five
  for (const std::string_view text : rejected) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(Currency::TryParse(text).has_value());
    try {
      C(text);
      ADD_FAILURE() << "accepted";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.number(), failure::kTypeMismatch);
      EXPECT_EQ(failure.description(), "Type mismatch");
    }
  }
}

TEST(Currency, KeepsFourDecimalsRoundingHalfAwayFromZero) {
  const ParseCase cases[] = {
      {"0.00005", "0.0001"}, {"-0.00005", "-0.0001"}, {"0.00004999", "0"},
      {"1.234449", "1.2344"}, {"-2.99995", "-3"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(C(c.typed).ToPlainText(), c.plain);
  }
}

TEST(Currency, CoversTheFullRangeAndReportsOverflow) {
  const Currency max = Currency::FromUnits(std::numeric_limits<std::int64_t>::max());
  const Currency min = Currency::FromUnits(std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(C("922,337,203,685,477.5807"), max);
  EXPECT_EQ(C("-922337203685477.5808"), min);
  EXPECT_EQ(min.ToPlainText(), "-922337203685477.5808");

  const std::string_view too_large[] = {"922337203685477.5808", "-922337203685477.58085",
                                        "1000000000000000", "99999999999999999999999999"};
  for (const std::string_view text : too_large) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(Currency::TryParse(text).has_value());
    try {
      C(text);
      ADD_FAILURE() << "accepted";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.number(), failure::kOverflow);
    }
  }
  const Currency tiny = C("0.0001");
  EXPECT_THROW(max + tiny, RuntimeFailure);
  EXPECT_THROW(min - tiny, RuntimeFailure);
  EXPECT_THROW(-min, RuntimeFailure);
  EXPECT_THROW(Currency::FromWhole(1'000'000'000'000'000), RuntimeFailure);
}

TEST(Currency, AddsExactlyAndCompares) {
  EXPECT_EQ(C("0.1") + C("0.2"), C("0.3"));
  EXPECT_EQ(C("1,000.00") - C("1,000.01"), C("-0.01"));
  Currency total;
  for (int i = 0; i < 1000; ++i) total += C("0.01");
  EXPECT_EQ(total, C("10"));
  EXPECT_LT(C("-0.01"), Currency());
  EXPECT_EQ(Currency::FromWhole(-3), C("-3"));
  EXPECT_DOUBLE_EQ(C("-1234.5678").ToDouble(), -1234.5678);
}

TEST(Currency, MultipliesByARateRoundingToFourDecimals) {
  struct Case {
    std::string_view amount, rate, product;
  };
  const Case cases[] = {
      {"100.00", "0.06", "6"},
      {"123.45", "0.0625", "7.7156"},  // 7.715625
      {"-1.0001", "1.5", "-1.5002"},  // exact halves
      {"0.0001", "0.5", "0.0001"},
      {"12.3456", "0.0001", "0.0012"},
      {"500,000,000,000", "0.5", "250000000000"},  // the product needs more than 64 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.amount) + " x " + std::string(c.rate));
    EXPECT_EQ((C(c.amount) * C(c.rate)).ToPlainText(), c.product);
  }
  EXPECT_EQ(C("33.3333") * std::int64_t{3}, C("99.9999"));
  EXPECT_THROW(C("900,000,000,000") * C("10000"), RuntimeFailure);
}

// Commission is computed in floating point and kept as an amount.
TEST(Currency, TakesFloatingPointFiguresAtFifteenSignificantDigits) {
  EXPECT_EQ(Currency::FromDouble(1234.55 * 10 / 100), C("123.455"));
  EXPECT_EQ(Currency::FromDouble(8.00035), C("8.0004"));  // stored just below the half
  EXPECT_EQ(Currency::FromDouble(-0.00005), C("-0.0001"));
  EXPECT_THROW(Currency::FromDouble(std::nan("")), RuntimeFailure);
  EXPECT_THROW(Currency::FromDouble(-std::numeric_limits<double>::infinity()), RuntimeFailure);
}

}  // namespace
}  // namespace cn

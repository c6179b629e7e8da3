#include "base/currency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "failure_text.h"

namespace cn {
namespace {

Currency C(std::string_view text) { return Currency::Parse(text); }

// What administrators type into amount boxes, and what the back end is sent (four decimals,
// halves away from zero), or the start of the failure when the text is refused.
TEST(Currency, ReadsWhatUsersTypeAndWritesPlainTextOrRefusesIt) {
  const std::string_view mismatch = "13: Type mismatch", overflow = "6: ";
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"1,234.50", "1234.5"}, {" -12", "-12"}, {".5", "0.5"}, {"-0.50", "-0.5"}, {"+7.25", "7.25"},
      {"5.", "5"}, {"000123.40", "123.4"}, {"12,345", "12345"}, {"-1,234,567", "-1234567"},
      {"-0", "0"},
      {"0.00005", "0.0001"}, {"-0.00005", "-0.0001"}, {"0.00004999", "0"},
      {"1.234449", "1.2344"}, {"-2.99995", "-3"},
      {"922,337,203,685,477.5807", "922337203685477.5807"},
      {"-922337203685477.5808", "-922337203685477.5808"},
      {"", mismatch}, {"   ", mismatch}, {"1.2.3", mismatch}, {"12-", mismatch}, {"1,,2", mismatch},
      {",5", mismatch}, {"5,", mismatch}, {"- 5", mismatch}, {"--1", mismatch}, {"1e5", mismatch},
      {"1 234", mismatch}, {".", mismatch}, {"-", mismatch}, {"0x10", mismatch},
      // Grouping in threes only.
      {"12,34", mismatch}, {"1,2345", mismatch}, {"1,,234", mismatch}, {"1234,567", mismatch},
      {"1.5,0", mismatch}, {"\xD9\xA5", mismatch},  // an Arabic-Indic five
      {"922337203685477.5808", overflow}, {"-922337203685477.58085", overflow},
      {"1000000000000000", overflow}, {"99999999999999999999999999", overflow},
  };
  for (const auto& [typed, plain] : cases) {
    SCOPED_TRACE(typed);
    const std::string failure = FailureText([&] { C(typed); });
    if (failure == "no failure") {
      EXPECT_EQ(C(typed).ToPlainText(), plain);
      EXPECT_EQ(Currency::TryParse(typed), C(typed));
    } else {
      EXPECT_EQ(failure.substr(0, plain.size()), plain);
      EXPECT_FALSE(Currency::TryParse(typed).has_value());
    }
  }
}

TEST(Currency, AddsSubtractsAndMultipliesExactlyWithinItsRange) {
  const Currency max = Currency::FromUnits(std::numeric_limits<std::int64_t>::max());
  const Currency min = Currency::FromUnits(std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(C("922337203685477.5807"), max);
  EXPECT_EQ(C("-922337203685477.5808"), min);
  const Currency tiny = C("0.0001");
  EXPECT_THROW(max + tiny, RuntimeFailure);
  EXPECT_THROW(min - tiny, RuntimeFailure);
  EXPECT_THROW(-min, RuntimeFailure);
  EXPECT_THROW(Currency::FromWhole(1'000'000'000'000'000), RuntimeFailure);

  EXPECT_EQ(C("0.1") + C("0.2"), C("0.3"));
  EXPECT_EQ(C("1,000.00") - C("1,000.01"), C("-0.01"));
  Currency total;
  for (int i = 0; i < 1000; ++i) total += C("0.01");
  EXPECT_EQ(total, C("10"));
  EXPECT_LT(C("-0.01"), Currency());
  EXPECT_EQ(Currency::FromWhole(-3), C("-3"));
  EXPECT_DOUBLE_EQ(C("-1234.5678").ToDouble(), -1234.5678);

  // By a rate, rounding to four decimals.
  struct Case { std::string_view amount, rate, product; };
  const Case cases[] = {
      {"100.00", "0.06", "6"},        {"123.45", "0.0625", "7.7156"},  // 7.715625
      {"-1.0001", "1.5", "-1.5002"},  // exact halves
      {"0.0001", "0.5", "0.0001"},    {"12.3456", "0.0001", "0.0012"},
      {"500,000,000,000", "0.5", "250000000000"},  // the product needs more than 64 bits
  };
  for (const Case& c : cases)
    EXPECT_EQ((C(c.amount) * C(c.rate)).ToPlainText(), c.product) << c.amount << " x " << c.rate;
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

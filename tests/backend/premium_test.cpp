// The premium commands: the requests they read, the tariff they rate by and the
// replies they give.

#include <gtest/gtest.h>

#include "backend/premium_request.h"
#include "base/separators.h"
#include "base/text.h"

namespace cn::backend::testing {
namespace {

std::string Record(std::size_t count, std::size_t position, std::string_view value) {
  std::vector<std::string> fields(count);
  fields[position] = std::string(value);
  return Join(fields, FieldSeparator);
}

TEST(PremiumRequest, EachLayoutReadsItsOwnCountOfFieldsAndChecksEachValue) {
  const std::string list = Join({"1500", "", "2.5"}, DialogArgSeparator);
  struct Case {
    std::span<const RequestRow> layout;
    std::size_t count, position;
    std::string value;
    bool reads;
  };
  const Case cases[] = {
      {V10RequestLayout(), 51, 5, "48000.5", true},
      {V10RequestLayout(), 51, 5, "48,000.50", true},
      {V10RequestLayout(), 51, 5, "4800O", false},            // sum insured
      {V10RequestLayout(), 51, 8, "01-Mar-2025", true},
      {V10RequestLayout(), 51, 8, "2025-03-01", false},       // not dd-MMM-yyyy
      {V10RequestLayout(), 51, 8, "31-Apr-2025", false},
      {V10RequestLayout(), 51, 10, "2x", false},              // claims
      {V10RequestLayout(), 51, 6, "yes", false},              // trailer flag
      {V10RequestLayout(), 51, 26, list, true},
      {V10RequestLayout(), 51, 26, list + "x", false},        // extended sum insured
      {V10RequestLayout(), 51, 0, "PC" + std::string(DialogArgSeparator), false},
      {V10ExRequestLayout(), 45, 16, "2", false},             // "entered" flag
      {V10PreviousRequestLayout(), 57, 40, "lots", false},    // total premium
      {NewTariffRequestLayout(), 44, 19, "five", false},      // NCD years
      {NewTariffPreviousRequestLayout(), 51, 49, "soon", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadFactors(c.layout, Record(c.count, c.position, c.value)).has_value(), c.reads)
        << c.count << " @" << c.position << " " << c.value;
  }
  for (const auto& [layout, count] : {std::pair{V10RequestLayout(), 51}, {V10ExRequestLayout(), 45},
                                      {V10PreviousRequestLayout(), 57},
                                      {NewTariffRequestLayout(), 44},
                                      {NewTariffPreviousRequestLayout(), 51}}) {
    EXPECT_TRUE(ReadFactors(layout, Record(count, 0, "")));
    EXPECT_FALSE(ReadFactors(layout, Record(count - 1, 0, ""))) << count;
    EXPECT_FALSE(ReadFactors(layout, Record(count + 1, 0, ""))) << count;
  }
}

TEST(PremiumRequest, NotEnteredFiguresAreLeftEmptyInBothEncodings) {
  std::vector<std::string> v10(51);
  v10[14] = "-1";
  v10[21] = "350.25";
  const auto current = ReadFactors(V10RequestLayout(), Join(v10, FieldSeparator));
  ASSERT_TRUE(current);
  EXPECT_FALSE(current->Has(Factor::kLoadPercentage));
  EXPECT_EQ(current->Amount(Factor::kTariffPremium), Currency::Parse("350.25"));

  std::vector<std::string> ex(45);
  ex[15] = "10";
  ex[16] = "1";  // not entered
  ex[18] = "350.25";
  ex[19] = "0";  // entered
  const auto amended = ReadFactors(V10ExRequestLayout(), Join(ex, FieldSeparator));
  ASSERT_TRUE(amended);
  EXPECT_FALSE(amended->Has(Factor::kLoadPercentage));
  EXPECT_EQ(amended->Amount(Factor::kTariffPremium), Currency::Parse("350.25"));
}

}  // namespace
}  // namespace cn::backend::testing

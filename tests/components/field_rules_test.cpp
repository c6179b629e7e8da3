#include <limits>

#include "base/date_reader.h"
#include "components/field_rule_service.h"
#include "components_fixture.h"

namespace cn::components::testing {
namespace {

Currency Amount(std::string_view text) { return Currency::Parse(text); }
Date On(std::string_view text) { return *ReadDate(text); }

class FieldRulesTest : public ComponentsTest {
 protected:
  StoreFieldRules rules_{backend_, clock_};
};

// Each rule at and beyond its limits: an accepted value gives no message, a refusal names the
// limits it broke. Today is 15-Jun-2025.
TEST_F(FieldRulesTest, EachLimitAcceptsItsEndsAndRefusesBeyondThemNamingThem) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::pair<std::string, std::string_view> cases[] = {
      // Private cars: the class minimum 10,000 for covers of the vehicle itself; third party
      // only insures nothing of the vehicle, so 0 will do; the trailer class has its own minimum.
      {rules_.CheckSumInsured(Amount("10000"), 1, "PC1"), ""},
      {rules_.CheckSumInsured(Amount("9999.99"), 1, "PC1"), "10,000.00 and 2,000,000.00"},
      {rules_.CheckSumInsured(Amount("0"), 3, "PC1"), ""},
      {rules_.CheckSumInsured(Amount("-0.01"), 3, "PC1"), "0.00 and 2,000,000.00"},
      {rules_.CheckSumInsured(Amount("19999.99"), 1, "CV3"), "20,000.00 and 5,000,000.00"},
      {rules_.CheckSumInsured(Amount("999.99"), 1, "MC1"), "1,000.00 and 200,000.00"},
      {rules_.CheckSumInsured(Amount("200000.01"), 1, "MC2"), "1,000.00 and 200,000.00"},
      // Unknown class or scope: the message says what to check.
      {rules_.CheckSumInsured(Amount("50000"), 1, "XX9"), "class \"XX9\""},
      {rules_.CheckSumInsured(Amount("50000"), 0, "PC1"), "no limits are set"},
      {rules_.CheckCapacity(Amount("0.01")), ""},
      {rules_.CheckCapacity(Amount("0.0099")), "0.01 and 20,000.00"},
      {rules_.CheckCapacity(Amount("20000")), ""},
      {rules_.CheckCapacity(Amount("20000.0001")), "0.01 and 20,000.00"},
      {rules_.CheckSeatingCapacity(0), "1 and 60"}, {rules_.CheckSeatingCapacity(1), ""},
      {rules_.CheckSeatingCapacity(61), "1 and 60"},
      // Vehicles up to forty years old are insured.
      {rules_.CheckYearMade(2025), ""}, {rules_.CheckYearMade(2026), "later than 2025"},
      {rules_.CheckYearMade(1985), ""}, {rules_.CheckYearMade(1984), "before 1985"},
      {rules_.CheckLicenceDate(On("15-Jun-2025")), ""},
      {rules_.CheckLicenceDate(On("16-Jun-2025")), "later than today (15-Jun-2025)"},
      {rules_.CheckLicenceDate(On("15-Jun-1945")), ""},
      {rules_.CheckLicenceDate(On("14-Jun-1945")), "more than 80 years ago"},
      {rules_.CheckAccidentDate(On("15-Jun-2025")), ""},
      {rules_.CheckAccidentDate(On("16-Jun-2025")), "accident date cannot be later than today"},
      {rules_.CheckAccidentDate(On("15-Jun-2020")), ""},
      {rules_.CheckAccidentDate(On("14-Jun-2020")), "more than 5 years ago (before 15-Jun-2020)"},
      {rules_.CheckExtendedSumInsured(Amount("0.99")), "1.00 and 500,000.00"},
      {rules_.CheckExtendedSumInsured(Amount("1")), ""},
      {rules_.CheckExtendedSumInsured(Amount("500000")), ""},
      {rules_.CheckExtendedSumInsured(Amount("500000.01")), "1.00 and 500,000.00"},
      {rules_.CheckExtendedPremium(Amount("20"), Amount("20")), ""},
      {rules_.CheckExtendedPremium(Amount("19.99"), Amount("20")), "minimum premium of 20.00"},
      {rules_.CheckExtendedPremium(Amount("100000.01"), Amount("0")), "0.00 and 100,000.00"},
      {rules_.CheckExtendedPremium(Amount("-1"), Amount("-5")), "0.00 and 100,000.00"},
      {rules_.CheckPercentage(0.0F), ""}, {rules_.CheckPercentage(100.0F), ""},
      {rules_.CheckPercentage(100.01F), "0.00 and 100.00"},
      {rules_.CheckPercentage(-0.01F), "0.00 and 100.00"},
      {rules_.CheckPercentage(nan), "0.00 and 100.00"},
  };
  for (std::size_t row = 0; row < std::size(cases); ++row) {
    const auto& [message, names] = cases[row];
    if (names.empty()) {
      EXPECT_EQ(message, "") << "row " << row;
    } else {
      EXPECT_NE(message.find(names), std::string::npos) << "row " << row << ": " << message;
    }
  }
}

TEST_F(FieldRulesTest, LimitsAreTheDatabasesAndCountAtOnceWhenChanged) {
  EXPECT_EQ(rules_.CheckSeatingCapacity(10), "");
  backend_->WithDatabase([](backend::Database& db) {
    db.ExecuteScript("UPDATE field_rule_limit SET high = 9 WHERE rule = 'seating_capacity';"
                     "UPDATE motor_class SET min_sum_insured = 150000000 WHERE code = 'PC1';");
  });
  EXPECT_EQ(rules_.CheckSeatingCapacity(10), "The seating capacity must be between 1 and 9.");
  EXPECT_NE(rules_.CheckSumInsured(Amount("14999"), 1, "PC1"), "");
  EXPECT_EQ(rules_.CheckSumInsured(Amount("14999"), 1, "PC2"), "");

  backend_->WithDatabase([](backend::Database& db) {
    db.ExecuteScript("DELETE FROM field_rule_limit WHERE rule = 'capacity';");
  });
  EXPECT_THROW(rules_.CheckCapacity(Amount("1500")), RuntimeFailure);
}

}  // namespace
}  // namespace cn::components::testing

#include <gtest/gtest.h>

#include <limits>
#include <string>

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

// Accepted values give no message; a refusal names the limits it broke.
void ExpectVerdict(const std::string& message, bool accepted, std::string_view names,
                   const std::string& label) {
  if (accepted) {
    EXPECT_EQ(message, "") << label;
  } else {
    EXPECT_NE(message.find(names), std::string::npos) << label << ": " << message;
  }
}

TEST_F(FieldRulesTest, SumInsuredByClassAndScope) {
  struct Case {
    const char* amount;
    std::int32_t scope;
    const char* class_code;
    bool accepted;
    const char* names;
  };
  const Case cases[] = {
      // Private cars: the class minimum 10,000 for covers of the vehicle itself.
      {"10000", 1, "PC1", true, ""},
      {"9999.99", 1, "PC1", false, "10,000.00 and 2,000,000.00"},
      // Third party only: nothing of the vehicle is insured, so 0 will do.
      {"0", 3, "PC1", true, ""},
      {"-0.01", 3, "PC1", false, "0.00 and 2,000,000.00"},
      // The trailer class has its own, higher minimum.
      {"19999.99", 1, "CV3", false, "20,000.00 and 5,000,000.00"},
      {"999.99", 1, "MC1", false, "1,000.00 and 200,000.00"},
      {"200000.01", 1, "MC2", false, "1,000.00 and 200,000.00"},
      // Unknown class or scope: the message says what to check.
      {"50000", 1, "XX9", false, "class \"XX9\""},
      {"50000", 0, "PC1", false, "no limits are set"},
  };
  for (const Case& c : cases) {
    ExpectVerdict(rules_.CheckSumInsured(Amount(c.amount), c.scope, c.class_code), c.accepted,
                  c.names, std::string(c.class_code) + " " + c.amount);
  }
}

TEST_F(FieldRulesTest, VehicleCapacitySeatsAndYearMade) {
  const std::pair<const char*, bool> capacities[] = {
      {"0.01", true}, {"0.0099", false}, {"20000", true}, {"20000.0001", false}};
  for (const auto& [capacity, accepted] : capacities) {
    ExpectVerdict(rules_.CheckCapacity(Amount(capacity)), accepted, "0.01 and 20,000.00",
                  capacity);
  }
  const std::pair<int, bool> seats[] = {{0, false}, {1, true}, {61, false}};
  for (const auto& [count, accepted] : seats) {
    ExpectVerdict(rules_.CheckSeatingCapacity(count), accepted, "1 and 60",
                  std::to_string(count));
  }
  // Today is 15-Jun-2025; vehicles up to forty years old are insured.
  const std::tuple<int, bool, const char*> years[] = {{2025, true, ""},
                                                      {2026, false, "later than 2025"},
                                                      {1985, true, ""},
                                                      {1984, false, "before 1985"}};
  for (const auto& [year, accepted, names] : years) {
    ExpectVerdict(rules_.CheckYearMade(year), accepted, names, std::to_string(year));
  }
}

TEST_F(FieldRulesTest, LicenceAndAccidentDatesLieBetweenTheirLimitAndToday) {
  const std::tuple<const char*, bool, const char*> licence[] = {
      {"15-Jun-2025", true, ""},
      {"16-Jun-2025", false, "later than today (15-Jun-2025)"},
      {"15-Jun-1945", true, ""},
      {"14-Jun-1945", false, "more than 80 years ago"}};
  for (const auto& [date, accepted, names] : licence) {
    ExpectVerdict(rules_.CheckLicenceDate(On(date)), accepted, names, date);
  }
  const std::tuple<const char*, bool, const char*> accident[] = {
      {"15-Jun-2025", true, ""},
      {"16-Jun-2025", false, "accident date cannot be later than today"},
      {"15-Jun-2020", true, ""},
      {"14-Jun-2020", false, "more than 5 years ago (before 15-Jun-2020)"}};
  for (const auto& [date, accepted, names] : accident) {
    ExpectVerdict(rules_.CheckAccidentDate(On(date)), accepted, names, date);
  }
}

TEST_F(FieldRulesTest, ExtendedCoverSumInsuredPremiumAndPercentages) {
  const std::pair<const char*, bool> sums[] = {
      {"0.99", false}, {"1", true}, {"500000", true}, {"500000.01", false}};
  for (const auto& [sum, accepted] : sums) {
    ExpectVerdict(rules_.CheckExtendedSumInsured(Amount(sum)), accepted, "1.00 and 500,000.00",
                  sum);
  }
  const std::tuple<const char*, const char*, bool, const char*> premiums[] = {
      {"20", "20", true, ""},
      {"19.99", "20", false, "minimum premium of 20.00"},
      {"100000.01", "0", false, "0.00 and 100,000.00"},
      {"-1", "-5", false, "0.00 and 100,000.00"}};
  for (const auto& [premium, minimum, accepted, names] : premiums) {
    ExpectVerdict(rules_.CheckExtendedPremium(Amount(premium), Amount(minimum)), accepted,
                  names, premium);
  }
  const std::pair<float, bool> percentages[] = {
      {0.0F, true}, {100.0F, true}, {100.01F, false}, {-0.01F, false},
      {std::numeric_limits<float>::quiet_NaN(), false}};
  for (const auto& [percentage, accepted] : percentages) {
    ExpectVerdict(rules_.CheckPercentage(percentage), accepted, "0.00 and 100.00",
                  std::to_string(percentage));
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

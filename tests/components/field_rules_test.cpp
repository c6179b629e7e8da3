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
  auto& r = rules_;
  const auto sum = [&](const char* a, int scope, const char* cls) { return r.CheckSumInsured(Amount(a), scope, cls); };
  const auto cc = [&](const char* a) { return r.CheckCapacity(Amount(a)); };
  const auto licence = [&](const char* d) { return r.CheckLicenceDate(On(d)); };
  const auto accident = [&](const char* d, int made = 0) { return r.CheckAccidentDate(On(d), made); };
  const auto ext_sum = [&](const char* a) { return r.CheckExtendedSumInsured(Amount(a)); };
  const auto ext = [&](const char* a, const char* min) { return r.CheckExtendedPremium(Amount(a), Amount(min)); };
  // clang-format off
  const std::pair<std::string, std::string_view> cases[] = {
      // Private cars: the class minimum 10,000 for covers of the vehicle itself; third party
      // only insures nothing of the vehicle, so 0 will do; the trailer class has its own minimum.
      {sum("10000", 1, "PC1"), ""}, {sum("9999.99", 1, "PC1"), "10,000.00 and 2,000,000.00"},
      {sum("0", 3, "PC1"), ""}, {sum("-0.01", 3, "PC1"), "0.00 and 2,000,000.00"},
      {sum("19999.99", 1, "CV3"), "20,000.00 and 5,000,000.00"}, {sum("999.99", 1, "MC1"), "1,000.00 and 200,000.00"},
      {sum("200000.01", 1, "MC2"), "1,000.00 and 200,000.00"},
      // Unknown class or scope: the message says what to check.
      {sum("50000", 1, "XX9"), "class \"XX9\""}, {sum("50000", 0, "PC1"), "no limits are set"},
      {cc("0.01"), ""}, {cc("0.0099"), "0.01 and 20,000.00"}, {cc("20000"), ""},
      {cc("20000.0001"), "0.01 and 20,000.00"},
      {r.CheckSeatingCapacity(0), "1 and 60"}, {r.CheckSeatingCapacity(1), ""},
      {r.CheckSeatingCapacity(61), "1 and 60"},
      // Vehicles up to forty years old are insured.
      {r.CheckYearMade(2025), ""}, {r.CheckYearMade(2026), "later than 2025"},
      {r.CheckYearMade(1985), ""}, {r.CheckYearMade(1984), "before 1985"},
      {licence("15-Jun-2025"), ""}, {licence("16-Jun-2025"), "later than today (15-Jun-2025)"},
      {licence("15-Jun-1945"), ""}, {licence("14-Jun-1945"), "more than 80 years ago"},
      {accident("15-Jun-2025"), ""}, {accident("16-Jun-2025"), "accident date cannot be later than today"},
      {accident("15-Jun-2020"), ""}, {accident("14-Jun-2020"), "more than 5 years ago (before 15-Jun-2020)"},
      // Not before the vehicle was made; in its very year will do.
      {accident("01-Jan-2021", 2021), ""},
      {accident("31-Dec-2020", 2021), "The accident date lies before the vehicle was made (2021)."},
      {ext_sum("0.99"), "1.00 and 500,000.00"}, {ext_sum("1"), ""}, {ext_sum("500000"), ""},
      {ext_sum("500000.01"), "1.00 and 500,000.00"}, {ext("20", "20"), ""},
      {ext("19.99", "20"), "minimum premium of 20.00"},
      {ext("100000.01", "0"), "0.00 and 100,000.00"}, {ext("-1", "-5"), "0.00 and 100,000.00"},
      {r.CheckPercentage(0.0F), ""}, {r.CheckPercentage(100.0F), ""}, {r.CheckPercentage(100.01F), "0.00 and 100.00"},
      {r.CheckPercentage(-0.01F), "0.00 and 100.00"}, {r.CheckPercentage(nan), "0.00 and 100.00"}};
  // clang-format on
  for (std::size_t row = 0; row < std::size(cases); ++row) {
    const auto& [message, names] = cases[row];
    EXPECT_TRUE(names.empty() ? message.empty() : message.find(names) != std::string::npos) << row << ": " << message;
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

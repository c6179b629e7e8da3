#pragma once
// The one-value business checks, with their limits read from the database each
// time (so a changed limit counts at once) and "today" from the given clock.
// Each check returns "" for an acceptable value, else the sentence to show.

#include <memory>

#include "base/clock.h"
#include "components/rule_limits.h"
#include "components/shared_backend.h"
#include "integration/components.h"

namespace cn::components {

class StoreFieldRules final : public FieldRuleService {
 public:
  // The clock must outlive the service.
  StoreFieldRules(std::shared_ptr<SharedBackend> backend, const Clock& clock);

  // Not after today, and not further back than the licence_age limit in years.
  std::string CheckLicenceDate(const Date& date) override;
  // Within the limit for the class's kind and the scope, from at least the
  // class's own minimum for covers that pay for the vehicle itself.
  std::string CheckSumInsured(Currency amount, std::int32_t scope_of_cover,
                              std::string_view class_code) override;
  std::string CheckCapacity(Currency amount) override;
  std::string CheckSeatingCapacity(std::int32_t seats) override;
  // Not after this year, and the vehicle no older than the vehicle_age limit.
  std::string CheckYearMade(std::int32_t year) override;
  // Not after today, not further back than the accident_age limit in years, and not in a
  // year before the vehicle was made.
  std::string CheckAccidentDate(const Date& date, std::int32_t year_made) override;
  std::string CheckExtendedSumInsured(Currency amount) override;
  // At least the cover's minimum premium and within the extended_premium limit.
  std::string CheckExtendedPremium(Currency premium, Currency minimum_premium) override;
  std::string CheckPercentage(float percentage) override;
  std::int32_t GetScopeOfCover(std::string_view motor_cover_code) override;

 private:
  Range Limit(std::string_view rule);
  std::string CheckPastDate(const Date& date, std::string_view what, std::string_view rule);

  std::shared_ptr<SharedBackend> backend_;
  const Clock& clock_;
};

}  // namespace cn::components

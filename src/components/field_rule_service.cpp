#include "components/field_rule_service.h"

#include <cmath>
#include <string>
#include <utility>

#include "base/date_format.h"
#include "base/number_format.h"
#include "components/rule_limits.h"

namespace cn::components {
namespace {

std::string_view ScopeName(std::int32_t scope) {
  switch (scope) {
    case 1: return "comprehensive cover";
    case 2: return "third party, fire and theft cover";
    case 3: return "third party cover";
    default: return "this cover";
  }
}

std::string Money(std::int64_t units) { return FormatMoney2(Currency::FromUnits(units)); }

std::string Between(std::string_view what, const std::string& low, const std::string& high) {
  return std::string(what) + " must be between " + low + " and " + high + ".";
}

}  // namespace

StoreFieldRules::StoreFieldRules(std::shared_ptr<SharedBackend> backend, const Clock& clock)
    : backend_(std::move(backend)), clock_(clock) {}

Range StoreFieldRules::Limit(std::string_view rule) {
  return backend_->WithDatabase([&](backend::Database& db) { return ReadRuleLimit(db, rule); });
}

std::string StoreFieldRules::CheckPastDate(const Date& date, std::string_view what,
                                           std::string_view rule) {
  const Date today = clock_.Now().date;
  if (date > today) {
    return "The " + std::string(what) + " cannot be later than today (" + FormatDate(today) +
           ").";
  }
  const Range years = Limit(rule);
  const Date earliest = today.AddYears(-static_cast<int>(years.high));
  if (date < earliest) {
    return "The " + std::string(what) + " cannot be more than " + std::to_string(years.high) +
           " years ago (before " + FormatDate(earliest) + ").";
  }
  return {};
}

std::string StoreFieldRules::CheckLicenceDate(const Date& date) {
  return CheckPastDate(date, "driving licence date", "licence_age");
}

std::string StoreFieldRules::CheckAccidentDate(const Date& date, std::int32_t year_made) {
  std::string message = CheckPastDate(date, "accident date", "accident_age");
  if (!message.empty()) return message;
  // A vehicle cannot have had an accident before it was made.
  if (year_made != 0 && date.year() < year_made) {
    return "The accident date lies before the vehicle was made (" + std::to_string(year_made) +
           ").";
  }
  return {};
}

std::string StoreFieldRules::CheckSumInsured(Currency amount, std::int32_t scope_of_cover,
                                             std::string_view class_code) {
  const auto limit = backend_->WithDatabase([&](backend::Database& db) {
    return ReadSumInsuredLimit(db, class_code, scope_of_cover);
  });
  if (!limit) {
    return "The sum insured cannot be checked: no limits are set for class \"" +
           std::string(class_code) + "\" with " + std::string(ScopeName(scope_of_cover)) +
           ". Please check the class and the motor cover.";
  }
  if (amount < limit->low || amount > limit->high) {
    return Between("The sum insured for class " + std::string(class_code) + " with " +
                       std::string(ScopeName(scope_of_cover)),
                   FormatMoney2(limit->low), FormatMoney2(limit->high));
  }
  return {};
}

std::string StoreFieldRules::CheckCapacity(Currency amount) {
  const Range range = Limit("capacity");
  if (range.Contains(amount.units())) return {};
  return Between("The capacity", Money(range.low), Money(range.high));
}

std::string StoreFieldRules::CheckSeatingCapacity(std::int32_t seats) {
  const Range range = Limit("seating_capacity");
  if (range.Contains(seats)) return {};
  return Between("The seating capacity", std::to_string(range.low), std::to_string(range.high));
}

std::string StoreFieldRules::CheckYearMade(std::int32_t year) {
  const int this_year = clock_.Now().date.year();
  if (year > this_year) {
    return "The year made cannot be later than " + std::to_string(this_year) + ".";
  }
  const Range age = Limit("vehicle_age");
  const std::int64_t oldest = this_year - age.high;
  if (year < oldest) {
    return "Vehicles made before " + std::to_string(oldest) + " (more than " +
           std::to_string(age.high) + " years old) cannot be insured.";
  }
  return {};
}

std::string StoreFieldRules::CheckExtendedSumInsured(Currency amount) {
  const Range range = Limit("extended_sum_insured");
  if (range.Contains(amount.units())) return {};
  return Between("The extended cover's sum insured", Money(range.low), Money(range.high));
}

std::string StoreFieldRules::CheckExtendedPremium(Currency premium, Currency minimum_premium) {
  if (premium < minimum_premium) {
    return "The premium must not be less than the minimum premium of " +
           FormatMoney2(minimum_premium) + ".";
  }
  const Range range = Limit("extended_premium");
  if (range.Contains(premium.units())) return {};
  return Between("The extended cover's premium", Money(range.low), Money(range.high));
}

std::string StoreFieldRules::CheckPercentage(float percentage) {
  const Range range = Limit("percentage");
  const std::string text =
      Between("The percentage", FormatNumber(Currency::FromUnits(range.low), 2),
              FormatNumber(Currency::FromUnits(range.high), 2));
  // Anything this far out is no percentage, and would not fit an amount.
  if (!std::isfinite(percentage) || std::fabs(percentage) > 1e9F) return text;
  const Currency value = Currency::FromDouble(static_cast<double>(percentage));
  return range.Contains(value.units()) ? std::string() : text;
}

std::int32_t StoreFieldRules::GetScopeOfCover(std::string_view motor_cover_code) {
  return backend_->WithDatabase(
      [&](backend::Database& db) { return ReadScopeOfCover(db, motor_cover_code); });
}

}  // namespace cn::components

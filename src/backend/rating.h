#pragma once
// How a premium is built up from the rating factors and the tariff (see
// docs/rating.md): the figures of one cover, and of the transaction that changes
// an existing cover.

#include <cstdint>
#include <optional>
#include <vector>

#include "backend/premium_request.h"
#include "backend/tariff.h"
#include "base/currency.h"

namespace cn::backend {

// Statuses of the current engine ("Tarvin.Premium.ComputeV10" and its Ex form).
namespace current_engine {
inline constexpr std::int32_t kRated = 0;
inline constexpr std::int32_t kReferred = 2;
inline constexpr std::int32_t kNoBand = 3;
inline constexpr std::int32_t kNoTrailerBand = 4;
inline constexpr std::int32_t kNoBandForExtension = 5;
inline constexpr std::int32_t kNoTrailerBandForExtension = 6;
// Answered in the load amount of the plain command, whose status stays 0.
inline constexpr std::int64_t kDeclinedLoadAmount = -9999;
}  // namespace current_engine

// Statuses of the new tariff ("Tarvin.Premium.Compute" and its Ex form).
namespace new_tariff {
inline constexpr std::int32_t kRated = 0;
inline constexpr std::int32_t kNoBase = 1;
inline constexpr std::int32_t kNoNcd = 2;
inline constexpr std::int32_t kNoCapacity = 3;
inline constexpr std::int32_t kNoVehicleAge = 4;
inline constexpr std::int32_t kNoSumInsured = 5;
inline constexpr std::int32_t kDeclined = 6;
inline constexpr std::int32_t kNoDriver = 7;
inline constexpr std::int32_t kReferred = 8;
}  // namespace new_tariff

struct Figures {
  Currency vehicle_premium;  // the vehicle's share of the tariff premium
  Currency trailer_premium;
  Currency tariff_premium;
  Currency load_percentage;
  Currency load_amount;
  Currency ncd_amount;
  Currency basic_premium;
  std::vector<std::optional<Currency>> ext_premiums;  // empty for a row without a cover
  Currency total_ext_premium;
  Currency total_sum_insured;
  Currency gross_premium;
  Currency service_tax_percentage;
  Currency service_tax;
  Currency transfer_fee;
  Currency stamp_duty;
  Currency total_premium;
  Currency excess;
  Currency commission_rate;
  Currency commission;
  Currency net_premium;
  // The new tariff's rates, 100 neutral, and their product.
  Currency use_rate, state_rate, driver_rate, gender_rate, ncd_years_rate, make_rate, capacity_rate,
      vehicle_age_rate, sum_insured_rate, combined_rate;
  Currency zero;  // the figures the sample tariff leaves at nothing
};

struct Rating {
  std::int32_t status = 0;
  bool declined = false;  // current engine: answered in the load amount
  Figures figures;
};

// nullopt for a class, cover or extended cover the tariff does not know.
std::optional<Rating> RateCurrentEngine(Tariff& tariff, const Factors& factors);
std::optional<Rating> RateNewTariff(Tariff& tariff, const Factors& factors);

// The transaction that changes `previous` into the amended cover rated as
// `amended`, from `start` to the amended cover's end: mode 0 charges the new period
// pro rata (extension), 2 by the short-period scale, 1 and 3 charge the difference
// from the previous cover pro rata (transfer, endorsement).
std::optional<Figures> RateTransaction(Tariff& tariff, const Figures& amended,
                                       const Factors& amended_factors, const Factors& previous,
                                       const Date& start, int mode);

}  // namespace cn::backend

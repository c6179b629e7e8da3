#pragma once
// The tariff tables of the database as the rating reads them: one question each.
// nullopt means the tariff holds no row for the question.

#include <optional>
#include <string>
#include <string_view>

#include "backend/sqlite.h"
#include "base/currency.h"

namespace cn::backend {

struct ClassRule {
  int kind = 0;  // 0 private, 1 commercial, 2 motorcycle
  Currency max_loading;
  int youngest_driver_age = 0;
  int least_driving_years = 0;
  int referred_claims = 0;
  int oldest_vehicle = 0;
  Currency compulsory_excess;
};

struct Rate {
  Currency premium;            // a band's premium, or its share in percent
  Currency rate_per_thousand;  // of the sum insured
};

struct ExtendedCoverRate {
  std::string method;  // S: of its own sum insured, P: of the vehicle's, F: fixed
  Currency percentage;
  Currency default_premium;
  Currency min_premium;
};

class Tariff {
 public:
  explicit Tariff(Database& db) : db_(db) {}

  std::optional<ClassRule> Class(std::string_view class_code);
  // The scope of a motor cover: 1 comprehensive, 2 third party fire and theft, 3 third party.
  std::optional<int> CoverScope(std::string_view cover_code);
  std::string AgentRegion(std::string_view agent_code);
  Currency CommissionRate(std::string_view agent_code);
  std::string SystemCode(int code);

  // Current engine.
  std::optional<Rate> Base(std::string_view class_code, std::string_view cover_code,
                           std::string_view region);
  std::optional<Currency> BandPremium(std::string_view class_code, std::string_view uom,
                                      Currency capacity);
  std::optional<Rate> TrailerRate(std::string_view class_code, std::string_view uom,
                                  Currency capacity);
  std::optional<ExtendedCoverRate> ExtendedCover(std::string_view class_code,
                                                 std::string_view cover_code,
                                                 std::string_view ext_code);
  // Percentage of the annual premium for a period of so many days.
  Currency ShortPeriodPercentage(long long days);

  // New tariff.
  std::optional<Rate> NewTariffBase(std::string_view class_code, std::string_view cover_code);
  std::optional<Currency> NcdPercentage(std::string_view class_code, long long years);
  std::optional<Currency> FactorByCode(std::string_view class_code, std::string_view factor,
                                       std::string_view code);
  std::optional<Currency> FactorInRange(std::string_view class_code, std::string_view factor,
                                        Currency value);

 private:
  Database& db_;
};

}  // namespace cn::backend

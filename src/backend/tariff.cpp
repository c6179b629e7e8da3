#include "backend/tariff.h"

namespace cn::backend {
namespace {

Currency Units(const Statement& row, int column) { return Currency::FromUnits(row.Int(column)); }

}  // namespace

std::optional<ClassRule> Tariff::Class(std::string_view class_code) {
  Statement& row = db_.Prepare(
      "SELECT c.kind, coalesce(l.max_percentage, 1000000), coalesce(u.youngest_driver_age, 0), "
      "coalesce(u.least_driving_years, 0), coalesce(u.referred_claims, 999), "
      "coalesce(u.oldest_vehicle, 999), coalesce(e.amount, 0) FROM motor_class c "
      "LEFT JOIN loading_limit l ON l.class_code = c.code "
      "LEFT JOIN underwriting_limit u ON u.kind = c.kind "
      "LEFT JOIN compulsory_excess e ON e.kind = c.kind WHERE c.code = ?1");
  row.Bind(1, class_code);
  if (!row.Step()) return std::nullopt;
  return ClassRule{static_cast<int>(row.Int(0)),
                   Units(row, 1),
                   static_cast<int>(row.Int(2)),
                   static_cast<int>(row.Int(3)),
                   static_cast<int>(row.Int(4)),
                   static_cast<int>(row.Int(5)),
                   Units(row, 6)};
}

std::optional<int> Tariff::CoverScope(std::string_view cover_code) {
  Statement& row = db_.Prepare("SELECT scope FROM motor_cover WHERE code = ?1");
  row.Bind(1, cover_code);
  if (!row.Step()) return std::nullopt;
  return static_cast<int>(row.Int(0));
}

std::string Tariff::AgentRegion(std::string_view agent_code) {
  Statement& row = db_.Prepare("SELECT tariff_region FROM agent WHERE code = ?1");
  row.Bind(1, agent_code);
  return row.Step() ? row.Text(0) : std::string();
}

Currency Tariff::CommissionRate(std::string_view agent_code) {
  Statement& row = db_.Prepare(
      "SELECT r.percentage FROM agent a JOIN commission_rate r ON r.agent_type = a.agent_type "
      "WHERE a.code = ?1");
  row.Bind(1, agent_code);
  return row.Step() ? Units(row, 0) : Currency();
}

std::string Tariff::SystemCode(int code) {
  Statement& row = db_.Prepare("SELECT value FROM system_code WHERE code = ?1");
  row.Bind(1, std::int64_t{code});
  return row.Step() ? row.Text(0) : std::string();
}

std::optional<Rate> Tariff::Base(std::string_view class_code, std::string_view cover_code,
                                 std::string_view region) {
  Statement& row = db_.Prepare(
      "SELECT band_share, rate_per_thousand FROM tariff_base "
      "WHERE class_code = ?1 AND cover_code = ?2 AND region = ?3");
  row.Bind(1, class_code).Bind(2, cover_code).Bind(3, region);
  if (!row.Step()) return std::nullopt;
  return Rate{Units(row, 0), Units(row, 1)};
}

std::optional<Currency> Tariff::BandPremium(std::string_view class_code, std::string_view uom,
                                            Currency capacity) {
  Statement& row = db_.Prepare(
      "SELECT premium FROM capacity_band WHERE class_code = ?1 AND uom_code = ?2 "
      "AND above < ?3 AND ?3 <= up_to");
  row.Bind(1, class_code).Bind(2, uom).Bind(3, capacity.units());
  if (!row.Step()) return std::nullopt;
  return Units(row, 0);
}

std::optional<Rate> Tariff::TrailerRate(std::string_view class_code, std::string_view uom,
                                        Currency capacity) {
  Statement& row = db_.Prepare(
      "SELECT premium, rate_per_thousand FROM trailer_rate WHERE class_code = ?1 "
      "AND uom_code = ?2 AND above < ?3 AND ?3 <= up_to");
  row.Bind(1, class_code).Bind(2, uom).Bind(3, capacity.units());
  if (!row.Step()) return std::nullopt;
  return Rate{Units(row, 0), Units(row, 1)};
}

std::optional<ExtendedCoverRate> Tariff::ExtendedCover(std::string_view class_code,
                                                       std::string_view cover_code,
                                                       std::string_view ext_code) {
  Statement& row = db_.Prepare(
      "SELECT method, percentage, default_premium, min_premium FROM extended_cover_detail "
      "WHERE class_code = ?1 AND cover_code = ?2 AND ext_code = ?3");
  row.Bind(1, class_code).Bind(2, cover_code).Bind(3, ext_code);
  if (!row.Step()) return std::nullopt;
  return ExtendedCoverRate{row.Text(0), Units(row, 1), Units(row, 2), Units(row, 3)};
}

Currency Tariff::ShortPeriodPercentage(long long days) {
  Statement& row = db_.Prepare(
      "SELECT coalesce((SELECT percentage FROM short_period_scale WHERE up_to_days >= ?1 "
      "ORDER BY up_to_days LIMIT 1), 1000000)");
  row.Bind(1, std::int64_t{days});
  return row.Step() ? Units(row, 0) : Currency::FromWhole(100);
}

std::optional<Rate> Tariff::NewTariffBase(std::string_view class_code,
                                          std::string_view cover_code) {
  Statement& row = db_.Prepare(
      "SELECT premium, rate_per_thousand FROM new_tariff_base "
      "WHERE class_code = ?1 AND cover_code = ?2");
  row.Bind(1, class_code).Bind(2, cover_code);
  if (!row.Step()) return std::nullopt;
  return Rate{Units(row, 0), Units(row, 1)};
}

std::optional<Currency> Tariff::NcdPercentage(std::string_view class_code, long long years) {
  Statement& row =
      db_.Prepare("SELECT percentage FROM ncd_scale WHERE class_code = ?1 AND years = ?2");
  const std::string text = std::to_string(years);
  row.Bind(1, class_code).Bind(2, std::string_view(text));
  if (!row.Step()) return std::nullopt;
  return Units(row, 0);
}

std::optional<Currency> Tariff::FactorByCode(std::string_view class_code, std::string_view factor,
                                             std::string_view code) {
  Statement& row = db_.Prepare(
      "SELECT rate FROM rating_factor WHERE class_code = ?1 AND factor = ?2 AND code = ?3");
  row.Bind(1, class_code).Bind(2, factor).Bind(3, code);
  if (!row.Step()) return std::nullopt;
  return Units(row, 0);
}

std::optional<Currency> Tariff::FactorInRange(std::string_view class_code, std::string_view factor,
                                              Currency value) {
  Statement& row = db_.Prepare(
      "SELECT rate FROM rating_factor WHERE class_code = ?1 AND factor = ?2 AND code = '' "
      "AND above < ?3 AND ?3 <= up_to");
  row.Bind(1, class_code).Bind(2, factor).Bind(3, value.units());
  if (!row.Step()) return std::nullopt;
  return Units(row, 0);
}

}  // namespace cn::backend

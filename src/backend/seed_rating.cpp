// The sample cover notes carry the figures the tariff gives them: each is rated
// as the screen would ask for it, and its premium figures stored.

#include <array>
#include <string>

#include "backend/premium_request.h"
#include "backend/rating.h"
#include "backend/seed.h"
#include "backend/tariff.h"
#include "base/number_format.h"
#include "base/text.h"

namespace cn::backend {
namespace {

// Each factor of a stored cover note as an SQL expression over cover_note (?1 is
// this year). Amounts are kept in ten-thousandths and sent with four decimals.
struct FactorSource {
  Factor factor;
  std::string_view sql;
};
constexpr std::array kFactorSources = {
    FactorSource{Factor::kClassCode, "class_code"},
    FactorSource{Factor::kMotorCoverCode, "motor_cover_code"},
    FactorSource{Factor::kAgentCode, "agent_code"},
    FactorSource{Factor::kClientType, "client_type"},
    FactorSource{Factor::kRegion, "region"},
    FactorSource{Factor::kCapacity, "printf('%.4f', capacity / 10000.0)"},
    FactorSource{Factor::kCapacityUom, "capacity_uom"},
    FactorSource{Factor::kVehicleSumInsured, "printf('%.4f', vehicle_sum_insured / 10000.0)"},
    FactorSource{Factor::kTrailerSumInsured, "printf('%.4f', trailer_sum_insured / 10000.0)"},
    FactorSource{Factor::kHasTrailer, "CASE WHEN trim(coalesce(trailer_no, '')) = '' THEN '0' "
                                      "ELSE '1' END"},
    FactorSource{Factor::kLoadPercentage, "printf('%.4f', load_percentage / 10000.0)"},
    FactorSource{Factor::kNcdPercentage, "ncd_percentage"},
    FactorSource{Factor::kNoOfClaims, "no_of_claims"},
    FactorSource{Factor::kInsuredAge,
                 "CASE WHEN coalesce(date_of_birth, '') = '' THEN '' ELSE CAST(substr(effective_at, "
                 "1, 4) - substr(date_of_birth, 7, 4) AS TEXT) END"},
    FactorSource{Factor::kDrivingYears,
                 "CASE WHEN coalesce(license_date, '') = '' THEN '0' ELSE CAST(?1 - "
                 "substr(license_date, -4) AS TEXT) END"},
    FactorSource{Factor::kVehicleAge, "CAST(?1 - year_made AS TEXT)"},
    FactorSource{Factor::kDriverCount, "(SELECT CAST(count(*) AS TEXT) FROM cover_note_driver "
                                       "WHERE cover_note_id = n.id AND name <> '')"},
    FactorSource{Factor::kFirstDriverAge,
                 "coalesce((SELECT CAST(substr(n.effective_at, 1, 4) - substr(dob, 7, 4) AS TEXT) "
                 "FROM cover_note_driver WHERE cover_note_id = n.id AND seq = 0), '')"},
    FactorSource{Factor::kFirstDriverYears,
                 "coalesce((SELECT CAST(?1 - substr(licence_date, -4) AS TEXT) "
                 "FROM cover_note_driver WHERE cover_note_id = n.id AND seq = 0), '')"},
    FactorSource{Factor::kExtCodes, "(SELECT group_concat(code, char(65533)) FROM (SELECT code "
                                    "FROM cover_note_ext_cover WHERE cover_note_id = n.id "
                                    "ORDER BY seq))"},
    FactorSource{Factor::kExtSumInsured,
                 "(SELECT group_concat(sum_insured, char(65533)) FROM (SELECT sum_insured "
                 "FROM cover_note_ext_cover WHERE cover_note_id = n.id ORDER BY seq))"},
    FactorSource{Factor::kExtPercentages,
                 "(SELECT group_concat(percentage, char(65533)) FROM (SELECT percentage "
                 "FROM cover_note_ext_cover WHERE cover_note_id = n.id ORDER BY seq))"},
    FactorSource{Factor::kServiceTaxPercentage,
                 "printf('%.4f', service_tax_percentage / 10000.0)"},
    FactorSource{Factor::kStampDuty, "printf('%.4f', stamp_duty / 10000.0)"},
    FactorSource{Factor::kTransferFee, "transfer_fee"},
    FactorSource{Factor::kOtherCharges, "other_charges"},
};

// Where each figure is stored.
struct FigureTarget {
  std::string_view column;
  Currency Figures::*figure;
};
constexpr std::array kFigureTargets = {
    FigureTarget{"premium_field46", &Figures::vehicle_premium},
    FigureTarget{"premium_field47", &Figures::trailer_premium},
    FigureTarget{"tariff_premium", &Figures::tariff_premium},
    FigureTarget{"load_percentage", &Figures::load_percentage},
    FigureTarget{"load_amount", &Figures::load_amount},
    FigureTarget{"ncd_amount", &Figures::ncd_amount},
    FigureTarget{"basic_premium", &Figures::basic_premium},
    FigureTarget{"total_ext_premium", &Figures::total_ext_premium},
    FigureTarget{"total_sum_insured", &Figures::total_sum_insured},
    FigureTarget{"premium_field87", &Figures::total_sum_insured},
    FigureTarget{"gross_premium", &Figures::gross_premium},
    FigureTarget{"alt_gross_premium", &Figures::gross_premium},
    FigureTarget{"service_tax_amount", &Figures::service_tax},
    FigureTarget{"total_premium", &Figures::total_premium},
    FigureTarget{"excess_amount", &Figures::excess},
    FigureTarget{"commission_rate", &Figures::commission_rate},
    FigureTarget{"commission", &Figures::commission},
    FigureTarget{"net_premium", &Figures::net_premium},
};

std::string SelectFactors() {
  std::string sql = "SELECT n.id";
  for (const FactorSource& source : kFactorSources) sql += ", " + std::string(source.sql);
  return sql + " FROM cover_note n ORDER BY n.id";
}

std::string UpdateFigures() {
  std::string sql = "UPDATE cover_note SET ";
  for (std::size_t i = 0; i < kFigureTargets.size(); ++i) {
    sql += (i ? ", " : "") + std::string(kFigureTargets[i].column) + " = ?" + std::to_string(i + 2);
  }
  return sql + " WHERE id = ?1";
}

}  // namespace

void RateSampleCoverNotes(Database& db, int this_year) {
  std::vector<std::pair<std::int64_t, Factors>> notes;
  Statement& select = db.Prepare(SelectFactors());
  select.Bind(1, std::int64_t{this_year});
  while (select.Step()) {
    Factors factors;
    for (std::size_t i = 0; i < kFactorSources.size(); ++i) {
      factors.Set(kFactorSources[i].factor, select.Text(static_cast<int>(i + 1)));
    }
    notes.emplace_back(select.Int(0), std::move(factors));
  }
  Tariff tariff(db);
  for (const auto& [id, factors] : notes) {
    const auto rating = RateCurrentEngine(tariff, factors);
    if (!rating || rating->status >= current_engine::kNoBand) continue;
    Statement& update = db.Prepare(UpdateFigures());
    update.Bind(1, id);
    for (std::size_t i = 0; i < kFigureTargets.size(); ++i) {
      update.Bind(static_cast<int>(i + 2), (rating->figures.*kFigureTargets[i].figure).units());
    }
    update.Run();
    for (std::size_t row = 0; row < rating->figures.ext_premiums.size(); ++row) {
      const auto& premium = rating->figures.ext_premiums[row];
      if (!premium) continue;
      const std::string text = Replace(FormatMoney2(*premium), ",", "");
      db.Prepare("UPDATE cover_note_ext_cover SET premium = ?1 WHERE cover_note_id = ?2 "
                 "AND seq = ?3")
          .Bind(1, std::string_view(text))
          .Bind(2, id)
          .Bind(3, static_cast<std::int64_t>(row))
          .Run();
    }
  }
}

}  // namespace cn::backend

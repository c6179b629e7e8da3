// The sample cover notes carry the figures the tariff gives them: each is rated
// as the screen would ask for it, by the engine in force on its effective date
// (the new tariff from system parameter 1127 on), and its premium figures stored.

#include <array>
#include <span>
#include <string>

#include "backend/premium_request.h"
#include "backend/rating.h"
#include "backend/seed.h"
#include "backend/tariff.h"
#include "base/date_reader.h"
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
    FactorSource{Factor::kStateCode, "state_code"},
    FactorSource{Factor::kGender, "gender"},
    FactorSource{Factor::kVehicleMakeCode, "vehicle_make_code"},
    FactorSource{Factor::kNcdYear, "ncd_year"},
    FactorSource{Factor::kCapacity, "printf('%.4f', capacity / 10000.0)"},
    FactorSource{Factor::kCapacityUom, "capacity_uom"},
    FactorSource{Factor::kVehicleSumInsured, "printf('%.4f', vehicle_sum_insured / 10000.0)"},
    FactorSource{Factor::kTrailerSumInsured, "printf('%.4f', trailer_sum_insured / 10000.0)"},
    FactorSource{Factor::kHasTrailer,
                 "CASE WHEN trim(coalesce(trailer_no, '')) = '' THEN '0' "
                 "ELSE '1' END"},
    FactorSource{Factor::kLoadPercentage, "printf('%.4f', load_percentage / 10000.0)"},
    FactorSource{Factor::kNcdPercentage, "ncd_percentage"},
    FactorSource{Factor::kNoOfClaims, "no_of_claims"},
    FactorSource{
        Factor::kInsuredAge,
        "CASE WHEN coalesce(date_of_birth, '') = '' THEN '' ELSE CAST(substr(effective_at, "
        "1, 4) - substr(date_of_birth, 7, 4) AS TEXT) END"},
    FactorSource{Factor::kDrivingYears,
                 "CASE WHEN coalesce(license_date, '') = '' THEN '0' ELSE CAST(?1 - "
                 "substr(license_date, -4) AS TEXT) END"},
    FactorSource{Factor::kVehicleAge, "CAST(?1 - year_made AS TEXT)"},
    FactorSource{Factor::kDriverCount,
                 "(SELECT CAST(count(*) AS TEXT) FROM cover_note_driver "
                 "WHERE cover_note_id = n.id AND name <> '')"},
    FactorSource{Factor::kFirstDriverAge,
                 "coalesce((SELECT CAST(substr(n.effective_at, 1, 4) - substr(dob, 7, 4) AS TEXT) "
                 "FROM cover_note_driver WHERE cover_note_id = n.id AND seq = 0), '')"},
    FactorSource{Factor::kFirstDriverYears,
                 "coalesce((SELECT CAST(?1 - substr(licence_date, -4) AS TEXT) "
                 "FROM cover_note_driver WHERE cover_note_id = n.id AND seq = 0), '')"},
    FactorSource{Factor::kExtCodes,
                 "(SELECT group_concat(code, char(65533)) FROM (SELECT code "
                 "FROM cover_note_ext_cover WHERE cover_note_id = n.id "
                 "ORDER BY seq))"},
    FactorSource{Factor::kExtSumInsured,
                 "(SELECT group_concat(sum_insured, char(65533)) FROM (SELECT sum_insured "
                 "FROM cover_note_ext_cover WHERE cover_note_id = n.id ORDER BY seq))"},
    FactorSource{Factor::kExtPercentages,
                 "(SELECT group_concat(percentage, char(65533)) FROM (SELECT percentage "
                 "FROM cover_note_ext_cover WHERE cover_note_id = n.id ORDER BY seq))"},
    FactorSource{Factor::kServiceTaxPercentage, "printf('%.4f', service_tax_percentage / 10000.0)"},
    FactorSource{Factor::kStampDuty, "printf('%.4f', stamp_duty / 10000.0)"},
    FactorSource{Factor::kTransferFee, "transfer_fee"},
    FactorSource{Factor::kOtherCharges, "other_charges"},
};

// Where each figure is stored; the loading percentage only from the current engine,
// which cuts it to the class's limit (the new tariff does not load).
struct FigureTarget {
  std::string_view column;
  Currency Figures::*figure;
};
constexpr std::array kFigureTargets = {
    FigureTarget{"premium_field46", &Figures::vehicle_premium},
    FigureTarget{"premium_field47", &Figures::trailer_premium},
    FigureTarget{"tariff_premium", &Figures::tariff_premium},
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
constexpr FigureTarget kLoadingTarget{"load_percentage", &Figures::load_percentage};
// The new tariff's rates are kept as its reply writes them.
constexpr std::array kRateTargets = {
    FigureTarget{"rmt_use_rate", &Figures::use_rate},
    FigureTarget{"rmt_state_rate", &Figures::state_rate},
    FigureTarget{"rmt_driver_rate", &Figures::driver_rate},
    FigureTarget{"rmt_gender_rate", &Figures::gender_rate},
    FigureTarget{"rmt_ncd_year_rate", &Figures::ncd_years_rate},
    FigureTarget{"rmt_vehicle_make_rate", &Figures::make_rate},
    FigureTarget{"rmt_capacity_rate", &Figures::capacity_rate},
    FigureTarget{"rmt_vehicle_age_rate", &Figures::vehicle_age_rate},
    FigureTarget{"rmt_sum_insured_rate", &Figures::sum_insured_rate},
    FigureTarget{"rmt_rate", &Figures::combined_rate},
};

std::string SelectFactors() {
  std::string sql = "SELECT n.id, n.effective_at";
  for (const FactorSource& source : kFactorSources) sql += ", " + std::string(source.sql);
  return sql + " FROM cover_note n ORDER BY n.id";
}

// The figures the screen stores from the engine's reply, in one UPDATE: amounts in
// ten-thousandths, the new tariff's rates as text. A decline of the current engine's plain
// command is answered in the load amount.
void StoreRating(Database& db, std::int64_t id, const Rating& rating, bool new_tariff) {
  Figures figures = rating.figures;
  if (rating.declined) {
    figures.load_amount = Currency::FromWhole(current_engine::kDeclinedLoadAmount);
  }
  std::vector<FigureTarget> amounts(kFigureTargets.begin(), kFigureTargets.end());
  if (!new_tariff) amounts.push_back(kLoadingTarget);
  const std::span<const FigureTarget> rates =
      new_tariff ? std::span<const FigureTarget>(kRateTargets) : std::span<const FigureTarget>();
  std::string sql = "UPDATE cover_note SET ";
  int parameter = 2;
  for (const auto& targets : {std::span<const FigureTarget>(amounts), rates}) {
    for (const FigureTarget& target : targets) {
      if (parameter > 2) sql += ", ";
      sql += std::string(target.column) + " = ?" + std::to_string(parameter);
      ++parameter;
    }
  }
  Statement& update = db.Prepare(sql + " WHERE id = ?1");
  update.Bind(1, id);
  parameter = 2;
  for (const FigureTarget& target : amounts) {
    update.Bind(parameter++, (figures.*target.figure).units());
  }
  for (const FigureTarget& target : rates) {
    const std::string text = (figures.*target.figure).ToPlainText();
    update.Bind(parameter++, std::string_view(text));
  }
  update.Run();
  for (std::size_t row = 0; row < figures.ext_premiums.size(); ++row) {
    const auto& premium = figures.ext_premiums[row];
    if (!premium) continue;
    const std::string text = Replace(FormatMoney2(*premium), ",", "");
    db.Prepare(
          "UPDATE cover_note_ext_cover SET premium = ?1 WHERE cover_note_id = ?2 "
          "AND seq = ?3")
        .Bind(1, std::string_view(text))
        .Bind(2, id)
        .Bind(3, static_cast<std::int64_t>(row))
        .Run();
  }
}

std::optional<Date> NewTariffDate(Database& db) {
  Statement& row = db.Prepare("SELECT value FROM system_parameter WHERE code = 1127");
  return row.Step() ? ReadDate(row.Text(0)) : std::nullopt;
}

}  // namespace

void RateSampleCoverNotes(Database& db, int this_year) {
  struct Note {
    std::int64_t id;
    bool new_tariff;
    Factors factors;
  };
  std::vector<Note> notes;
  const std::optional<Date> new_tariff_from = NewTariffDate(db);
  Statement& select = db.Prepare(SelectFactors());
  select.Bind(1, std::int64_t{this_year});
  while (select.Step()) {
    Factors factors;
    for (std::size_t i = 0; i < kFactorSources.size(); ++i) {
      factors.Set(kFactorSources[i].factor, select.Text(static_cast<int>(i + 2)));
    }
    const std::optional<Date> effective = ReadDate(select.Text(1));
    notes.push_back(Note{select.Int(0),
                         new_tariff_from && effective && *new_tariff_from <= *effective,
                         std::move(factors)});
  }
  Tariff tariff(db);
  for (const Note& note : notes) {
    // A note the engine answers without figures (a band or a factor missing) keeps none.
    if (note.new_tariff) {
      const auto rating = RateNewTariff(tariff, note.factors);
      if (rating &&
          (rating->status == new_tariff::kRated || rating->status == new_tariff::kReferred)) {
        StoreRating(db, note.id, *rating, true);
      }
    } else {
      const auto rating = RateCurrentEngine(tariff, note.factors);
      if (rating && rating->status < current_engine::kNoBand) {
        StoreRating(db, note.id, *rating, false);
      }
    }
  }
}

}  // namespace cn::backend

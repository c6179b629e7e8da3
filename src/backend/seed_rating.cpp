// The sample cover notes carry the figures the tariff gives them: each is rated
// as the screen would ask for it, by the engine in force on its effective date
// (the new tariff from system parameter 1127 on), and its premium figures stored
// as the screen's save would write them: an extension, transfer or endorsement
// with the figures of its transaction, every note with the commission the save
// works out. Calculate and Save on an untouched note therefore change nothing.

#include <array>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

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
    FactorSource{Factor::kEndDate, "expiry_date"},
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
    FigureTarget{"gross_premium", &Figures::gross_premium},
    FigureTarget{"service_tax_amount", &Figures::service_tax},
    FigureTarget{"total_premium", &Figures::total_premium},
    FigureTarget{"excess_amount", &Figures::excess},
};
// What only the current engine answers: the loading cut to the class's limit, and figures the
// sample tariff leaves at nothing (the screen stores them as 0.00).
constexpr std::array kCurrentEngineTargets = {
    FigureTarget{"load_percentage", &Figures::load_percentage},
    FigureTarget{"premium_field59", &Figures::zero},
    FigureTarget{"extra_loading", &Figures::zero},
    FigureTarget{"otc_amount", &Figures::zero},
};
// What only the new tariff answers at nothing.
constexpr FigureTarget kNewTariffZero{"premium_field71", &Figures::zero};
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
  std::string sql = "SELECT n.id, n.effective_at, n.transaction_type, n.previous_document_no";
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
  if (new_tariff) {
    amounts.push_back(kNewTariffZero);
  } else {
    amounts.insert(amounts.end(), kCurrentEngineTargets.begin(), kCurrentEngineTargets.end());
  }
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
  // The new tariff's text figure is kept as its reply writes it.
  if (new_tariff) {
    db.Prepare("UPDATE cover_note SET premium_field70 = ?1 WHERE id = ?2")
        .Bind(1, std::string_view(Replace(FormatMoney2(figures.zero), ",", "")))
        .Bind(2, id)
        .Run();
  }
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

// The figures of the cover an extension or transfer changes, as the screen sends them from the
// earlier cover note or policy it reads: a missing one leaves them empty.
struct EarlierCover {
  Factors figures;
  std::optional<Date> expiry;
};
constexpr std::array<std::pair<Factor, std::string_view>, 7> kEarlierFigures = {{
    {Factor::kPremiumField46, "premium_field46"},
    {Factor::kPremiumField47, "premium_field47"},
    {Factor::kTariffPremium, "tariff_premium"},
    {Factor::kLoadAmount, "load_amount"},
    {Factor::kNcdAmount, "ncd_amount"},
    {Factor::kBasicPremium, "basic_premium"},
    {Factor::kTotalExtPremium, "total_ext_premium"},
}};

EarlierCover ReadEarlierCover(Database& db, std::string_view number) {
  EarlierCover earlier;
  for (const auto& [table, key, expiry] : {std::tuple{"cover_note", "cover_note_no", "expiry_date"},
                                           std::tuple{"policy", "policy_no", "expiry_date"}}) {
    std::string sql = "SELECT " + std::string(expiry);
    for (const auto& [factor, column] : kEarlierFigures) sql += ", " + std::string(column);
    Statement& row = db.Prepare(sql + " FROM " + table + " WHERE " + key + " = ?1");
    row.Bind(1, number);
    if (!row.Step()) continue;
    earlier.expiry = ReadDate(row.Text(0));
    for (std::size_t i = 0; i < kEarlierFigures.size(); ++i) {
      earlier.figures.Set(kEarlierFigures[i].first,
                          Currency::FromUnits(row.Int(static_cast<int>(i + 1))).ToPlainText());
    }
    return earlier;
  }
  return earlier;
}

struct Note {
  std::int64_t id;
  bool new_tariff;
  std::string type;
  std::string previous;
  Date effective;
  Factors factors;
};

// An extension or transfer is rated against the cover it changes, an endorsement on the
// current engine against the note itself; the save writes the transaction's sum insured,
// gross premium and (current engine) its figure after the gross premium.
void StoreTransaction(Database& db, Tariff& tariff, const Note& note, const Figures& amended) {
  EarlierCover earlier;
  if (note.type == "D") {
    for (const auto& [factor, column] : kEarlierFigures) earlier.figures.Set(factor, "0");
    earlier.figures.Set(Factor::kPremiumField46, amended.vehicle_premium.ToPlainText());
    earlier.figures.Set(Factor::kPremiumField47, amended.trailer_premium.ToPlainText());
    earlier.figures.Set(Factor::kTariffPremium, amended.tariff_premium.ToPlainText());
    earlier.figures.Set(Factor::kLoadAmount, amended.load_amount.ToPlainText());
    earlier.figures.Set(Factor::kNcdAmount, amended.ncd_amount.ToPlainText());
    earlier.figures.Set(Factor::kBasicPremium, amended.basic_premium.ToPlainText());
    earlier.figures.Set(Factor::kTotalExtPremium, amended.total_ext_premium.ToPlainText());
  } else {
    earlier = ReadEarlierCover(db, note.previous);
  }
  const Date start =
      note.type == "E" && earlier.expiry ? earlier.expiry->AddDays(1) : note.effective;
  const int mode = note.type == "E" ? 0 : (note.type == "T" ? 1 : 3);
  const auto transaction =
      RateTransaction(tariff, amended, note.factors, earlier.figures, start, mode);
  if (!transaction) return;
  Statement& update = db.Prepare(
      "UPDATE cover_note SET premium_field87 = ?1, alt_gross_premium = ?2, premium_field89 = "
      "coalesce(?3, premium_field89) WHERE id = ?4");
  update.Bind(1, transaction->total_sum_insured.units())
      .Bind(2, transaction->gross_premium.units());
  if (note.new_tariff) {
    update.BindNull(3);
  } else {
    update.Bind(3, transaction->zero.units());
  }
  update.Bind(4, note.id).Run();
}

// The commission as the save works it out: ten percent of the gross premium (of the
// transaction's for an extension, transfer or endorsement), held to four decimals; the net
// premium is the total less it. Every other transaction writes its own sum insured, gross and
// figure after the gross premium where a change of cover writes its transaction's.
void StoreCommission(Database& db) {
  struct Row {
    std::int64_t id;
    bool change_of_cover;
    std::optional<std::int64_t> base, total;
  };
  std::vector<Row> rows;
  Statement& select = db.Prepare(
      "SELECT id, transaction_type IN ('E', 'T', 'D') AND premium_field87 IS NOT NULL, "
      "gross_premium, alt_gross_premium, total_premium FROM cover_note");
  while (select.Step()) {
    const bool change = select.Int(1) != 0;
    const int base_column = change ? 3 : 2;
    rows.push_back(
        Row{select.Int(0), change,
            select.IsNull(base_column) ? std::nullopt : std::optional(select.Int(base_column)),
            select.IsNull(4) ? std::nullopt : std::optional(select.Int(4))});
  }
  constexpr double kCommissionPercent = 10.0;
  for (const Row& row : rows) {
    const Currency commission =
        row.base ? Currency::FromDouble(Currency::FromUnits(*row.base).ToDouble() *
                                        kCommissionPercent / 100.0)
                 : Currency();
    const Currency net = Currency::FromUnits(row.total.value_or(0)) - commission;
    if (!row.change_of_cover) {
      db.Prepare(
            "UPDATE cover_note SET premium_field87 = total_sum_insured, alt_gross_premium = "
            "gross_premium, premium_field89 = premium_field59 WHERE id = ?1")
          .Bind(1, row.id)
          .Run();
    }
    db.Prepare(
          "UPDATE cover_note SET commission_rate = ?1, commission = ?2, net_premium = ?3 "
          "WHERE id = ?4")
        .Bind(1, Currency::FromWhole(static_cast<std::int64_t>(kCommissionPercent)).units())
        .Bind(2, commission.units())
        .Bind(3, net.units())
        .Bind(4, row.id)
        .Run();
  }
}

}  // namespace

void RateSampleCoverNotes(Database& db, int this_year) {
  std::vector<Note> notes;
  const std::optional<Date> new_tariff_from = NewTariffDate(db);
  Statement& select = db.Prepare(SelectFactors());
  select.Bind(1, std::int64_t{this_year});
  constexpr int kFirstFactor = 4;
  while (select.Step()) {
    Factors factors;
    for (std::size_t i = 0; i < kFactorSources.size(); ++i) {
      factors.Set(kFactorSources[i].factor, select.Text(static_cast<int>(i) + kFirstFactor));
    }
    const std::optional<Date> effective = ReadDate(select.Text(1));
    notes.push_back(
        Note{select.Int(0), new_tariff_from && effective && *new_tariff_from <= *effective,
             select.Text(2), select.Text(3), effective.value_or(Date()), std::move(factors)});
  }
  Tariff tariff(db);
  std::vector<std::pair<const Note*, Figures>> changes_of_cover;
  for (const Note& note : notes) {
    // A premium agreed outside the tariff is never rated; a note the engine answers without
    // figures (a band or a factor missing) keeps none.
    if (note.type == "O") continue;
    std::optional<Rating> rating;
    if (note.new_tariff) {
      rating = RateNewTariff(tariff, note.factors);
      if (rating && rating->status != new_tariff::kRated &&
          rating->status != new_tariff::kReferred) {
        rating.reset();
      }
    } else {
      rating = RateCurrentEngine(tariff, note.factors);
      if (rating && rating->status >= current_engine::kNoBand) rating.reset();
    }
    if (!rating) continue;
    StoreRating(db, note.id, *rating, note.new_tariff);
    const bool change_of_cover =
        note.type == "E" || note.type == "T" || (note.type == "D" && !note.new_tariff);
    if (change_of_cover) changes_of_cover.emplace_back(&note, rating->figures);
  }
  // The earlier covers are rated by now.
  for (const auto& [note, figures] : changes_of_cover) {
    StoreTransaction(db, tariff, *note, figures);
  }
  StoreCommission(db);
}

}  // namespace cn::backend

#include "backend/rating.h"

#include <algorithm>

#include "base/rounding.h"
#include "base/text.h"

namespace cn::backend {
namespace {

const Currency kHundred = Currency::FromWhole(100);
const Currency kThousand = Currency::FromWhole(1000);

// A money figure is kept exact until it becomes a field of the reply, and is then
// rounded to the cent once: ten-thousandths times kExact, so that percentages and
// rates per thousand of amounts add up without rounding.
constexpr WideInt kExact = 10'000'000;
struct Exact {
  WideInt value;
  Exact operator+(Exact other) const { return Exact{value + other.value}; }
};
Exact Whole(Currency amount) { return Exact{WideInt{amount.units()} * kExact}; }
Exact Percent(Currency amount, Currency percentage) {
  return Exact{WideInt{amount.units()} * percentage.units() * 10};
}
Exact PerThousand(Currency amount, Currency rate) {
  return Exact{WideInt{amount.units()} * rate.units()};
}
Currency Cents(Exact figure) {
  return Currency::FromUnits(
      static_cast<std::int64_t>(DivideRoundingHalfAway<WideInt>(figure.value, kExact * 100) * 100));
}
// So many days of a year's amount, to the cent.
Currency ProRata(Currency amount, long long days) {
  return Currency::FromUnits(static_cast<std::int64_t>(
      DivideRoundingHalfAway<WideInt>(WideInt{amount.units()} * days, WideInt{365} * 100) * 100));
}

Currency SystemAmount(Tariff& tariff, int code) {
  return Currency::TryParse(tariff.SystemCode(code)).value_or(Currency());
}

bool Contains(const std::vector<std::string>& list, std::string_view value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// Whether a first named driver is rated. Most requests count the named drivers by name; the
// plain current-engine command sends the screen's driver rows instead, and a cover note
// that names nobody has one empty row, sent as the age of no birth date and the driving
// years of no licence date: that row names no driver.
constexpr long long kAgeOfNoBirthDate = 26;
bool FirstDriverNamed(const Factors& f) {
  if (f.Has(Factor::kDriverCount)) return f.Whole(Factor::kDriverCount) > 0;
  const long long rows = f.Whole(Factor::kDriverRows);
  const bool empty_row = rows == 1 && f.Whole(Factor::kFirstDriverAge) == kAgeOfNoBirthDate &&
                         f.Whole(Factor::kFirstDriverYears) == 0;
  return rows > 0 && !empty_row;
}

// Referred: a young or inexperienced driver (the insured, or the first named driver),
// or too many claims. Declined: a vehicle too old for a cover that pays for it.
struct Verdict {
  bool referred = false;
  bool declined = false;
};
Verdict Underwrite(const ClassRule& rule, int scope, const Factors& f) {
  const auto inexperienced = [&](Factor age, Factor years) {
    return (f.Has(age) && f.Whole(age) < rule.youngest_driver_age) ||
           (f.Has(years) && f.Whole(years) < rule.least_driving_years);
  };
  const bool person = f.Text(Factor::kClientType) != "C";
  const bool young = (person && inexperienced(Factor::kInsuredAge, Factor::kDrivingYears)) ||
                     (FirstDriverNamed(f) &&
                      inexperienced(Factor::kFirstDriverAge, Factor::kFirstDriverYears));
  return Verdict{
      young || f.Whole(Factor::kNoOfClaims) >= rule.referred_claims,
      scope <= 2 && f.Amount(Factor::kVehicleAge) > Currency::FromWhole(rule.oldest_vehicle)};
}

// Each extended cover by its method, at least its minimum; a premium the
// administrator typed stays. False for a cover the class and cover do not offer.
bool RateExtendedCovers(Tariff& tariff, const Factors& f, Figures& x) {
  const auto codes = f.List(Factor::kExtCodes);
  const auto sums = f.List(Factor::kExtSumInsured);
  const auto percentages = f.List(Factor::kExtPercentages);
  const auto premiums = f.List(Factor::kExtPremiums);
  const auto methods = f.List(Factor::kExtMethods);
  const auto computed = f.List(Factor::kExtComputed);
  const auto at = [](const std::vector<std::string>& list, std::size_t i) {
    return i < list.size() ? list[i] : std::string();
  };
  const auto amount = [&](const std::vector<std::string>& list, std::size_t i) {
    return Currency::TryParse(at(list, i)).value_or(Currency());
  };
  for (std::size_t i = 0; i < codes.size(); ++i) {
    if (Trim(codes[i]).empty()) {
      x.ext_premiums.emplace_back();
      continue;
    }
    Currency premium;
    if (at(methods, i) == "-1" || at(computed, i) == "0") {
      premium = amount(premiums, i);
    } else {
      const auto rate = tariff.ExtendedCover(f.Text(Factor::kClassCode),
                                             f.Text(Factor::kMotorCoverCode), Trim(codes[i]));
      if (!rate) return false;
      const Currency percentage =
          at(percentages, i).empty() ? rate->percentage : amount(percentages, i);
      if (rate->method == "S") {
        premium = Cents(Percent(amount(sums, i), percentage));
      } else if (rate->method == "P") {
        premium = Cents(Percent(f.Amount(Factor::kVehicleSumInsured), percentage));
      } else {
        premium = rate->default_premium;
      }
      premium = std::max(premium, rate->min_premium);
    }
    x.ext_premiums.emplace_back(premium);
    x.total_ext_premium += premium;
  }
  return true;
}

// From the gross premium down: tax, stamp duty, charges, excess and commission.
void Complete(Tariff& tariff, const ClassRule& rule, const Factors& f, Figures& x) {
  x.gross_premium = x.basic_premium + x.total_ext_premium;
  x.total_sum_insured = f.Amount(Factor::kVehicleSumInsured) + f.Amount(Factor::kTrailerSumInsured);
  x.service_tax_percentage = f.Has(Factor::kServiceTaxPercentage)
                                 ? f.Amount(Factor::kServiceTaxPercentage)
                                 : SystemAmount(tariff, 1025);
  x.service_tax = Cents(Percent(x.gross_premium, x.service_tax_percentage));
  x.stamp_duty =
      f.Has(Factor::kStampDuty) ? f.Amount(Factor::kStampDuty) : SystemAmount(tariff, 1026);
  x.transfer_fee = f.Amount(Factor::kTransferFee);
  x.total_premium = x.gross_premium + x.service_tax + x.stamp_duty + x.transfer_fee +
                    f.Amount(Factor::kOtherCharges);
  x.excess =
      f.Has(Factor::kExcessAmount) ? f.Amount(Factor::kExcessAmount) : rule.compulsory_excess;
  x.commission_rate = tariff.CommissionRate(f.Text(Factor::kAgentCode));
  x.commission = Cents(Percent(x.gross_premium, x.commission_rate));
  x.net_premium = x.total_premium - x.commission;
}

Currency SumInsuredAboveFirstThousand(const Factors& f) {
  return std::max(f.Amount(Factor::kVehicleSumInsured) - kThousand, Currency());
}

}  // namespace

std::optional<Rating> RateCurrentEngine(Tariff& tariff, const Factors& f) {
  using namespace current_engine;
  const std::string& class_code = f.Text(Factor::kClassCode);
  const std::string& cover_code = f.Text(Factor::kMotorCoverCode);
  const auto rule = tariff.Class(class_code);
  const auto scope = tariff.CoverScope(cover_code);
  if (!rule || !scope) return std::nullopt;
  const std::string region = f.Has(Factor::kRegion)
                                 ? f.Text(Factor::kRegion)
                                 : tariff.AgentRegion(f.Text(Factor::kAgentCode));
  const auto base = tariff.Base(class_code, cover_code, region);
  if (!base) return std::nullopt;

  Rating rating;
  Figures& x = rating.figures;
  const std::string& uom = f.Text(Factor::kCapacityUom);
  const Currency capacity = f.Amount(Factor::kCapacity);
  const bool trailer_rated = f.Flag(Factor::kHasTrailer) && cover_code != tariff.SystemCode(1001) &&
                             !Contains(Split(tariff.SystemCode(1040), ";"), class_code);
  if (f.Has(Factor::kTariffPremium)) {
    x.vehicle_premium = f.Amount(Factor::kTariffPremium);
  } else {
    const auto band = tariff.BandPremium(class_code, uom, capacity);
    if (!band) return Rating{kNoBand};
    const auto trailer =
        trailer_rated ? tariff.TrailerRate(class_code, uom, capacity) : std::optional<Rate>(Rate{});
    if (!trailer) return Rating{kNoTrailerBand};
    x.vehicle_premium =
        Cents(Percent(*band, base->premium) +
              PerThousand(SumInsuredAboveFirstThousand(f), base->rate_per_thousand));
    if (trailer_rated) {
      x.trailer_premium =
          Cents(Whole(trailer->premium) +
                PerThousand(f.Amount(Factor::kTrailerSumInsured), trailer->rate_per_thousand));
    }
  }
  x.tariff_premium = x.vehicle_premium + x.trailer_premium;
  x.load_percentage = f.Has(Factor::kLoadPercentage) ? std::clamp(f.Amount(Factor::kLoadPercentage),
                                                                  Currency(), rule->max_loading)
                                                     : Currency();
  x.load_amount = Cents(Percent(x.tariff_premium, x.load_percentage));
  x.ncd_amount = Cents(Percent(x.tariff_premium + x.load_amount, f.Amount(Factor::kNcdPercentage)));
  x.basic_premium = x.tariff_premium + x.load_amount - x.ncd_amount;
  if (!RateExtendedCovers(tariff, f, x)) return std::nullopt;
  Complete(tariff, *rule, f, x);

  const Verdict verdict = Underwrite(*rule, *scope, f);
  rating.declined = verdict.declined;
  rating.status = verdict.referred ? kReferred : kRated;
  return rating;
}

std::optional<Rating> RateNewTariff(Tariff& tariff, const Factors& f) {
  using namespace new_tariff;
  const std::string& class_code = f.Text(Factor::kClassCode);
  const auto rule = tariff.Class(class_code);
  const auto scope = tariff.CoverScope(f.Text(Factor::kMotorCoverCode));
  if (!rule || !scope) return std::nullopt;

  Rating rating;
  Figures& x = rating.figures;
  const auto base = tariff.NewTariffBase(class_code, f.Text(Factor::kMotorCoverCode));
  if (!base) return Rating{kNoBase};
  const auto ncd = tariff.NcdPercentage(class_code, f.Whole(Factor::kNcdYear));
  if (!ncd) return Rating{kNoNcd};
  const auto capacity = tariff.FactorInRange(class_code, "capacity", f.Amount(Factor::kCapacity));
  if (!capacity) return Rating{kNoCapacity};
  const auto vehicle_age =
      tariff.FactorInRange(class_code, "vehicle_age", f.Amount(Factor::kVehicleAge));
  if (!vehicle_age) return Rating{kNoVehicleAge};
  const auto sum_insured =
      tariff.FactorInRange(class_code, "sum_insured", f.Amount(Factor::kVehicleSumInsured));
  if (!sum_insured) return Rating{kNoSumInsured};
  const bool named = FirstDriverNamed(f) && f.Has(Factor::kFirstDriverAge);
  const long long age =
      named ? f.Whole(Factor::kFirstDriverAge)
            : (f.Has(Factor::kInsuredAge) ? f.Whole(Factor::kInsuredAge) : kAgeOfNoBirthDate);
  const auto driver = tariff.FactorInRange(class_code, "driver_age", Currency::FromWhole(age));
  if (!driver) return Rating{kNoDriver};
  const auto by_code = [&](std::string_view factor, Factor code) {
    return tariff.FactorByCode(class_code, factor, f.Text(code)).value_or(kHundred);
  };

  x.use_rate = by_code("use", Factor::kClassUse);
  x.state_rate = by_code("state", Factor::kStateCode);
  x.driver_rate = *driver;
  x.gender_rate = by_code("gender", Factor::kGender);
  x.ncd_years_rate = kHundred - *ncd;
  x.make_rate = by_code("make", Factor::kVehicleMakeCode);
  x.capacity_rate = *capacity;
  x.vehicle_age_rate = *vehicle_age;
  x.sum_insured_rate = *sum_insured;
  x.combined_rate = kHundred;
  for (const Currency rate :
       {x.use_rate, x.state_rate, x.driver_rate, x.gender_rate, x.ncd_years_rate, x.make_rate,
        x.capacity_rate, x.vehicle_age_rate, x.sum_insured_rate}) {
    x.combined_rate = Currency::FromUnits(static_cast<std::int64_t>(DivideRoundingHalfAway<WideInt>(
        WideInt{x.combined_rate.units()} * rate.units(), WideInt{100} * Currency::kScale)));
  }
  x.vehicle_premium = Cents(Whole(base->premium) +
                            PerThousand(SumInsuredAboveFirstThousand(f), base->rate_per_thousand));
  x.tariff_premium = x.vehicle_premium;
  x.basic_premium = f.Has(Factor::kBasicPremium)
                        ? f.Amount(Factor::kBasicPremium)
                        : Cents(Percent(x.tariff_premium, x.combined_rate));
  if (!RateExtendedCovers(tariff, f, x)) return std::nullopt;
  Complete(tariff, *rule, f, x);

  const Verdict verdict = Underwrite(*rule, *scope, f);
  if (verdict.declined) return Rating{kDeclined};
  rating.status = verdict.referred ? kReferred : kRated;
  return rating;
}

std::optional<Figures> RateTransaction(Tariff& tariff, const Figures& amended,
                                       const Factors& amended_factors, const Factors& previous,
                                       const Date& start, int mode) {
  const auto end = amended_factors.DateOf(Factor::kEndDate);
  if (!end) return std::nullopt;
  const long long days = std::max<long long>(DaysBetween(start, *end) + 1, 0);
  const Currency scale = tariff.ShortPeriodPercentage(days);
  const bool difference = mode == 1 || mode == 3;
  const auto part = [&](Currency now, Factor before) {
    const Currency charged = difference ? now - previous.Amount(before) : now;
    return mode == 2 ? Cents(Percent(charged, scale)) : ProRata(charged, std::min(days, 365LL));
  };
  Figures x = amended;
  x.vehicle_premium = part(amended.vehicle_premium, Factor::kPremiumField46);
  x.trailer_premium = part(amended.trailer_premium, Factor::kPremiumField47);
  x.tariff_premium = part(amended.tariff_premium, Factor::kTariffPremium);
  x.load_amount = part(amended.load_amount, Factor::kLoadAmount);
  x.ncd_amount = part(amended.ncd_amount, Factor::kNcdAmount);
  x.basic_premium = part(amended.basic_premium, Factor::kBasicPremium);
  x.total_ext_premium = part(amended.total_ext_premium, Factor::kTotalExtPremium);
  x.ext_premiums.assign(amended.ext_premiums.size(), std::nullopt);
  x.gross_premium = x.basic_premium + x.total_ext_premium;
  x.service_tax = Cents(Percent(x.gross_premium, x.service_tax_percentage));
  x.total_premium = x.gross_premium + x.service_tax + x.stamp_duty + x.transfer_fee;
  x.commission = Cents(Percent(x.gross_premium, x.commission_rate));
  x.net_premium = x.total_premium - x.commission;
  return x;
}

}  // namespace cn::backend

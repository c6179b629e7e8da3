#include "pages/premium/premium_factors.h"

#include "base/date_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/conversions.h"
#include "integration/dates.h"

namespace cn {
namespace {

constexpr std::string_view kRoutine = "premium factors";

}  // namespace

std::string RatedDate(std::string_view text) {
  return text.empty() ? std::string() : FormatDate(RequireDate(text, kRoutine));
}

RatedPeriod PeriodRated(const CoverNoteFields& fields, std::string_view placeholder,
                        const Date& today) {
  const bool both_dates = !fields.EffectiveDate.empty() && !fields.ExpiryDate.empty();
  if (both_dates || fields.VehicleNo != placeholder) {
    return {RatedDate(fields.EffectiveDate), RatedDate(fields.ExpiryDate)};
  }
  return {FormatDate(today), FormatDate(ExpiryFromEffective(today))};
}

std::string YearMadeRated(const CoverNoteFields& fields, std::string_view placeholder,
                          const Date& today) {
  if (!fields.YearMade.empty()) return fields.YearMade;
  const std::string unregistered = UCase(placeholder);
  const bool not_registered = UCase(fields.VehicleNo) == unregistered ||
                              (fields.CoverType == "COMMERCIAL" &&
                               UCase(fields.LogBookNo) == unregistered);
  return not_registered ? std::to_string(today.year()) : std::string();
}

std::string VehicleAge(std::string_view year_made, const Date& today) {
  if (year_made.empty()) return {};
  const Currency year = RequireNumber(year_made, kRoutine);
  return (Currency::FromWhole(today.year()) - year).ToPlainText();
}

std::string AgeAtCover(std::string_view date_of_birth, std::string_view effective_date) {
  return std::to_string(YearsBetween(date_of_birth, effective_date));
}

std::string DrivingYears(std::string_view licence_date, const Date& today) {
  if (licence_date.empty()) return "0";
  return std::to_string(today.year() - RequireDate(licence_date, kRoutine).year());
}

std::string PlainAmount(std::string_view text) {
  return text.empty() ? std::string() : RequireNumber(text, kRoutine).ToPlainText();
}

std::string JoinedList(const std::vector<std::string>& values) {
  return Join(values, DialogArgSeparator);
}

std::string_view FirstOf(const std::vector<std::string>& values) {
  return values.empty() ? std::string_view() : std::string_view(values.front());
}

}  // namespace cn

#include "integration/dates.h"

#include <optional>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/runtime_failure.h"
#include "base/text.h"
#include "integration/conversions.h"
#include "integration/list_search.h"
#include "integration/service_gateway.h"

namespace cn {
namespace {

}  // namespace

std::string GetSystemDateTime(const Components& components, const Clock& local_clock) {
  const std::string reply =
      ServiceGateway(components).ExecuteCommand("KivoInsurance.Find.FindSystemDateTime", "").reply;
  if (reply.empty()) return FormatDateTime(local_clock.Now());
  return FormatDateTime(RequireDateTime(reply, "GetSystemDateTime"));
}

void ReadNewTariffDate(const Components& components, std::string& target) {
  const CommandReply answer = ServiceGateway(components).ExecuteCommand(
      "KivoInsurance.Maintenance.ReadSystemParameterByCode", "1127");
  if (answer.status == 0) target = FieldAt(SplitFields(answer.reply), 2);
  if (target.empty()) target = FormatDate(*Date::FromYmd(2020, 1, 1));
  target = FormatDate(RequireDate(target, "ReadNewTariffDate"));
}

Date ExpiryFromEffective(const Date& effective) {
  const Date a_year_later = effective.AddYears(1);
  const bool leap_day = effective.month() == 2 && effective.day() == 29;
  return leap_day ? a_year_later : a_year_later.AddDays(-1);
}

std::int16_t YearsBetween(std::optional<std::string_view> first,
                          std::optional<std::string_view> second) {
  if ((first && first->empty()) || (second && second->empty())) return 26;
  if (!first || !second) return 0;
  const int years = RequireDate(*second, "YearsBetween").year() -
                    RequireDate(*first, "YearsBetween").year();
  return static_cast<std::int16_t>(years);
}

bool IsYearNotBefore(std::string_view date_text, std::string_view year_text) {
  if (date_text.empty() || year_text.empty()) return true;
  const std::optional<Date> date = ReadDate(date_text);
  if (!date) return true;
  return Currency::FromWhole(date->year()) >= RequireNumber(year_text, "IsYearNotBefore");
}

std::string SumAmounts(std::string_view a, std::string_view b, std::string_view c) {
  if (a.empty() || b.empty()) return {};
  Currency sum = Currency::Parse(a) + Currency::Parse(b);
  if (!c.empty()) sum += Currency::Parse(c);
  return FormatMoney2(sum);
}

bool IsNotEmpty(std::string_view value) { return !Trim(value).empty(); }

}  // namespace cn

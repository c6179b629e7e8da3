#include "workspace/licence.h"

#include <optional>

#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/runtime_failure.h"
#include "integration/conversions.h"

namespace cn {
namespace {

constexpr int kLicenceDateLength = 42;
constexpr int kYearsOfDrivingLength = 2;

}  // namespace

void ShowLicenceLabel(dom::Document& cover_page) {
  const bool new_business = cover_page.GetElementById("cboTransactionType")->Value() == "N";
  cover_page.GetElementById("lblLicense")
      ->SetInnerText(new_business ? "License No./ Date:" : "License No./ Years of Driving:");
  cover_page.GetElementById("txtLicenseDate")
      ->SetMaxLength(new_business ? kLicenceDateLength : kYearsOfDrivingLength);
}

std::int32_t LicenceYears(const Workspace& workspace, std::string_view licence_date) {
  if (licence_date.empty()) return 0;
  return SystemDateTime(workspace).date.year() - RequireDate(licence_date, "LicenceYears").year();
}

std::string LicenceDateFromYears(const Workspace& workspace, std::int32_t years) {
  const long long year = static_cast<long long>(SystemDateTime(workspace).date.year()) - years;
  const std::optional<Date> first_of_year = year >= Date::kMinYear && year <= Date::kMaxYear
                                                ? Date::FromYmd(static_cast<int>(year), 1, 1)
                                                : std::nullopt;
  if (!first_of_year) {
    throw RuntimeFailure(failure::kInvalidArgument,
                         "Invalid argument: " + std::to_string(years) + " years of driving",
                         "LicenceDateFromYears");
  }
  return FormatDate(*first_of_year);
}

}  // namespace cn

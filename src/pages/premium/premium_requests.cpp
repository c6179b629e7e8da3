#include "pages/premium/premium_requests.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/separators.h"
#include "base/text.h"
#include "pages/premium/premium_factors.h"

namespace cn {
namespace {

using F = Factor;
constexpr EnteredFlag kLoadTyped = &PremiumState::LoadPercentageEntered;
constexpr EnteredFlag kTariffTyped = &PremiumState::TariffPremiumEntered;
constexpr EnteredFlag kExcessTyped = &PremiumState::ExcessEntered;
constexpr EnteredFlag kStampDutyTyped = &PremiumState::StampDutyEntered;
constexpr EnteredFlag kBasicTyped = &PremiumState::BasicPremiumEntered;

constexpr std::int32_t kPlaceholderVehicleNo = 1031;
constexpr std::int32_t kDefaultStampDuty = 1026;

// {position, factor[, field][, entered flag]} or {position, literal text}
constexpr FactorRow kCurrentEngine[] = {
    {0, F::kField, "ClassCode"},
    {1, F::kField, "MotorCoverCode"},
    {2, F::kAgentCode},
    {3, F::kAmount, "Capacity"},
    {4, F::kField, "CapacityUOM"},
    {5, F::kAmount, "VehicleSumInsured"},
    {6, F::kTowsTrailerMinusOne},
    {7, F::kAmount, "TrailerSumInsured"},
    {8, F::kStartDate},
    {9, F::kEndDate},
    {10, F::kField, "NoOfClaims"},
    {11, F::kInsuredAge},
    {12, F::kDrivingYears},
    {13, F::kYearMade},
    {14, F::kEnteredOrUnset, "LoadPercentage", kLoadTyped},
    {15, F::kField, "NCDPercentage"},
    {16, F::kStartDate},
    {17, "0"},
    {18, "0"},
    {19, F::kField, "ClientType"},
    {20, "0"},
    {21, F::kEnteredAmountOrUnset, "TariffPremium", kTariffTyped},
    {22, F::kDriverSlots},
    {23, F::kField, "SeatingCapacity"},
    {24, F::kExtMethods},
    {25, F::kList, "ExtCoverCodes"},
    {26, F::kList, "ExtCoverSumInsured"},
    {27, F::kList, "ExtCoverPercentages"},
    {28, F::kList, "ExtCoverPremiums"},
    {29, F::kList, "ExtCoverMinPremiums"},
    {30, F::kDate, "ReferenceDate"},
    {31, F::kField, "ServiceTaxPercentage"},
    {32, F::kStampDuty, "StampDuty", kStampDutyTyped},
    {33, "R"},
    {34, "0"},
    {35, F::kField, "TransactionType"},
    {36, F::kField, "Region"},
    {37, "0"},
    {38, F::kUnregisteredTrailer},
    {39, F::kField, "OtherCharges"},
    {40, F::kField, "TransferFee"},
    {41, F::kField, "ClassUse"},
    {42, F::kEnteredAmountOrUnset, "ExcessAmount", kExcessTyped},
    {43, F::kField, "IssueDate"},
    {44, ""},
    {45, F::kAmount, "TotalSumInsured"},
    {46, F::kField, "Gender"},
    {47, F::kField, "NRIC"},
    {48, F::kFirstDriverAge},
    {49, F::kFirstDriverYears},
    {50, F::kVehicleAge},
};
static_assert(std::size(kCurrentEngine) == 51 && HasEveryPositionOnce(kCurrentEngine));

constexpr FactorRow kCurrentEngineAmended[] = {
    {0, ""},
    {1, F::kField, "ClientType"},
    {2, F::kField, "ClassCode"},
    {3, F::kField, "MotorCoverCode"},
    {4, F::kAgentCode},
    {5, F::kStartDate},
    {6, F::kEndDate},
    {7, F::kNamedDrivers},
    {8, F::kTowsTrailer},
    {9, F::kAmount, "VehicleSumInsured"},
    {10, F::kAmount, "TrailerSumInsured"},
    {11, F::kYearMade},
    {12, F::kAmount, "Capacity"},
    {13, F::kField, "CapacityUOM"},
    {14, F::kField, "SeatingCapacity"},
    {15, F::kField, "LoadPercentage"},
    {16, F::kNotEntered, kLoadTyped},
    {17, F::kField, "NCDPercentage"},
    {18, F::kAmount, "TariffPremium"},
    {19, F::kNotEntered, kTariffTyped},
    {20, F::kList, "ExtCoverCodes"},
    {21, F::kList, "ExtCoverSumInsured"},
    {22, F::kList, "ExtCoverPercentages"},
    {23, F::kList, "ExtCoverPremiums"},
    {24, F::kExtRatedByEngine},
    {25, "0"},
    {26, F::kField, "ServiceTaxPercentage"},
    {27, F::kField, "StampDuty"},
    {28, F::kField, "NoOfClaims"},
    {29, F::kInsuredAge},
    {30, F::kDrivingYears},
    {31, "R"},
    {32, F::kField, "Region"},
    {33, F::kField, "OtherCharges"},
    {34, "0"},
    {35, F::kMotorcycle},
    {36, F::kField, "ClassUse"},
    {37, F::kField, "IssueDate"},
    {38, ""},
    {39, F::kAmount, "TotalSumInsured"},
    {40, F::kField, "Gender"},
    {41, F::kField, "NRIC"},
    {42, F::kFirstDriverAge},
    {43, F::kFirstDriverYears},
    {44, F::kVehicleAge},
};
static_assert(std::size(kCurrentEngineAmended) == 45 &&
              HasEveryPositionOnce(kCurrentEngineAmended));

constexpr FactorRow kCurrentEnginePrevious[] = {
    {0, ""},
    {1, F::kField, "ClientType"},
    {2, F::kField, "ClassCode"},
    {3, F::kField, "MotorCoverCode"},
    {4, F::kAgentCode},
    {5, F::kStartDate},
    {6, F::kEndDate},
    {7, F::kDate, "ReferenceDate"},
    {8, F::kNamedDrivers},
    {9, F::kTowsTrailer},
    {10, F::kAmount, "VehicleSumInsured"},
    {11, F::kAmount, "TrailerSumInsured"},
    {12, F::kYearMade},
    {13, F::kAmount, "Capacity"},
    {14, F::kField, "CapacityUOM"},
    {15, F::kField, "SeatingCapacity"},
    {16, F::kField, "LoadPercentage"},
    {17, F::kAmount, "LoadAmount"},
    {18, F::kAmount, "AllRiderPremium"},
    {19, F::kField, "NCDPercentage"},
    {20, F::kField, "NCDAmount"},
    {21, F::kAmount, "PremiumField46"},
    {22, F::kAmount, "PremiumField47"},
    {23, F::kAmount, "TariffPremium"},
    {24, F::kAmount, "BasicPremium"},
    {25, F::kList, "ExtCoverCodes"},
    {26, F::kList, "ExtCoverSumInsured"},
    {27, F::kList, "ExtCoverPercentages"},
    {28, F::kList, "ExtCoverPremiums"},
    {29, F::kAmount, "TotalExtPremium"},
    {30, F::kAmount, "TotalSumInsured"},
    {31, F::kAmount, "GrossPremium"},
    {32, F::kAmount, "PremiumField59"},
    {33, "0.00"},
    {34, F::kField, "PremiumField70"},
    {35, F::kAmount, "PremiumField71"},
    {36, F::kField, "ServiceTaxPercentage"},
    {37, F::kField, "ServiceTaxAmount"},
    {38, F::kField, "TransferFee"},
    {39, F::kField, "StampDuty"},
    {40, F::kAmount, "TotalPremium"},
    {41, F::kAmount, "ExcessAmount"},
    {42, F::kField, "Region"},
    {43, "0"},
    {44, F::kField, "ClassUse"},
    {45, F::kAmount, "ExtraLoading"},
    {46, F::kField, "TransactionType"},
    {47, F::kField, "IssueDate"},
    {48, ""},
    {49, F::kInsuredAge},
    {50, F::kField, "Gender"},
    {51, F::kField, "NoOfClaims"},
    {52, F::kDrivingYears},
    {53, F::kField, "NRIC"},
    {54, F::kFirstDriverAge},
    {55, F::kFirstDriverYears},
    {56, F::kVehicleAge},
};
static_assert(std::size(kCurrentEnginePrevious) == 57 &&
              HasEveryPositionOnce(kCurrentEnginePrevious));

constexpr FactorRow kNewTariff[] = {
    {0, ""},
    {1, F::kField, "ClientType"},
    {2, F::kField, "StateCode"},
    {3, F::kField, "Gender"},
    {4, F::kField, "ClassCode"},
    {5, F::kField, "MotorCoverCode"},
    {6, F::kStartDate},
    {7, F::kEndDate},
    {8, F::kNamedDrivers},
    {9, F::kTowsTrailer},
    {10, F::kField, "ClassListColumn2"},
    {11, F::kField, "ClassListColumn3"},
    {12, F::kAmount, "VehicleSumInsured"},
    {13, F::kAmount, "TrailerSumInsured"},
    {14, F::kField, "VehicleMakeCode"},
    {15, F::kYearMade},
    {16, F::kAmount, "Capacity"},
    {17, F::kField, "CapacityUOM"},
    {18, F::kField, "SeatingCapacity"},
    {19, F::kField, "NCDYear"},
    {20, F::kAmount, "BasicPremium"},
    {21, F::kNotEntered, kBasicTyped},
    {22, F::kList, "ExtCoverCodes"},
    {23, F::kList, "ExtCoverSumInsured"},
    {24, F::kList, "ExtCoverPercentages"},
    {25, F::kList, "ExtCoverPremiums"},
    {26, F::kExtRatedByEngine},
    {27, "0"},
    {28, F::kField, "ServiceTaxPercentage"},
    {29, F::kStampDuty, "StampDuty", kStampDutyTyped},
    {30, F::kField, "ModelCode"},
    {31, F::kField, "Region"},
    {32, F::kField, "TransactionType"},
    {33, F::kField, "IssueDate"},
    {34, ""},
    {35, F::kAmount, "TotalSumInsured"},
    {36, F::kInsuredAge},
    {37, F::kField, "NCDPercentage"},
    {38, F::kField, "NoOfClaims"},
    {39, F::kDrivingYears},
    {40, F::kField, "NRIC"},
    {41, F::kFirstDriverAge},
    {42, F::kFirstDriverYears},
    {43, F::kVehicleAge},
};
static_assert(std::size(kNewTariff) == 44 && HasEveryPositionOnce(kNewTariff));

constexpr FactorRow kNewTariffPrevious[] = {
    {0, ""},
    {1, F::kField, "ClientType"},
    {2, F::kField, "StateCode"},
    {3, F::kField, "Gender"},
    {4, F::kField, "ClassCode"},
    {5, F::kField, "MotorCoverCode"},
    {6, F::kStartDate},
    {7, F::kEndDate},
    {8, F::kNamedDrivers},
    {9, F::kTowsTrailer},
    {10, F::kField, "ClassListColumn2"},
    {11, F::kField, "ClassListColumn3"},
    {12, F::kAmount, "VehicleSumInsured"},
    {13, F::kAmount, "TrailerSumInsured"},
    {14, F::kField, "VehicleMakeCode"},
    {15, F::kYearMade},
    {16, F::kAmount, "Capacity"},
    {17, F::kField, "CapacityUOM"},
    {18, F::kField, "SeatingCapacity"},
    {19, F::kField, "NCDYear"},
    {20, F::kAmount, "PremiumField46"},
    {21, F::kAmount, "PremiumField47"},
    {22, F::kAmount, "TariffPremium"},
    {23, F::kField, "RMTUseRate"},
    {24, F::kField, "RMTStateRate"},
    {25, F::kField, "RMTDriverRate"},
    {26, F::kField, "RMTGenderRate"},
    {27, F::kField, "RMTNCDYearRate"},
    {28, F::kField, "RMTVehicleMakeRate"},
    {29, F::kField, "RMTCapacityRate"},
    {30, F::kField, "RMTVehicleAgeRate"},
    {31, F::kField, "RMTSumInsuredRate"},
    {32, F::kField, "RMTRate"},
    {33, F::kAmount, "BasicPremium"},
    {34, F::kList, "ExtCoverCodes"},
    {35, F::kList, "ExtCoverSumInsured"},
    {36, F::kList, "ExtCoverPercentages"},
    {37, F::kList, "ExtCoverPremiums"},
    {38, F::kAmount, "TotalExtPremium"},
    {39, F::kAmount, "TotalSumInsured"},
    {40, F::kAmount, "GrossPremium"},
    {41, F::kField, "PremiumField70"},
    {42, F::kAmount, "PremiumField71"},
    {43, F::kField, "ServiceTaxPercentage"},
    {44, F::kAmount, "ServiceTaxAmount"},
    {45, F::kAmount, "TransferFee"},
    {46, F::kAmount, "StampDuty"},
    {47, F::kAmount, "TotalPremium"},
    {48, F::kAmount, "ExcessAmount"},
    {49, F::kDate, "ReferenceDate"},
    {50, F::kField, "ModelCode"},
};
static_assert(std::size(kNewTariffPrevious) == 51 && HasEveryPositionOnce(kNewTariffPrevious));

std::string StartupCode(const Workspace& workspace, std::int32_t code) {
  const auto found = workspace.startup.SystemCodes.find(code);
  return found == workspace.startup.SystemCodes.end() ? std::string() : found->second;
}

std::string PerExtCoverRow(const FactorSource& source, bool engine_flags) {
  const CoverNoteFields& fields = source.fields;
  std::vector<std::string> entries;
  entries.reserve(fields.ExtCoverCodes.size());
  for (std::size_t row = 0; row < fields.ExtCoverCodes.size(); ++row) {
    const bool typed = row < source.typed_premiums.size() && source.typed_premiums[row];
    if (engine_flags) {
      entries.emplace_back(typed ? "0" : "1");
    } else {
      entries.push_back(typed ? std::string("-1")
                              : (row < fields.ExtCoverMethods.size() ? fields.ExtCoverMethods[row]
                                                                     : std::string()));
    }
  }
  return JoinedList(entries);
}

std::string Flag(bool value, std::string_view yes = "1") {
  return value ? std::string(yes) : std::string("0");
}

std::string OneFactor(const FactorRow& row, const FactorSource& source) {
  const CoverNoteFields& fields = source.fields;
  const Workspace& ws = source.workspace;
  const std::string placeholder = StartupCode(ws, kPlaceholderVehicleNo);
  const auto text = [&]() -> const std::string& { return fields.*(row.field->text); };
  const auto typed = [&] { return ws.premium.*(row.flag); };
  switch (row.factor) {
    case F::kField: return text();
    case F::kAmount: return PlainAmount(text());
    case F::kList: return JoinedList(fields.*(row.field->text_array));
    case F::kDate: return RatedDate(text());
    case F::kLiteral: return std::string(row.literal);
    case F::kAgentCode: return ws.identity.CurrentAgentCode;
    case F::kStartDate: return PeriodRated(fields, placeholder, source.today).start;
    case F::kEndDate: return PeriodRated(fields, placeholder, source.today).end;
    case F::kYearMade: return YearMadeRated(fields, placeholder, source.today);
    case F::kVehicleAge:
      return VehicleAge(YearMadeRated(fields, placeholder, source.today), source.today);
    case F::kInsuredAge: return AgeAtCover(fields.DateOfBirth, fields.EffectiveDate);
    case F::kDrivingYears: return DrivingYears(fields.LicenseDate, source.today);
    case F::kFirstDriverAge:
      return AgeAtCover(FirstOf(fields.DriverDOBs), fields.EffectiveDate);
    case F::kFirstDriverYears: return DrivingYears(FirstOf(fields.DriverLicenceDates), source.today);
    case F::kDriverSlots: return std::to_string(fields.DriverNames.size());
    case F::kNamedDrivers:
      return std::to_string(std::count_if(fields.DriverNames.begin(), fields.DriverNames.end(),
                                          [](const std::string& name) { return !name.empty(); }));
    case F::kTowsTrailerMinusOne: return Flag(!Trim(fields.TrailerNo).empty(), "-1");
    case F::kTowsTrailer: return Flag(!fields.TrailerNo.empty());
    case F::kMotorcycle: return Flag(fields.CoverType == "MOTORCYCLE");
    case F::kUnregisteredTrailer:
      return Flag(fields.TransactionType == "P" && fields.TrailerNo == placeholder);
    case F::kEnteredOrUnset: return typed() ? text() : std::string("-1");
    case F::kEnteredAmountOrUnset: return typed() ? PlainAmount(text()) : std::string("-1");
    case F::kNotEntered: return Flag(!typed());
    case F::kStampDuty: return typed() ? text() : StartupCode(ws, kDefaultStampDuty);
    case F::kExtMethods: return PerExtCoverRow(source, false);
    case F::kExtRatedByEngine: return PerExtCoverRow(source, true);
  }
  return {};
}

}  // namespace

FactorLayout CurrentEngineFactors() { return kCurrentEngine; }
FactorLayout CurrentEngineAmendedFactors() { return kCurrentEngineAmended; }
FactorLayout CurrentEnginePreviousFactors() { return kCurrentEnginePrevious; }
FactorLayout NewTariffFactors() { return kNewTariff; }
FactorLayout NewTariffPreviousFactors() { return kNewTariffPrevious; }

std::string BuildFactors(FactorLayout layout, const FactorSource& source) {
  std::vector<std::string> values;
  values.reserve(layout.size());
  for (const FactorRow& row : layout) values.push_back(OneFactor(row, source));
  return Join(values, FieldSeparator);
}

}  // namespace cn

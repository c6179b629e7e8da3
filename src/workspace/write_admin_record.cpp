#include "workspace/write_admin_record.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/dates.h"

namespace cn {
namespace {

using S = WriteSource;

// {position, source, field, caption}, {position, derived source, caption},
// {position, literal, caption} or {position, field for E/T/D, field otherwise, caption}
constexpr WritePosition kWriteAdmin[] = {
    {0, S::kAsIs, "CoverNoteKey", "Record version"},
    {1, S::kAsIs, "ReadCoverNoteNo", "Cover note number as issued"},
    {2, S::kDateTimeWithIssue, "IssueDate", "Issued"},
    {3, S::kAsIs, "ClientName", "Name"},
    {4, S::kAsIs, "Address", "Address"},
    {5, S::kAsIs, "PostalCode", "Postcode"},
    {6, S::kAsIs, "Town", "Town"},
    {7, S::kAsIs, "StateCode", "State"},
    {8, S::kAsIs, "HouseTel", "Tel. (house)"},
    {9, S::kAsIs, "BizTel", "Tel. (office)"},
    {10, S::kAsIs, "ClientInfo10", "Further contact 1"},
    {11, S::kAsIs, "MobileTel", "Tel. (mobile)"},
    {12, S::kAsIs, "ClientInfo12", "Further contact 2"},
    {13, S::kAsIs, "Email", "E-mail"},
    {14, S::kAsIs, "Remark", "Remark"},
    {15, S::kAsIs, "ClientType", "Client type"},
    {16, S::kTrimmed, "NRIC", "New IC no."},
    {17, S::kTrimmed, "OldNRIC", "Old IC no."},
    {18, S::kAsIs, "DrivingLicenseNo", "Driving licence no."},
    {19, S::kAsIs, "BusinessRegistrationNo", "Business registration no."},
    {20, S::kAsIs, "MotorCoverCode", "Cover"},
    {21, S::kAsIs, "ServiceTaxPercentage", "Service tax %"},
    {22, S::kMoney2, "ServiceTaxAmount", "Service tax"},
    {23, S::kMoney2, "StampDuty", "Stamp duty"},
    {24, S::kMoney2, "TotalPremium", "Total premium"},
    {25, S::kAsIs, "VehicleNo", "Vehicle no."},
    {26, S::kAsIs, "TrailerNo", "Trailer no."},
    {27, S::kAsIs, "ClassCode", "Class"},
    {28, S::kDateTimeWithEffective, "EffectiveDate", "Effective"},
    {29, S::kAsIs, "ExpiryDate", "Expiry date"},
    {30, S::kAsIs, "MortgageeCode", "Mortgagee code"},
    {31, S::kAsIs, "Mortgagee", "Mortgagee"},
    {32, S::kMoney2, "VehicleSumInsured", "Vehicle sum insured"},
    {33, S::kMoney2, "TrailerSumInsured", "Trailer sum insured"},
    {34, S::kMoney2, "TotalExtSumInsured", "Extended covers' sum insured"},
    {35, S::kAsIs, "VehicleMakeCode", "Make"},
    {36, S::kAsIs, "ModelCode", "Model code"},
    {37, S::kAsIs, "Model", "Model"},
    {38, S::kAsIs, "YearMade", "Year made"},
    {39, S::kAsIs, "Body", "Body"},
    {40, S::kAsIs, "LogBookNo", "Log book no."},
    {41, S::kMoney2, "Capacity", "Capacity"},
    {42, S::kAsIs, "CapacityUOM", "Capacity unit"},
    {43, S::kAsIs, "EngineNo", "Engine no."},
    {44, S::kAsIs, "ChassisNo", "Chassis no."},
    {45, S::kAsIs, "SeatingCapacity", "Seats"},
    {46, S::kMoney2, "PremiumField46", "Vehicle premium"},
    {47, S::kMoney2, "PremiumField47", "Trailer premium"},
    {48, S::kMoney2AsBefore, "TariffPremium", "Tariff premium"},
    {49, S::kMoney2, "AllRiderPremium", "All Rider Premium"},
    {50, S::kAsIs, "LoadPercentage", "Loading %"},
    {51, S::kMoney2, "LoadAmount", "Loading"},
    {52, S::kAsIs, "NCDYear", "NCD years"},
    {53, S::kAsIs, "NCDPercentage", "NCD %"},
    {54, S::kMoney2AsBefore, "NCDAmount", "NCD"},
    {55, S::kMoney2, "BasicPremium", "Basic premium"},
    {56, S::kMoney2, "TotalExtPremium", "Extended covers' premium"},
    {57, S::kVehiclePlusTrailer, "Vehicle and trailer sum insured"},
    {58, S::kMoney2, "GrossPremium", "Gross premium"},
    {59, S::kMoney2, "PremiumField59", "Rated figure after gross premium"},
    {60, S::kMoney2, "ExcessAmount", "Excess"},
    {61, S::kDriverList, "DriverNames", "Named drivers"},
    {62, S::kExtCoverList, "ExtCoverCodes", "Extended covers"},
    {63, S::kExtCoverList, "ExtCoverSumInsured", "Extended covers' sums insured"},
    {64, S::kExtCoverList, "ExtCoverPercentages", "Extended covers' rates %"},
    {65, S::kExtCoverList, "ExtCoverPremiums", "Extended covers' premiums"},
    {66, S::kAsIs, "CoverNoteStatus", "Status"},
    {67, S::kAsIs, "TransactionType", "Transaction type"},
    {68, S::kAsIs, "PreviousDocumentNo", "Previous document no."},
    {69, S::kAsIs, "TransferFee", "Transfer fee"},
    {70, S::kAsIs, "PremiumField70", "New tariff figure after gross premium 1"},
    {71, S::kMoney2, "PremiumField71", "New tariff figure after gross premium 2"},
    {72, S::kAsIs, "ClassListColumn2", "Class minimum sum insured"},
    {73, S::kAsIs, "ClassListColumn3", "Class tariff group"},
    {74, S::kAsIs, "RMTUseRate", "Use factor"},
    {75, S::kAsIs, "RMTStateRate", "State factor"},
    {76, S::kAsIs, "RMTDriverRate", "Driver factor"},
    {77, S::kAsIs, "RMTGenderRate", "Gender factor"},
    {78, S::kAsIs, "RMTNCDYearRate", "NCD years factor"},
    {79, S::kAsIs, "RMTVehicleMakeRate", "Make factor"},
    {80, S::kAsIs, "RMTCapacityRate", "Capacity factor"},
    {81, S::kAsIs, "RMTVehicleAgeRate", "Vehicle age factor"},
    {82, S::kAsIs, "RMTSumInsuredRate", "Sum insured factor"},
    {83, S::kAsIs, "RMTRate", "Overall factor"},
    {84, S::kAsIs, "PremiumField84", "Premium code"},
    {85, S::kAsIs, "Gender", "Gender"},
    {86, S::kDate, "ReferenceDate", "Reference date"},
    {87, "PremiumField87", "TotalSumInsured", "Sum insured for commission"},
    {88, "AltGrossPremium", "GrossPremium", "Gross premium for commission"},
    {89, "PremiumField89", "PremiumField59", "Figure after gross premium for commission"},
    {90, "10.00", "Commission %"},
    {91, S::kCommission, "Commission"},
    {92, S::kNetPremium, "Premium less commission"},
    {93, S::kAsIs, "LicenseDate", "Licence date"},
    {94, S::kAsIs, "NoOfClaims", "Claims"},
    {95, S::kAsIs, "Hazard", "Hazard"},
    {96, S::kAsIs, "MaritalStatus", "Marital status"},
    {97, S::kAsIs, "GarageCode", "Garage"},
    {98, S::kAsIs, "GSLock", "Gear-shift lock"},
    {99, S::kAsIs, "LockType", "Lock type"},
    {100, S::kAsIs, "SafetyFeature", "Safety feature"},
    {101, S::kDriverCategory, "Driver category"},
    {102, S::kDriverList, "DriverICNos", "Named drivers' IC no."},
    {103, S::kDriverList, "DriverOccupations", "Named drivers' occupations"},
    {104, S::kDriverList, "DriverDOBs", "Named drivers' dates of birth"},
    {105, S::kAsIs, "AdminField105", "Back-office field 105"},
    {106, S::kAsIs, "AdminField106", "Back-office field 106"},
    {107, S::kAsIs, "AdminField107", "Back-office field 107"},
    {108, S::kAsIs, "AdminField108", "Back-office field 108"},
    {109, S::kAsIs, "AdminField109", "Back-office field 109"},
    {110, S::kAsIs, "AdminField110", "Back-office field 110"},
    {111, S::kAsIs, "AdminField111", "Back-office field 111"},
    {112, S::kAsIs, "AdminField112", "Back-office field 112"},
    {113, S::kUpper, "ClientCode", "Client code"},
    {114, S::kAsIs, "Nationality", "Nationality"},
    {115, S::kAsIs, "DrivingLicenseClass", "Licence class"},
    {116, S::kDriverList, "DriverRelationships", "Named drivers' relationships"},
    {117, S::kAsIs, "Color", "Colour"},
    {118, S::kAsIs, "DateOfBirth", "Date of birth"},
    {119, S::kDriverList, "DriverLicenceNos", "Named drivers' licence no."},
    {120, S::kDriverList, "DriverLicenceDates", "Named drivers' licence dates"},
    {121, S::kDriverList, "DriverGenders", "Named drivers' genders"},
    {122, S::kAsIs, "ClassUse", "Use"},
    {123, S::kAsIs, "FTZ", "Free trade zone"},
    {124, S::kAsIs, "ExtraField1", "Spare field 1"},
    {125, S::kAsIs, "ExtraField2", "Spare field 2"},
    {126, S::kAsIs, "AdminField126", "Back-office field 126"},
    {127, S::kAsIs, "Region", "Tariff region"},
    {128, S::kAsIs, "ShortCalculation", "Short period"},
    {129, S::kAsIs, "TrailerChassisNo", "Trailer chassis no."},
    {130, S::kAsIs, "OtherCharges", "Other charges"},
    {131, "0", "Trailer without premium"},
    {132, S::kTrueFalse, "HasExInsurer", "Previous insurer"},
    {133, S::kAsIs, "ExInsurerCode", "Previous insurer code"},
    {134, S::kAsIs, "ExInsurer", "Previous insurer name"},
    {135, S::kAsIs, "ExInsurerBranch", "Previous insurer branch"},
    {136, S::kAsIs, "ExPolicyNo", "Previous policy no."},
    {137, S::kAsIs, "ExVehicleNo", "Previous vehicle no."},
    {138, S::kAsIs, "ExEffectiveDate", "Previous effective date"},
    {139, S::kAsIs, "ExExpiryDate", "Previous expiry date"},
    {140, S::kAsIs, "NoNCDRemarks", "No-NCD remarks"},
    {141, S::kList, "ClaimAccidentDates", "Claims' accident dates"},
    {142, S::kList, "ClaimVehicleNos", "Claims' vehicle no."},
    {143, S::kList, "ClaimInsurers", "Claims' insurers"},
    {144, S::kList, "ClaimNatures", "Claims' natures"},
    {145, S::kList, "ClaimAmounts", "Claims' amounts"},
    {146, S::kAsIs, "SecurityDevice", "Security device"},
    {147, S::kAsIs, "MaintenanceFrom", "Maintenance from"},
    {148, S::kAsIs, "MaintenanceTo", "Maintenance to"},
    {149, S::kAsIs, "ExNCDCode", "Previous NCD code"},
    {150, S::kAsIs, "ExNCDText", "Previous NCD"},
    {151, S::kAsIs, "ExcessCode", "Excess type"},
    {152, "", "Back-office field 152"},
    {153, "", "Back-office field 153"},
    {154, S::kMoney2, "ExtraLoading", "Extra loading"},
    {155, S::kAsIs, "AdminField155", "Back-office field 155"},
    {156, S::kMoney2, "OTCAmount", "Amount payable (OTC)"},
    {157, S::kAsIs, "GoodsDescription", "Goods carried"},
    {158, S::kAsIs, "MPUW", "Unladen weight"},
    {159, S::kAsIs, "MPLW", "Laden weight"},
    {160, S::kAsIs, "HRFlag", "Hire and reward"},
    {161, S::kAsIs, "CGFlag", "Carries goods"},
    {162, S::kAsIs, "CPFlag", "Carries passengers"},
    {163, S::kAsIs, "OccupationCode", "Occupation code"},
    {164, S::kAsIs, "OccupationName", "Occupation"},
    {165, S::kAsIs, "BusinessNatureCode", "Nature of business code"},
    {166, S::kAsIs, "BusinessNatureName", "Nature of business"},
    {167, S::kAsIs, "EmployerName", "Employer"},
};

consteval bool EveryPositionOnceInOrder() {
  for (std::size_t i = 0; i < std::size(kWriteAdmin); ++i) {
    if (kWriteAdmin[i].position != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(std::size(kWriteAdmin) == 168 && EveryPositionOnceInOrder());

// Type "O" is a charge outside the tariff: the tariff's figures are saved as nothing. The
// tariff premium, the NCD and the sum insured are still written as the cover note had them
// (positions 48, 54 and 57 take them from before this), so the insurer keeps what the
// tariff would have asked.
constexpr std::string_view kZeroedForOtherPremium[] = {
    "PremiumField46",    "PremiumField47", "TariffPremium",   "AllRiderPremium",
    "LoadPercentage",    "LoadAmount",     "ExtraLoading",    "NCDYear",
    "NCDAmount",         "BasicPremium",   "TotalExtPremium", "TotalExtSumInsured",
    "TotalSumInsured",   "PremiumField59", "ExcessAmount",    "VehicleSumInsured",
    "TrailerSumInsured",
};
constexpr std::string_view kEmptiedForOtherPremium[] = {"ExtCoverCodes", "ExtCoverSumInsured",
                                                        "ExtCoverPercentages", "ExtCoverPremiums"};

// The new tariff's rating factors mean nothing on a cover note rated by the current engine.
constexpr std::string_view kEmptiedOffNewTariff[] = {"RMTUseRate", "RMTStateRate", "RMTDriverRate",
                                                     "RMTGenderRate", "RMTVehicleMakeRate"};
constexpr std::string_view kNeutralOffNewTariff[] = {
    "RMTNCDYearRate", "RMTCapacityRate", "RMTVehicleAgeRate", "RMTSumInsuredRate", "RMTRate"};

// The gross premium of an extension, transfer or endorsement is the alternative one.
bool IsChangeOfCover(std::string_view type) {
  constexpr std::string_view kRatedPlain[] = {"N", "R", "P", "O", "I", "M", "S", "F", "B"};
  return std::ranges::find(kRatedPlain, type) == std::end(kRatedPlain);
}

constexpr Currency kCommissionPercent = Currency::FromUnits(10 * Currency::kScale);

std::string Money2OrEmpty(std::string_view text) {
  return text.empty() ? std::string() : FormatMoney2(text);
}

Currency AmountOrZero(std::string_view text) {
  return Trim(text).empty() ? Currency() : Currency::Parse(text);
}

std::string DateTimeText(std::string_view date, std::string_view time, std::string_view what) {
  if (Trim(date).empty()) return {};
  const std::string joined = std::string(date) + " " + std::string(time);
  const std::optional<DateTime> read = ReadDateTime(joined);
  if (!read) {
    throw RuntimeFailure(failure::kTypeMismatch,
                         "The " + std::string(what) + " is not a date: " + joined,
                         "BuildWriteAdminRecord");
  }
  return FormatDateTime(*read);
}

class RecordBuilder {
 public:
  RecordBuilder(const CoverNoteRecord& record, const CoverNoteFields& before,
                const WriteAdminInputs& inputs)
      : record_(record), current_(record.Current), before_(before), inputs_(inputs) {}

  std::string Field(const WritePosition& row) const {
    switch (row.source) {
      case S::kLiteral:
        return std::string(row.literal);
      case S::kVehiclePlusTrailer:
        return Money2OrEmpty(SumAmounts(before_.VehicleSumInsured, before_.TrailerSumInsured, ""));
      case S::kCommission:
        return FormatMoney2(Commission());
      case S::kNetPremium:
        return FormatMoney2(AmountOrZero(current_.TotalPremium) - Commission());
      case S::kDriverCategory:
        return DriverCategory();
      default:
        return FromField(row);
    }
  }

 private:
  std::string FromField(const WritePosition& row) const {
    const FieldInfo& field = *row.field;
    const std::string text = GetFieldText(record_, Instance::kCurrent, field);
    switch (row.source) {
      case S::kAsIs:
      case S::kList:
      case S::kTrueFalse:
        return text;
      case S::kTrimmed:
        return Trim(text);
      case S::kUpper:
        return UCase(text);
      case S::kMoney2:
        return Money2OrEmpty(text);
      case S::kMoney2AsBefore:
        return Money2OrEmpty(before_.*field.text);
      case S::kDriverList:
        return DenseList(current_.*field.text_array, current_.DriverNames);
      case S::kExtCoverList:
        return DenseList(current_.*field.text_array, current_.ExtCoverCodes);
      case S::kDateTimeWithIssue:
        return DateTimeText(text, current_.IssueTime, "issue date");
      case S::kDateTimeWithEffective:
        return DateTimeText(Trim(text), record_.EffectiveTime, "effective date");
      case S::kDate: {
        if (Trim(text).empty()) return {};
        const std::optional<Date> date = ReadDate(text);
        if (!date) {
          throw RuntimeFailure(failure::kTypeMismatch, "Not a date: " + text,
                               "BuildWriteAdminRecord");
        }
        return FormatDate(*date);
      }
      case S::kByTransactionType: {
        const FieldInfo& chosen = IsChangeOfCover(current_.TransactionType) ? field : *row.other;
        return Money2OrEmpty(current_.*chosen.text);
      }
      default:
        return {};
    }
  }

  // The elements of `column` on the rows whose `key` element is not empty.
  static std::string DenseList(const std::vector<std::string>& column,
                               const std::vector<std::string>& key) {
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < key.size(); ++i) {
      if (key[i].empty()) continue;
      kept.push_back(i < column.size() ? column[i] : std::string());
    }
    return Join(kept, DialogArgSeparator);
  }

  // Ten percent of the gross premium, in double precision and then held to four decimals.
  Currency Commission() const {
    const std::string& base = IsChangeOfCover(current_.TransactionType) ? current_.AltGrossPremium
                                                                        : current_.GrossPremium;
    if (base.empty()) return Currency();
    return Currency::FromDouble(Currency::Parse(base).ToDouble() * kCommissionPercent.ToDouble() /
                                100.0);
  }

  std::string DriverCategory() const {
    const bool any_driver_cover =
        std::ranges::any_of(current_.ExtCoverCodes, [this](const std::string& code) {
          return code == inputs_.DriverCoverCode1 || code == inputs_.DriverCoverCode2;
        });
    const std::string& cover = current_.CoverType;
    // The upper bound of the driver rows, empty ones included.
    const std::size_t upper_bound =
        current_.DriverNames.empty() ? 0 : current_.DriverNames.size() - 1;
    if (cover == "PRIVATE") {
      if (any_driver_cover) return "3";
      return upper_bound < 2 ? "1" : "2";
    }
    if (cover == "MOTORCYCLE") return any_driver_cover ? "5" : "4";
    return "9";
  }

  const CoverNoteRecord& record_;
  const CoverNoteFields& current_;
  const CoverNoteFields& before_;
  const WriteAdminInputs& inputs_;
};

void SetAll(CoverNoteRecord& record, std::span<const std::string_view> names,
            std::string_view text) {
  for (const std::string_view name : names) SetFieldText(record, Instance::kCurrent, name, text);
}

}  // namespace

WriteLayout WriteAdminLayout() { return kWriteAdmin; }

std::string BuildWriteAdminRecord(CoverNoteRecord& record, const WriteAdminInputs& inputs) {
  const CoverNoteFields before = record.Current;
  if (record.Current.TransactionType == "O") {
    SetAll(record, kZeroedForOtherPremium, "0.00");
    SetAll(record, kEmptiedForOtherPremium, "");
  }
  if (!inputs.NewTariffInUse) {
    SetAll(record, kEmptiedOffNewTariff, "");
    SetAll(record, kNeutralOffNewTariff, "100");
  }
  const RecordBuilder builder(record, before, inputs);
  std::vector<std::string> fields;
  fields.reserve(std::size(kWriteAdmin));
  for (const WritePosition& row : kWriteAdmin) fields.push_back(builder.Field(row));
  return Join(fields, FieldSeparator);
}

}  // namespace cn

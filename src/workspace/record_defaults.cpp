#include "workspace/record_defaults.h"

#include <string_view>

#include "base/date_format.h"
#include "integration/dates.h"
#include "integration/list_search.h"
#include "integration/motor_lists.h"
#include "integration/shell_bridge.h"
#include "integration/system_codes.h"
#include "workspace/field_catalogue.h"

namespace cn {
namespace {

// A field of each instance that holds text; anything else does not compile.
consteval std::string CoverNoteFields::*TextMember(std::string_view field_name) {
  const FieldInfo& field = FieldNamed(field_name);
  if (field.kind != FieldKind::kText || field.BesideRecord()) throw "fixed defaults are texts";
  return field.text;
}

struct FixedDefault {
  consteval FixedDefault(std::string_view field_name, std::string_view value)
      : field(TextMember(field_name)), value(value) {}
  std::string CoverNoteFields::*field;
  std::string_view value;
};

// The defaults that do not depend on the date, the settings or the lookup lists;
// every field not listed here or set below starts empty.
constexpr FixedDefault kFixedDefaults[] = {
    {"NoOfClaims", "0"},
    {"Hazard", "0"},
    {"Capacity", "0"},
    {"AdminField105", "0"},
    {"FTZ", "0"},
    {"ClientType", "P"},
    {"CoverType", "PRIVATE"},
    {"Gender", "M"},
    {"MaritalStatus", "S"},
    {"GarageCode", "03"},
    {"GSLock", "0"},
    {"LockType", "0"},
    {"SafetyFeature", "99"},
    // The premium amounts.
    {"VehicleSumInsured", "0"},
    {"TrailerSumInsured", "0"},
    {"TotalExtSumInsured", "0"},
    {"PremiumField46", "0"},
    {"PremiumField47", "0"},
    {"TariffPremium", "0"},
    {"AllRiderPremium", "0"},
    {"LoadPercentage", "0"},
    {"LoadAmount", "0"},
    {"NCDYear", "0"},
    {"NCDPercentage", "0"},
    {"NCDAmount", "0"},
    {"BasicPremium", "0"},
    {"TotalExtPremium", "0"},
    {"TotalSumInsured", "0"},
    {"GrossPremium", "0"},
    {"ServiceTaxAmount", "0"},
    {"TransferFee", "0"},
    {"TotalPremium", "0"},
    {"OTCAmount", "0"},
    {"ExcessAmount", "0"},
    {"PremiumField70", "0"},
    {"PremiumField71", "0"},
    {"AltGrossPremium", "0"},
    {"PremiumField87", "0"},
    {"PremiumField89", "0"},
    // Rates that leave the premium as it is.
    {"RMTNCDYearRate", "100"},
    {"RMTCapacityRate", "100"},
    {"RMTVehicleAgeRate", "100"},
    {"RMTSumInsuredRate", "100"},
    {"RMTRate", "100"},
    {"ShortCalculation", "P"},
    {"OtherCharges", "0"},
    {"TrailerNP", "0"},
    {"AdminField152", "0"},
    {"GSTGrossPremiumPercentage", "0"},
    {"GSTGrossPremiumAmount", "0"},
    {"GSTTransferFeePercentage", "0"},
    {"GSTTransferFeeAmount", "0"},
    {"GSTOthChargePercentage", "0"},
    {"GSTOthChargeAmount", "0"},
};

constexpr std::int32_t kDefaultMotorCoverCode = 1011;
constexpr std::int32_t kDefaultServiceTaxRate = 1025;
constexpr std::int32_t kDefaultStampDuty = 1026;
constexpr std::int32_t kInsuredAsDriver = 1030;
constexpr std::int32_t kCoversWithInsuredDriver = 1061;
constexpr std::int32_t kPrivateClassKind = 0;

std::string FirstCode(const std::vector<std::string>& list) {
  return list.empty() ? std::string() : FieldAt(SplitFields(list.front()), 0);
}

// The transaction type stays as the Cover tab shows it, unless a fill or a reset
// is refilling the page.
std::string DefaultTransactionType(const Workspace& workspace, dom::Document* cover_page) {
  if (cover_page != nullptr && workspace.page.CurrentTabId == kCoverTabId &&
      !workspace.page.PageFilling) {
    return cover_page->GetElementById("cboTransactionType")->Value();
  }
  return "N";
}

void ClearFlags(Workspace& workspace) {
  workspace.read.RecordShown = false;
  workspace.read.LoadedCoverNoteNo.clear();
  workspace.read.AsReadReply.clear();
  workspace.read.ReadOnlyReason.clear();
  PremiumState& premium = workspace.premium;
  premium.FactorsChangedNewTariff = false;
  premium.BasicPremiumEntered = false;
  premium.LoadPercentageEntered = false;
  premium.TariffPremiumEntered = false;
  premium.ExcessEntered = false;
  premium.PremiumChangedV10 = false;
  workspace.client.NewAddress = false;
  workspace.page.NamedDriverCountSeen = 1;
  if (workspace.row_tables.ResetExtendedCoverTable) workspace.row_tables.ResetExtendedCoverTable();
}

CoverNoteFields Defaults(Workspace& workspace, dom::Document* cover_page) {
  LookupState& lookup = workspace.lookup;
  const Components& components = workspace.components;
  CoverNoteFields fields;
  fields.TransactionType = DefaultTransactionType(workspace, cover_page);
  for (const FixedDefault& fixed : kFixedDefaults) fields.*fixed.field = fixed.value;

  const DateTime now = SystemDateTime(workspace);
  fields.IssueDate = FormatDate(now.date);
  fields.IssueTime = FormatTime(now.time);

  std::vector<std::string>& private_classes = workspace.class_lists.PrivateClassList;
  if (private_classes.empty()) {
    private_classes = GetMotorClassList(lookup, components, kPrivateClassKind);
  }
  fields.ClassCode = FirstCode(private_classes);
  // The class uses come with the class code's motor cover list.
  if (!fields.ClassCode.empty()) LoadMotorCoverList(lookup, components, fields.ClassCode);
  fields.ClassUse = FirstCode(lookup.MotorCoverList);
  fields.MotorCoverCode = GetSystemCode(lookup, components, kDefaultMotorCoverCode);
  fields.ScopeOfCover = 0;

  fields.EffectiveDate = FormatDate(now.date);
  fields.ExpiryDate = FormatDate(ExpiryFromEffective(now.date));
  fields.ReferenceDate = fields.EffectiveDate;
  // A transfer carries no service tax of its own.
  fields.ServiceTaxPercentage = fields.TransactionType == "T"
                                    ? std::string("0")
                                    : GetSystemCode(lookup, components, kDefaultServiceTaxRate);
  fields.StampDuty = GetSystemCode(lookup, components, kDefaultStampDuty);
  fields.Region = workspace.startup.AgentTariffRegion;
  fields.HasExInsurer = false;

  ResetAllArrays(fields);
  // Private covers listed in 1061 insure the policyholder as the first driver.
  if (fields.CoverType == "PRIVATE" &&
      IsInSystemCodeList(lookup, components, fields.MotorCoverCode, kCoversWithInsuredDriver)) {
    fields.DriverNames.front() = GetSystemCode(lookup, components, kInsuredAsDriver);
  }
  return fields;
}

}  // namespace

void SetRecordDefaults(Workspace& workspace, dom::Document* cover_page, dom::Window& window) {
  ClearFlags(workspace);
  CoverNoteRecord& record = workspace.record;
  record.Current = Defaults(workspace, cover_page);
  record.EffectiveTime.clear();
  record.ExtUserPremiumMarks = {false};

  SetTitle(window, kScreenTitle, "");
  record.Previous = PackedFields(record.Current);
  workspace.transfer.ClientCopy = ClientDetails();
  workspace.client.ClientAsRead = ClientDetails();
}

}  // namespace cn

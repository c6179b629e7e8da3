// The Cover tab: transfer between the record and the page. The plain element-to-field
// copies are tables in the order they run; the rules around them (address lines, the
// placeholder vehicle number, the licence, the cover type) are steps of their own.

#include "workspace/cover_tab_transfer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/number_format.h"
#include "base/text.h"
#include "integration/fill_select.h"
#include "integration/list_search.h"
#include "integration/motor_lists.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"
#include "integration/system_codes.h"
#include "pages/premium/premium_compute.h"
#include "workspace/kept_while_showing.h"
#include "workspace/licence.h"
#include "workspace/named_driver_check.h"
#include "workspace/tab_transfer.h"

namespace cn {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::int32_t kPlaceholderVehicleNo = 1031;
constexpr std::int32_t kNoSumInsuredCover = 1001;
constexpr std::int32_t kDefaultServiceTaxRate = 1025;

using TextField = std::string CoverNoteFields::*;

std::string WithoutDashes(std::string_view text) { return Replace(text, "-", ""); }

// A record date as the page shows it; a text that is no date is shown as it is.
std::string DateText(std::string_view text) {
  if (text.empty()) return "";
  const std::optional<Date> date = ReadDate(text);
  return date ? FormatDate(*date) : std::string(text);
}

std::string TimeText(std::string_view text) {
  if (text.empty()) return "";
  const std::optional<DateTime> date_time = ReadDateTime(text);
  return date_time ? FormatTime(date_time->time) : std::string(text);
}

// ---- Record to page ----

enum class Show {
  kText,
  kUpperCase,
  kWithoutDashes,
  kDate,
  kTime,
  kCheckedWhenOne,     // checked for "1"
  kCheckedUnlessOne,   // the "no" of a pair: checked for anything but "1"
  kYesOfPair,          // "1" checks, "0" clears, anything else leaves it
  kNoOfPair,           // "0" checks, "1" clears, anything else leaves it
  kNewAddressFlag,     // the workspace's new-address flag, not a record field
  kAfterLicenceLabel,  // the licence label first, then the text
  kPersonOnly,         // a person's value; a company's stored placeholder is not shown
};

struct ShowRow {
  std::string_view element;
  TextField field;
  Show how;
};

constexpr ShowRow kShowRows[] = {
    {"txtCoverNoteNumber", &CoverNoteFields::CoverNoteNo, Show::kText},
    {"cboCNStatus", &CoverNoteFields::CoverNoteStatus, Show::kText},
    {"cboTransactionType", &CoverNoteFields::TransactionType, Show::kText},
    {"txtDateOfIssue", &CoverNoteFields::IssueDate, Show::kDate},
    {"txtTimeOfIssue", &CoverNoteFields::IssueTime, Show::kTime},
    {"txtName", &CoverNoteFields::ClientName, Show::kText},
    {"chkNewAdd", nullptr, Show::kNewAddressFlag},
    {"optFTZYes", &CoverNoteFields::FTZ, Show::kCheckedWhenOne},
    {"optFTZNo", &CoverNoteFields::FTZ, Show::kCheckedUnlessOne},
    {"txtPostal", &CoverNoteFields::PostalCode, Show::kText},
    {"txtTown", &CoverNoteFields::Town, Show::kText},
    {"cboState", &CoverNoteFields::StateCode, Show::kText},
    {"txtOldNRIC", &CoverNoteFields::OldNRIC, Show::kText},
    {"txtNRIC", &CoverNoteFields::NRIC, Show::kText},
    {"txtDrivingLicenseNumber", &CoverNoteFields::DrivingLicenseNo, Show::kText},
    {"txtBusinessRegistration", &CoverNoteFields::BusinessRegistrationNo, Show::kText},
    {"txtHouseTel", &CoverNoteFields::HouseTel, Show::kWithoutDashes},
    {"txtBizTel", &CoverNoteFields::BizTel, Show::kWithoutDashes},
    {"txtMobileTel", &CoverNoteFields::MobileTel, Show::kWithoutDashes},
    {"txtEmail", &CoverNoteFields::Email, Show::kText},
    {"cboMaritalStat", &CoverNoteFields::MaritalStatus, Show::kPersonOnly},
    {"cboVehGar", &CoverNoteFields::GarageCode, Show::kText},
    {"txtVehicleNumber", &CoverNoteFields::VehicleNo, Show::kUpperCase},
    {"txtTrailerNumber", &CoverNoteFields::TrailerNo, Show::kText},
    {"txtMortgagee", &CoverNoteFields::Mortgagee, Show::kText},
    {"cboMotorCoverCode", &CoverNoteFields::MotorCoverCode, Show::kAfterLicenceLabel},
    {"cboClassUse", &CoverNoteFields::ClassUse, Show::kText},
    {"txtClientCode", &CoverNoteFields::ClientCode, Show::kText},
    {"txtDrivingLicenseClass", &CoverNoteFields::DrivingLicenseClass, Show::kText},
    {"txtDOB", &CoverNoteFields::DateOfBirth, Show::kText},
    {"cboNationality", &CoverNoteFields::Nationality, Show::kText},
    {"cboInsOcc", &CoverNoteFields::OccupationCode, Show::kText},
    {"cboNatBiz", &CoverNoteFields::BusinessNatureCode, Show::kText},
    {"txtEmpName", &CoverNoteFields::EmployerName, Show::kText},
    {"cboTown", &CoverNoteFields::TownCode, Show::kText},
    {"txtGSTRegNo", &CoverNoteFields::GSTRegNo, Show::kText},
    {"optGSTRegisteredYes", &CoverNoteFields::GSTRegistered, Show::kYesOfPair},
    {"optGSTRegisteredNo", &CoverNoteFields::GSTRegistered, Show::kNoOfPair},
    {"optGSTVehBizUseYes", &CoverNoteFields::GSTVehicleBizUse, Show::kYesOfPair},
    {"optGSTVehBizUseNo", &CoverNoteFields::GSTVehicleBizUse, Show::kNoOfPair},
};

void ShowOne(const Workspace& workspace, dom::Document& page, const ShowRow& row) {
  dom::Element& element = *page.GetElementById(row.element);
  const std::string text = row.field ? workspace.record.Current.*row.field : std::string();
  switch (row.how) {
    case Show::kText:
      ShowStoredValue(element, text);
      return;
    case Show::kUpperCase:
      element.SetValue(UCase(text));
      return;
    case Show::kWithoutDashes:
      element.SetValue(WithoutDashes(text));
      return;
    case Show::kDate:
      element.SetValue(DateText(text));
      return;
    case Show::kTime:
      element.SetValue(TimeText(text));
      return;
    case Show::kCheckedWhenOne:
      element.SetChecked(text == "1");
      return;
    case Show::kCheckedUnlessOne:
      element.SetChecked(text != "1");
      return;
    case Show::kYesOfPair:
      if (text == "1" || text == "0") element.SetChecked(text == "1");
      return;
    case Show::kNoOfPair:
      if (text == "1" || text == "0") element.SetChecked(text == "0");
      return;
    case Show::kNewAddressFlag:
      element.SetChecked(workspace.client.NewAddress);
      return;
    case Show::kPersonOnly:
      if (workspace.record.Current.ClientType == "C") {
        element.SetValue(text);
      } else {
        ShowStoredValue(element, text);
      }
      return;
    case Show::kAfterLicenceLabel:
      ShowLicenceLabel(page);
      ShowStoredValue(element, text);
      return;
  }
}

constexpr std::string_view kAddressBoxes[] = {"txtAddress", "txtAddress2", "txtAddress3",
                                              "txtAddress4"};

// The stored address, one line per box. Lines are kept with CR LF, but an address the
// back end stored with bare LF shows the same. A fourth box holds the fourth line only
// when it is the last; a longer address shows its first three lines.
void ShowAddress(const std::string& address, dom::Document& page) {
  const std::vector<std::string> lines =
      Split(Replace(Replace(address, kCrLf, "\n"), "\n", kCrLf), kCrLf);
  for (std::size_t box = 0; box < std::size(kAddressBoxes); ++box) {
    const bool shown = box < 3 ? box < lines.size() : lines.size() == 4;
    page.GetElementById(kAddressBoxes[box])->SetValue(shown ? lines[box] : "");
  }
}

constexpr CoverTypeKind kCoverTypeOrder[] = {CoverTypeKind::kPrivate, CoverTypeKind::kCommercial,
                                             CoverTypeKind::kMotorcycle};

struct CoverTypeOption {
  std::string_view option;
  std::string_view cover_type;
};
constexpr CoverTypeOption kCoverTypeOptions[] = {
    {"optPrivateCover", "PRIVATE"},
    {"optCommercialCover", "COMMERCIAL"},
    {"optMotorcycleCover", "MOTORCYCLE"},
};

bool ListHasClass(const std::vector<std::string>& list, std::string_view class_code) {
  return !class_code.empty() && FindCodeInList(list, class_code) == class_code;
}

// The cover type is the one whose class list holds the class; the option's own handler
// then refills the class list.
void ShowCoverType(Workspace& workspace, dom::Document& page) {
  CoverNoteFields& current = workspace.record.Current;
  for (const CoverTypeKind kind : kCoverTypeOrder) {
    if (!ListHasClass(CoverTypeClassList(workspace, kind), current.ClassCode)) continue;
    const CoverTypeOption& option = kCoverTypeOptions[static_cast<int>(kind)];
    {
      // Showing the cover type is not choosing it: the option's resets are undone.
      const KeptWhileShowing kept(current);
      page.GetElementById(option.option)->Click();
    }
    ShowStoredValue(*page.GetElementById("cboClassCode"), current.ClassCode);
    current.CoverType = std::string(option.cover_type);
    return;
  }
}

// ---- Page to record ----

enum class Take { kText, kUpperCase, kWithoutDashes, kSelectedText };

struct TakeRow {
  std::string_view element;
  TextField field;
  Take how;
};

std::string TakeOne(dom::Element& element, Take how) {
  switch (how) {
    case Take::kText:
      return element.Value();
    case Take::kUpperCase:
      return UCase(element.Value());
    case Take::kWithoutDashes:
      return WithoutDashes(element.Value());
    case Take::kSelectedText: {
      const int index = element.SelectedIndex();
      return index < 0 ? std::string() : element.Options().Item(index)->Text();
    }
  }
  return {};
}

// Only the boxes the administrator changed reach the record.
bool Changed(Workspace& workspace, dom::Document& page, std::string_view id) {
  return workspace.transfer.Shown.Changed(page, id);
}

void TakeRows(Workspace& workspace, dom::Document& page, std::span<const TakeRow> rows) {
  for (const TakeRow& row : rows) {
    if (!Changed(workspace, page, row.element)) continue;
    workspace.record.Current.*row.field = TakeOne(*page.GetElementById(row.element), row.how);
  }
}

constexpr TakeRow kCoverRows[] = {
    {"txtCoverNoteNumber", &CoverNoteFields::CoverNoteNo, Take::kText},
    {"cboCNStatus", &CoverNoteFields::CoverNoteStatus, Take::kText},
    {"cboTransactionType", &CoverNoteFields::TransactionType, Take::kText},
    {"txtDateOfIssue", &CoverNoteFields::IssueDate, Take::kText},
    {"txtTimeOfIssue", &CoverNoteFields::IssueTime, Take::kText},
    {"txtName", &CoverNoteFields::ClientName, Take::kText},
};

constexpr TakeRow kIdentityRows[] = {
    {"txtOldNRIC", &CoverNoteFields::OldNRIC, Take::kUpperCase},
    {"txtNRIC", &CoverNoteFields::NRIC, Take::kText},
};
constexpr TakeRow kContactRows[] = {
    {"txtDrivingLicenseNumber", &CoverNoteFields::DrivingLicenseNo, Take::kUpperCase},
    {"txtBusinessRegistration", &CoverNoteFields::BusinessRegistrationNo, Take::kUpperCase},
    {"txtHouseTel", &CoverNoteFields::HouseTel, Take::kWithoutDashes},
    {"txtBizTel", &CoverNoteFields::BizTel, Take::kWithoutDashes},
    {"txtMobileTel", &CoverNoteFields::MobileTel, Take::kWithoutDashes},
    {"txtEmail", &CoverNoteFields::Email, Take::kText},
    {"cboClassCode", &CoverNoteFields::ClassCode, Take::kText},
    {"cboClassUse", &CoverNoteFields::ClassUse, Take::kText},
};

constexpr TakeRow kClientRows[] = {
    {"txtDOB", &CoverNoteFields::DateOfBirth, Take::kText},
    {"txtDrivingLicenseClass", &CoverNoteFields::DrivingLicenseClass, Take::kUpperCase},
    {"txtClientCode", &CoverNoteFields::ClientCode, Take::kUpperCase},
    {"cboNationality", &CoverNoteFields::Nationality, Take::kUpperCase},
    {"cboInsOcc", &CoverNoteFields::OccupationCode, Take::kUpperCase},
    {"cboNatBiz", &CoverNoteFields::BusinessNatureCode, Take::kUpperCase},
    {"txtEmpName", &CoverNoteFields::EmployerName, Take::kUpperCase},
};

// The names of the chosen occupation and business nature, when one is chosen.
constexpr TakeRow kChosenNameRows[] = {
    {"cboInsOcc", &CoverNoteFields::OccupationName, Take::kSelectedText},
    {"cboNatBiz", &CoverNoteFields::BusinessNatureName, Take::kSelectedText},
};

Currency AmountOf(std::string_view text) { return Currency::TryParse(text).value_or(Currency{}); }

// Another cover type, class or motor cover is rated afresh: the NCD choices and the
// extended covers on offer are those of the new class, and the record's start again.
void RefreshClassLookups(Workspace& workspace, dom::Document& page) {
  const CoverNoteFields& current = workspace.record.Current;
  std::string_view checked_cover_type;
  for (const CoverTypeOption& option : kCoverTypeOptions) {
    if (page.GetElementById(option.option)->Checked()) checked_cover_type = option.cover_type;
  }
  const std::string class_code = page.GetElementById("cboClassCode")->Value();
  const std::string motor_cover = page.GetElementById("cboMotorCoverCode")->Value();
  // No class chosen, nothing to rate: the empty cover note of a fresh screen asks nothing.
  if (class_code.empty() ||
      (checked_cover_type == current.CoverType && class_code == current.ClassCode &&
       motor_cover == current.MotorCoverCode)) {
    return;
  }
  LoadNCDList(workspace, class_code, true);
  LoadExtendedCoverDetails(workspace, class_code, motor_cover, true);
}

// A motor cover without a sum insured (system code 1001) insures neither vehicle nor
// trailer at a value; a trailer numbered with that code has no value of its own.
void ApplySumInsuredRule(Workspace& workspace, dom::Document& page) {
  CoverNoteFields& current = workspace.record.Current;
  if (!Changed(workspace, page, "cboMotorCoverCode") &&
      !Changed(workspace, page, "txtTrailerNumber")) {
    return;
  }
  const std::string no_sum_insured =
      GetSystemCode(workspace.lookup, workspace.components, kNoSumInsuredCover);
  if (page.GetElementById("cboMotorCoverCode")->Value() == no_sum_insured) {
    current.VehicleSumInsured = "0";
    current.TrailerSumInsured = "0";
  } else if (page.GetElementById("txtTrailerNumber")->Value() == no_sum_insured) {
    current.TrailerSumInsured = "0";
  } else {
    return;
  }
  current.TotalSumInsured =
      FormatMoney2(AmountOf(current.VehicleSumInsured) + AmountOf(current.TrailerSumInsured));
}

void TakeClientType(Workspace& workspace, dom::Document& page) {
  CoverNoteFields& current = workspace.record.Current;
  const bool type_changed =
      Changed(workspace, page, "optPersonalType") || Changed(workspace, page, "optCompanyType");
  if (page.GetElementById("optPersonalType")->Checked()) {
    if (type_changed || Changed(workspace, page, "cboGender")) {
      current.Gender = page.GetElementById("cboGender")->Value();
    }
    if (type_changed || Changed(workspace, page, "cboMaritalStat")) {
      current.MaritalStatus = page.GetElementById("cboMaritalStat")->Value();
    }
    if (type_changed) {
      current.ClientType = "P";
      current.FTZ = "0";
    }
    return;
  }
  if (!type_changed && !Changed(workspace, page, "optFTZYes") &&
      !Changed(workspace, page, "optFTZNo")) {
    return;
  }
  current.Gender = "";
  current.MaritalStatus = "3";
  const std::string ftz = page.GetElementById("optFTZYes")->Checked() ? "1" : "0";
  // A company in a free trade zone pays no service tax. The rate follows a change of the
  // zone or of the client type; a company shown as stored keeps the rate it was issued with.
  if (ftz != current.FTZ || current.ClientType != "C") {
    current.ServiceTaxPercentage =
        ftz == "1" ? "0"
                   : GetSystemCode(workspace.lookup, workspace.components, kDefaultServiceTaxRate);
  }
  current.ClientType = "C";
  current.FTZ = ftz;
}

bool AddressChanged(Workspace& workspace, dom::Document& page) {
  return std::ranges::any_of(kAddressBoxes,
                             [&](std::string_view box) { return Changed(workspace, page, box); });
}

std::string TakeAddress(dom::Document& page) {
  std::string address;
  for (std::size_t box = 0; box < std::size(kAddressBoxes); ++box) {
    const std::string line = UCase(Trim(page.GetElementById(kAddressBoxes[box])->Value()));
    if (box == 0) {
      address = line;
    } else if (!line.empty()) {
      if (!address.empty()) address += kCrLf;
      address += line;
    }
  }
  return address;
}

std::int32_t ScopeOfCover(Workspace& workspace, std::string_view motor_cover_code) {
  EnsureUseLocalTable(workspace.lookup, workspace.components);
  if (workspace.lookup.UseLocalTable != "1") {
    ServiceGateway gateway(workspace.components);
    return gateway.ExecuteCommand("Tarvin.Find.GetScopeOfCover", motor_cover_code).status;
  }
  return workspace.components.SharedFieldRuleService().GetScopeOfCover(motor_cover_code);
}

void TakeCoverType(Workspace& workspace, dom::Document& page) {
  CoverNoteFields& current = workspace.record.Current;
  const bool chosen = Changed(workspace, page, "cboClassCode") ||
                      std::ranges::any_of(kCoverTypeOptions, [&](const CoverTypeOption& option) {
                        return Changed(workspace, page, option.option);
                      });
  if (!chosen) return;
  for (const CoverTypeKind kind : kCoverTypeOrder) {
    const CoverTypeOption& option = kCoverTypeOptions[static_cast<int>(kind)];
    if (!page.GetElementById(option.option)->Checked()) continue;
    current.CoverType = std::string(option.cover_type);
    FindEntryFields(CoverTypeClassList(workspace, kind), current.ClassCode,
                    current.ClassListColumn2, current.ClassListColumn3);
    return;
  }
}

struct ClientCopyRow {
  std::string ClientDetails::*copy;
  TextField field;
};
constexpr ClientCopyRow kClientCopyRows[] = {
    {&ClientDetails::ClientCode, &CoverNoteFields::ClientCode},
    {&ClientDetails::ClientName, &CoverNoteFields::ClientName},
    {&ClientDetails::OldNRIC, &CoverNoteFields::OldNRIC},
    {&ClientDetails::NRIC, &CoverNoteFields::NRIC},
    {&ClientDetails::BusinessRegistrationNo, &CoverNoteFields::BusinessRegistrationNo},
    {&ClientDetails::Gender, &CoverNoteFields::Gender},
    {&ClientDetails::DateOfBirth, &CoverNoteFields::DateOfBirth},
    {&ClientDetails::MaritalStatus, &CoverNoteFields::MaritalStatus},
    {&ClientDetails::Nationality, &CoverNoteFields::Nationality},
    {&ClientDetails::Address, &CoverNoteFields::Address},
    {&ClientDetails::Town, &CoverNoteFields::Town},
    {&ClientDetails::PostalCode, &CoverNoteFields::PostalCode},
    {&ClientDetails::StateCode, &CoverNoteFields::StateCode},
    {&ClientDetails::HouseTel, &CoverNoteFields::HouseTel},
    {&ClientDetails::BizTel, &CoverNoteFields::BizTel},
    {&ClientDetails::MobileTel, &CoverNoteFields::MobileTel},
    {&ClientDetails::Email, &CoverNoteFields::Email},
};

}  // namespace

std::string PlaceholderVehicleNumber(Workspace& workspace) {
  return UCase(GetSystemCode(workspace.lookup, workspace.components, kPlaceholderVehicleNo));
}

bool HasPlaceholderVehicleNumber(Workspace& workspace) {
  const std::string placeholder = PlaceholderVehicleNumber(workspace);
  const CoverNoteFields& current = workspace.record.Current;
  return UCase(current.VehicleNo) == placeholder || UCase(current.TrailerNo) == placeholder;
}

const std::vector<std::string>& CoverTypeClassList(Workspace& workspace, CoverTypeKind kind) {
  std::vector<std::string>* list = &workspace.class_lists.PrivateClassList;
  if (kind == CoverTypeKind::kCommercial) list = &workspace.class_lists.CommercialClassList;
  if (kind == CoverTypeKind::kMotorcycle) list = &workspace.class_lists.MotorcycleClassList;
  if (list->empty()) {
    *list = GetMotorClassList(workspace.lookup, workspace.components, static_cast<int>(kind));
  }
  return *list;
}

void RefreshClientCopy(Workspace& workspace) {
  for (const ClientCopyRow& row : kClientCopyRows) {
    workspace.transfer.ClientCopy.*row.copy = workspace.record.Current.*row.field;
  }
  ClientDetails& copy = workspace.transfer.ClientCopy;
  copy.HouseTel = WithoutDashes(copy.HouseTel);
  copy.BizTel = WithoutDashes(copy.BizTel);
  copy.MobileTel = WithoutDashes(copy.MobileTel);
}

void CoverTabRecordToPage(Workspace& workspace, dom::Document& page, std::string_view /*tab_id*/) {
  const CoverNoteFields& current = workspace.record.Current;
  if (page.GetElementById("cboClassCode")->Value() != current.ClassCode ||
      page.GetElementById("cboMotorCoverCode")->Value() != current.MotorCoverCode) {
    workspace.page.ExtendedCoverDetailsStale = true;
    workspace.transfer.ClassOrCoverChanged = true;
  }
  for (const ShowRow& row : kShowRows) ShowOne(workspace, page, row);
  ShowAddress(current.Address, page);

  // A vehicle not yet registered has no period of cover to show.
  const bool placeholder = HasPlaceholderVehicleNumber(workspace);
  page.GetElementById("txtExpiryDate")->SetValue(placeholder ? "" : current.ExpiryDate);
  page.GetElementById("txtEffectiveDate")->SetValue(placeholder ? "" : current.EffectiveDate);

  // A new cover note records the licence date, any other the years of driving.
  dom::Element& licence = *page.GetElementById("txtLicenseDate");
  if (current.LicenseDate.empty()) {
    licence.SetValue("");
  } else if (page.GetElementById("cboTransactionType")->Value() == "N") {
    licence.SetValue(current.LicenseDate);
  } else {
    licence.SetValue(std::to_string(LicenceYears(workspace, current.LicenseDate)));
  }

  ShowCoverType(workspace, page);
}

void CoverTabPageToRecord(Workspace& workspace, dom::Document& page, std::string_view /*tab_id*/) {
  CoverNoteFields& current = workspace.record.Current;
  const auto changed = [&](std::string_view id) { return Changed(workspace, page, id); };
  const auto value = [&](std::string_view id) { return page.GetElementById(id)->Value(); };
  RefreshClassLookups(workspace, page);
  ApplySumInsuredRule(workspace, page);
  TakeClientType(workspace, page);

  if (changed("cboVehGar")) current.GarageCode = value("cboVehGar");
  CheckNamedDriverExtCoverSilently(workspace);
  TakeRows(workspace, page, kCoverRows);
  if (AddressChanged(workspace, page)) current.Address = TakeAddress(page);

  if (changed("txtPostal")) current.PostalCode = value("txtPostal");
  if (changed("txtTown")) current.Town = UCase(value("txtTown"));
  if (changed("cboState")) current.StateCode = value("cboState");
  // The state's name is only shown, never written: it follows the state shown.
  if (!current.StateCode.empty()) {
    current.StateName = TakeOne(*page.GetElementById("cboState"), Take::kSelectedText);
  }

  TakeRows(workspace, page, kIdentityRows);
  const std::string nric = Trim(current.NRIC);
  workspace.transfer.NRICGiven = !nric.empty() && nric != "-";
  TakeRows(workspace, page, kContactRows);

  const std::string licence = value("txtLicenseDate");
  if (!licence.empty() && changed("txtLicenseDate")) {
    if (current.TransactionType == "N") {
      current.LicenseDate = licence;
    } else {
      const auto years =
          static_cast<std::int32_t>(Currency::Parse(licence).units() / Currency::kScale);
      // Whole years shown are not the date: the stored date stays while they still agree.
      if (current.LicenseDate.empty() || LicenceYears(workspace, current.LicenseDate) != years) {
        current.LicenseDate = LicenceDateFromYears(workspace, years);
      }
    }
  }

  dom::Element& class_code = *page.GetElementById("cboClassCode");
  workspace.transfer.ClassDescription = TakeOne(class_code, Take::kSelectedText);
  if (changed("cboMotorCoverCode")) current.MotorCoverCode = value("cboMotorCoverCode");

  // The record keeps the real period of cover while the page shows none for a vehicle not
  // yet registered.
  if (!HasPlaceholderVehicleNumber(workspace)) {
    if (changed("txtEffectiveDate")) current.EffectiveDate = value("txtEffectiveDate");
    if (changed("txtExpiryDate")) current.ExpiryDate = value("txtExpiryDate");
  }
  if (changed("txtVehicleNumber")) current.VehicleNo = UCase(value("txtVehicleNumber"));
  if (changed("txtMortgagee")) current.Mortgagee = value("txtMortgagee");
  if (changed("txtTrailerNumber")) current.TrailerNo = UCase(value("txtTrailerNumber"));

  current.ScopeOfCover = ScopeOfCover(workspace, current.MotorCoverCode);
  TakeCoverType(workspace, page);

  TakeRows(workspace, page, kClientRows);
  for (const TakeRow& row : kChosenNameRows) {
    if (!value(row.element).empty()) TakeRows(workspace, page, {&row, 1});
  }

  workspace.transfer.IssueDateReadOnly = page.GetElementById("txtDateOfIssue")->ReadOnly();
  workspace.transfer.TransactionTypeDisabled =
      page.GetElementById("cboTransactionType")->Disabled();
  RefreshClientCopy(workspace);
}

}  // namespace cn

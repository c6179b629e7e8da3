// The Cover tab's cover details: the transaction type (licence field and premium tab), the
// cover type with its class list, class and motor cover changes, and the free trade zone.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_reader.h"
#include "base/runtime_failure.h"
#include "base/text.h"
#include "integration/fill_select.h"
#include "integration/list_search.h"
#include "integration/motor_lists.h"
#include "integration/shell_bridge.h"
#include "integration/system_codes.h"
#include "pages/cover/cnaa_cov.h"
#include "pages/cover/cover_rules_support.h"
#include "pages/premium/select_premium_tab.h"
#include "workspace/cover_tab_transfer.h"
#include "workspace/licence.h"

namespace cn {
namespace {

constexpr std::string_view kLicenceDateBehaviour = "Behaviors/EntryDate.htc";
constexpr std::string_view kYearsOfDrivingBehaviour = "Behaviors/EntryNumber.htc";

constexpr std::int32_t kTrailerlessClasses = 1040;
constexpr std::int32_t kMinimumAgeOther = 1098;
constexpr std::int32_t kMinimumAgeMotorcycle = 1097;

// How a cover type resets the named drivers.
enum class DriverReset {
  kInsuredWhenListed,  // the insured as first driver when the motor cover asks for it
  kEmptyRow,
};

// What choosing a cover type does; in the order of CNAACov::CoverKind.
struct CoverKindRule {
  std::string_view option_id;
  CoverTypeKind class_list;
  bool trailer_allowed;
  bool hazard_cleared;
  DriverReset drivers;
  std::int32_t minimum_age_code;
};
constexpr std::array<CoverKindRule, 3> kCoverKinds = {{
    {"optPrivateCover", CoverTypeKind::kPrivate, false, true, DriverReset::kInsuredWhenListed,
     kMinimumAgeOther},
    {"optCommercialCover", CoverTypeKind::kCommercial, true, false, DriverReset::kEmptyRow,
     kMinimumAgeOther},
    {"optMotorcycleCover", CoverTypeKind::kMotorcycle, false, true, DriverReset::kEmptyRow,
     kMinimumAgeMotorcycle},
}};

// A value read at start-up; "" before the workspace has read it.
std::string StartupSystemCode(const Workspace& workspace, std::int32_t code) {
  const auto found = workspace.startup.SystemCodes.find(code);
  return found == workspace.startup.SystemCodes.end() ? std::string() : found->second;
}

}  // namespace

void CNAACov::MarkClassChanged() {
  Workspace& ws = workspace();
  ws.page.ExtendedCoverDetailsStale = true;
  ws.transfer.ClassOrCoverChanged = true;
  ws.premium.FactorsChangedNewTariff = true;
  ws.premium.FactorsChangedV10 = true;
  ForgetTypedFigures(ws.premium);
  ws.premium.BasicPremiumEntered = false;
}

void CNAACov::cboClassCode_onchange() {
  MarkClassChanged();
  workspace().record.Current.ClassCode = Element("cboClassCode").Value();
  GetUse();
}

void CNAACov::GetUse() {
  Workspace& ws = workspace();
  LoadMotorCoverList(ws.lookup, ws.components, ws.record.Current.ClassCode);
  ReplaceOptions(document(), "cboClassUse", ws.lookup.MotorCoverList);
}

void CNAACov::cboMotorCoverCode_onchange() {
  Workspace& ws = workspace();
  ws.page.ExtendedCoverDetailsStale = true;
  ws.premium.FactorsChangedNewTariff = true;
  ForgetTypedFigures(ws.premium);
  ws.premium.BasicPremiumEntered = false;
  ResetDriversForMotorCover(ws, document());
}

void CNAACov::cboTransactionType_onchange() {
  Workspace& ws = workspace();
  const std::string type = Element("cboTransactionType").Value();

  // A new cover note records the licence date, any other transaction the years of driving.
  dom::Element& licence = Element("txtLicenseDate");
  licence.SetValue("");
  if (licence_behaviour_id_ != 0) licence.RemoveBehavior(licence_behaviour_id_);
  licence_behaviour_id_ =
      licence.AddBehavior(type == "N" ? kLicenceDateBehaviour : kYearsOfDrivingBehaviour);
  ShowLicenceLabel(document());

  if (type == "P") {
    optCommercialCover_onclick();
    const std::vector<std::string> classes =
        Split(GetSystemCode(ws.lookup, ws.components, kTrailerlessClasses), ";");
    Element("cboClassCode").SetValue(classes.empty() ? std::string() : classes.front());
    cboClassCode_onchange();
  }

  CoverRulesState& rules = ws.cover_rules;
  if (type == "O" && ws.page.CurrentPremiumTabId != kOtherPremiumTabId) {
    rules.OtherPremiumTabActive = true;
    SelectPremiumTab(ws, window(), kOtherPremiumTabId);
    ShowCmdButton(window(), "cmdSave");
  } else {
    rules.OtherPremiumTabActive = false;
    ChoosePremiumTabByDate(type);
  }
}

void CNAACov::ChoosePremiumTabByDate(std::string_view transaction_type) {
  if (transaction_type == "O") return;
  Workspace& ws = workspace();
  const std::optional<Date> new_tariff_date = ReadDate(ws.startup.NewTariffDate);
  if (!new_tariff_date) {
    throw RuntimeFailure(failure::kTypeMismatch,
                         "Type mismatch: the new-tariff date \"" + ws.startup.NewTariffDate +
                             "\" is not a date",
                         "ChoosePremiumTabByDate");
  }
  const bool new_tariff = *new_tariff_date <= SystemDateTime(ws).date;
  const std::string_view tab_id = new_tariff ? kNewTariffPremiumTabId : kPremiumTabId;
  if (ws.page.CurrentPremiumTabId != tab_id) SelectPremiumTab(ws, window(), tab_id);
  ws.cover_rules.NewTariffInUse = new_tariff;
}

void CNAACov::optPrivateCover_onclick() { ChooseCoverKind(CoverKind::kPrivate); }
void CNAACov::optCommercialCover_onclick() { ChooseCoverKind(CoverKind::kCommercial); }
void CNAACov::optMotorcycleCover_onclick() { ChooseCoverKind(CoverKind::kMotorcycle); }

void CNAACov::ChooseCoverKind(CoverKind kind) {
  Workspace& ws = workspace();
  const CoverKindRule& rule = kCoverKinds[static_cast<std::size_t>(kind)];
  Element(rule.option_id).SetChecked(true);
  ApplyCoverType(kind);
  ForgetTypedFigures(ws.premium);
  ws.cover_rules.MinimumDrivingAge = StartupSystemCode(ws, rule.minimum_age_code);
}

void CNAACov::ApplyCoverType(CoverKind kind) {
  static_assert(static_cast<std::size_t>(CoverKind::kPrivate) == 0 &&
                static_cast<std::size_t>(CoverKind::kCommercial) == 1 &&
                static_cast<std::size_t>(CoverKind::kMotorcycle) == 2);
  Workspace& ws = workspace();
  CoverNoteFields& fields = ws.record.Current;
  const CoverKindRule& rule = kCoverKinds[static_cast<std::size_t>(kind)];

  // Only a commercial vehicle tows a trailer.
  dom::Element& trailer = Element("txtTrailerNumber");
  if (rule.trailer_allowed) {
    trailer.SetDisabled(false);
  } else {
    trailer.SetValue("");
    trailer.SetDisabled(true);
  }
  if (rule.hazard_cleared) fields.Hazard = "0";
  if (rule.drivers == DriverReset::kInsuredWhenListed) {
    ResetDriversForMotorCover(ws, document());
  } else {
    ResetNamedDrivers(fields);
  }

  const std::vector<std::string>& classes = CoverTypeClassList(ws, rule.class_list);
  ReplaceOptions(document(), "cboClassCode", classes);
  dom::Element& class_code = Element("cboClassCode");
  class_code.SetValue(fields.ClassCode);
  // A class of another cover type gives way to the first class of this one.
  if (class_code.SelectedIndex() < 0 && !classes.empty()) {
    class_code.SetValue(FieldAt(SplitFields(classes.front()), 0));
  }
  cboClassCode_onchange();
}

void CNAACov::optFTZYes_onclick() { ChooseFreeTradeZone("optFTZYes"); }
void CNAACov::optFTZNo_onclick() { ChooseFreeTradeZone("optFTZNo"); }

// The record's FTZ and service tax follow when the tab is saved to the record.
void CNAACov::ChooseFreeTradeZone(std::string_view option_id) {
  Element(option_id).SetChecked(true);
  workspace().premium.FactorsChangedNewTariff = true;
  workspace().premium.BasicPremiumEntered = false;
}

}  // namespace cn

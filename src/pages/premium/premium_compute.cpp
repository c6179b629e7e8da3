#include "pages/premium/premium_compute.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/currency.h"
#include "base/date_format.h"
#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/conversions.h"
#include "integration/list_search.h"
#include "integration/service_gateway.h"
#include "integration/shell_bridge.h"
#include "integration/system_codes.h"
#include "pages/premium/premium_replies.h"
#include "pages/premium/premium_requests.h"
#include "workspace/cnaa_main.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

constexpr std::int32_t kOutstanding = 99;
constexpr std::int32_t kReferredCurrentEngine = 2;
constexpr std::int32_t kReferredNewTariff = 8;
constexpr std::int32_t kMotorCoverWithoutTrailer = 1001;
constexpr std::int32_t kExtCoverOnOwnSumInsured = 1007;
constexpr std::int32_t kTrailerClasses = 1040;
constexpr std::int32_t kPlaceholderVehicleNo = 1031;
constexpr std::string_view kDeclineTitle = "Decline Generation";
constexpr std::string_view kUnknownError =
    "An unknown error has occurred. Please consult your system administrator immediately.";
constexpr std::string_view kDeclinedLoadAmount = "-9,999.00";

bool IsOneOf(std::string_view type, std::string_view types) {
  return type.size() == 1 && types.find(type) != std::string_view::npos;
}
bool RatedPlain(std::string_view type) { return IsOneOf(type, "NBRPIMSF"); }
bool RatedAsChange(std::string_view type) { return IsOneOf(type, "ETD"); }

std::string StartupCode(const Workspace& workspace, std::int32_t code) {
  const auto found = workspace.startup.SystemCodes.find(code);
  return found == workspace.startup.SystemCodes.end() ? std::string() : found->second;
}

// Only a referred risk can be amended, so a cover note read as one is known to be one: the
// engine's saying so again is news only for a cover note of any other status.
constexpr std::string_view kReferredRiskStatus = "R";

void ShowReferredRisk(const Workspace& workspace, dom::Window& window) {
  if (workspace.record.Current.CoverNoteStatus == kReferredRiskStatus) return;
  window.MessageBox("This is a referred risk!",
                    dom::message_box::kOkOnly + dom::message_box::kCritical, "Referred Risk");
}

// The start of the premium period of an extension (the day after the cover it extends) or
// of a transfer or endorsement (its own effective date).
std::string PeriodStart(const CoverNoteRecord& record) {
  if (record.Current.TransactionType == "E") {
    return FormatDate(RequireDate(record.Previous.Unpack().ExpiryDate, "PeriodStart").AddDays(1));
  }
  return FormatDate(RequireDate(record.Current.EffectiveDate, "PeriodStart"));
}

std::string Joined(std::initializer_list<std::string_view> parameters) {
  std::string text;
  for (const std::string_view parameter : parameters) {
    if (!text.empty() || parameter.data() != parameters.begin()->data()) {
      text += ParamSeparator;
    }
    text += parameter;
  }
  return text;
}

// Rows chosen from the catalogue get the method and minimum they lack; a cover priced on
// its own sum insured takes its minimum and percentage afresh.
void CompleteExtCoverRows(Workspace& workspace) {
  CoverNoteFields& current = workspace.record.Current;
  const std::string own_sum_insured =
      GetSystemCode(workspace.lookup, workspace.components, kExtCoverOnOwnSumInsured);
  for (std::size_t row = 0; row < current.ExtCoverCodes.size(); ++row) {
    ResizeArrays(current, kExtCoverArrays.data(), kExtCoverArrays.size(),
                 current.ExtCoverCodes.size());
    ExtCoverDetails details;
    const std::string& code = current.ExtCoverCodes[row];
    if (!GetExtCoverDetails(code, workspace.page.ExtendedCoverDetails, details)) continue;
    if (code == own_sum_insured) {
      current.ExtCoverMinPremiums[row] = details.min_premium;
      current.ExtCoverPercentages[row] = details.percentage;
    } else if (current.ExtCoverMethods[row].empty()) {
      current.ExtCoverMethods[row] = details.method;
      current.ExtCoverMinPremiums[row] = details.min_premium;
    }
  }
}

FactorSource SourceOf(const Workspace& workspace, const CoverNoteFields& fields,
                      const std::vector<bool>& typed) {
  return {fields, typed, workspace, SystemDateTime(workspace).date};
}

// The figures go on the premium tab shown.
void Redraw(Workspace& workspace, dom::Document& tab_page, bool other_tab_too) {
  const std::string& shown = workspace.page.CurrentTabId;
  if (shown == kPremiumTabId || shown == kNewTariffPremiumTabId ||
      (other_tab_too && shown == kOtherPremiumTabId)) {
    ShowRecordOnPage(workspace, shown, tab_page);
  }
}

void ResetExtCoverTable(Workspace& workspace) {
  if (workspace.row_tables.ResetExtendedCoverTable) workspace.row_tables.ResetExtendedCoverTable();
}

// Runs the checks that must pass before any factor is sent.
bool ReadyToRate(Workspace& workspace, dom::Window& window, dom::Document& tab_page) {
  SavePageToRecord(workspace, workspace.page.CurrentTabId, tab_page);
  return CheckVehicleDetails(workspace, window) && CheckSumInsured(workspace, window, tab_page);
}

struct NewTariffRefusal {
  std::int32_t status;
  std::string_view message;
};
constexpr std::array<NewTariffRefusal, 8> kNewTariffRefusals{{
    {1, "Base premium for current class not configured."},
    {2, "NCD for current class not configured."},
    {3, "Vehicle capacity for current class not configured."},
    {4, "Vehicle age for current class not configured."},
    {5, "Sum insured for current class not configured."},
    {6, "Delicned risk."},
    {7, "Driver rate for current class not configured."},
    {kOutstanding, kUnknownError},
}};

}  // namespace

bool GetExtCoverDetails(std::string_view code, const std::vector<std::string>& details,
                        ExtCoverDetails& found) {
  for (const std::string& entry : details) {
    const std::vector<std::string> fields = SplitFields(entry);
    if (FieldAt(fields, 0) != code) continue;
    found = {FieldAt(fields, 5), FieldAt(fields, 4), FieldAt(fields, 3), FieldAt(fields, 2)};
    return true;
  }
  return false;
}

void ComputePremiumV10(Workspace& workspace, dom::Window& window, dom::Document& tab_page) {
  CoverNoteRecord& record = workspace.record;
  PremiumState& premium = workspace.premium;
  if (record.Current.TransactionType == "O") return;
  if (!ReadyToRate(workspace, window, tab_page)) return;

  premium.ComputeStatus = kOutstanding;
  const std::string type = record.Current.TransactionType;
  CommandReply answer;
  const bool plain = RatedPlain(type);
  const bool as_change = RatedAsChange(type);
  if (plain || as_change) CompleteExtCoverRows(workspace);
  if (plain) {
    premium.LoadPercentageEntered = true;
    premium.ExcessEntered = true;
    const std::string factors = BuildFactors(
        CurrentEngineFactors(), SourceOf(workspace, record.Current, record.ExtUserPremiumMarks));
    answer = ServiceGateway(workspace.components)
                 .ExecuteCommand("Tarvin.Premium.ComputeV10", Joined({factors, "0"}));
  } else if (as_change) {
    premium.LoadPercentageEntered = true;
    const std::string_view mode = type == "D"                        ? "3"
                                  : premium.ShortCalculationChecked ? "2"
                                  : type == "E"                     ? "0"
                                                                    : "1";
    // Only a transfer carries a transfer fee over from the cover it replaces.
    CoverNoteFields earlier = record.Previous.Unpack();
    if (earlier.TransactionType != "T") {
      earlier.TransferFee = "0.00";
      record.Previous = PackedFields(earlier);
    }
    const std::vector<bool> none;
    const std::string amended = BuildFactors(
        CurrentEngineAmendedFactors(), SourceOf(workspace, record.Current, record.ExtUserPremiumMarks));
    const std::string previous =
        BuildFactors(CurrentEnginePreviousFactors(), SourceOf(workspace, earlier, none));
    answer = ServiceGateway(workspace.components)
                 .ExecuteCommand("Tarvin.Premium.ComputeV10Ex",
                                 Joined({previous, amended, PeriodStart(record), mode}));
  }
  premium.ComputeStatus = answer.status;

  if (answer.status == 0 || answer.status == kReferredCurrentEngine) {
    if (answer.status == kReferredCurrentEngine) ShowReferredRisk(workspace, window);
    if (plain || as_change) {
      CoverNoteFields rated = record.Current;
      if (!StoreRatingReply(rated, SplitRatingReply(RatingEngine::kCurrent, as_change,
                                                    answer.reply),
                            premium.ExcessEntered)) {
        // Half a reply is no premium: nothing is stored and the failure is reported.
        premium.ComputeStatus = kOutstanding;
      } else {
        record.Current = std::move(rated);
        // A computation that took is the premium of the factors now in the record.
        premium.FactorsChangedV10 = false;
        Redraw(workspace, tab_page, true);
        if (plain && record.Current.LoadAmount == kDeclinedLoadAmount) {
          window.MessageBox("Generation of cover note is declined!",
                            dom::message_box::kOkOnly + dom::message_box::kCritical,
                            kDeclineTitle);
        }
      }
    }
  }
  premium.PremiumChangedV10 = false;
  ResetExtCoverTable(workspace);
}

void ComputePremium(Workspace& workspace, dom::Window& window, dom::Document& tab_page) {
  CoverNoteRecord& record = workspace.record;
  PremiumState& premium = workspace.premium;
  if (record.Current.TransactionType == "O") return;
  if (!ReadyToRate(workspace, window, tab_page)) return;

  const std::string type = record.Current.TransactionType;
  // An endorsement is rated afresh on the new tariff; only extensions and transfers are
  // rated against the cover they change.
  const bool as_change = type == "E" || type == "T";
  const std::string factors = BuildFactors(
      NewTariffFactors(), SourceOf(workspace, record.Current, record.ExtUserPremiumMarks));
  premium.ComputeStatusNewTariff = kOutstanding;
  CommandReply answer;
  if (!as_change) {
    answer = ServiceGateway(workspace.components)
                 .ExecuteCommand("Tarvin.Premium.Compute", Joined({factors, "0"}));
  } else {
    const std::vector<bool> none;
    const CoverNoteFields earlier = record.Previous.Unpack();
    const std::string previous =
        BuildFactors(NewTariffPreviousFactors(), SourceOf(workspace, earlier, none));
    answer = ServiceGateway(workspace.components)
                 .ExecuteCommand("Tarvin.Premium.ComputeEx",
                                 Joined({previous, factors, PeriodStart(record),
                                         type == "E" ? "0" : "1"}));
  }
  premium.ComputeStatusNewTariff = answer.status;

  if (answer.status == 0 || answer.status == kReferredNewTariff) {
    if (answer.status == kReferredNewTariff) ShowReferredRisk(workspace, window);
    CoverNoteFields rated = record.Current;
    if (StoreRatingReply(rated, SplitRatingReply(RatingEngine::kNewTariff, as_change, answer.reply),
                         premium.ExcessEntered)) {
      record.Current = std::move(rated);
      // Both flags: a premium just computed needs no second computation at the save.
      premium.PremiumChangedNewTariff = false;
      Redraw(workspace, tab_page, false);
    } else {
      premium.ComputeStatusNewTariff = kOutstanding;
    }
  }
  ShowComputeStatusNewTariff(workspace, window);
  premium.FactorsChangedNewTariff = false;
  ResetExtCoverTable(workspace);
}

void ShowComputeStatusNewTariff(Workspace& workspace, dom::Window& window) {
  const std::int32_t status = workspace.premium.ComputeStatusNewTariff;
  if (status == 0 || status == kReferredNewTariff) return;
  const auto refusal = std::ranges::find(kNewTariffRefusals, status, &NewTariffRefusal::status);
  window.MessageBox(refusal != kNewTariffRefusals.end() ? refusal->message : kUnknownError,
                    dom::message_box::kOkOnly + dom::message_box::kExclamation, kDeclineTitle);
}

void ShowComputeStatus(Workspace& workspace, dom::Window& window) {
  const std::int32_t status = workspace.premium.ComputeStatus;
  if (status >= 0 && status <= 2) return;
  if (status >= 3 && status <= 6) {
    std::string text = status == 3 || status == 5
                           ? "Unable to get the base premium for the specified capacity"
                           : "Unable to get the trailer base premium for the specified capacity";
    if (status >= 5) text += " for calculation of extended coverage";
    window.MessageBox(text, dom::message_box::kOkOnly + dom::message_box::kCritical,
                      kDeclineTitle);
    TabFocus(window, kVehicleTabId);
    return;
  }
  window.MessageBox(kUnknownError, dom::message_box::kOkOnly + dom::message_box::kInformation,
                    kDeclineTitle);
}

bool CheckVehicleDetails(Workspace& workspace, dom::Window& window) {
  const CoverNoteFields& current = workspace.record.Current;
  const std::string placeholder = UCase(StartupCode(workspace, kPlaceholderVehicleNo));
  const bool unregistered = UCase(current.VehicleNo) == placeholder;
  // A vehicle not registered yet, or a commercial one still waiting for its log book, has
  // no year made to give.
  const bool exempt = unregistered || (current.CoverType == "COMMERCIAL" &&
                                       UCase(current.LogBookNo) == placeholder);
  const bool complete = !Trim(current.Capacity).empty() && !current.CapacityUOM.empty() &&
                        !current.SeatingCapacity.empty() &&
                        (exempt || !Trim(current.YearMade).empty());
  if (!complete) ShowIncompleteData(workspace, window, kIncompleteVehicleTab);
  return complete;
}

bool CheckSumInsured(Workspace& workspace, dom::Window& window, dom::Document& tab_page) {
  CoverNoteFields& current = workspace.record.Current;
  struct SumInsured {
    const std::string& amount;
    std::string_view focus_command;
    std::string_view element;
  };
  const SumInsured vehicle{current.VehicleSumInsured, "FocusVehicleSumInsured",
                           "txtVehicleSumInsured"};
  const SumInsured trailer{current.TrailerSumInsured, "FocusTrailerSumInsured",
                           "txtTrailerSumInsured"};
  const bool trailer_rated =
      current.MotorCoverCode !=
          GetSystemCode(workspace.lookup, workspace.components, kMotorCoverWithoutTrailer) &&
      !current.TrailerNo.empty() &&
      !IsInSystemCodeList(workspace.lookup, workspace.components, current.ClassCode,
                          kTrailerClasses);
  for (const SumInsured& sum : {vehicle, trailer}) {
    if (&sum.amount == &current.TrailerSumInsured && !trailer_rated) break;
    const std::string answer = workspace.components.SharedFieldRuleService().CheckSumInsured(
        RequireNumber(Trim(sum.amount), "CheckSumInsured"), current.ScopeOfCover,
        current.ClassCode);
    if (answer.empty()) continue;
    WorkspacePageState& page = workspace.page;
    if (page.CurrentTabId != kPremiumTabId && page.CurrentTabId != kNewTariffPremiumTabId) {
      // The premium tab shows the refusal when it loads, at the field concerned.
      page.PendingTabCommand =
          page.CurrentPremiumTabId + ";" + std::string(sum.focus_command) + ";" + answer;
      TabFocus(window, page.CurrentPremiumTabId);
      return false;
    }
    window.MessageBox(answer, dom::message_box::kOkOnly + dom::message_box::kExclamation,
                      "Invalid Data");
    const std::shared_ptr<dom::Element> field = tab_page.GetElementById(sum.element);
    if (!field) {
      throw RuntimeFailure(failure::kObjectRequired,
                           "Object required: " + std::string(sum.element), "CheckSumInsured");
    }
    field->SetValue("0.00");
    field->Select();
    field->Focus();
    return false;
  }
  return true;
}

void LoadNCDList(Workspace& workspace, std::string_view class_code, bool reset) {
  const CommandReply answer =
      ServiceGateway(workspace.components).ExecuteCommand("Tarvin.Find.FindNCD", class_code);
  workspace.premium.NCDList = Split(answer.reply, RecordSeparator);
  workspace.premium.NCDListClassCode = std::string(class_code);
  if (!reset) return;
  CoverNoteFields& current = workspace.record.Current;
  current.NCDAmount = current.NCDPercentage = current.NCDYear = "0";
}

void LoadExtendedCoverDetails(Workspace& workspace, std::string_view class_code,
                              std::string_view motor_cover_code, bool reset) {
  CoverNoteRecord& record = workspace.record;
  if (record.Current.ClassCode.empty() || record.Current.MotorCoverCode.empty()) return;
  if (reset) {
    record.Current.TotalExtSumInsured = record.Current.TotalExtPremium = "0";
    for (const TextArray array : kExtCoverArrays) record.Current.*array = {""};
    record.ExtUserPremiumMarks = {false};
  }
  workspace.page.ExtendedCoverDetails = {std::string()};
  const CommandReply answer =
      ServiceGateway(workspace.components)
          .ExecuteCommand("Tarvin.Find.FindExtendedCoverDetails",
                          std::string(class_code) + std::string(ParamSeparator) +
                              std::string(motor_cover_code));
  workspace.page.ExtendedCoverDetails = Split(answer.reply, RecordSeparator);
}

}  // namespace cn

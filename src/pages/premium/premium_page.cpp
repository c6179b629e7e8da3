// The load and the shared handlers of the two rated premium tabs.
#include "pages/premium/premium_page.h"

#include <utility>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/text.h"
#include "dom/events.h"
#include "integration/fill_select.h"
#include "integration/input_checks.h"
#include "integration/locking.h"
#include "integration/reporting.h"
#include "integration/shell_bridge.h"
#include "integration/system_codes.h"
#include "pages/premium/premium_compute.h"
#include "pages/premium/premium_lock.h"
#include "tables/ext_cover.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

constexpr int kEnterKey = 13;
constexpr std::string_view kInvalidData = "Invalid Data";

// System codes the tabs read.
constexpr std::int32_t kCoverWithoutSumInsured = 1001;
constexpr std::int32_t kDefaultStampDuty = 1026;
constexpr std::int32_t kPlaceholderVehicleNo = 1031;

// What a transaction type does to the charges when the tab loads: "" leaves a figure, a
// lock of kNone leaves its input.
enum class Lock { kNone, kLockKeepEnabled, kUnlock };

struct ChargeRule {
  std::string_view type;  // "" for every type without a rule of its own
  bool stamp_duty_entered;
  std::string_view stamp_duty;  // "default" for the default stamp duty
  std::string_view tariff_premium;
  Lock stamp_duty_lock;
  Lock other_charges_lock;
};

constexpr std::string_view kDefault = "default";

constexpr ChargeRule kChargeRules[] = {
    {"D", false, "0", "0", Lock::kNone, Lock::kUnlock},
    {"M", false, "0", "", Lock::kLockKeepEnabled, Lock::kLockKeepEnabled},
    {"I", true, "0", "", Lock::kLockKeepEnabled, Lock::kLockKeepEnabled},
    {"", false, kDefault, "", Lock::kUnlock, Lock::kUnlock},
};

void ApplyLock(Lock lock, dom::Element* input) {
  if (!input) return;
  if (lock == Lock::kLockKeepEnabled) LockInputKeepEnabled(*input);
  if (lock == Lock::kUnlock) UnlockInput(*input);
}

// Inputs and the behaviour that shapes what is typed into them.
constexpr std::pair<std::string_view, std::string_view> kBehaviours[] = {
    {"txtVehicleSumInsured", "Behaviors/EntryCur.htc"},
    {"txtTrailerSumInsured", "Behaviors/EntryCur.htc"},
    {"txtTariffPremium", "Behaviors/EntryCur.htc"},
    {"txtAllRiderPremium", "Behaviors/EntryCur.htc"},
    {"txtLoadAmount", "Behaviors/EntryCur.htc"},
    {"txtNCDAmount", "Behaviors/EntryCur.htc"},
    {"txtBasicPremium", "Behaviors/EntryCur.htc"},
    {"txtOtherCharges", "Behaviors/EntryCur.htc"},
    {"txtStampDuty", "Behaviors/EntryCur.htc"},
    {"txtExcessAmount1", "Behaviors/EntryCur.htc"},
    {"txtTotalExtSumIns", "Behaviors/EntryCur.htc"},
    {"txtTotalExtPrem", "Behaviors/EntryCur.htc"},
    {"txtGrossPremium", "Behaviors/EntryCur.htc"},
    {"txtServiceTaxAmount", "Behaviors/EntryCur.htc"},
    {"txtTotalPremium", "Behaviors/EntryCur.htc"},
    {"txtLoadPercentage", "Behaviors/EntryNumber.htc"},
    {"txtServiceTaxPercentage", "Behaviors/EntryNumber.htc"},
    {"txtGSTGrossPremiumPercentage", "Behaviors/EntryNumber.htc"},
    {"txtGSTTransferFeePercentage", "Behaviors/EntryNumber.htc"},
    {"txtGSTOthChargePercentage", "Behaviors/EntryNumber.htc"},
};

// The pending focus commands Calculate leaves when a sum insured is refused elsewhere.
constexpr std::pair<std::string_view, std::string_view> kFocusCommands[] = {
    {"FocusVehicleSumInsured", "txtVehicleSumInsured"},
    {"FocusTrailerSumInsured", "txtTrailerSumInsured"},
};

}  // namespace

void AttachPremiumBehaviours(dom::Document& page) {
  for (const auto& [id, url] : kBehaviours) {
    if (const std::shared_ptr<dom::Element> input = page.FindElementById(id)) {
      input->AddBehavior(url);
    }
  }
}

PremiumPage::PremiumPage(Workspace& workspace, std::shared_ptr<dom::Document> document,
                         std::string_view tab_id)
    : Page(workspace, std::move(document)), tab_id_(tab_id) {}

void PremiumPage::LoadRatedTab(std::span<const SumInsuredRule> sum_insured_rules) {
  Workspace& ws = workspace();
  const auto table = std::make_shared<ExtCover>(ws);
  ws.premium_tab.ExtCoverTable = table;
  ws.row_tables.ResetExtendedCoverTable = [weak = std::weak_ptr<ExtCover>(table)] {
    if (const std::shared_ptr<ExtCover> alive = weak.lock()) alive->Reset();
  };
  table->EEC = document().GetElementById("kvExecuteCommand");
  ws.page.CurrentTabId = tab_id_;
  ws.page.CurrentPremiumTabId = tab_id_;

  FillSelect(document().GetElementById("cboRegion"), ws.lists.TariffRegionList, 0, 1, true, false);
  Element("txtServiceTaxPercentage").SetTabIndex(-1);
  Element("txtStampDuty").SetTabIndex(-1);

  EnableCmdButton(window(), "cmdCalculate", CalculateOffered(ws));
  AttachPremiumBehaviours(document());
  // The delete link shows when an editable cover is highlighted.
  Element("lnkExtDelete").SetStyle("visibility", "hidden");

  ApplyCharges();
  ApplySumInsured(sum_insured_rules);
  if (ws.record.Current.CoverType == "MOTORCYCLE")
    LockInputKeepEnabled(Element("txtExcessAmount1"));

  LoadExtCoverChoices();
  table->BuildHeader(table->EEC, document().GetElementById("divExtCoverHeader"));
  table->BuildUI(table->EEC, document().GetElementById("divExtCover"),
                 ws.page.ExtendedCoverDetails);
  ShowRecordOnPage(ws, tab_id_, document());
  RememberAccepted();
  RunPendingCommand();
  LockPremiumTabIfReadOnly(ws, window(), document());
}

// The extended covers of the record's class and cover, read again when missing or out of
// date; the record's covers stand.
void PremiumPage::LoadExtCoverChoices() {
  Workspace& ws = workspace();
  WorkspacePageState& page = ws.page;
  const bool none =
      page.ExtendedCoverDetails.empty() ||
      (page.ExtendedCoverDetails.size() == 1 && page.ExtendedCoverDetails.front().empty());
  if (!none && !page.ExtendedCoverDetailsStale) return;
  const CoverNoteFields& current = ws.record.Current;
  LoadExtendedCoverDetails(ws, current.ClassCode, current.MotorCoverCode, false);
  page.ExtendedCoverDetailsStale = false;
}

void PremiumPage::DHTMLPage_Unload() {
  Workspace& ws = workspace();
  if (ws.premium_tab.ExtCoverTable) ws.premium_tab.ExtCoverTable->EEC.reset();
  ws.premium_tab.ExtCoverTable.reset();
  ws.row_tables.ResetExtendedCoverTable = nullptr;
}

// Stamp duty, other charges and tariff premium by transaction type.
void PremiumPage::ApplyCharges() {
  Workspace& ws = workspace();
  CoverNoteFields& current = ws.record.Current;
  PremiumState& premium = ws.premium;
  dom::Element& stamp_duty = Element("txtStampDuty");
  const std::shared_ptr<dom::Element> other_charges = Optional("txtOtherCharges");
  dom::Element& tariff = Element("txtTariffPremium");

  // A type "P" cover note carries no stamp duty (nor, for a trailer not registered yet, a
  // tariff premium) as its save keeps them: the tab shows what it carries and does not set
  // them, since showing a cover note never changes it.
  if (current.TransactionType == "P") {
    premium.StampDutyEntered = true;
    UnlockInputKeepTab(tariff);
    const std::string placeholder = GetSystemCode(ws.lookup, ws.components, kPlaceholderVehicleNo);
    if (current.TrailerNo != placeholder) {
      LockInputKeepEnabled(stamp_duty);
      return;
    }
    premium.TariffPremiumEntered = true;
    UnlockInputKeepTab(stamp_duty);
    if (other_charges) UnlockInputKeepTab(*other_charges);
    return;
  }

  premium.TariffPremiumEntered = false;
  premium.StampDutyEntered = false;
  const ChargeRule* rule = &kChargeRules[std::size(kChargeRules) - 1];
  for (const ChargeRule& entry : kChargeRules) {
    if (entry.type == current.TransactionType) {
      rule = &entry;
      break;
    }
  }
  if (rule->stamp_duty_entered) premium.StampDutyEntered = true;
  stamp_duty.SetValue(rule->stamp_duty == kDefault ? DefaultStampDuty()
                                                   : std::string(rule->stamp_duty));
  if (other_charges) other_charges->SetValue("0");
  if (!rule->tariff_premium.empty()) tariff.SetValue(rule->tariff_premium);
  ApplyLock(rule->stamp_duty_lock, &stamp_duty);
  ApplyLock(rule->other_charges_lock, other_charges.get());
}

void PremiumPage::ApplySumInsured(std::span<const SumInsuredRule> rules) {
  Workspace& ws = workspace();
  const CoverNoteFields& current = ws.record.Current;
  const std::string& type = current.TransactionType;
  if (type.size() != 1) return;
  dom::Element& vehicle = Element("txtVehicleSumInsured");
  dom::Element& trailer = Element("txtTrailerSumInsured");
  for (const SumInsuredRule& rule : rules) {
    if (rule.types.find(type) == std::string_view::npos) continue;
    switch (rule.opening) {
      case SumInsuredOpening::kHideLinksLockBoth:
        Element("lnkExtAdd").SetStyle("display", "none");
        Element("lnkExtDelete").SetStyle("display", "none");
        break;
      case SumInsuredOpening::kLockBoth:
        break;
      case SumInsuredOpening::kByCover:
      case SumInsuredOpening::kByCoverThenLockBoth:
        if (current.MotorCoverCode !=
            GetSystemCode(ws.lookup, ws.components, kCoverWithoutSumInsured)) {
          UnlockInput(vehicle);
          if (current.TrailerNo.empty()) {
            LockInputKeepEnabled(trailer);
          } else {
            UnlockInput(trailer);
          }
          if (rule.opening == SumInsuredOpening::kByCover) return;
        }
        break;
    }
    LockInputKeepEnabled(vehicle);
    LockInputKeepEnabled(trailer);
    return;
  }
}

void PremiumPage::RunPendingCommand() {
  WorkspacePageState& page = workspace().page;
  if (page.PendingTabCommand.empty()) return;
  const std::vector<std::string> command = Split(page.PendingTabCommand, ";");
  page.PendingTabCommand.clear();
  if (command.size() < 2 || command[0] != tab_id_) return;
  for (const auto& [word, id] : kFocusCommands) {
    if (command[1] != word) continue;
    if (command.size() > 2 && !command[2].empty()) {
      window().MessageBox(command[2], dom::message_box::kOkOnly + dom::message_box::kExclamation,
                          kInvalidData);
    }
    dom::Element& input = Element(id);
    input.SetValue("0.00");
    input.Select();
    input.Focus();
  }
}

void PremiumPage::CheckSumInsuredInput(std::string_view id) {
  dom::Element& input = Element(id);
  if (input.Value() == "0.00") return;
  if (!CheckAmountInput(workspace().components, input)) {
    RestoreAccepted(input);
    return;
  }
  const CoverNoteFields& current = workspace().record.Current;
  const Currency amount = Currency::TryParse(Trim(input.Value())).value_or(Currency());
  const std::string answer = workspace().components.SharedFieldRuleService().CheckSumInsured(
      amount, current.ScopeOfCover, current.ClassCode);
  if (!answer.empty()) {
    window().MessageBox(answer, dom::message_box::kOkOnly + dom::message_box::kExclamation,
                        kInvalidData);
    RestoreAccepted(input);
    return;
  }
  Accept(input, FormatMoney2(amount));
}

void PremiumPage::RememberAccepted() {
  for (const std::string_view id :
       {"txtVehicleSumInsured", "txtTrailerSumInsured", "txtLoadPercentage"}) {
    if (const std::shared_ptr<dom::Element> input = Optional(id)) {
      accepted_[std::string(id)] = input->Value();
    }
  }
}

void PremiumPage::Accept(dom::Element& input, std::string_view value) {
  input.SetValue(value);
  accepted_[input.Id()] = std::string(value);
}

void PremiumPage::RestoreAccepted(dom::Element& input) {
  const auto found = accepted_.find(input.Id());
  input.SetValue(found == accepted_.end() ? std::string() : found->second);
  input.Select();
  input.Focus();
}

void PremiumPage::lnkExtAdd_onclick() {
  if (ExtCover* table = workspace().premium_tab.ExtCoverTable.get()) {
    if (table->Add("", "0", "0", "0", "", false)) table->HighliteLastRow();
  }
}

void PremiumPage::lnkExtAdd_onkeypress() {
  if (KeyCode() == kEnterKey) lnkExtAdd_onclick();
}

void PremiumPage::lnkExtDelete_onkeypress() {
  if (KeyCode() == kEnterKey) lnkExtDelete_onclick();
}

void PremiumPage::FinishExtDelete(bool confirmed) {
  if (confirmed) {
    if (ExtCover* table = workspace().premium_tab.ExtCoverTable.get()) table->RemoveRow();
  }
  Element("lnkExtDelete").SetStyle("visibility", "hidden");
}

void PremiumPage::kvExecuteCommand_onclick() {
  if (ExtCover* table = workspace().premium_tab.ExtCoverTable.get()) table->EEC_onclick();
}

std::string PremiumPage::DefaultStampDuty() const {
  return GetSystemCode(workspace().lookup, workspace().components, kDefaultStampDuty);
}

}  // namespace cn

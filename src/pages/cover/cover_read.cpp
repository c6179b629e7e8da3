// The Cover tab: reading a cover note for amendment, and showing the record that was read.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/currency.h"
#include "base/separators.h"
#include "base/text.h"
#include "dom/events.h"
#include "integration/fill_select.h"
#include "integration/input_checks.h"
#include "integration/reporting.h"
#include "integration/service_gateway.h"
#include "integration/shell_bridge.h"
#include "pages/cover/cnaa_cov.h"
#include "pages/premium/select_premium_tab.h"
#include "workspace/cover_tab_transfer.h"
#include "workspace/kept_while_showing.h"
#include "workspace/licence.h"
#include "workspace/record_defaults.h"
#include "workspace/record_fill.h"
#include "workspace/tab_transfer.h"
#include "workspace/unsaved_changes.h"

namespace cn {

namespace {

constexpr int kEnterKey = 13;
constexpr std::string_view kReadTitle = "Get Cover Note";
constexpr std::int32_t kNumberMissing = 1010001;
constexpr std::int32_t kUnexpectedReadResult = 1319999;

// The answers of the read that refuse the amendment with a numbered message.
struct RefusalMessage {
  std::int32_t code;
  std::int32_t message_number;
  MessageParameters parameters;
};
constexpr std::array<RefusalMessage, 5> kRefusalMessages{{
    {1, kNumberMissing, {}},
    {2, 1210029, {"This cover note", "", "", "", ""}},
    {3, 1210030, {}},
    {4, 2010010, {"Cover note", "submitted", "Amendments", "", ""}},
    {5, 2010010, {"Cover note", "determined Unused", "Amendments", "", ""}},
}};
constexpr std::int32_t kReadAllowed = 0;
constexpr std::int32_t kUploadedToHost = 6;
constexpr std::int32_t kVoided = 7;
constexpr std::string_view kReadyToAmend = "Referred risk: amend the premium, calculate and save.";

bool IsEnterKey(const dom::Window& window) {
  const dom::Event* event = window.CurrentEvent();
  return event != nullptr && event->KeyCode() == kEnterKey;
}

// A record amount as the premium rules read it: anything that is not a number counts as 0.
bool IsNonZeroAmount(std::string_view text) {
  const std::optional<Currency> amount = Currency::TryParse(text);
  return amount.has_value() && amount->units() != 0;
}

std::string ReadParameters(std::string_view document_no, std::string_view agent_code,
                           std::string_view mode) {
  return std::string(document_no) + std::string(ParamSeparator) + std::string(agent_code) +
         std::string(ParamSeparator) + std::string(mode);
}

}  // namespace

void CNAACov::cmdReadCNoteNo_onclick() {
  Workspace& ws = workspace();
  dom::Element& number = Element("txtCoverNoteNumber");
  if (number.Value().empty()) {
    ShowMessageByNumber(ws.components, kNumberMissing, "", kReadTitle);
    return;
  }
  if (CheckNumberInput(ws.components, number)) {
    number.SetValue("");
    return;
  }
  const bool screen_reads = std::exchange(ws.read.ScreenReads, false);
  if (!screen_reads && !MayDiscardChanges(ws, window(), &document(), number.Value(), kReadTitle)) {
    // Kept, the number typed would be taken as the note's new number at the next save.
    number.SetValue(ws.record.Current.CoverNoteNo);
    return;
  }
  ReadCoverNoteAdmin(number.Value());
  // A cover note just read carries the premium of its own factors: a Save without a change
  // recomputes nothing.
  ws.premium.FactorsChangedNewTariff = false;
}

void CNAACov::cmdreadcnoteno_onkeydown() {
  if (IsEnterKey(window())) cmdReadCNoteNo_onclick();
}

void CNAACov::txtCoverNoteNumber_onkeypress() {
  if (IsEnterKey(window())) cmdReadCNoteNo_onclick();
}

int CNAACov::ReadCoverNoteAdmin(std::string_view cover_note_no) {
  Workspace& ws = workspace();
  ++ws.read.Reads;
  CommandReply answer;
  {
    ServiceGateway gateway(ws.components);
    answer =
        gateway.ExecuteCommand("KivoGIUWR.CoverNote.ReadAdmin",
                               ReadParameters(cover_note_no, ws.identity.CurrentAgentCode, "0"));
  }
  const std::vector<std::string> fields = SplitReplyFields(answer.reply);
  const int code = answer.status;

  if (code == kReadAllowed) {
    SetRecordDefaults(ws, &document(), window());
    const ReadAdminSteps steps{
        .ReadPreviousDocument = [this](std::string_view no) { ReadPreviousDocument(no); },
        .TypedCoverNoteNo = [this] { return Element("txtCoverNoteNumber").Value(); },
        .LoadClientAsRead = [this] { LoadClientAsRead(); },
    };
    FillFromReadAdminReply(ws.record, fields, steps);
    ShowRecordOnCoverTab();
    // The cover note as read is where its amendment starts: nothing has changed yet.
    ForgetPremiumChanges(ws.premium);
    ws.read.RecordShown = true;
    ws.read.LoadedCoverNoteNo = std::string(cover_note_no);
    ws.read.AsReadReply = std::move(answer.reply);
    ws.read.CurrentAsRead = ws.record.Current;
    SetTitle(window(), kScreenTitle, UCase(cover_note_no));
    ws.read.ReadOnlyReason = WhySaveIsOff();
    EnableCmdButton(window(), ws.page.SaveButtonId, ws.read.ReadOnlyReason.empty());
    // After a save the status bar says so while the note is amended further.
    const std::string saved_at = std::exchange(ws.read.SavedAt, {});
    const std::string saved =
        saved_at.empty() ? "" : "Saved at " + saved_at + " — amendment " + ReadVersion(ws);
    window().SetStatus(!ws.read.ReadOnlyReason.empty() ? ws.read.ReadOnlyReason
                       : saved.empty()                 ? std::string(kReadyToAmend)
                                                       : saved);
    return code;
  }

  SetTitle(window(), kScreenTitle, "");
  EnableCmdButton(window(), ws.page.SaveButtonId, false);
  // Nothing of the cover note shown before may stand beside a number that was refused.
  SetRecordDefaults(ws, &document(), window());
  ShowRecordOnCoverTab();
  window().SetStatus("Done");
  dom::Element& number = Element("txtCoverNoteNumber");
  number.SetValue(cover_note_no);
  number.Focus();
  number.Select();
  if (code == kUploadedToHost) {
    window().MessageBox("Record has been uploaded to host. No amendment allowed.",
                        dom::message_box::kInformation, kReadTitle);
    return code;
  }
  if (code == kVoided) {
    window().MessageBox("This cover note has been voided.", dom::message_box::kInformation,
                        kReadTitle);
    return code;
  }
  std::int32_t message_number = kUnexpectedReadResult;
  MessageParameters parameters{};
  for (const RefusalMessage& refusal : kRefusalMessages) {
    if (refusal.code == code) {
      message_number = refusal.message_number;
      parameters = refusal.parameters;
    }
  }
  ShowNumberedMessage(ws.components, message_number, kReadTitle, parameters);
  return code;
}

void CNAACov::ReadPreviousDocument(std::string_view document_no) {
  Workspace& ws = workspace();
  const std::string parameters = ReadParameters(document_no, ws.identity.CurrentAgentCode, "1");
  // A number the cover note check refuses is the number of a policy.
  std::string checked(document_no);
  const bool is_policy = ws.components.SharedInputCheckService().CheckNumberText(checked).flag;
  ServiceGateway gateway(ws.components);
  if (is_policy) {
    const CommandReply answer = gateway.ExecuteCommand("Tarvin.Policy.Read", parameters);
    if (answer.status != 0) return;
    FillPreviousFromReply(ws.record, PreviousDocument::kPolicy,
                          SplitPolicyReplyFields(answer.reply));
    return;
  }
  const CommandReply answer = gateway.ExecuteCommand("KivoGIUWR.CoverNote.Read", parameters);
  if (answer.reply.empty()) return;
  FillPreviousFromReply(ws.record, PreviousDocument::kCoverNote, SplitReplyFields(answer.reply));
}

void CNAACov::ShowRecordOnCoverTab() {
  Workspace& ws = workspace();
  CoverNoteFields& current = ws.record.Current;

  // The load shows the record without the premium tabs seeing a change.
  struct Flags {
    bool extended_cover_details_stale, factors_changed_new_tariff, tariff_premium_entered,
        load_percentage_entered, basic_premium_entered, client_type_is_company, page_filling,
        class_or_cover_changed, stamp_duty_entered, excess_entered;
  };
  std::optional<Flags> saved;
  if (loading_) {
    saved = Flags{ws.page.ExtendedCoverDetailsStale,
                  ws.premium.FactorsChangedNewTariff,
                  ws.premium.TariffPremiumEntered,
                  ws.premium.LoadPercentageEntered,
                  ws.premium.BasicPremiumEntered,
                  ws.client.ClientTypeIsCompany,
                  ws.page.PageFilling,
                  ws.transfer.ClassOrCoverChanged,
                  ws.premium.StampDutyEntered,
                  ws.premium.ExcessEntered};
  }

  // Showing the cover note is not changing its premium's factors.
  std::optional<PremiumMarksKept> marks_kept(std::in_place, ws.premium);

  // A broker's cover notes are master/fleet cover notes.
  if (ws.identity.CurrentAgentType == "B") current.TransactionType = "M";

  if (current.TransactionType == "O" && !ws.cover_rules.OtherPremiumTabActive) {
    SelectPremiumTab(ws, window(), kOtherPremiumTabId);
  } else {
    // The type shown is still the previous note's: the one read decides.
    ChoosePremiumTabByDate(current.TransactionType);
  }
  // Nor does the other-premium tab of a previous note stay in force for this one.
  ws.cover_rules.OtherPremiumTabActive = current.TransactionType == "O";
  ShowLicenceLabel(document());
  {
    // The client and cover type handlers below reset what a change of type resets; this
    // is only the record being shown.
    const KeptWhileShowing kept(current);
    const bool company = current.ClientType == "C";
    Element("optCompanyType").SetChecked(company);
    Element("optPersonalType").SetChecked(!company);
    if (company) {
      ApplyCompanyType();
    } else {
      ApplyPersonalType();
    }

    ShowRecordOnPage(ws, kCoverTabId, document());

    // The cover option refills the class lists; the record's class and use go back after it.
    if (current.CoverType == "COMMERCIAL") {
      optCommercialCover_onclick();
    } else if (current.CoverType == "MOTORCYCLE") {
      optMotorcycleCover_onclick();
    } else {
      optPrivateCover_onclick();
    }
  }
  ShowStoredValue(Element("cboClassCode"), current.ClassCode);
  ShowStoredValue(Element("cboClassUse"), current.ClassUse);

  if (saved) {
    ws.page.ExtendedCoverDetailsStale = saved->extended_cover_details_stale;
    ws.premium.FactorsChangedNewTariff = saved->factors_changed_new_tariff;
    ws.premium.TariffPremiumEntered = saved->tariff_premium_entered;
    ws.premium.LoadPercentageEntered = saved->load_percentage_entered;
    ws.premium.BasicPremiumEntered = saved->basic_premium_entered;
    ws.client.ClientTypeIsCompany = saved->client_type_is_company;
    ws.page.PageFilling = saved->page_filling;
    ws.transfer.ClassOrCoverChanged = saved->class_or_cover_changed;
    ws.premium.StampDutyEntered = saved->stamp_duty_entered;
    ws.premium.ExcessEntered = saved->excess_entered;
  }

  marks_kept.reset();
  // An excess or loading the cover note already carries counts as entered.
  if (IsNonZeroAmount(current.ExcessAmount)) ws.premium.ExcessEntered = true;
  if (IsNonZeroAmount(current.LoadPercentage)) ws.premium.LoadPercentageEntered = true;

  // Choosing the client type unlocks its boxes; shown here, they stay locked.
  LockCoverTab();
}

// Only a referred risk waits for the administrator; a cover note on a vehicle not yet
// registered has no period of cover to amend. Says why, in the administrator's words.
std::string CNAACov::WhySaveIsOff() {
  Workspace& ws = workspace();
  if (ws.identity.EnquiresOnly()) return std::string(kEnquiryOnly);
  const CoverNoteFields& current = ws.record.Current;
  if (HasPlaceholderVehicleNumber(ws)) {
    const bool vehicle = UCase(current.VehicleNo) == PlaceholderVehicleNumber(ws);
    return std::string("Shown read-only: the ") + (vehicle ? "vehicle" : "trailer") +
           " is not registered yet, so its cover cannot be amended.";
  }
  dom::Element& status = Element("cboCNStatus");
  if (status.Value() == "R") return {};
  const int shown = status.SelectedIndex();
  const std::string caption = shown < 0 ? status.Value() : status.Options().Item(shown)->Text();
  return "Shown read-only: this cover note is " + LCase(caption) +
         "; only a referred risk can be amended.";
}

}  // namespace cn

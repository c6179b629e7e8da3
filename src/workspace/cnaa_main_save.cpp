// Save: the one place where the screen writes. The tab shown reaches the record, the
// address and the premium are checked (the premium recomputed when its factors changed),
// the administrator reviews what will change, the client and then the cover note are
// written, and the saved cover note is read again.

#include <array>
#include <cstdint>
#include <string>

#include "base/separators.h"
#include "base/text.h"
#include "integration/reporting.h"
#include "integration/service_gateway.h"
#include "integration/shell_bridge.h"
#include "integration/system_codes.h"
#include "pages/premium/premium_compute.h"
#include "workspace/address_check.h"
#include "workspace/amendment_history.h"
#include "workspace/client_write.h"
#include "workspace/cnaa_main.h"
#include "workspace/record_fill.h"
#include "workspace/save_review.h"
#include "workspace/tab_transfer.h"
#include "workspace/unsaved_changes.h"
#include "workspace/write_admin_record.h"

namespace cn {
namespace {

constexpr std::string_view kSaveTitle = "Save Cover Note";
constexpr std::string_view kInvalidData = "Invalid Data";
constexpr std::string_view kRecomputeNotice =
    "Some premium factors was changed. This premium will be recalculated automatically.";
constexpr std::string_view kRecomputeTitle = "Print Cover Note";

constexpr std::string_view kReviewDialog = "dlgReview.htm";
constexpr std::string_view kHistoryDialog = "dlgHistory.htm";
constexpr std::string_view kTableDialogFeatures =
    "status=no; dialogwidth=760px; dialogheight=460px; help: no; resizable: yes; center: yes;";
constexpr std::string_view kReviewConfirmed = "save";

// The extended covers that pay for any driver set the driver category.
constexpr std::int32_t kExtCoverOnOwnSumInsured = 1007;
constexpr std::int32_t kAnyDriverCover = 1021;

constexpr std::int32_t kSaved = 1010003;
constexpr std::int32_t kSavedByAnother = 1210005;
constexpr std::int32_t kUnexpectedStatus = 1319999;
constexpr std::int32_t kChangedSinceRead = 2;
constexpr std::int32_t kLoadingLocked = 9;
constexpr std::int32_t kReferredNewTariff = 8;

// What the administrator is told for each refusal of the cover-note write.
struct WriteRefusal {
  std::int32_t status;
  std::int32_t message;
  MessageParameters parameters;
};
constexpr std::array<WriteRefusal, 8> kWriteRefusals{{
    {1, 1010001, {}},
    {kChangedSinceRead, 1210003, {}},
    {3, 2010010, {"target cover note's transaction", "done at backend", "Update", "", ""}},
    {4, 2010010, {"target cover note", "submitted", "Amendment", "", ""}},
    {5, 2010016, {"belongs to another agent", "", "", "", ""}},
    {6, 2010016, {"have expired", "", "", "", ""}},
    {7, 2010016, {"does not exist", "", "", "", ""}},
    {8, 2010016, {"already exist", "", "", "", ""}},
}};

std::string Parameters(std::initializer_list<std::string_view> values) {
  std::string joined;
  for (const std::string_view value : values) {
    if (!joined.empty()) joined += ParamSeparator;
    joined += value;
  }
  return joined;
}

}  // namespace

void CNAAMain::Save() {
  workspace().page.TabSwitchInProgress = false;
  SaveCoverNote();
}

void CNAAMain::SaveCoverNote() {
  Workspace& ws = workspace();
  CoverNoteFields& current = ws.record.Current;
  const std::shared_ptr<dom::Document> shown = TabPage();
  if (!ws.page.CurrentTabId.empty() && !ws.page.PageFilling) {
    SavePageToRecord(ws, ws.page.CurrentTabId, *shown);
  }
  const bool other_premium = current.TransactionType == "O";
  if (!other_premium && !CheckSumInsured(ws, window(), *shown)) return;

  if (const auto problem = AddressProblem(current.Address)) {
    window().MessageBox(*problem, dom::message_box::kOkOnly + dom::message_box::kExclamation,
                        kInvalidData);
    TabFocus(window(), kCoverTabId);
    return;
  }

  if (!RecomputeBeforeSave(*shown)) return;

  // The record the write sends, with the changes the save makes to it; the cover note in
  // the workspace takes them only when the administrator confirms.
  const WriteAdminInputs inputs{
      .NewTariffInUse = ws.cover_rules.NewTariffInUse,
      .DriverCoverCode1 = GetSystemCode(ws.lookup, ws.components, kExtCoverOnOwnSumInsured),
      .DriverCoverCode2 = GetSystemCode(ws.lookup, ws.components, kAnyDriverCover),
  };
  CoverNoteRecord to_save = ws.record;
  const std::string record_text = BuildWriteAdminRecord(to_save, inputs);
  const TableDialogText review = ReviewTable(current.CoverNoteNo, ws.read.AsReadReply, record_text);
  const std::string answer =
      window().ShowModalDialog(kReviewDialog, review.Text(), kTableDialogFeatures);
  // With nothing to amend the review only says so, whatever comes back from it.
  if (review.rows.empty() || answer != kReviewConfirmed) return;
  ws.record = std::move(to_save);

  WriteClientWhenChanged();
  WriteCoverNote(record_text);
}

// The premium is recomputed when its factors or a typed figure changed since the last
// computation; the save goes on only when the engine in use rated the cover note.
bool CNAAMain::RecomputeBeforeSave(dom::Document& shown) {
  Workspace& ws = workspace();
  PremiumState& premium = ws.premium;
  const bool new_tariff = ws.cover_rules.NewTariffInUse;
  bool computed_now = false;
  if (ws.record.Current.TransactionType != "O" && !ws.cover_rules.OtherPremiumTabActive) {
    const bool changed = new_tariff
                             ? premium.FactorsChangedNewTariff || premium.PremiumChangedNewTariff
                             : premium.FactorsChangedV10 || premium.PremiumChangedV10;
    if (changed) {
      window().MessageBox(kRecomputeNotice,
                          dom::message_box::kOkOnly + dom::message_box::kInformation,
                          kRecomputeTitle);
      computed_now = true;
      if (new_tariff) {
        ComputePremium(ws, window(), shown);
      } else {
        ComputePremiumV10(ws, window(), shown);
      }
    }
  }
  bool failed = false;
  if (new_tariff) {
    // The new tariff's own refusals were told as it answered; an earlier one is told again.
    const std::int32_t status = premium.ComputeStatusNewTariff;
    failed = status != 0 && status != kReferredNewTariff;
    if (failed && !computed_now) ShowComputeStatusNewTariff(ws, window());
  } else {
    // Rated or referred: anything else, an unknown answer included, is no premium to save.
    ShowComputeStatus(ws, window());
    failed = premium.ComputeStatus < 0 || premium.ComputeStatus > 2;
  }
  if (!failed) return true;
  if (ws.page.CurrentTabId != kVehicleTabId) {
    TabFocus(window(), kVehicleTabId);
  } else {
    dom::Element& capacity = *TabPage()->GetElementById("txtCapacity");
    capacity.Select();
    capacity.Focus();
  }
  return false;
}

void CNAAMain::WriteClientWhenChanged() {
  Workspace& ws = workspace();
  const ClientDetails& edited = ws.transfer.ClientCopy;
  const ClientDetails& as_read = ws.client.ClientAsRead;
  if (edited.ClientCode.empty() || !ClientChanged(edited, as_read, ws.record.Current.ClientType)) {
    return;
  }
  // The client master keeps its own record of changes; the cover note is written whatever
  // it answers.
  ServiceGateway(ws.components)
      .ExecuteCommand("KivoGlobal.Client.Write",
                      ClientWriteParameters(edited, as_read, ws.identity.CurrentUserId));
}

void CNAAMain::WriteCoverNote(const std::string& record_text) {
  Workspace& ws = workspace();
  const CoverNoteFields& current = ws.record.Current;
  CommandReply answer;
  try {
    answer =
        ServiceGateway(ws.components)
            .ExecuteCommand("KivoGIUWR.CoverNote.WriteAdmin",
                            Parameters({ws.identity.CurrentUserId, UCase(ws.read.LoadedCoverNoteNo),
                                        UCase(current.CoverNoteNo), record_text}));
  } catch (const RuntimeFailure& failure) {
    // One transaction: a write the database refused left the stored cover note as it was. A
    // database not available at all says so in its own words.
    window().MessageBox(failure.number() == failure::kDatabaseUnavailable
                            ? failure.description()
                            : "The cover note could not be saved (" + failure.description() +
                                  "). Nothing has been written; please try again.",
                        dom::message_box::kOkOnly + dom::message_box::kCritical, kSaveTitle);
    return;
  }

  if (answer.status == 0) {
    // The back end names the endorsement the save made; the saved message offers it.
    const std::vector<std::string> endorsement = SplitReplyFields(answer.reply);
    if (!endorsement.empty() && !endorsement[0].empty()) OfferEndorsement(window(), endorsement[0]);
    ShowMessageByNumber(ws.components, kSaved, "", kSaveTitle);
    ws.read.LoadedCoverNoteNo = current.CoverNoteNo;
    // Said by the read that follows, with the amendment's number, once the message is closed.
    const Time saved_at = ws.local_clock.Now().time;
    const auto two_digits = [](int n) {
      return std::string(n < 10 ? "0" : "") + std::to_string(n);
    };
    ws.read.SavedAt = two_digits(saved_at.hour()) + ":" + two_digits(saved_at.minute());
    ReadOnCoverTab(current.CoverNoteNo, true);
    return;
  }
  if (answer.status == kChangedSinceRead) {
    // The back end names who saved it since this read, and when.
    const std::vector<std::string> saved_by = SplitReplyFields(answer.reply);
    if (saved_by.size() >= 2 && !saved_by[0].empty()) {
      if (ShowNumberedMessage(ws.components, kSavedByAnother, kSaveTitle,
                              {saved_by[0], saved_by[1], "", "", ""}) == answer::kOk) {
        ReadOnCoverTab(ws.read.LoadedCoverNoteNo, true);
      }
      return;
    }
  }
  if (answer.status == kLoadingLocked) {
    window().MessageBox(
        "Loading for the cover note has been modified by user with higher authority.\r\n"
        "You are not allowed to modify the loading.",
        dom::message_box::kOkOnly + dom::message_box::kExclamation, kSaveTitle);
    return;
  }
  for (const WriteRefusal& refusal : kWriteRefusals) {
    if (refusal.status != answer.status) continue;
    ShowNumberedMessage(ws.components, refusal.message, kSaveTitle, refusal.parameters);
    return;
  }
  ShowMessageByNumber(ws.components, kUnexpectedStatus, "", kSaveTitle);
}

// Reads a cover note on the Cover tab as if the administrator had typed its number there.
void CNAAMain::ReadOnCoverTab(const std::string& cover_note_no, bool stay) {
  WorkspacePageState& page = workspace().page;
  workspace().read.ScreenReads = true;
  if (page.CurrentTabId != kCoverTabId) {
    // The Cover tab reads it when it loads (and goes back to this tab when it is to stay).
    page.PendingTabCommand = std::string(kCoverTabId) + ";ReadCoverNote;" + cover_note_no;
    if (stay) page.TabAfterSavedRead = page.CurrentTabId;
    TabFocus(window(), kCoverTabId);
    return;
  }
  const std::shared_ptr<dom::Document> cover_page = TabPage();
  cover_page->GetElementById("txtCoverNoteNumber")->SetValue(cover_note_no);
  cover_page->GetElementById("cmdReadCNoteNo")->Click();
}

void CNAAMain::ShowHistory() {
  Workspace& ws = workspace();
  const std::string number = ws.read.LoadedCoverNoteNo;
  if (number.empty()) {
    window().MessageBox("Read a cover note first; its saved amendments are listed here.",
                        dom::message_box::kOkOnly + dom::message_box::kInformation, "History");
    return;
  }
  const CommandReply answer =
      ServiceGateway(ws.components)
          .ExecuteCommand("KivoGIUWR.CoverNote.History",
                          Parameters({UCase(number), ws.identity.CurrentAgentCode}));
  if (answer.status != 0) {
    ShowMessageByNumber(ws.components, kUnexpectedStatus, "", "History");
    return;
  }
  window().ShowModalDialog(kHistoryDialog, HistoryArgument(UCase(number), answer.reply),
                           kTableDialogFeatures);
}

}  // namespace cn

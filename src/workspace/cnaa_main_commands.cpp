// The workspace's own commands: reset, the extended-cover details refresh before a
// calculation, and the request for missing data.

#include <optional>
#include <string>

#include "base/date_reader.h"
#include "base/runtime_failure.h"
#include "integration/conversions.h"
#include "base/separators.h"
#include "integration/list_search.h"
#include "integration/reporting.h"
#include "integration/service_gateway.h"
#include "integration/shell_bridge.h"
#include "pages/cover/cover_lock.h"
#include "pages/premium/select_premium_tab.h"
#include "workspace/cnaa_main.h"
#include "workspace/licence.h"
#include "workspace/record_defaults.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

constexpr std::int32_t kConfirmReset = 1210001;
constexpr std::int32_t kIncompleteData = 1210009;


}  // namespace

// A failure inside leaves ResetInProgress set, as every flag set before a failure stays.
void CNAAMain::Reset() {
  workspace().page.ResetInProgress = true;
  ResetWorkspace();
  workspace().page.ResetInProgress = false;
}

void CNAAMain::ResetWorkspace() {
  Workspace& ws = workspace();
  if (ShowMessageByNumber(ws.components, kConfirmReset, "", "Reset") != answer::kOk) return;
  WorkspacePageState& page = ws.page;
  page.PageFilling = true;
  SetRecordDefaults(ws, nullptr, window());
  // What the status bar said of the note read no longer stands.
  window().SetStatus("Done");

  const Date today = ws.local_clock.Now().date;
  const Date new_tariff = RequireDate(ws.startup.NewTariffDate, "ResetWorkspace");
  SelectPremiumTab(ws, window(), new_tariff <= today ? kNewTariffPremiumTabId : kPremiumTabId);

  if (page.CurrentTabId != kCoverTabId) {
    // The Cover tab refills itself from the cleared record when it loads.
    TabFocus(window(), kCoverTabId);
  } else {
    const std::shared_ptr<dom::Document> cover_page = TabPage();
    ShowRecordOnPage(ws, kCoverTabId, *cover_page);
    ShowLicenceLabel(*cover_page);
    cover_page->GetElementById("cboTransactionType")->SetDisabled(false);
    cover_page->GetElementById("optPersonalType")->Click();
    // Back to the start: nothing read, so nothing to amend or save.
    LockCoverTabPage(*cover_page);
  }
  SetTitle(window(), kScreenTitle, "");
  EnableCmdButton(window(), page.SaveButtonId, false);
  page.PageFilling = false;
}

// The extended-cover details are read again only after the class or the cover changed.
void CNAAMain::RefreshExtendedCoverDetails() {
  Workspace& ws = workspace();
  WorkspacePageState& page = ws.page;
  if (!page.ExtendedCoverDetailsStale) return;
  page.ExtendedCoverDetails = {std::string()};
  const CoverNoteFields& current = ws.record.Current;
  if (current.ClassCode.empty() || current.MotorCoverCode.empty()) return;
  const std::string parameters =
      current.ClassCode + std::string(ParamSeparator) + current.MotorCoverCode;
  page.ExtendedCoverDetails = SplitList(
      ServiceGateway(ws.components)
          .ExecuteCommand("TarvinBS.Find.FindExtendedCoverDetails", parameters)
          .reply);
  page.ExtendedCoverDetailsStale = false;
}

void CNAAMain::ShowIncompleteData(std::int16_t tab) {
  cn::ShowIncompleteData(workspace(), window(), tab);
}

void ShowIncompleteData(Workspace& workspace, dom::Window& window, std::int16_t tab) {
  struct IncompleteTab {
    std::int16_t tab;
    std::string_view parameter;
    std::string_view tab_id;
  };
  static constexpr IncompleteTab kTabs[] = {
      {kIncompleteCoverTab, "[Cover]", kCoverTabId},
      {kIncompleteVehicleTab, "[Vehicle]", kVehicleTabId},
  };
  for (const IncompleteTab& incomplete : kTabs) {
    if (incomplete.tab != tab) continue;
    ShowMessageByNumber(workspace.components, kIncompleteData, incomplete.parameter,
                        "Incomplete Data");
    TabFocus(window, incomplete.tab_id);
  }
}

}  // namespace cn

#include "workspace/cnaa_main.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "base/date_reader.h"
#include "base/runtime_failure.h"
#include "integration/conversions.h"
#include "integration/dates.h"
#include "integration/shell_bridge.h"
#include "pages/premium/premium_compute.h"
#include "pages/premium/select_premium_tab.h"
#include "workspace/record_defaults.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

constexpr std::string_view kMessageElement = "UIF_ID_Msg";
constexpr std::string_view kTabFrame = "UIF_ID_UserEx";

struct TabRow {
  std::string_view id;
  std::string_view caption;
  std::string_view page_file;
};

// The six tabs in the order of the shell's tab strip; the three premium tabs share a caption
// because only one of them is ever visible.
constexpr TabRow kTabs[] = {
    {kCoverTabId, "Cover", "CNAACov.htm"},
    {kVehicleTabId, "Vehicle", "CNAAVeh.htm"},
    {kNCDTabId, "NCD", "CNAAClm.htm"},
    {kPremiumTabId, "Premium", "CNAAPrm.htm"},
    {kNewTariffPremiumTabId, "Premium", "CNAANPrm.htm"},
    {kOtherPremiumTabId, "Premium", "CNAAOPrm.htm"},
};

struct CommandButtonRow {
  std::string_view id;
  std::string_view caption;
};

constexpr std::string_view kSaveButtonId = "cmdSave";

// The command bar in insertion order.
constexpr CommandButtonRow kCommandButtons[] = {
    {"cmdReset", "Reset"},
    {kSaveButtonId, "Save"},
    {"cmdEnquiry", "Enquiry"},
    {"cmdCalculate", "Calculate"},
    {"cmdHistory", "History"},
};

// What each shell message does, tried in this order.
struct Route {
  std::string_view message;
  void (CNAAMain::*action)();
};


}  // namespace

CNAAMain::CNAAMain(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : Page(workspace, std::move(document)) {
  static constexpr auto kHandlers = dom::SortedRows({
      {kMessageElement, "onpropertychange", Handler<&CNAAMain::UIF_ID_Msg_onpropertychange>},
  });
  BindHandlers(kHandlers);
}

std::unique_ptr<Page> CNAAMain::Make(Workspace& workspace,
                                     std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAAMain>(workspace, std::move(document));
}

void CNAAMain::DHTMLPage_Load() {
  PageLoaded = true;
  window().SetStatus("Loading page...");
  document().Body()->SetAttribute("Scroll", "no");
  SetTitle(window(), kScreenTitle, "");
  LoadLookupLists();
  InsertTabs();
  InsertCommandButtons();
  workspace().ext_cover_rows = ExtCoverRowMarks{};
  SetRecordDefaults(workspace(), nullptr, window());
  PrepareEnquiryDocument();
  // The Cover tab runs the pending command, if any, when it loads.
  TabFocus(window(), kCoverTabId);
  window().SetStatus("Done");
}

void CNAAMain::DHTMLPage_Unload() {
  if (PageLoaded) {
    PageLoaded = false;
    workspace().page.NamedDriverCountSeen = 1;
    workspace().page.CurrentTabId.clear();
  }
  // Releases the extended-cover and named-driver tables the tab pages made.
  workspace().row_tables = RowTableHooks{};
  workspace().vehicle.DriverTable.reset();
}

void CNAAMain::InsertTabs() {
  dom::Window& shell = window();
  for (const TabRow& tab : kTabs) InsertTabButton(shell, tab.id, tab.caption, tab.page_file);
  ShowTabButton(shell, kOtherPremiumTabId, false);

  // The new tariff applies from its date on; before it the current tariff's tab is used.
  const DateTime now =
      RequireDateTime(GetSystemDateTime(workspace().components, workspace().local_clock),
                      "InsertTabs");
  const DateTime new_tariff = RequireDateTime(workspace().startup.NewTariffDate, "InsertTabs");
  SelectPremiumTab(workspace(), shell,
                   new_tariff <= now ? kNewTariffPremiumTabId : kPremiumTabId);
}

void CNAAMain::InsertCommandButtons() {
  for (const CommandButtonRow& button : kCommandButtons) {
    InsertCmdButton(window(), button.id, button.caption, "");
  }
  // Nothing can be saved before a cover note has been read.
  EnableCmdButton(window(), kSaveButtonId, false);
  workspace().page.SaveButtonId = kSaveButtonId;
}

void CNAAMain::UIF_ID_Msg_onpropertychange() {
  static constexpr Route kRoutes[] = {
      {"cmdReset", &CNAAMain::Reset},
      {"cmdEnquiry", &CNAAMain::ShowEnquiryDialog},
      {"cmdCalculate", &CNAAMain::Calculate},
      {"cmdSave", &CNAAMain::Save},
      {"cmdHistory", &CNAAMain::ShowHistory},
      {kCoverTabId, &CNAAMain::LeaveCurrentTab},
      {kNCDTabId, &CNAAMain::LeaveCurrentTab},
      {kPremiumTabId, &CNAAMain::LeaveCurrentTab},
      {kVehicleTabId, &CNAAMain::LeaveCurrentTab},
      {kNewTariffPremiumTabId, &CNAAMain::LeaveCurrentTab},
      {kOtherPremiumTabId, &CNAAMain::LeaveCurrentTab},
  };
  const std::string message = Element(kMessageElement).InnerHtml();
  for (const Route& route : kRoutes) {
    if (route.message == message) {
      (this->*route.action)();
      return;
    }
  }
}

// The shell posts a tab's id before it replaces the frame's page, so the page being left
// is still there to be copied into the record; the new page fills itself when it loads.
void CNAAMain::LeaveCurrentTab() {
  WorkspacePageState& page = workspace().page;
  page.TabSwitchInProgress = true;
  if (page.CurrentTabId.empty() || page.PageFilling) return;
  const std::string leaving = page.CurrentTabId;
  SavePageToRecord(workspace(), leaving, *TabPage());
}

void CNAAMain::Calculate() {
  workspace().page.TabSwitchInProgress = false;
  RefreshExtendedCoverDetails();
  Workspace& ws = workspace();
  const std::shared_ptr<dom::Document> shown = TabPage();
  if (ws.page.CurrentTabId == kNewTariffPremiumTabId) {
    ComputePremium(ws, window(), *shown);
  } else {
    ComputePremiumV10(ws, window(), *shown);
  }
  ShowComputeStatus(ws, window());
}

std::shared_ptr<dom::Document> CNAAMain::TabPage() const {
  std::shared_ptr<dom::Document> page = document().GetFrame(kTabFrame)->document();
  if (!page) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: no page in the tab frame",
                         "CNAAMain");
  }
  return page;
}

}  // namespace cn

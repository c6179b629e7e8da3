#pragma once
// The whole screen in a real shell, on fake components that write everything the screen does
// into one journal, in order: back-end commands, local-table and settings reads, numbered
// messages, message boxes, dialogs, shell statements and status texts. The tab pages are
// stand-ins that only note their load and the clicks the workspace makes on them.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "base/clock.h"
#include "dom/document.h"
#include "fake_components.h"
#include "fake_ports.h"
#include "shell/host_shell.h"
#include "workspace/screen.h"
#include "workspace/workspace.h"

namespace cn::testing {

class ScreenHarness {
 public:
  // `local_tables`: "Use Local Table" is "1" instead of "0".
  explicit ScreenHarness(bool local_tables = false);
  ~ScreenHarness();
  ScreenHarness(const ScreenHarness&) = delete;
  ScreenHarness& operator=(const ScreenHarness&) = delete;

  // The back end's clock, and the new-tariff date it keeps (system parameter 1127).
  void SetBackEndNow(std::string_view date_time);
  void SetNewTariffDate(std::string_view date);
  // System codes from the back end and the local table alike.
  void SetSystemCodes(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);

  // Opens the screen with the cookies an enquiry screen left ("a=1; b=2").
  void Start(std::string cookies = "");
  void ClickTab(std::string_view tab_id) { shell_->ClickTab(tab_id); }
  // Posts a message to the workspace exactly as the shell does.
  void Post(std::string_view message);

  Workspace& workspace() const { return *screen_.workspace(); }
  shell::HostShell& shell() const { return *shell_; }
  dom::Document& workspace_page() const { return *shell_->WorkspaceDocument(); }
  // The tab page shown; fails the test when there is none.
  dom::Document& tab_page() const;
  // The journal since the last call.
  Journal Take();

  Journal journal;
  FakeWorld fakes;
  std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
  FixedClock local_clock;

 private:
  Screen screen_;
  std::filesystem::path pages_dir_;
  std::shared_ptr<shell::HostShell> shell_;
};

}  // namespace cn::testing

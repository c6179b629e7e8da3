#pragma once
// The containing shell: title, tab strip, command-button bar, the frame that shows the current
// tab page, cookies and the status bar. The workspace page is loaded into it first and stays;
// tab pages come and go in its frame "UIF_ID_UserEx". The shell tells the workspace about every
// click by writing the button's or tab's id into the hidden element "UIF_ID_Msg".
//
// Pages reach the shell only by running script statements in their window (ShowTitle(...),
// TabFocus(...), OfferEndorsement(...), ...). Showing a tab posts its id at once, while the page
// being left is still in the frame, and replaces the page when the handler that asked for it has
// returned, as a browser navigates a frame.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dom/document.h"
#include "dom/page_logic.h"
#include "dom/page_templates.h"
#include "dom/window.h"
#include "shell/script_statement.h"

namespace cn::shell {

struct TabButton {
  std::string id;
  std::string caption;
  std::string page_file;
  bool shown = true;
  bool operator==(const TabButton&) const = default;
};

struct CommandButton {
  std::string id;
  std::string caption;
  std::string third;  // kept as given; the workspace always passes ""
  bool enabled = true;
  bool shown = true;
  bool operator==(const CommandButton&) const = default;
};

// The workspace page and the ids of its hidden elements.
inline constexpr std::string_view kWorkspacePage = "CNAAMain.htm";
inline constexpr std::string_view kMessageElement = "UIF_ID_Msg";
inline constexpr std::string_view kFrameName = "UIF_ID_UserEx";

class HostShell : public std::enable_shared_from_this<HostShell> {
 public:
  struct Options {
    std::filesystem::path pages_dir;     // where page files are read from
    dom::PageFactory page_factory;       // logic for each page file (may give none)
    std::shared_ptr<dom::DialogHost> dialogs;  // message boxes and modal dialogs of every page
    std::string cookies;                 // "a=1; b=2": the cookie text the screen opens with
    // Page files parsed once and copied for each load, shared by every shell of the process;
    // null: each load reads and parses its file.
    std::shared_ptr<dom::PageTemplates> page_templates;
  };

  static std::shared_ptr<HostShell> Create(Options options);
  class Key {
    friend class HostShell;
    Key() = default;
  };
  HostShell(Key key, Options options);
  HostShell(const HostShell&) = delete;
  HostShell& operator=(const HostShell&) = delete;
  ~HostShell();

  // Loads the workspace page and runs its load, then the tab it asked for.
  void Start();
  // Unloads the tab page, then the workspace page.
  void Close();

  // ---- The administrator on the shell's own bar ------------------------------------------
  // A hidden or unknown tab, or the tab already shown, does nothing.
  void ClickTab(std::string_view tab_id);
  // A disabled, hidden or unknown button does nothing.
  void ClickCommand(std::string_view button_id);
  // Runs something the administrator does on a page, then the tab changes it asked for.
  void RunUserAction(const std::function<void()>& action);

  // ---- What the shell shows ----------------------------------------------------------------
  const std::string& Title() const { return title_; }
  const std::vector<TabButton>& Tabs() const { return tabs_; }
  const std::vector<CommandButton>& Buttons() const { return buttons_; }
  const TabButton* FindTab(std::string_view id) const;
  const CommandButton* FindButton(std::string_view id) const;
  // Id of the tab whose page is in the frame; "" before any.
  const std::string& ShownTabId() const { return shown_tab_; }
  std::shared_ptr<dom::Document> WorkspaceDocument() const { return workspace_; }
  // The page in the frame; null before any tab page has loaded.
  std::shared_ptr<dom::Document> TabDocument() const;
  // The status bar: the last status text any page window set.
  const std::string& Status() const { return status_; }
  // Grows by one with every change of the shell's own state (title, tabs, buttons, tab shown).
  std::uint64_t Revision() const { return revision_; }
  // The endorsement a page offered with OfferEndorsement('CN24000101/E2'), once: it goes with
  // the message the page shows next (the saved message offers to open it).
  std::optional<std::string> TakeOfferedEndorsement();

  // Runs one script statement in `window` (the shell's functions only); a RuntimeFailure for
  // anything else, an unknown function, wrong arguments or an unknown button or tab.
  void RunScript(dom::Window& window, std::string_view script);

 private:
  class Scope;  // one entry point; the outermost one performs the pending tab changes

  void Execute(dom::Window& window, const ScriptStatement& statement);
  void ShowTab(std::string_view tab_id);
  void Post(std::string_view message);
  void PerformNavigations();
  void Navigate(const std::string& tab_id);
  std::shared_ptr<dom::Document> OpenPage(std::string_view page_file);
  void UnloadTabPage();
  void Report(const std::exception& failure);
  TabButton& Tab(std::string_view id);
  CommandButton& Button(std::string_view id);
  void Changed() { ++revision_; }

  Options options_;
  std::shared_ptr<dom::ScriptHost> script_host_;  // forwards to this shell without owning it
  std::shared_ptr<dom::Document> workspace_;
  std::unique_ptr<dom::PageLogic> workspace_logic_;
  std::unique_ptr<dom::PageLogic> tab_logic_;
  std::string title_;
  std::vector<TabButton> tabs_;
  std::vector<CommandButton> buttons_;
  std::string shown_tab_;
  std::string status_;
  std::optional<std::string> offered_endorsement_;
  std::deque<std::string> pending_tabs_;
  int depth_ = 0;
  std::uint64_t revision_ = 0;
  int status_listener_ = 0;
};

}  // namespace cn::shell

#pragma once
// The whole screen in a real shell, on fake components that write everything the screen does
// into one journal, in order: back-end commands, local-table and settings reads, numbered
// messages, message boxes, dialogs, shell statements and status texts. The tab pages are
// stand-ins that only note their load and the clicks the workspace makes on them.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/clock.h"
#include "dom/document.h"
#include "dom/window.h"
#include "integration/components.h"
#include "shell/host_shell.h"
#include "workspace/screen.h"
#include "workspace/workspace.h"

namespace cn::workspace_testing {

// Separators shown as "^" (parameters), "|" (fields), "~" (records) and "#" (dialog
// arguments), so that journal lines read as plain text.
std::string Readable(std::string_view text);

using Journal = std::vector<std::string>;

// The back end: answers per (command, parameters), else per command, else an empty reply.
class JournalBackend {
 public:
  explicit JournalBackend(Journal& journal) : journal_(journal) {}
  void Answer(std::string command, std::string parameters, std::string reply);
  void AnswerAny(std::string command, std::string reply);
  // Every call of the command fails, whatever it was told to answer.
  void Fail(std::string command);
  ComponentFactory<BackendCommandService> Factory();

 private:
  class Instance;
  Journal& journal_;
  std::map<std::pair<std::string, std::string>, std::string> exact_;
  std::map<std::string, std::string> any_;
  std::set<std::string> failing_;
};

// Answers message boxes, numbered messages and dialogs from queues; an empty queue answers
// OK, or "" for a dialog.
class QueuedAnswers {
 public:
  std::deque<int> box_answers;
  std::deque<std::int32_t> message_answers;
  std::deque<std::string> dialog_results;
};

class ScreenHarness {
 public:
  // `local_tables`: "Use Local Table" is "1" instead of "0".
  explicit ScreenHarness(bool local_tables = false);
  ~ScreenHarness();

  // The back end's clock, and the new-tariff date it keeps (system parameter 1127).
  void SetBackEndNow(std::string_view date_time);
  void SetNewTariffDate(std::string_view date);
  void SetSystemCodes(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);

  // Opens the screen with the cookies an enquiry screen left ("a=1; b=2").
  void Start(std::string cookies = "");
  void ClickTab(std::string_view tab_id);
  void ClickCommand(std::string_view button_id);
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
  JournalBackend backend{journal};
  std::map<std::pair<std::string, std::string>, std::string> settings;  // (key, name) → value
  std::map<std::int16_t, std::string> local_lists;
  std::map<std::int32_t, std::string> local_motor_classes;
  QueuedAnswers answers;
  FixedClock local_clock;

 private:
  class Dialogs;
  Components components_;
  Screen screen_;
  std::filesystem::path pages_dir_;
  std::shared_ptr<shell::HostShell> shell_;
};

}  // namespace cn::workspace_testing

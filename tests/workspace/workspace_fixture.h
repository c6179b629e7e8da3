#pragma once
// A workspace on fake components: a back end answering from a table, a fixed
// local clock, and a Cover tab page whose window records message boxes and shell
// scripts.

#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/clock.h"
#include "base/separators.h"
#include "dom/document.h"
#include "dom/window.h"
#include "integration/components.h"
#include "workspace/workspace.h"

namespace cn::workspace_testing {

struct Sent {
  std::string command;
  std::string parameters;
  bool operator==(const Sent&) const = default;
};

class FakeBackend {
 public:
  // Answers a command whatever its parameters.
  void Answer(std::string command, std::string reply) { answers_[std::move(command)] = reply; }
  const std::vector<Sent>& sent() const { return sent_; }
  ComponentFactory<BackendCommandService> Factory();

 private:
  std::map<std::string, std::string, std::less<>> answers_;
  std::vector<Sent> sent_;
};

struct Box {
  std::string prompt;
  int buttons_and_icon = 0;
  std::string title;
  bool operator==(const Box&) const = default;
};

inline void PrintTo(const Box& box, std::ostream* out) {
  *out << "{\"" << box.prompt << "\", " << box.buttons_and_icon << ", \"" << box.title << "\"}";
}

class RecordingDialogs : public dom::DialogHost {
 public:
  int MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) override {
    boxes.push_back({std::string(prompt), buttons_and_icon, std::string(title)});
    return dom::message_box::kOk;
  }
  std::string ShowModalDialog(std::string_view, std::string_view, std::string_view) override {
    return {};
  }
  std::vector<Box> boxes;
};

class RecordingShell : public dom::ScriptHost {
 public:
  void RunScript(dom::Window&, std::string_view script) override { scripts.emplace_back(script); }
  std::vector<std::string> scripts;
};

// Fields joined by U+FFFE, records by U+FFFF: the shape of list replies.
std::string Fields(std::initializer_list<std::string_view> fields);
std::string Records(std::initializer_list<std::string> records);

// The Cover tab elements the record-level rules touch.
inline constexpr std::string_view kCoverPage =
    "<html><body>"
    "<input id=txtCoverNoteNumber value=''>"
    "<select id=cboTransactionType>"
    "<option value=N>New</option><option value=R>Renewal</option>"
    "<option value=T>Transfer</option></select>"
    "<span id=lblLicense></span><input id=txtLicenseDate>"
    "</body></html>";

class WorkspaceWorld {
 public:
  WorkspaceWorld();

  // System codes as the back end lists them: {code, value} pairs.
  void SetSystemCodes(std::initializer_list<std::pair<std::string_view, std::string_view>> codes);
  // Back-end clock's answer ("" makes the screen fall back to its own clock).
  void SetBackEndNow(std::string text) {
    backend.Answer("KivoInsurance.Find.FindSystemDateTime", std::move(text));
  }

  FakeBackend backend;
  Components components;
  FixedClock clock;
  Workspace workspace;
  std::shared_ptr<dom::Document> cover_page;
  std::shared_ptr<RecordingDialogs> dialogs;
  std::shared_ptr<RecordingShell> shell;
  dom::Window& window;
};

}  // namespace cn::workspace_testing

#pragma once
// Stand-ins for the user-facing ports of a window: a dialog host that records every message
// box and modal dialog and answers from queues, and a shell that records its statements.

#include <deque>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "dom/window.h"
#include "replies.h"

namespace cn::testing {

struct ShownBox {
  std::string prompt;
  int buttons_and_icon = 0;
  std::string title;
  bool operator==(const ShownBox&) const = default;
};

inline void PrintTo(const ShownBox& box, std::ostream* out) {
  *out << "{\"" << box.prompt << "\", " << box.buttons_and_icon << ", \"" << box.title << "\"}";
}

struct ShownDialog {
  std::string url;
  std::string argument;
  std::string features;
};

// Boxes answer from `box_answers`, then OK; dialogs with `dialog_result`.
// Journal: "box BUTTONS 'TITLE' PROMPT", "dialog URL ARGUMENT FEATURES".
class FakeDialogs : public dom::DialogHost {
 public:
  int MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) override;
  std::string ShowModalDialog(std::string_view url, std::string_view argument,
                              std::string_view features) override;

  // Each dialog opened as "URL ARGUMENT", the argument's separators readable.
  std::vector<std::string> Opened() const;

  std::vector<ShownBox> boxes;
  std::vector<ShownDialog> dialogs;
  std::deque<int> box_answers;
  std::string dialog_result;
  Journal* journal = nullptr;
};

class FakeShell : public dom::ScriptHost {
 public:
  void RunScript(dom::Window& window, std::string_view script) override;
  std::vector<std::string> scripts;
};

}  // namespace cn::testing

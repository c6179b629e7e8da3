#include "fake_ports.h"

namespace cn::testing {

int FakeDialogs::MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) {
  boxes.push_back({std::string(prompt), buttons_and_icon, std::string(title)});
  if (journal != nullptr) {
    journal->push_back("box " + std::to_string(buttons_and_icon) + " '" + std::string(title) +
                       "' " + std::string(prompt));
  }
  if (box_answers.empty()) return dom::message_box::kOk;
  const int answer = box_answers.front();
  box_answers.pop_front();
  return answer;
}

std::string FakeDialogs::ShowModalDialog(std::string_view url, std::string_view argument,
                                         std::string_view features) {
  dialogs.push_back({std::string(url), std::string(argument), std::string(features)});
  if (journal != nullptr) {
    journal->push_back("dialog " + std::string(url) + " " + Readable(argument) + " " +
                       std::string(features));
  }
  return dialog_result;
}

std::vector<std::string> FakeDialogs::Opened() const {
  std::vector<std::string> opened;
  for (const ShownDialog& dialog : dialogs)
    opened.push_back(dialog.url + " " + Readable(dialog.argument));
  return opened;
}

void FakeShell::RunScript(dom::Window&, std::string_view script) { scripts.emplace_back(script); }

}  // namespace cn::testing

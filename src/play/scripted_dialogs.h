#pragma once
// The administrator in front of the screen's prompts: message boxes and modal dialogs are
// recorded and answered from the scenario's answer queue. A selection file written for a
// dialog is recorded just before the dialog.

#include <filesystem>
#include <optional>
#include <string>

#include "dom/window.h"
#include "play/answer_queue.h"
#include "play/event_log.h"

namespace cn::play {

// Notices each new content of the selection file and records it as a "selectionFile" event.
class SelectionFileWatch {
 public:
  explicit SelectionFileWatch(std::filesystem::path file) : file_(std::move(file)) {}
  void Check(EventLog& log);

 private:
  std::filesystem::path file_;
  std::string last_bytes_;
};

class ScriptedDialogs final : public dom::DialogHost {
 public:
  ScriptedDialogs(AnswerQueue& answers, EventLog& log, SelectionFileWatch& selection_file)
      : answers_(answers), log_(log), selection_file_(selection_file) {}

  int MessageBox(std::string_view prompt, int buttons_and_icon, std::string_view title) override;
  std::string ShowModalDialog(std::string_view url, std::string_view argument,
                              std::string_view features) override;

 private:
  AnswerQueue& answers_;
  EventLog& log_;
  SelectionFileWatch& selection_file_;
};

}  // namespace cn::play

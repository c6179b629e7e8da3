#pragma once
// The scenario's answers to the screen's prompts, taken in order. A message box or numbered
// message takes a number, a modal dialog a text. An empty queue answers with the first
// button (or "" for a dialog) and the event says so. An answer of the wrong kind is a fault
// of the scenario: it is remembered with its step and the runner stops after that step.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "play/scenario.h"

namespace cn::play {

struct NumberAnswer {
  std::int32_t value = 0;
  bool defaulted = false;
};

struct TextAnswer {
  std::string value;
  bool defaulted = false;
};

class AnswerQueue {
 public:
  explicit AnswerQueue(std::deque<Answer> answers) : answers_(std::move(answers)) {}

  // `first_button` answers when the queue is empty or its head is of the wrong kind.
  NumberAnswer NextNumber(std::int32_t first_button, std::string_view prompt_kind, int step);
  TextAnswer NextText(std::string_view prompt_kind, int step);

  // The first wrong-kind answer met, as a message naming the step.
  const std::optional<std::string>& fault() const { return fault_; }

 private:
  void NoteWrongKind(std::string_view prompt_kind, std::string_view expected, int step);

  std::deque<Answer> answers_;
  std::optional<std::string> fault_;
};

// The answer a person gives by pressing the first button of a message box.
std::int32_t FirstButton(int buttons_and_icon);

}  // namespace cn::play

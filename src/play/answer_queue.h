#pragma once
// The scenario's answers to the screen's prompts. Named answers are tried first: every prompt
// they name takes theirs. The queue answers the rest in order: a message box or numbered
// message takes a number, a modal dialog a text. An empty queue answers with the first
// button (or "" for a dialog) and the event says so. A queued answer of the wrong kind is a
// fault of the scenario: it is remembered with its step and the runner stops after that step.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A prompt as the named answers see it.
struct Prompt {
  std::string_view kind;               // "message box", "numbered message", "dialog"
  std::optional<std::int32_t> number;  // a numbered message's number
  std::string_view title;              // a message box's or numbered message's title
  std::string_view url;                // a dialog's page
};

class AnswerQueue {
 public:
  explicit AnswerQueue(std::deque<Answer> answers, std::vector<NamedAnswer> named = {})
      : answers_(std::move(answers)), named_(std::move(named)) {}

  // `first_button` answers when no answer fits.
  NumberAnswer NextNumber(std::int32_t first_button, const Prompt& prompt, int step);
  TextAnswer NextText(const Prompt& prompt, int step);

  // The numbered message being shown through a message box, whose box is answered as that
  // message; set for as long as a ShownMessage lives.
  std::optional<std::int32_t> shown_message() const { return shown_message_; }

  // The first wrong-kind answer met, as a message naming the step.
  const std::optional<std::string>& fault() const { return fault_; }

 private:
  friend class ShownMessage;
  void NoteWrongKind(std::string_view prompt_kind, std::string_view expected, int step);

  std::deque<Answer> answers_;
  std::vector<NamedAnswer> named_;
  std::optional<std::int32_t> shown_message_;
  std::optional<std::string> fault_;
};

// Marks a numbered message as shown while it lives.
class ShownMessage {
 public:
  ShownMessage(AnswerQueue& answers, std::int32_t number)
      : answers_(answers), previous_(answers.shown_message_) {
    answers_.shown_message_ = number;
  }
  ~ShownMessage() { answers_.shown_message_ = previous_; }
  ShownMessage(const ShownMessage&) = delete;
  ShownMessage& operator=(const ShownMessage&) = delete;

 private:
  AnswerQueue& answers_;
  std::optional<std::int32_t> previous_;
};

// The answer a person gives by pressing the first button of a message box.
std::int32_t FirstButton(int buttons_and_icon);

}  // namespace cn::play

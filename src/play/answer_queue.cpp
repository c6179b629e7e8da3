#include "play/answer_queue.h"

#include <array>

#include "dom/window.h"

namespace cn::play {

namespace {

std::string StepName(int step) { return step == 0 ? "start-up" : "step " + std::to_string(step); }

}  // namespace

std::int32_t FirstButton(int buttons_and_icon) {
  namespace box = dom::message_box;
  // By the button set in the low bits: OK, OK/Cancel, Abort/Retry/Ignore, Yes/No/Cancel,
  // Yes/No, Retry/Cancel.
  constexpr std::array<std::int32_t, 6> kFirstButtons = {box::kOk,  box::kOk,  3,
                                                         box::kYes, box::kYes, 4};
  const auto buttons = static_cast<std::size_t>(buttons_and_icon & 7);
  return buttons < kFirstButtons.size() ? kFirstButtons[buttons] : box::kOk;
}

NumberAnswer AnswerQueue::NextNumber(std::int32_t first_button, std::string_view prompt_kind,
                                     int step) {
  if (answers_.empty()) return {first_button, true};
  if (!std::holds_alternative<std::int32_t>(answers_.front())) {
    NoteWrongKind(prompt_kind, "a number", step);
    return {first_button, true};
  }
  const std::int32_t value = std::get<std::int32_t>(answers_.front());
  answers_.pop_front();
  return {value, false};
}

TextAnswer AnswerQueue::NextText(std::string_view prompt_kind, int step) {
  if (answers_.empty()) return {"", true};
  if (!std::holds_alternative<std::string>(answers_.front())) {
    NoteWrongKind(prompt_kind, "a text", step);
    return {"", true};
  }
  TextAnswer answer{std::get<std::string>(answers_.front()), false};
  answers_.pop_front();
  return answer;
}

void AnswerQueue::NoteWrongKind(std::string_view prompt_kind, std::string_view expected, int step) {
  if (fault_) return;
  fault_ = StepName(step) + ": the " + std::string(prompt_kind) + " shown here needs " +
           std::string(expected) + " as its answer, and the next answer is not one";
}

}  // namespace cn::play

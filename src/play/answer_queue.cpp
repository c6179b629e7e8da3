#include "play/answer_queue.h"

#include <array>

#include "base/text.h"
#include "dom/window.h"

namespace cn::play {

namespace {

std::string StepName(int step) { return step == 0 ? "start-up" : "step " + std::to_string(step); }

// The page file a dialog's url opens: "dlgEnq.htm" of "pages/dlgEnq.htm?x".
std::string_view PageOf(std::string_view url) {
  url = url.substr(0, url.find_first_of("?#"));
  const auto slash = url.find_last_of("/\\");
  return slash == std::string_view::npos ? url : url.substr(slash + 1);
}

bool Names(const NamedAnswer& named, const Prompt& prompt, bool by_number) {
  if (by_number) {
    const auto* number = std::get_if<std::int32_t>(&named.to);
    return number && prompt.number == *number;
  }
  const auto* name = std::get_if<std::string>(&named.to);
  if (!name) return false;
  // A text answer names a dialog's page, a number a message box's title.
  if (std::holds_alternative<std::string>(named.answer))
    return !prompt.url.empty() && EqualsIgnoreCase(*name, PageOf(prompt.url));
  return prompt.url.empty() && *name == prompt.title;
}

// The first named answer for the prompt: by its number first, then by its title or page;
// null when none names it.
const Answer* NamedAnswerFor(const std::vector<NamedAnswer>& named, const Prompt& prompt) {
  for (const bool by_number : {true, false}) {
    for (const NamedAnswer& answer : named) {
      if (Names(answer, prompt, by_number)) return &answer.answer;
    }
  }
  return nullptr;
}

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

NumberAnswer AnswerQueue::NextNumber(std::int32_t first_button, const Prompt& prompt, int step) {
  if (const Answer* named = NamedAnswerFor(named_, prompt))
    return {std::get<std::int32_t>(*named), false};
  if (answers_.empty()) return {first_button, true};
  if (!std::holds_alternative<std::int32_t>(answers_.front())) {
    NoteWrongKind(prompt.kind, "a number", step);
    return {first_button, true};
  }
  const std::int32_t value = std::get<std::int32_t>(answers_.front());
  answers_.pop_front();
  return {value, false};
}

TextAnswer AnswerQueue::NextText(const Prompt& prompt, int step) {
  if (const Answer* named = NamedAnswerFor(named_, prompt))
    return {std::get<std::string>(*named), false};
  if (answers_.empty()) return {"", true};
  if (!std::holds_alternative<std::string>(answers_.front())) {
    NoteWrongKind(prompt.kind, "a text", step);
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

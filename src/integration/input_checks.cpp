#include "integration/input_checks.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "base/currency.h"
#include "base/runtime_failure.h"
#include "dom/document.h"

namespace cn {
namespace {

using Operation = InputCheckAnswer (InputCheckService::*)(std::string&);

dom::Window& WindowOf(const dom::Element& input) {
  const std::shared_ptr<dom::Document> document = input.OwnerDocument();
  const std::shared_ptr<dom::Window> window = document ? document->ParentWindow() : nullptr;
  if (!window) {
    throw RuntimeFailure(failure::kObjectRequired,
                         "Object required: " + input.Describe() + " is not on a page",
                         "InputCheck");
  }
  return *window;
}

// Asks the component and writes its (possibly rewritten) text back.
InputCheckAnswer Ask(const Components& components, Operation operation, dom::Element& input) {
  std::string text = input.Value();
  InputCheckAnswer answer = (components.SharedInputCheckService().*operation)(text);
  input.SetValue(text);
  return answer;
}

void Reject(dom::Element& input, std::string_view message, std::string_view title) {
  input.Select();
  WindowOf(input).MessageBox(message, dom::message_box::kExclamation, title);
}

bool CheckInput(const Components& components, Operation operation, dom::Element& input) {
  const InputCheckAnswer answer = Ask(components, operation, input);
  if (!answer.flag) Reject(input, answer.message, answer.title);
  return answer.flag;
}

// The year as the first four digits of today's date written YYYYMMDD.
std::string CurrentYearText(const Clock& local_clock) {
  char text[8];
  std::snprintf(text, sizeof text, "%04d", local_clock.Now().date.year());
  return text;
}

}  // namespace

bool CheckAmountInput(const Components& components, dom::Element& input) {
  return CheckInput(components, &InputCheckService::CheckAmountText, input);
}

bool CheckPercentageInput(const Components& components, dom::Element& input) {
  return CheckInput(components, &InputCheckService::CheckPercentageText, input);
}

bool ValidateYearMade(const Components& components, const Clock& local_clock,
                      dom::Element& input) {
  const InputCheckAnswer answer = Ask(components, &InputCheckService::CheckYearMadeText, input);
  bool valid = answer.flag;
  if (!valid) Reject(input, answer.message, answer.title);

  const std::string year_text = input.Value();
  const std::optional<Currency> year = Currency::TryParse(year_text);
  if (!year) {
    throw RuntimeFailure(failure::kTypeMismatch,
                         "Type mismatch: year made \"" + year_text + "\" is not a number",
                         "ValidateYearMade");
  }
  const std::string current_year = CurrentYearText(local_clock);
  if (!(*year > Currency::FromWhole(1900) && *year <= Currency::Parse(current_year))) {
    valid = false;
    Reject(input, "Year Made must be more than 1900 and less or equal to " + current_year,
           answer.title);
  }
  return valid;
}

bool CheckNumberInput(const Components& components, dom::Element& input) {
  const InputCheckAnswer answer = Ask(components, &InputCheckService::CheckNumberText, input);
  if (answer.flag) {
    WindowOf(input).MessageBox(answer.message, dom::message_box::kExclamation, answer.title);
  }
  return answer.flag;
}

}  // namespace cn

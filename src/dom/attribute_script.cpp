// The row tables' command script: read strictly, token by token, and carried out directly.
//
// Accepted text, token by token (nothing else, never evaluated):
//
//   NAME ".innerText" "=" LITERAL "+" "event.srcElement.id" "+" LITERAL ";" NAME ".click()" ";"
//
// - NAME is the command element's id: a letter or "_" followed by letters, digits or "_";
//   the same NAME, with the same case, in both statements.
// - LITERAL is text in single quotes without a quote ("'" or "\""), a backslash or a control
//   character inside; it may be empty.
// - ".innerText", "event.srcElement.id" and ".click()" are written exactly so, case included,
//   with nothing inside them.
// - Whitespace (space, tab, CR, LF) may stand before and after "=", "+" and ";", at the start
//   and at the end, and nowhere else.
#include "dom/attribute_script.h"

#include <memory>
#include <string>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/events.h"
#include "dom/internal.h"
#include "dom/window.h"

namespace cn::dom {
namespace {

using internal::Fail;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class ScriptReader {
 public:
  explicit ScriptReader(std::string_view script) : script_(script) {}

  void SkipSpace() {
    while (at_ < script_.size() && IsSpace(script_[at_])) ++at_;
  }

  // The exact word, or a refusal naming it.
  void Expect(std::string_view word) {
    if (script_.substr(at_, word.size()) != word) {
      std::string quoted = "\"";
      quoted.append(word).append("\"");
      Refuse(quoted);
    }
    at_ += word.size();
  }

  // A symbol with optional whitespace around it.
  void ExpectSymbol(char symbol) {
    SkipSpace();
    Expect(std::string_view(&symbol, 1));
    SkipSpace();
  }

  std::string Name() {
    const std::size_t start = at_;
    if (at_ >= script_.size() || !IsLetter(script_[at_])) Refuse("an element name");
    while (at_ < script_.size() && (IsLetter(script_[at_]) || IsDigit(script_[at_]))) ++at_;
    return std::string(script_.substr(start, at_ - start));
  }

  std::string Literal() {
    Expect("'");
    const std::size_t start = at_;
    while (at_ < script_.size() && script_[at_] != '\'') {
      const char c = script_[at_];
      if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) {
        Refuse("text without quotes, backslashes or control characters");
      }
      ++at_;
    }
    const std::string text(script_.substr(start, at_ - start));
    Expect("'");
    return text;
  }

  void ExpectEnd() {
    SkipSpace();
    if (at_ != script_.size()) Refuse("the end of the script");
  }

  [[noreturn]] void Refuse(const std::string& expected) const {
    Fail(failure::kInvalidArgument, "Attribute script refused, " + expected +
                                        " expected at character " + std::to_string(at_ + 1) +
                                        ": \"" + std::string(script_) + "\"");
  }

 private:
  std::string_view script_;
  std::size_t at_ = 0;
};

}  // namespace

CommandScript ParseCommandScript(std::string_view script) {
  ScriptReader reader(script);
  CommandScript parsed;
  reader.SkipSpace();
  parsed.command_element_id = reader.Name();
  reader.Expect(".innerText");
  reader.ExpectSymbol('=');
  parsed.text_before_source_id = reader.Literal();
  reader.ExpectSymbol('+');
  reader.Expect("event.srcElement.id");
  reader.ExpectSymbol('+');
  parsed.text_after_source_id = reader.Literal();
  reader.ExpectSymbol(';');
  if (reader.Name() != parsed.command_element_id) {
    reader.Refuse("the same element \"" + parsed.command_element_id + "\" in both statements");
  }
  reader.Expect(".click()");
  reader.ExpectSymbol(';');
  reader.ExpectEnd();
  return parsed;
}

void RunAttributeScript(Element& element, std::string_view attribute_name, Event& event) {
  if (!element.HasAttribute(attribute_name)) {
    Fail(failure::kObjectRequired,
         element.Describe() + " has no script \"" + std::string(attribute_name) + "\" to run");
  }
  // Read in full before anything is touched: a refused script changes nothing.
  const CommandScript script = ParseCommandScript(element.GetAttribute(attribute_name));
  const std::shared_ptr<Document> document = element.OwnerDocument();
  if (!document)
    Fail(failure::kObjectRequired, element.Describe() + " belongs to no page any more");
  const std::shared_ptr<Element> command = document->FindElementById(script.command_element_id);
  if (!command) {
    Fail(failure::kObjectRequired, "The command element '" + script.command_element_id +
                                       "' of the script \"" + std::string(attribute_name) +
                                       "\" on " + element.Describe() + " is not on the page");
  }
  if (!event.SrcElement())
    Fail(failure::kObjectRequired, "The event of the script has no source element");
  const std::string source_id = event.SrcElement()->Id();
  // The script runs inside the event that raised it, as the browser runs it.
  const std::shared_ptr<Window> window = document->ParentWindow();
  const CurrentEventScope scope(*window, event);
  command->SetInnerText(script.text_before_source_id + source_id + script.text_after_source_id);
  command->Click();
}

}  // namespace cn::dom

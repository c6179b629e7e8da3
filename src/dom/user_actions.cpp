// User actions: focus, typing, keys, clicks and choices, with the browser's events in its order.
#include "dom/user_actions.h"

#include <memory>
#include <optional>
#include <string>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "dom/behaviours.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/events.h"
#include "dom/internal.h"
#include "dom/mutation.h"

namespace cn::dom {
namespace {

using internal::AsciiEqualsIgnoreCase;
using internal::Fail;

bool IsHidden(const Element& element) {
  for (std::shared_ptr<const Element> e =
           std::static_pointer_cast<const Element>(element.shared_from_this());
       e; e = e->ParentElement()) {
    if (AsciiEqualsIgnoreCase(e->GetStyle(StyleName::kDisplay), "none") ||
        AsciiEqualsIgnoreCase(e->GetStyle(StyleName::kVisibility), "hidden")) {
      return true;
    }
  }
  return false;
}

// Whether a person can reach the element at all.
bool Reachable(const Element& element) {
  return element.IsConnected() && !element.Disabled() && !IsHidden(element);
}

// Elements whose value a person edits, and whose change "onchange" reports.
bool HoldsValue(const Element& element) {
  return element.Is("INPUT") || element.Is("SELECT") || element.Is("TEXTAREA");
}

bool IsCheckable(const Element& element) {
  const std::string type = element.Type();
  return element.Is("INPUT") && (type == "checkbox" || type == "radio");
}

// Notes whether anything focuses an element of the page while it lives.
class FocusWatch {
 public:
  explicit FocusWatch(Document& document)
      : document_(document),
        listener_id_(document.AddChangeListener(MutationKind::kFocus, [this](const Mutation&) { moved_ = true; })) {}
  ~FocusWatch() { document_.RemoveChangeListener(listener_id_); }
  FocusWatch(const FocusWatch&) = delete;
  FocusWatch& operator=(const FocusWatch&) = delete;

  bool Moved() const { return moved_; }

 private:
  Document& document_;
  bool moved_ = false;
  int listener_id_;
};

// The leaving events of an element; returns whether a handler focused something meanwhile.
bool Leave(Element& element, Document& document) {
  const std::shared_ptr<Element> self = element.SharedThis();
  const FocusWatch watch(document);
  const std::optional<std::string> at_focus = element.ValueAtUserFocus();
  element.SetValueAtUserFocus(std::nullopt);
  element.ClearTextSelection();
  const bool changed = at_focus && HoldsValue(element) && *at_focus != element.Value();
  if (changed) element.FireEvent("onchange");
  element.FireEvent("onblur");
  if (changed) RaiseChangeBehaviours(element);
  return watch.Moved();
}

bool HasFocus(const Element& element, const Document& document) {
  return document.ActiveElement().get() == &element;
}

void RememberValueAtFocus(Element& element) {
  if (HoldsValue(element)) element.SetValueAtUserFocus(element.Value());
}

// A UTF-8 lead byte: its mask and pattern, the sequence length, and the smallest code point
// that length may carry (anything smaller is an overlong form).
struct Utf8Lead {
  unsigned char mask;
  unsigned char pattern;
  std::size_t length;
  char32_t smallest;
};
constexpr Utf8Lead kUtf8Leads[] = {
    {0x80, 0x00, 1, 0}, {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

// The code points of UTF-8 text; anything that is not UTF-8 is refused before a key is typed.
std::u32string DecodeUtf8(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    for (const Utf8Lead& l : kUtf8Leads) {
      if ((lead & l.mask) != l.pattern) continue;
      length = l.length;
      c = lead & static_cast<unsigned char>(~l.mask);
      smallest = l.smallest;
      break;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      valid = (byte(i + k) & 0xC0) == 0x80;
      c = (c << 6) | (byte(i + k) & 0x3F);
    }
    valid = valid && c >= smallest && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    if (!valid) {
      Fail(failure::kInvalidArgument,
           "The text to type is not UTF-8 (byte " + std::to_string(i + 1) + ")");
    }
    out.push_back(c);
    i += length;
  }
  return out;
}

bool IsCodePoint(int key) { return key > 0 && key <= 0x10FFFF && (key < 0xD800 || key > 0xDFFF); }

void RequireTextBox(const Element& input) {
  const std::string type = input.Type();
  if ((input.Is("INPUT") && (type == "text" || type == "password")) || input.Is("TEXTAREA")) return;
  Fail(failure::kInvalidArgument, "Text cannot be typed into " + input.Describe());
}

// The typed character as the box takes it, or nullopt when it takes nothing.
std::optional<char32_t> Accepted(const Element& input, std::string_view text, char32_t typed) {
  if (typed < 0x20 || typed == 0x7F) return std::nullopt;  // keys that type no text
  if (input.ReadOnly()) return std::nullopt;
  const std::optional<char32_t> filtered = FilterTypedCharacter(input, text, typed);
  if (!filtered) return std::nullopt;
  const int max_length = input.MaxLength();
  if (max_length >= 0 && Len(text) >= static_cast<std::size_t>(max_length)) return std::nullopt;
  return filtered;
}

int FindOption(Element& select, std::string_view value) {
  const std::vector<std::shared_ptr<Element>> options = select.Options().ToVector();
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (options[i]->Value() == value) return static_cast<int>(i);
  }
  Fail(failure::kInvalidArgument,
       select.Describe() + " has no option with the value '" + std::string(value) + "'");
}

}  // namespace

bool UserFocus(Element& target) {
  const std::shared_ptr<Element> self = target.SharedThis();
  const std::shared_ptr<Document> document = target.OwnerDocument();
  if (!document || !Reachable(target)) return false;
  const std::shared_ptr<Element> previous = document->ActiveElement();
  if (previous == self) {
    if (!target.ValueAtUserFocus()) RememberValueAtFocus(target);
    return true;
  }
  if (previous && !previous->Is("BODY") && Leave(*previous, *document)) {
    return HasFocus(target, *document);
  }
  if (!Reachable(target)) {  // a leaving handler locked or removed it
    document->Body()->Focus();
    return false;
  }
  target.Focus();
  if (!HasFocus(target, *document)) return false;
  target.FireEvent("onfocus");
  if (!HasFocus(target, *document)) return false;
  RememberValueAtFocus(target);
  return true;
}

void UserBlur(Element& target) {
  const std::shared_ptr<Element> self = target.SharedThis();
  const std::shared_ptr<Document> document = target.OwnerDocument();
  if (!document || !HasFocus(target, *document)) return;
  if (!Leave(target, *document) && HasFocus(target, *document)) document->Body()->Focus();
}

void TypeText(Element& input, std::string_view text) {
  RequireTextBox(input);
  const std::u32string keys = DecodeUtf8(text);
  const std::shared_ptr<Element> self = input.SharedThis();
  if (!UserFocus(input)) return;
  for (const char32_t key : keys) {
    if (!Reachable(input)) return;  // a handler locked the box or took it off the page
    Event event("keypress", self, static_cast<int>(key));
    input.FireEvent(event);
    if (event.KeyCode() == 0) continue;
    if (!IsCodePoint(event.KeyCode())) {
      Fail(failure::kInvalidArgument, "The keypress handler of " + input.Describe() +
                                          " set the key code " + std::to_string(event.KeyCode()) +
                                          ", which is no character");
    }
    const std::string before = input.AllTextSelected() ? std::string() : input.Value();
    const std::optional<char32_t> accepted =
        Accepted(input, before, static_cast<char32_t>(event.KeyCode()));
    if (!accepted) continue;
    input.SetValue(before + Utf8(*accepted));
    input.ClearTextSelection();
  }
}

void PressKey(Element& target, int key_code) {
  if (!IsCodePoint(key_code)) {
    Fail(failure::kInvalidArgument, "No key has the code " + std::to_string(key_code));
  }
  const std::shared_ptr<Element> self = target.SharedThis();
  if (!UserFocus(target)) return;
  Event down("keydown", self, key_code);
  target.FireEvent(down);
  const bool makes_keypress = key_code == 13 || key_code == 27 || key_code >= 32;
  if (makes_keypress && down.KeyCode() != 0 && Reachable(target)) {
    Event press("keypress", self, key_code);
    target.FireEvent(press);
  }
  if (!Reachable(target)) return;
  Event up("keyup", self, key_code);
  target.FireEvent(up);
}

void UserClick(Element& target) {
  const std::shared_ptr<Element> self = target.SharedThis();
  if (!UserFocus(target)) return;
  if (IsCheckable(target) && target.ReadOnly()) return;
  target.Click();
}

void ChooseOption(Element& select, std::string_view value) {
  if (!select.Is("SELECT"))
    Fail(failure::kInvalidArgument, "No option can be chosen in " + select.Describe());
  FindOption(select, value);  // an unknown value is refused before anything happens
  const std::shared_ptr<Element> self = select.SharedThis();
  if (!UserFocus(select)) return;
  const std::string before = select.Value();
  select.SetSelectedIndex(FindOption(select, value));  // the focus handler may have refilled it
  const std::string after = select.Value();
  // A select reports its change at once, not again when the person leaves it.
  select.SetValueAtUserFocus(after);
  if (after == before) return;
  select.FireEvent("onchange");
  RaiseChangeBehaviours(select);
}

}  // namespace cn::dom

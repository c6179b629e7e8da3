// Attributes, the typed properties that reflect them, and the inline style.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"
#include "dom/shared_content.h"
#include "dom/tag_names.h"

namespace cn::dom {
namespace {

using internal::AsciiLower;
using internal::Fail;

bool IsAttributeName(std::string_view name) {
  return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '"' || c == '\'' ||
           c == '>' || c == '/' || c == '=' || c == '<' || c == '\0';
  });
}

// An integer attribute as a browser reads it: leading spaces and sign, digits up to the first
// other character; nothing readable gives `fallback`.
int ReadInteger(std::string_view text, int fallback) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() ? value : fallback;
}

}  // namespace

std::vector<Attribute> Element::Attributes() const {
  std::vector<Attribute> attributes;
  ForEachAttribute([&](const Attribute& attribute) { attributes.push_back(attribute); });
  return attributes;
}

std::vector<Attribute>& Element::MutableAttributes() {
  if (!attributes_ || attributes_.use_count() > 1) {
    attributes_ = AttributeList(attributes_ ? *attributes_ : std::vector<Attribute>());
  }
  return attributes_.Owned();
}

const StyleDeclaration& Element::Style() const {
  static const StyleDeclaration kNone;
  return extras_ && extras_->style ? extras_->style->declaration : kNone;
}

const Attribute* Element::FindAttribute(std::string_view lower_name) const {
  // The name first: the kept value lives out of line, and most lookups are of other names.
  if (lower_name == "value" && extras_ && extras_->value) return extras_->value.get();
  if (!attributes_) return nullptr;
  // Names of a length are mostly told apart by their first letter: the compare of the rest
  // is left for the few that match (this runs for every property a handler reads).
  for (const Attribute& a : *attributes_) {
    if (a.name.size() == lower_name.size() &&
        (lower_name.empty() || (a.name[0] == lower_name[0] &&
                                std::memcmp(a.name.data(), lower_name.data(), lower_name.size()) == 0))) {
      return &a;
    }
  }
  return nullptr;
}

bool Element::StoreAttribute(std::string_view lower_name, std::string_view value) {
  const Attribute* found = FindAttribute(lower_name);
  if (found != nullptr && found->value == value) return false;
  // Lookups by id must see the new id at once.
  const auto indexing = lower_name == "id" ? IndexingDocument() : nullptr;
  if (indexing && found != nullptr) indexing->ids_.Remove(*this, found->value);
  ChangeAttributes(lower_name, value, false);
  if (indexing) indexing->ids_.Add(*this, value);
  return true;
}

void Element::ChangeAttributes(std::string_view lower_name, std::string_view value, bool erase) {
  const bool shared = attributes_ && attributes_.use_count() > 1;
  if (lower_name == "value") {
    // Values are the record's own and seldom alike: kept beside a shared list.
    if (erase && extras_) extras_->value.reset();
    if (!erase && (shared || (extras_ && extras_->value))) {
      auto& kept = MutableExtras().value;
      if (kept) {
        kept->value = std::string(value);
      } else {
        kept = std::make_unique<Attribute>(Attribute{std::string(lower_name), std::string(value)});
      }
      return;
    }
    if (erase && !FindAttribute(lower_name)) return;
  }
  // A list still shared with the other copies of the page changes as theirs do, to one list
  // for all of them.
  if (shared && lower_name != "value") {
    if (SharedContent* const shared =
            document_ != nullptr ? document_->SharedContentOf() : nullptr) {
      attributes_ = shared->Changed(attributes_, lower_name, value, erase);
      return;
    }
  }
  ChangeAttribute(MutableAttributes(), lower_name, value, erase);
}

bool Element::EraseAttribute(std::string_view lower_name) {
  const Attribute* attribute = FindAttribute(lower_name);
  if (attribute == nullptr) return false;
  if (lower_name == "id") {
    if (const auto indexing = IndexingDocument()) indexing->ids_.Remove(*this, attribute->value);
  }
  ChangeAttributes(lower_name, "", true);
  return true;
}

int Element::GetAttributeInteger(std::string_view lower_name, int fallback) const {
  const Attribute* attribute = FindAttribute(lower_name);
  return attribute ? ReadInteger(attribute->value, fallback) : fallback;
}

bool Element::HasAttribute(std::string_view name) const { return FindAttribute(AsciiLower(name)) != nullptr; }

std::string Element::GetAttribute(std::string_view name) const {
  const Attribute* attribute = FindAttribute(AsciiLower(name));
  return attribute ? attribute->value : std::string();
}

void Element::SetAttribute(std::string_view name, std::string_view value) {
  if (!IsAttributeName(name)) {
    Fail(failure::kInvalidArgument, "'" + std::string(name) + "' is not an attribute name (setAttribute on " +
                                        Describe() + ")");
  }
  const std::string lower = AsciiLower(name);
  if (lower == "style") {
    StyleDeclaration style = StyleDeclaration::Parse(value);
    std::string text = style.Serialize();
    auto& kept = MutableExtras().style;
    kept = style.empty() ? nullptr : std::make_shared<const KeptStyle>(KeptStyle{std::move(style), text});
    StoreAttribute(lower, text);
  } else {
    StoreAttribute(lower, value);
  }
  NoteChange(MutationKind::kAttribute, lower, GetAttribute(lower));
  if (lower == "selected" && Is("OPTION")) AfterSelectednessChanged();
}

void Element::RemoveAttribute(std::string_view name) {
  const std::string lower = AsciiLower(name);
  if (!EraseAttribute(lower)) return;
  if (lower == "style" && extras_) extras_->style.reset();
  NoteChange(MutationKind::kAttributeRemoved, lower, "");
  if (lower == "selected" && Is("OPTION")) AfterSelectednessChanged();
}

void Element::NoteChange(MutationKind kind, std::string_view name, std::string_view value) {
  if (const auto watcher = ChangeWatcher(kind)) {
    watcher->NoteChange({kind, node_id(), 0, -1, std::string(name), std::string(value)});
  }
}

void Element::SetBoolProperty(std::string_view property, std::string_view attribute, bool on) {
  if (on) {
    if (!FindAttribute(attribute)) StoreAttribute(attribute, "");
  } else {
    EraseAttribute(attribute);
  }
  NoteChange(MutationKind::kProperty, property, on ? "true" : "false");
}

void Element::SetTextProperty(std::string_view property, std::string_view attribute, std::string_view value) {
  StoreAttribute(attribute, value);
  NoteChange(MutationKind::kProperty, property, value);
}

std::string Element::Value() const {
  if (Is("SELECT")) {
    if (const auto kept = KeptOptionsOf()) {
      return kept->selected >= 0
                 ? kept->data.entries[static_cast<std::size_t>(kept->selected)].value
                 : std::string();
    }
    const Element* const selected = SelectedOption().first;
    return selected ? selected->Value() : std::string();
  }
  if (Is("OPTION")) {
    const Attribute* value = FindAttribute("value");
    return value ? value->value : Text();
  }
  if (Is("TEXTAREA")) {
    std::string text;
    for (const auto& child : children_) {
      if (child->IsText()) text += static_cast<const dom::Text&>(*child).data();
    }
    return text;
  }
  const Attribute* value = FindAttribute("value");
  if (value) return value->value;
  const std::string type = Type();
  return type == "checkbox" || type == "radio" ? "on" : "";
}

void Element::SetValue(std::string_view value) {
  if (Is("SELECT")) {
    if (const auto kept = KeptOptionsOf()) {
      const auto& entries = kept->data.entries;
      const auto it = std::find_if(entries.begin(), entries.end(),
                                   [&](const OptionText& o) { return o.value == value; });
      SetSelectedIndex(it == entries.end() ? -1 : static_cast<int>(it - entries.begin()));
      return;
    }
    const auto options = OptionsOf();
    const auto it = std::find_if(options.begin(), options.end(), [&](const auto& o) { return o->Value() == value; });
    SetSelectedIndex(it == options.end() ? -1 : static_cast<int>(it - options.begin()));
    return;
  }
  if (Is("TEXTAREA")) {
    // The text shown is the textarea's content; it changes as one value, not as nodes.
    for (const auto& child : children_) child->parent_ = nullptr;
    children_.clear();
    if (!value.empty()) {
      if (const auto document = OwnerDocument()) {
        const auto text = document->CreateTextNode(value);
        children_.push_back(text);
        text->parent_ = this;
      }
    }
    NoteChange(MutationKind::kProperty, "value", value);
    return;
  }
  SetTextProperty("value", "value", value);
}

bool Element::Checked() const { return FindAttribute("checked") != nullptr; }

void Element::SetChecked(bool checked) {
  SetBoolProperty("checked", "checked", checked);
  if (checked && Type() == "radio") UncheckRadioGroup();
}

void Element::UncheckRadioGroup() {
  const std::string name = Name();
  if (name.empty()) return;
  // The group is the radio buttons of the same name in the same form, or outside any form.
  const std::shared_ptr<Element> form = Closest("FORM");
  const Node& scope = form ? *form : Top();
  if (!scope.IsElement()) return;
  std::vector<std::shared_ptr<Element>> others;
  // Every element of the page is visited: the tag, one compare of numbers, passes most by.
  const std::uint8_t input = internal::KnownTagNumber("INPUT");
  const auto collect = [&](const auto& self, const Element& under) -> void {
    for (const auto& child : under.children_) {
      if (!child->IsElement()) continue;
      auto& other = static_cast<Element&>(*child);
      if (other.tag_number() == input && &other != this && other.Checked() && other.Type() == "radio" &&
          other.Name() == name && other.Closest("FORM") == form) {
        others.push_back(other.SharedThis());
      }
      self(self, other);
    }
  };
  collect(collect, static_cast<const Element&>(scope));
  for (const auto& other : others) other->SetBoolProperty("checked", "checked", false);
}

bool Element::Disabled() const { return FindAttribute("disabled") != nullptr; }
void Element::SetDisabled(bool disabled) { SetBoolProperty("disabled", "disabled", disabled); }

bool Element::ReadOnly() const { return FindAttribute("readonly") != nullptr; }
void Element::SetReadOnly(bool read_only) { SetBoolProperty("readOnly", "readonly", read_only); }

int Element::TabIndex() const { return GetAttributeInteger("tabindex", 0); }

void Element::SetTabIndex(int tab_index) {
  StoreAttribute("tabindex", std::to_string(tab_index));
  NoteChange(MutationKind::kProperty, "tabIndex", std::to_string(tab_index));
}

int Element::MaxLength() const {
  const int value = GetAttributeInteger("maxlength", kNoMaxLength);
  return value < 0 ? kNoMaxLength : value;
}

void Element::SetMaxLength(int max_length) {
  if (max_length < 0) {
    Fail(failure::kInvalidArgument,
         "maxLength " + std::to_string(max_length) + " is not possible on " + Describe());
  }
  StoreAttribute("maxlength", std::to_string(max_length));
  NoteChange(MutationKind::kProperty, "maxLength", std::to_string(max_length));
}

void Element::SetClassName(std::string_view class_name) { SetTextProperty("className", "class", class_name); }

void Element::SetName(std::string_view name) { SetTextProperty("name", "name", name); }
void Element::SetType(std::string_view type) { SetTextProperty("type", "type", type); }

std::string Element::Type() const {
  if (Is("INPUT")) {
    const Attribute* type = FindAttribute("type");
    return type && !type->value.empty() ? AsciiLower(type->value) : "text";
  }
  if (Is("BUTTON")) {
    const Attribute* type = FindAttribute("type");
    return type && !type->value.empty() ? AsciiLower(type->value) : "submit";
  }
  return "";
}

std::string Element::GetStyle(StyleName name) const { return Style().Get(CssName(name)); }

void Element::SetStyle(StyleName name, std::string_view value) { SetStyleCss(CssName(name), value); }

std::string Element::GetStyle(std::string_view name) const {
  const auto css = CssNameFor(name);
  if (!css) Fail(failure::kInvalidArgument, "'" + std::string(name) + "' is not a style property of " + Describe());
  return Style().Get(*css);
}

void Element::SetStyle(std::string_view name, std::string_view value) {
  const auto css = CssNameFor(name);
  if (!css) Fail(failure::kInvalidArgument, "'" + std::string(name) + "' is not a style property of " + Describe());
  SetStyleCss(*css, value);
}

void Element::SetStyleCss(std::string_view css_name, std::string_view value) {
  const std::shared_ptr<const KeptStyle> before = extras_ ? extras_->style : nullptr;
  SharedContent* const shared = document_ != nullptr ? document_->SharedContentOf() : nullptr;
  std::shared_ptr<const KeptStyle> after = shared ? shared->StyleChanged(before, css_name, value)
                                                  : StyleAfter(before, css_name, value);
  if (!after) {
    if (extras_) extras_->style.reset();
    EraseAttribute("style");
  } else {
    if (after != before) MutableExtras().style = after;
    StoreAttribute("style", after->text);
  }
  NoteChange(MutationKind::kStyle, css_name, value);
}

}  // namespace cn::dom

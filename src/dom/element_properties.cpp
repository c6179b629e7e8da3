// Properties by name, as page logic spells them.
#include <array>
#include <charconv>
#include <string>

#include "base/runtime_failure.h"
#include "dom/element.h"
#include "dom/internal.h"

namespace cn::dom {
namespace {

using internal::AsciiEqualsIgnoreCase;
using internal::Fail;

std::string BoolText(bool value) { return value ? "true" : "false"; }

bool ReadBool(std::string_view name, std::string_view text) {
  if (AsciiEqualsIgnoreCase(text, "true") || text == "1" || text == "-1") return true;
  if (AsciiEqualsIgnoreCase(text, "false") || text == "0") return false;
  Fail(failure::kTypeMismatch, "'" + std::string(text) + "' is not true or false (property " + std::string(name) + ")");
}

int ReadInt(std::string_view name, std::string_view text) {
  std::string_view digits = text;
  while (!digits.empty() && digits.front() == ' ') digits.remove_prefix(1);
  while (!digits.empty() && digits.back() == ' ') digits.remove_suffix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
    Fail(failure::kTypeMismatch, "'" + std::string(text) + "' is not a whole number (property " + std::string(name) + ")");
  }
  return value;
}

struct Property {
  std::string_view name;
  std::string (*get)(const Element&);
  void (*set)(Element&, std::string_view name, std::string_view value);
};

// Name, how it reads, how it is written.
constexpr std::array<Property, 19> kProperties{{
    {"value", [](const Element& e) { return e.Value(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetValue(v); }},
    {"checked", [](const Element& e) { return BoolText(e.Checked()); },
     [](Element& e, std::string_view n, std::string_view v) { e.SetChecked(ReadBool(n, v)); }},
    {"disabled", [](const Element& e) { return BoolText(e.Disabled()); },
     [](Element& e, std::string_view n, std::string_view v) { e.SetDisabled(ReadBool(n, v)); }},
    {"readOnly", [](const Element& e) { return BoolText(e.ReadOnly()); },
     [](Element& e, std::string_view n, std::string_view v) { e.SetReadOnly(ReadBool(n, v)); }},
    {"tabIndex", [](const Element& e) { return std::to_string(e.TabIndex()); },
     [](Element& e, std::string_view n, std::string_view v) { e.SetTabIndex(ReadInt(n, v)); }},
    {"maxLength", [](const Element& e) { return std::to_string(e.MaxLength()); },
     [](Element& e, std::string_view n, std::string_view v) { e.SetMaxLength(ReadInt(n, v)); }},
    {"className", [](const Element& e) { return e.ClassName(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetClassName(v); }},
    {"id", [](const Element& e) { return e.Id(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetId(v); }},
    {"innerText", [](const Element& e) { return e.InnerText(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetInnerText(v); }},
    {"innerHTML", [](const Element& e) { return e.InnerHtml(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetInnerHtml(v); }},
    {"selectedIndex", [](const Element& e) { return std::to_string(e.SelectedIndex()); },
     [](Element& e, std::string_view n, std::string_view v) { e.SetSelectedIndex(ReadInt(n, v)); }},
    {"text", [](const Element& e) { return e.Text(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetText(v); }},
    {"name", [](const Element& e) { return e.Name(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetName(v); }},
    {"type", [](const Element& e) { return e.Type(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetType(v); }},
    {"width", [](const Element& e) { return e.Width(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetWidth(v); }},
    {"cellSpacing", [](const Element& e) { return e.CellSpacing(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetCellSpacing(v); }},
    {"rules", [](const Element& e) { return e.Rules(); },
     [](Element& e, std::string_view, std::string_view v) { e.SetRules(v); }},
    {"noWrap", [](const Element& e) { return BoolText(e.NoWrap()); },
     [](Element& e, std::string_view n, std::string_view v) { e.SetNoWrap(ReadBool(n, v)); }},
    {"scroll", [](const Element& e) { return e.GetAttribute("scroll"); },
     [](Element& e, std::string_view, std::string_view v) { e.SetAttribute("scroll", v); }},
}};

const Property& Find(const Element& element, std::string_view name) {
  for (const Property& property : kProperties) {
    if (AsciiEqualsIgnoreCase(property.name, name)) return property;
  }
  Fail(failure::kInvalidArgument, "'" + std::string(name) + "' is not a property of " + element.Describe());
}

}  // namespace

std::string Element::GetProperty(std::string_view name) const { return Find(*this, name).get(*this); }

void Element::SetProperty(std::string_view name, std::string_view value) {
  Find(*this, name).set(*this, name, value);
}

}  // namespace cn::dom

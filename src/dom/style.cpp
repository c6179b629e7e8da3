#include "dom/style.h"

#include <algorithm>
#include <array>
#include <utility>

#include "dom/internal.h"

namespace cn::dom {
namespace {

struct KnownStyle {
  StyleName name;
  std::string_view script_name;  // as scripts spell it
  std::string_view css_name;
};

// The style properties page logic and page files use, script name beside CSS name.
constexpr std::array<KnownStyle, 12> kKnownStyles{{
    {StyleName::kBackgroundColor, "backgroundColor", "background-color"},
    {StyleName::kDisplay, "display", "display"},
    {StyleName::kVisibility, "visibility", "visibility"},
    {StyleName::kCursor, "cursor", "cursor"},
    {StyleName::kTextTransform, "textTransform", "text-transform"},
    {StyleName::kPaddingLeft, "paddingLeft", "padding-left"},
    {StyleName::kPaddingRight, "paddingRight", "padding-right"},
    {StyleName::kTableLayout, "tableLayout", "table-layout"},
    {StyleName::kBorderCollapse, "borderCollapse", "border-collapse"},
    {StyleName::kWidth, "width", "width"},
    {StyleName::kTextAlign, "textAlign", "text-align"},
    {StyleName::kBehavior, "behavior", "behavior"},
}};

std::string_view TrimSpaces(std::string_view text) {
  const auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return text;
}

bool IsCssNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

bool IsCssName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), IsCssNameChar);
}

// Splits at ";" outside quotes and brackets, so "url('a;b')" stays whole.
std::vector<std::string_view> SplitDeclarations(std::string_view text) {
  std::vector<std::string_view> parts;
  char quote = 0;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (c == ';' && depth == 0) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

std::string_view CssName(StyleName name) {
  for (const KnownStyle& known : kKnownStyles) {
    if (known.name == name) return known.css_name;
  }
  return {};
}

std::optional<std::string> CssNameFor(std::string_view script_name) {
  for (const KnownStyle& known : kKnownStyles) {
    if (internal::AsciiEqualsIgnoreCase(script_name, known.script_name) ||
        internal::AsciiEqualsIgnoreCase(script_name, known.css_name)) {
      return std::string(known.css_name);
    }
  }
  if (script_name.find('-') != std::string_view::npos && IsCssName(script_name)) {
    return internal::AsciiLower(script_name);
  }
  return std::nullopt;
}

StyleDeclaration StyleDeclaration::Parse(std::string_view css_text) {
  StyleDeclaration style;
  for (const std::string_view part : SplitDeclarations(css_text)) {
    const std::size_t colon = part.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = TrimSpaces(part.substr(0, colon));
    const std::string_view value = TrimSpaces(part.substr(colon + 1));
    if (!IsCssName(name) || value.empty()) continue;
    style.Set(internal::AsciiLower(name), value);
  }
  return style;
}

std::string StyleDeclaration::Serialize() const {
  std::string text;
  for (const Declaration& declaration : declarations_) {
    if (!text.empty()) text += "; ";
    text += declaration.name;
    text += ": ";
    text += declaration.value;
  }
  return text;
}

std::string StyleDeclaration::Get(std::string_view css_name) const {
  const auto it = std::find_if(declarations_.begin(), declarations_.end(),
                               [&](const Declaration& d) { return d.name == css_name; });
  return it == declarations_.end() ? std::string() : it->value;
}

bool StyleDeclaration::Set(std::string_view css_name, std::string_view value) {
  const auto it = std::find_if(declarations_.begin(), declarations_.end(),
                               [&](const Declaration& d) { return d.name == css_name; });
  if (value.empty()) {
    if (it == declarations_.end()) return false;
    declarations_.erase(it);
    return true;
  }
  if (it == declarations_.end()) {
    declarations_.push_back({std::string(css_name), std::string(value)});
    return true;
  }
  if (it->value == value) return false;
  it->value = std::string(value);
  return true;
}

}  // namespace cn::dom

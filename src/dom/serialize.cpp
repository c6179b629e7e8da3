#include "dom/serialize.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "dom/element.h"
#include "dom/internal.h"

namespace cn::dom {
namespace {

constexpr std::array<std::string_view, 18> kVoidElements{
    "AREA", "BASE", "BASEFONT", "BGSOUND", "BR",    "COL",   "EMBED", "FRAME",  "HR",
    "IMG",  "INPUT", "KEYGEN",  "LINK",    "META", "PARAM", "SOURCE", "TRACK", "WBR"};

// Elements whose text is written as it is, without escaping.
constexpr std::array<std::string_view, 7> kRawTextElements{
    "SCRIPT", "STYLE", "XMP", "IFRAME", "NOEMBED", "NOFRAMES", "PLAINTEXT"};

bool IsRawTextElement(std::string_view tag) {
  return std::find(kRawTextElements.begin(), kRawTextElements.end(), tag) != kRawTextElements.end();
}

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

// `quote`: the attribute value's quote character; 0 in text.
void AppendEscaped(std::string& out, std::string_view text, char quote) {
  const auto special = [quote](char c) {
    return c == '&' || c == '<' || c == '>' || c == kNoBreakSpace[0] || (c == quote && quote != 0);
  };
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t at = from;
    while (at < text.size() && !special(text[at])) ++at;
    out.append(text.substr(from, at - from));
    if (at == text.size()) return;
    const char c = text[at];
    from = at + 1;
    if (c == '&') {
      out += "&amp;";
    } else if (c == quote) {
      out += quote == '"' ? "&quot;" : "&#39;";
    } else if ((c == '<' || c == '>') && quote == 0) {
      out += c == '<' ? "&lt;" : "&gt;";
    } else if (text.substr(at, kNoBreakSpace.size()) == kNoBreakSpace) {
      out += "&nbsp;";
      from = at + kNoBreakSpace.size();
    } else {
      out += c;
    }
  }
}

void AppendNode(std::string& out, const Node& node, const SerializeOptions& options);

void AppendChildren(std::string& out, const Element& element, const SerializeOptions& options) {
  const bool raw = IsRawTextElement(element.TagName());
  for (const auto& child : element.ChildNodes()) {
    if (raw && child->IsText()) {
      out += static_cast<const Text&>(*child).data();
    } else {
      AppendNode(out, *child, options);
    }
  }
}

void AppendNode(std::string& out, const Node& node, const SerializeOptions& options) {
  if (node.IsText()) {
    AppendEscaped(out, static_cast<const Text&>(node).data(), 0);
    return;
  }
  const auto& element = static_cast<const Element&>(node);
  const auto append_tag = [&] {
    for (const char c : element.TagName()) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  out += '<';
  append_tag();
  const char quote = options.attribute_quote;
  for (const Attribute& attribute : element.Attributes()) {
    out += ' ';
    out += attribute.name;
    out += '=';
    out += quote;
    AppendEscaped(out, attribute.value, quote);
    out += quote;
  }
  if (!options.node_id_attribute.empty()) {
    out += ' ';
    out += options.node_id_attribute;
    out += '=';
    out += quote;
    std::array<char, 24> digits{};
    const auto [end, error] = std::to_chars(digits.data(), digits.data() + digits.size(), element.node_id());
    out.append(digits.data(), end);
    out += quote;
  }
  out += '>';
  if (IsVoidElement(element.TagName())) return;
  AppendChildren(out, element, options);
  out += "</";
  append_tag();
  out += '>';
}

}  // namespace

bool IsVoidElement(std::string_view tag) {
  const std::string upper = internal::AsciiUpper(tag);
  return std::find(kVoidElements.begin(), kVoidElements.end(), upper) != kVoidElements.end();
}

std::string SerializeNode(const Node& node, const SerializeOptions& options) {
  std::string out;
  if (node.IsText()) {
    const auto parent = node.ParentElement();
    if (parent && IsRawTextElement(parent->TagName())) return static_cast<const Text&>(node).data();
  }
  AppendNode(out, node, options);
  return out;
}

std::string SerializeChildren(const Element& element, const SerializeOptions& options) {
  std::string out;
  AppendChildren(out, element, options);
  return out;
}

}  // namespace cn::dom

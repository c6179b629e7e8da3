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

// The bytes that need an entity: in text (quote 0), and in values quoted with ' or ".
// A table per case: pages are long runs of plain bytes between them.
using SpecialBytes = std::array<bool, 256>;
constexpr SpecialBytes SpecialIn(char quote) {
  SpecialBytes special{};
  for (const char c : {'&', kNoBreakSpace[0]}) special[static_cast<unsigned char>(c)] = true;
  if (quote == 0) {
    special['<'] = special['>'] = true;
  } else {
    special[static_cast<unsigned char>(quote)] = true;
  }
  return special;
}
constexpr std::array<SpecialBytes, 3> kSpecial{SpecialIn(0), SpecialIn('\''), SpecialIn('"')};

// `quote`: the attribute value's quote character; 0 in text.
void AppendEscaped(std::string& out, std::string_view text, char quote) {
  const SpecialBytes& special = kSpecial[quote == 0 ? 0 : quote == '\'' ? 1 : 2];
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t at = from;
    while (at < text.size() && !special[static_cast<unsigned char>(text[at])]) ++at;
    out.append(text.data() + from, at - from);
    if (at == text.size()) return;
    const char c = text[at];
    from = at + 1;
    if (c == '&') {
      out += "&amp;";
    } else if (c == quote) {
      out += quote == '"' ? "&quot;" : "&#39;";
    } else if (c == '<' || c == '>') {
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
  // Tags are held upper case and written lower case, as browsers write them.
  const std::string& tag = element.TagName();
  std::array<char, 16> lower{};
  const bool short_tag = tag.size() <= lower.size();
  if (short_tag) {
    std::transform(tag.begin(), tag.end(), lower.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
  }
  const auto append_tag = [&] {
    if (short_tag) {
      out.append(lower.data(), tag.size());
    } else {
      out += internal::AsciiLower(tag);
    }
  };
  out += '<';
  append_tag();
  const char quote = options.attribute_quote;
  for (const Attribute& attribute : element.Attributes()) {
    out += ' ';
    out += attribute.name;
    const char opening[2] = {'=', quote};
    out.append(opening, 2);
    AppendEscaped(out, attribute.value, quote);
    out += quote;
  }
  if (!options.node_id_attribute.empty()) {
    std::array<char, 24> digits{};
    digits[0] = '=';
    digits[1] = quote;
    auto [end, error] = std::to_chars(digits.data() + 2, digits.data() + digits.size() - 2, element.node_id());
    *end++ = quote;
    *end++ = '>';
    out += ' ';
    out += options.node_id_attribute;
    out.append(digits.data(), end);
  } else {
    out += '>';
  }
  if (IsVoidElement(tag)) return;
  AppendChildren(out, element, options);
  out.append("</", 2);
  append_tag();
  out += '>';
}

}  // namespace

bool IsVoidElement(std::string_view tag) {
  return std::any_of(kVoidElements.begin(), kVoidElements.end(), [&](std::string_view name) {
    return name.size() == tag.size() && name[0] == (tag[0] & ~0x20) && internal::AsciiEqualsIgnoreCase(name, tag);
  });
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

#include "dom/serialize.h"

#include <algorithm>
#include <array>
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

void AppendEscaped(std::string& out, std::string_view text, bool in_attribute) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') {
      out += "&amp;";
    } else if (c == '"' && in_attribute) {
      out += "&quot;";
    } else if ((c == '<' || c == '>') && !in_attribute) {
      out += c == '<' ? "&lt;" : "&gt;";
    } else if (text.substr(i, kNoBreakSpace.size()) == kNoBreakSpace) {
      out += "&nbsp;";
      ++i;
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
    AppendEscaped(out, static_cast<const Text&>(node).data(), false);
    return;
  }
  const auto& element = static_cast<const Element&>(node);
  const std::string tag = internal::AsciiLower(element.TagName());
  out += '<';
  out += tag;
  for (const Attribute& attribute : element.Attributes()) {
    out += ' ';
    out += attribute.name;
    out += "=\"";
    AppendEscaped(out, attribute.value, true);
    out += '"';
  }
  if (!options.node_id_attribute.empty()) {
    out += ' ';
    out += options.node_id_attribute;
    out += "=\"";
    out += std::to_string(element.node_id());
    out += '"';
  }
  out += '>';
  if (IsVoidElement(element.TagName())) return;
  AppendChildren(out, element, options);
  out += "</";
  out += tag;
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

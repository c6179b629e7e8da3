#include "dom/serialize.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dom/element.h"
#include "dom/internal.h"
#include "dom/tag_names.h"

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

// Whether an element has no end tag, and whether its text is written raw: looked up by the
// tag's number, as every element of a page asks both.
struct TagKind {
  bool is_void = false;
  bool raw_text = false;
};

TagKind KindOf(const Element& element) {
  static const std::array<TagKind, 256> kKnown = [] {
    std::array<TagKind, 256> known{};
    const std::vector<std::string>& names = internal::KnownTagNames();
    for (std::size_t number = 0; number < names.size(); ++number) {
      known[number] = {IsVoidElement(names[number]), IsRawTextElement(names[number])};
    }
    return known;
  }();
  const std::uint8_t number = element.TagNumber();
  if (number != internal::kUnknownTag) return kKnown[number];
  return {IsVoidElement(element.TagName()), IsRawTextElement(element.TagName())};
}

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

// The bytes that need an entity: in text (quote 0), and in values quoted with ' or ".
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

// The longest a byte becomes ("&quot;"); a page's markup is sized for the worst before it is
// written, a piece at a time, so that writing is plain stores.
constexpr std::size_t kMostPerByte = 6;

// The markup being written: a buffer grown ahead of the writing, never cleared first (every
// byte handed out is written before it is read), and given out as text at the end.
class Markup {
 public:
  Markup() = default;
  Markup(const Markup&) = delete;
  Markup& operator=(const Markup&) = delete;

  // Room for `count` more bytes; the writer hands back where it stopped.
  char* Room(std::size_t count) {
    if (size_ + count > capacity_) {
      const std::size_t capacity = std::max({capacity_ * 2, size_ + count, kFirstCapacity});
      auto grown = std::make_unique_for_overwrite<char[]>(capacity);
      if (size_ != 0) std::memcpy(grown.get(), buffer_.get(), size_);
      buffer_ = std::move(grown);
      capacity_ = capacity;
    }
    return buffer_.get() + size_;
  }
  void Wrote(const char* end) { size_ = static_cast<std::size_t>(end - buffer_.get()); }
  std::string Text() const {
    return size_ == 0 ? std::string() : std::string(buffer_.get(), size_);
  }

 private:
  static constexpr std::size_t kFirstCapacity = 4096;
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

char* Put(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

// Writes the element's tag in lower case, as browsers write tags (they are held upper case):
// a known tag's from a table made once.
char* PutTag(char* at, const Element& element) {
  static const std::vector<std::string> kLower = [] {
    std::vector<std::string> lower;
    for (const std::string& name : internal::KnownTagNames())
      lower.push_back(internal::AsciiLower(name));
    return lower;
  }();
  const std::uint8_t number = element.TagNumber();
  if (number != internal::kUnknownTag) return Put(at, kLower[number]);
  for (const char c : element.TagName())
    *at++ = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return at;
}

// Writes `text` escaped; `quote`: the attribute value's quote character, 0 in text. Needs
// room for kMostPerByte bytes per byte of text.
char* PutEscaped(char* at, std::string_view text, char quote) {
  const SpecialBytes& special = kSpecial[quote == 0 ? 0 : quote == '\'' ? 1 : 2];
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!special[static_cast<unsigned char>(c)]) {
      *at++ = c;
    } else if (c == '&') {
      at = Put(at, "&amp;");
    } else if (c == quote) {
      at = Put(at, quote == '"' ? "&quot;" : "&#39;");
    } else if (c == '<' || c == '>') {
      at = Put(at, c == '<' ? "&lt;" : "&gt;");
    } else if (text.substr(i, kNoBreakSpace.size()) == kNoBreakSpace) {
      at = Put(at, "&nbsp;");
      i += kNoBreakSpace.size() - 1;
    } else {
      *at++ = c;
    }
  }
  return at;
}

// ` name="value"`; needs room for 4 bytes, the name and kMostPerByte per byte of the value.
char* PutAttribute(char* at, std::string_view name, std::string_view value, char quote) {
  *at++ = ' ';
  at = Put(at, name);
  *at++ = '=';
  *at++ = quote;
  at = PutEscaped(at, value, quote);
  *at++ = quote;
  return at;
}

// The node id as an attribute, when the options ask for one; needs room for 28 bytes and the name.
char* PutNodeId(char* at, NodeId id, const SerializeOptions& options) {
  if (options.node_id_attribute.empty()) return at;
  const char quote = options.attribute_quote;
  *at++ = ' ';
  at = Put(at, options.node_id_attribute);
  *at++ = '=';
  *at++ = quote;
  at = std::to_chars(at, at + 24, id).ptr;
  *at++ = quote;
  return at;
}

// A select's options kept as data, written as their nodes would be.
void AppendKeptOptions(Markup& out, const KeptOptions& kept, const SerializeOptions& options) {
  NodeId id = kept.first_id;
  const char quote = options.attribute_quote;
  for (std::size_t i = 0; i < kept.data.entries.size(); ++i) {
    const OptionText& option = kept.data.entries[i];
    char* at = out.Room(64 + options.node_id_attribute.size() +
                        (option.value.size() + option.text.size()) * kMostPerByte);
    at = Put(at, "<option");
    at = PutAttribute(at, "value", option.value, quote);
    if (static_cast<int>(i) == kept.selected) at = PutAttribute(at, "selected", "", quote);
    at = PutNodeId(at, id, options);
    *at++ = '>';
    at = PutEscaped(at, option.text, 0);
    out.Wrote(Put(at, "</option>"));
    id += option.text.empty() ? 1 : 2;
  }
}

void AppendNode(Markup& out, const Node& node, const SerializeOptions& options);

void AppendChildren(Markup& out, const Element& element, const SerializeOptions& options,
                    bool raw) {
  if (const auto kept = element.KeptOptionsOf()) AppendKeptOptions(out, *kept, options);
  for (const auto& child : element.HeldChildNodes()) {
    if (raw && child->IsText()) {
      const std::string& data = static_cast<const Text&>(*child).data();
      out.Wrote(Put(out.Room(data.size()), data));
    } else {
      AppendNode(out, *child, options);
    }
  }
}

void AppendNode(Markup& out, const Node& node, const SerializeOptions& options) {
  if (node.IsText()) {
    const std::string& data = static_cast<const Text&>(node).data();
    out.Wrote(PutEscaped(out.Room(data.size() * kMostPerByte), data, 0));
    return;
  }
  const auto& element = static_cast<const Element&>(node);
  const std::string& tag = element.TagName();
  const char quote = options.attribute_quote;
  std::size_t room = 2 + tag.size() + options.node_id_attribute.size() + 32;
  element.ForEachAttribute([&](const Attribute& attribute) {
    room += 4 + attribute.name.size() + attribute.value.size() * kMostPerByte;
  });
  char* at = out.Room(room);
  *at++ = '<';
  at = PutTag(at, element);
  element.ForEachAttribute([&](const Attribute& attribute) {
    at = PutAttribute(at, attribute.name, attribute.value, quote);
  });
  at = PutNodeId(at, element.node_id(), options);
  *at++ = '>';
  out.Wrote(at);
  const TagKind kind = KindOf(element);
  if (kind.is_void) return;
  AppendChildren(out, element, options, kind.raw_text);
  at = out.Room(3 + tag.size());
  *at++ = '<';
  *at++ = '/';
  at = PutTag(at, element);
  *at++ = '>';
  out.Wrote(at);
}

}  // namespace

bool IsVoidElement(std::string_view tag) {
  return std::any_of(kVoidElements.begin(), kVoidElements.end(), [&](std::string_view name) {
    return name.size() == tag.size() && name[0] == (tag[0] & ~0x20) && internal::AsciiEqualsIgnoreCase(name, tag);
  });
}

std::string SerializeNode(const Node& node, const SerializeOptions& options) {
  if (node.IsText()) {
    const auto parent = node.ParentElement();
    if (parent && IsRawTextElement(parent->TagName())) return static_cast<const Text&>(node).data();
  }
  Markup markup;
  AppendNode(markup, node, options);
  return markup.Text();
}

std::string SerializeChildren(const Element& element, const SerializeOptions& options) {
  Markup markup;
  AppendChildren(markup, element, options, KindOf(element).raw_text);
  return markup.Text();
}

}  // namespace cn::dom

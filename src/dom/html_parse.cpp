#include "dom/html_parse.h"

#include <gumbo.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"

namespace cn::dom {
namespace {

// Deeper markup is attached at this depth, as browsers cap nesting, so that walking the tree
// never runs out of stack on hostile input.
constexpr int kMaxDepth = 512;

// Owns one parse result.
class GumboParse {
 public:
  GumboParse(std::string_view html, GumboTag fragment_context) : options_(kGumboDefaultOptions) {
    options_.fragment_context = fragment_context;
    options_.fragment_namespace = GUMBO_NAMESPACE_HTML;
    output_ = gumbo_parse_with_options(&options_, html.data(), html.size());
    if (output_ == nullptr) internal::Fail(failure::kInvalidArgument, "The HTML text could not be read");
  }
  ~GumboParse() { gumbo_destroy_output(&options_, output_); }
  GumboParse(const GumboParse&) = delete;
  GumboParse& operator=(const GumboParse&) = delete;

  const GumboNode& root() const { return *output_->root; }

 private:
  GumboOptions options_;
  GumboOutput* output_ = nullptr;
};

std::string TagNameOf(const GumboElement& element) {
  if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
  GumboStringPiece piece = element.original_tag;
  gumbo_tag_from_original_text(&piece);
  return std::string(piece.data, piece.length);
}

const GumboVector& ChildrenOf(const GumboNode& node) {
  return node.type == GUMBO_NODE_DOCUMENT ? node.v.document.children : node.v.element.children;
}

// Appends the nodes made from `source`'s children to `target`; `tag`: the tag whose rule for
// whitespace applies (target's own, or the fragment's context).
void AppendConverted(Document& document, const GumboNode& source, Element& target, std::string_view tag, int depth);

// The node for `source`; an element gets its content too unless `shallow`.
std::shared_ptr<Node> Convert(Document& document, const GumboNode& source, int depth, bool shallow) {
  switch (source.type) {
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
      return document.CreateTextNode(source.v.text.text);
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
      const GumboElement& gumbo_element = source.v.element;
      std::shared_ptr<Element> element = document.CreateElement(TagNameOf(gumbo_element));
      for (unsigned i = 0; i < gumbo_element.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(gumbo_element.attributes.data[i]);
        element->SetAttribute(attribute->name, attribute->value);
      }
      if (!shallow) AppendConverted(document, source, *element, element->TagName(), depth + 1);
      return element;
    }
    default:  // comments and the doctype are not kept
      return nullptr;
  }
}

// Elements whose whitespace between children is never shown: the layout tables' structure,
// lists and the page head. It is not kept, which keeps every administrator's pages smaller.
bool DropsWhitespace(std::string_view tag) {
  static constexpr std::string_view kTags[] = {"TABLE", "TBODY", "THEAD", "TFOOT", "TR",
                                               "SELECT", "COLGROUP", "HTML", "HEAD"};
  return std::any_of(std::begin(kTags), std::end(kTags),
                     [&](std::string_view dropping) { return internal::AsciiEqualsIgnoreCase(tag, dropping); });
}

void AppendConverted(Document& document, const GumboNode& source, Element& target, std::string_view tag, int depth) {
  const GumboVector& children = ChildrenOf(source);
  const bool drops_whitespace = DropsWhitespace(tag);
  for (unsigned i = 0; i < children.length; ++i) {
    const auto& child = *static_cast<const GumboNode*>(children.data[i]);
    if (child.type == GUMBO_NODE_WHITESPACE && drops_whitespace) continue;
    const bool too_deep = depth >= kMaxDepth;
    if (std::shared_ptr<Node> node = Convert(document, child, depth, too_deep)) target.AppendChild(node);
    // Too deep: the element's content follows it as its siblings.
    if (too_deep && (child.type == GUMBO_NODE_ELEMENT || child.type == GUMBO_NODE_TEMPLATE)) {
      AppendConverted(document, child, target, tag, depth);
    }
  }
}

}  // namespace

std::shared_ptr<Element> ParseDocumentTree(Document& document, std::string_view html) {
  const GumboParse parse(html, GUMBO_TAG_LAST);
  std::shared_ptr<Node> root = Convert(document, parse.root(), 0, false);
  if (!root || !root->IsElement()) internal::Fail(failure::kInvalidArgument, "The page has no HTML element");
  return std::static_pointer_cast<Element>(root);
}

std::vector<std::shared_ptr<Node>> ParseFragment(Document& document, std::string_view html,
                                                 std::string_view context_tag) {
  GumboTag context = gumbo_tag_enum(internal::AsciiLower(context_tag).c_str());
  if (context == GUMBO_TAG_UNKNOWN) context = GUMBO_TAG_DIV;
  const GumboParse parse(html, context);
  // The fragment's nodes are the children of the HTML element the parser wraps them in.
  std::shared_ptr<Element> holder = document.CreateElement("DIV");
  AppendConverted(document, parse.root(), *holder, context_tag, 1);
  std::vector<std::shared_ptr<Node>> nodes(holder->ChildNodes().begin(), holder->ChildNodes().end());
  holder->RemoveAllChildren();
  return nodes;
}

}  // namespace cn::dom

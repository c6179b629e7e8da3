// An element's content as text and as HTML.
#include <string>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/shared_content.h"
#include "dom/html_parse.h"
#include "dom/internal.h"
#include "dom/serialize.h"

namespace cn::dom {
namespace {

void AppendText(const Element& element, std::string& out) {
  if (element.Is("BR")) {
    out += '\n';
    return;
  }
  if (element.Is("SCRIPT") || element.Is("STYLE")) return;
  for (const auto& child : element.ChildNodes()) {
    if (child->IsText()) {
      out += static_cast<const Text&>(*child).data();
    } else {
      AppendText(static_cast<const Element&>(*child), out);
    }
  }
}

}  // namespace

std::string Element::InnerText() const {
  std::string text;
  AppendText(*this, text);
  return text;
}

void Element::SetInnerText(std::string_view text) {
  if (IsVoidElement(TagName())) {
    internal::Fail(failure::kInvalidArgument, "innerText cannot be set on " + Describe());
  }
  RemoveAllChildren();
  if (!text.empty()) {
    if (const auto document = OwnerDocument()) AppendChild(document->CreateTextNode(text));
  }
  NoteChange(MutationKind::kContentSet, "innerText", text);
}

std::string Element::InnerHtml() const { return SerializeChildren(*this); }

void Element::SetInnerHtml(std::string_view html) {
  if (IsVoidElement(TagName())) {
    internal::Fail(failure::kInvalidArgument, "innerHTML cannot be set on " + Describe());
  }
  const std::shared_ptr<Document> document = OwnerDocument();
  if (!document) internal::Fail(failure::kObjectRequired, "The page of " + Describe() + " is closed (innerHTML)");
  // Parse first: text the parser cannot read leaves the content as it was. Emptying a list
  // or a cell, the common case, needs no parser.
  std::vector<std::shared_ptr<Node>> nodes;
  if (!html.empty()) {
    SharedContent* const shared = document->SharedContentOf();
    nodes = shared ? shared->Parse(*document, html, TagName()) : ParseFragment(*document, html, TagName());
  }
  RemoveAllChildren();
  for (const auto& node : nodes) AppendChild(node);
  NoteChange(MutationKind::kContentSet, "innerHTML", html);
}

std::string Element::OuterHtml() const { return SerializeNode(*this); }

}  // namespace cn::dom

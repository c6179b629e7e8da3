// Copying a page's tree into a new page, as parsing the same markup again would build it.
#include <utility>

#include "dom/document.h"
#include "dom/element.h"
#include "dom/shared_content.h"

namespace cn::dom {

std::shared_ptr<Document> Document::Copy() const {
  auto copy = std::make_shared<Document>(DocumentKey{});
  copy->url_ = url_;
  copy->shared_ = shared_;
  copy->window_ = std::make_shared<Window>(WindowKey{}, copy);
  copy->nodes_.reserve(static_cast<std::size_t>(next_node_id_ - 1));
  if (root_) {
    copy->root_ = root_->CopyInto(*copy);
    // Every copy numbers its nodes alike, so the first copy's ids serve them all: a copy's
    // index holds only what its own changes touch.
    if (unchanged_) {
      std::call_once(copy_ids_once_, [&] { copy_ids_ = IdIndex::CopyIdsOf(*copy->root_); });
      copy->ids_.UseCopyIds(copy_ids_, &copy->nodes_);
      copy->ids_built_ = true;
    }
  }
  return copy;
}

std::shared_ptr<Node> Document::ImportCopy(const Node& node) {
  if (node.IsElement()) return static_cast<const Element&>(node).CopyInto(*this);
  return CopyTextNode(static_cast<const Text&>(node));
}

std::shared_ptr<Element> Document::CreateOption(std::string_view value, std::string_view text) {
  return shared_ ? shared_->Option(*this, value, text) : NewOption(*this, value, text);
}

// Nodes are numbered in tree order, each element before its content, as the parser numbers them.
std::shared_ptr<Element> Element::CopyInto(Document& document) const {
  MakeOptionNodes();
  const std::shared_ptr<Element> element = document.NewElement(TagName(), tag_number());
  element->attributes_ = attributes_;
  if (extras_ && extras_->style) element->MutableExtras().style = extras_->style;
  if (extras_ && extras_->value) element->MutableExtras().value = std::make_unique<Attribute>(*extras_->value);
  element->children_.reserve(children_.size());
  for (const auto& child : children_) {
    std::shared_ptr<Node> node;
    if (child->IsElement()) {
      node = static_cast<const Element&>(*child).CopyInto(document);
    } else {
      node = document.CopyTextNode(static_cast<const dom::Text&>(*child));
    }
    node->parent_ = element.get();
    element->children_.push_back(std::move(node));
  }
  return element;
}

}  // namespace cn::dom

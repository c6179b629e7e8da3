#include "dom/node.h"

#include <algorithm>
#include <utility>

#include "dom/document.h"
#include "dom/element.h"

namespace cn::dom {

Node::Node(NodeType type, Document& document, NodeId id, std::uint8_t tag)
    : bits_((static_cast<std::uint64_t>(id) << kIdShift) | (static_cast<std::uint64_t>(tag) << 1) |
            static_cast<std::uint64_t>(type)),
      document_(&document) {}

std::shared_ptr<Document> Node::OwnerDocument() const {
  return document_ != nullptr ? document_->shared_from_this() : nullptr;
}

std::shared_ptr<Element> Node::ParentElement() const { return parent_ ? parent_->SharedThis() : nullptr; }

int Node::IndexInParent() const {
  if (parent_ == nullptr) return -1;
  const auto& siblings = parent_->ChildNodes();
  const auto it = std::find_if(siblings.begin(), siblings.end(),
                               [this](const std::shared_ptr<Node>& n) { return n.get() == this; });
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

bool Node::IsConnected() const {
  return document_ != nullptr && document_->IsRoot(Top());
}

const Node& Node::Top() const {
  const Node* top = this;
  while (top->parent_ != nullptr) top = top->parent_;
  return *top;
}

void Node::Remove() {
  if (parent_ != nullptr) parent_->RemoveChild(shared_from_this());
}

std::shared_ptr<Document> Node::ChangeWatcher(MutationKind kind) const {
  if (document_ == nullptr || !document_->WantsChanges(kind) || !document_->IsRoot(Top())) return nullptr;
  return document_->shared_from_this();
}

void Node::LeavePage() const {
  if (document_ != nullptr) document_->Forget(*this);
}

std::string Node::InnerText() const {
  return IsElement() ? static_cast<const Element*>(this)->InnerText()
                     : static_cast<const Text*>(this)->data();
}

Text::~Text() { LeavePage(); }

Text::Text(NodeKey /*key*/, Document& document, NodeId id, std::string_view data)
    : Node(NodeType::kText, document, id),
      data_(data.empty() ? nullptr : SharedValue<std::string>(std::string(data))) {}

Text::Text(NodeKey /*key*/, Document& document, NodeId id, const Text& copied)
    : Node(NodeType::kText, document, id), data_(copied.data_) {}

const std::string& Text::Empty() {
  static const std::string empty;
  return empty;
}

void Text::SetData(std::string_view data) {
  data_ = data.empty() ? nullptr : SharedValue<std::string>(std::string(data));
  if (const auto watcher = ChangeWatcher(MutationKind::kText)) {
    watcher->NoteChange({MutationKind::kText, node_id(), 0, -1, "", this->data()});
  }
}

}  // namespace cn::dom

#pragma once
// Nodes of a page: elements and text. Nodes are shared: a handler may keep an element that
// another handler has removed from the page, and it stays usable, as in a browser.
//
// A node does not keep its document alive (the document owns the tree): hold the document
// while working with its page. A node of a closed page keeps its own state, but whatever needs
// the page (innerHTML, insertRow, createElement through it) is a RuntimeFailure.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dom/shared_value.h"

namespace cn::dom {

class Document;
class Element;
enum class MutationKind;

// Unique within one document and never reused there; the web layer addresses nodes by it.
using NodeId = std::int64_t;

enum class NodeType { kElement, kText };

// Only a Document creates nodes (CreateElement, CreateTextNode, page and fragment parsing).
class NodeKey {
 private:
  friend class Document;
  NodeKey() = default;
};

// Not polymorphic: a node is always made and destroyed as its own kind (make_shared of an
// Element or a Text), and no virtual table keeps every node of every session a size class up.
class Node : public std::enable_shared_from_this<Node> {
 public:
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  NodeType type() const { return static_cast<NodeType>(bits_ & 1); }
  bool IsElement() const { return type() == NodeType::kElement; }
  bool IsText() const { return type() == NodeType::kText; }
  NodeId node_id() const { return static_cast<NodeId>(bits_ >> kIdShift); }

  // The document that created the node; null once that document is gone.
  std::shared_ptr<Document> OwnerDocument() const;
  // The element the node is a child of; null when detached (or the root element).
  std::shared_ptr<Element> ParentElement() const;
  // Position among the parent's child nodes; -1 when detached.
  int IndexInParent() const;
  // True when the node is inside its document's tree.
  bool IsConnected() const;
  // The outermost ancestor (the node itself when detached).
  const Node& Top() const;
  // Takes the node out of its parent; nothing when detached.
  void Remove();

  // Text as a browser's innerText reports it (a <br> reads as "\n").
  std::string InnerText() const;

 protected:
  // `tag`: an element's tag number (dom/tag_names.h).
  Node(NodeType type, Document& document, NodeId id, std::uint8_t tag = 0);
  ~Node() = default;

  std::uint8_t tag_number() const { return static_cast<std::uint8_t>(bits_ >> 1); }

  // The document to tell about a change of this node: null when nothing records or listens,
  // or when the node is outside its document's tree (its insertion will carry its state).
  std::shared_ptr<Document> ChangeWatcher(MutationKind kind) const;
  // Takes the node out of its page's lookup by id; the most derived destructor calls it first.
  void LeavePage() const;

 private:
  friend class Element;   // keeps parent_ in step with its child list
  friend class Document;  // clears document_ of the nodes it leaves behind

  // The type in the low bit, an element's tag number in the next eight, the id above them: one
  // word, so that a node takes a smaller size class of memory (a page holds hundreds).
  static constexpr int kIdShift = 9;
  std::uint64_t bits_;
  // The document's destructor clears it in every node still alive, so it never dangles; a
  // plain pointer keeps every node of every session a size class smaller than a weak one.
  Document* document_;
  // The parent holds the node; a parent going away clears this first (Element's destructor).
  Element* parent_ = nullptr;
};

class Text final : public Node {
 public:
  Text(NodeKey key, Document& document, NodeId id, std::string_view data);
  // A copy's text shares its data with the text it copies (a page's template) until it changes:
  // most of a page's texts are labels and the spaces between its elements.
  Text(NodeKey key, Document& document, NodeId id, const Text& copied);

  const std::string& data() const { return data_ ? *data_ : Empty(); }
  void SetData(std::string_view data);

  ~Text();
  std::string InnerText() const { return data(); }

 private:
  static const std::string& Empty();

  SharedValue<std::string> data_;  // null when empty
};

}  // namespace cn::dom

#include "dom/document.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "base/runtime_failure.h"
#include "dom/html_parse.h"
#include "dom/internal.h"
#include "dom/tag_names.h"

namespace cn::dom {
namespace {

using internal::AsciiEqualsIgnoreCase;
using internal::Fail;

bool IsTagNameChar(char c) {
  return c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '<' && c != '>' &&
         c != '/' && c != '"' && c != '\'' && c != '=' && c != '\0';
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsFrame(const Element& element) { return element.Is("IFRAME") || element.Is("FRAME"); }

}  // namespace

Document::Document(DocumentKey /*key*/) {}

// Nodes that handlers still hold outlive their page: they learn it has gone.
Document::~Document() {
  for (Node* node : nodes_) {
    if (node != nullptr) node->document_ = nullptr;
  }
}

std::shared_ptr<Document> Document::CreateEmpty(std::string url) { return Parse("", std::move(url)); }

std::shared_ptr<Document> Document::Parse(std::string_view html, std::string url) {
  auto document = std::make_shared<Document>(DocumentKey{});
  document->url_ = std::move(url);
  document->window_ = std::make_shared<Window>(WindowKey{}, document);
  document->root_ = ParseDocumentTree(*document, html);
  return document;
}

std::shared_ptr<Document> Document::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail(failure::kInvalidArgument, "The page file '" + path.string() + "' cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) Fail(failure::kInvalidArgument, "The page file '" + path.string() + "' cannot be read");
  return Parse(text.str(), path.string());
}

std::shared_ptr<Element> Document::Body() const {
  if (root_) {
    for (const auto& child : root_->Children()) {
      if (child->Is("BODY") || child->Is("FRAMESET")) return child;
    }
  }
  Fail(failure::kObjectRequired, "The page '" + url_ + "' has no body");
}

std::shared_ptr<Element> Document::FindElementById(std::string_view id) const {
  if (!root_) return nullptr;
  // An empty id has always answered the document element (whose missing id reads as "").
  if (id.empty()) return root_->Id().empty() ? root_ : root_->FindInAll(id);
  if (!ids_built_) {
    ids_.AddTree(*root_);
    ids_built_ = true;
  }
  Element* element = ids_.First(id);
  return element ? element->SharedThis() : nullptr;
}

bool Document::InTree(const Node& node) const { return IsRoot(node.Top()); }

std::shared_ptr<Element> Document::GetElementById(std::string_view id) const {
  std::shared_ptr<Element> element = FindElementById(id);
  if (!element) {
    Fail(failure::kObjectRequired, "Element '" + std::string(id) + "' not found in the page '" + url_ + "'");
  }
  return element;
}

std::vector<std::shared_ptr<Element>> Document::All() const {
  std::vector<std::shared_ptr<Element>> all;
  if (!root_) return all;
  all.push_back(root_);
  std::vector<std::shared_ptr<Element>> below = root_->All();
  all.insert(all.end(), std::make_move_iterator(below.begin()), std::make_move_iterator(below.end()));
  return all;
}

std::vector<std::shared_ptr<Element>> Document::AllWithId(std::string_view id) const {
  std::vector<std::shared_ptr<Element>> matches;
  if (!root_) return matches;
  if (root_->IdView() == id) matches.push_back(root_);
  std::vector<std::shared_ptr<Element>> below = root_->AllWithId(id);
  matches.insert(matches.end(), std::make_move_iterator(below.begin()),
                 std::make_move_iterator(below.end()));
  return matches;
}

std::vector<std::shared_ptr<Element>> Document::ElementsByTagName(std::string_view tag) const {
  std::vector<std::shared_ptr<Element>> matches;
  for (auto& element : All()) {
    if (tag == "*" || element->Is(tag)) matches.push_back(std::move(element));
  }
  return matches;
}

std::shared_ptr<Node> Document::FindNode(NodeId id) const {
  if (id < 1 || id > static_cast<NodeId>(nodes_.size())) return nullptr;
  const auto index = static_cast<std::size_t>(id - 1);
  if (const Node* holder = nodes_[index]; holder != nullptr && holder->node_id() != id) {
    static_cast<const Element&>(*holder).MakeOptionNodes();  // an option kept as data
  }
  Node* const node = nodes_[index];
  return node != nullptr ? node->shared_from_this() : nullptr;
}

NodeId Document::ReserveNodeIds(NodeId count, Node& holder) {
  const NodeId first = next_node_id_;
  next_node_id_ += count;
  HoldNodeIds(first, count, holder);
  return first;
}

void Document::HoldNodeIds(NodeId first, NodeId count, Node& holder) {
  const auto end = static_cast<std::size_t>(first - 1 + count);
  if (nodes_.size() < end) GrowNodeTable(end);
  std::fill(nodes_.begin() + (first - 1), nodes_.begin() + static_cast<std::ptrdiff_t>(end),
            &holder);
}

void Document::ReleaseNodeIds(NodeId first, NodeId count, const Node& holder) {
  const auto end =
      nodes_.begin() + std::min<NodeId>(first - 1 + count, static_cast<NodeId>(nodes_.size()));
  std::replace(nodes_.begin() + (first - 1), end, const_cast<Node*>(&holder),
               static_cast<Node*>(nullptr));
}

std::shared_ptr<Element> Document::CreateElement(std::string_view tag) {
  if (tag.empty() || !std::all_of(tag.begin(), tag.end(), IsTagNameChar)) {
    Fail(failure::kInvalidArgument, "'" + std::string(tag) + "' is not an element name (createElement)");
  }
  return NewElement(internal::AsciiUpper(tag));
}

std::shared_ptr<Element> Document::NewElement(std::string_view upper_tag) {
  return NewElement(upper_tag, internal::KnownTagNumber(upper_tag));
}

std::shared_ptr<Element> Document::NewElement(std::string_view upper_tag, std::uint8_t tag_number) {
  auto element = std::make_shared<Element>(NodeKey{}, *this, NextNodeId(), tag_number, upper_tag);
  Register(*element);
  if (IsFrame(*element)) element->MutableRare().content_document = CreateEmpty();
  return element;
}

std::shared_ptr<Text> Document::CreateTextNode(std::string_view text) {
  auto node = std::make_shared<Text>(NodeKey{}, *this, NextNodeId(), text);
  Register(*node);
  return node;
}

std::shared_ptr<Text> Document::CopyTextNode(const Text& copied) {
  auto node = std::make_shared<Text>(NodeKey{}, *this, NextNodeId(), copied);
  Register(*node);
  return node;
}

void Document::Register(Node& node) {
  const auto index = static_cast<std::size_t>(node.node_id() - 1);
  if (index >= nodes_.size()) GrowNodeTable(index + 1);
  nodes_[index] = &node;
}

void Document::GrowNodeTable(std::size_t size) {
  // A copied page starts with room for exactly its template's nodes, and every session adds
  // a few hundred to it: growing by an eighth, not double, spares most sessions half a table.
  // Each frame's empty page holds a handful of nodes: its table starts small.
  if (size > nodes_.capacity()) {
    nodes_.reserve(std::max(size, nodes_.capacity() + nodes_.capacity() / 8 + 8));
  }
  nodes_.resize(size, nullptr);
}

void Document::Forget(const Node& node) {
  const auto index = static_cast<std::size_t>(node.node_id() - 1);
  if (index < nodes_.size() && nodes_[index] == &node) nodes_[index] = nullptr;
}

std::vector<std::shared_ptr<Element>> Document::Frames() const {
  std::vector<std::shared_ptr<Element>> frames;
  // Past the options a select keeps as data: the shell looks for its frame at every tab switch.
  const auto walk = [&](const auto& self, const std::shared_ptr<Element>& element) -> void {
    if (IsFrame(*element)) frames.push_back(element);
    for (const auto& child : element->HeldChildNodes()) {
      if (child->IsElement()) self(self, std::static_pointer_cast<Element>(child));
    }
  };
  if (root_) walk(walk, root_);
  return frames;
}

std::shared_ptr<Window> Document::FindFrame(std::string_view name) const {
  const std::vector<std::shared_ptr<Element>> frames = Frames();
  auto it = std::find_if(frames.begin(), frames.end(), [&](const auto& f) { return f->Name() == name; });
  if (it == frames.end()) {
    it = std::find_if(frames.begin(), frames.end(), [&](const auto& f) { return f->Id() == name; });
  }
  if (it == frames.end()) return nullptr;
  return (*it)->ContentDocument()->ParentWindow();
}

std::shared_ptr<Window> Document::GetFrame(std::string_view name) const {
  std::shared_ptr<Window> frame = FindFrame(name);
  if (!frame) {
    Fail(failure::kObjectRequired, "Frame '" + std::string(name) + "' not found in the page '" + url_ + "'");
  }
  return frame;
}

std::string Document::Cookie() const {
  std::string text;
  for (const auto& [name, value] : cookies_) {
    if (!text.empty()) text += "; ";
    text += name;
    text += '=';
    text += value;
  }
  return text;
}

void Document::SetCookie(std::string_view assignment) {
  const std::size_t semicolon = assignment.find(';');
  const std::string_view pair = assignment.substr(0, semicolon);
  const std::size_t equals = pair.find('=');
  const std::string_view name = TrimSpaces(pair.substr(0, equals));
  if (equals == std::string_view::npos || name.empty()) {
    Fail(failure::kInvalidArgument, "Cookie assignment '" + std::string(assignment) + "' has no name");
  }
  const std::string_view value = TrimSpaces(pair.substr(equals + 1));
  bool expired = false;
  std::string_view rest = semicolon == std::string_view::npos ? "" : assignment.substr(semicolon + 1);
  while (!rest.empty()) {
    const std::size_t next = rest.find(';');
    const std::string_view attribute = TrimSpaces(rest.substr(0, next));
    const std::size_t attribute_equals = attribute.find('=');
    if (attribute_equals != std::string_view::npos &&
        AsciiEqualsIgnoreCase(TrimSpaces(attribute.substr(0, attribute_equals)), "max-age")) {
      const std::string_view age = TrimSpaces(attribute.substr(attribute_equals + 1));
      expired = age == "0" || (!age.empty() && age.front() == '-');
    }
    rest = next == std::string_view::npos ? "" : rest.substr(next + 1);
  }
  if (expired) {
    DeleteCookie(name);
    return;
  }
  const auto it = std::find_if(cookies_.begin(), cookies_.end(), [&](const auto& c) { return c.first == name; });
  if (it != cookies_.end()) {
    it->second = std::string(value);
  } else {
    cookies_.emplace_back(std::string(name), std::string(value));
  }
}

void Document::DeleteCookie(std::string_view name) {
  std::erase_if(cookies_, [&](const auto& c) { return c.first == name; });
}

std::shared_ptr<Element> Document::ActiveElement() const {
  std::shared_ptr<Element> active = active_.lock();
  if (active && active->IsConnected()) return active;
  for (const auto& child : root_ ? root_->Children() : std::vector<std::shared_ptr<Element>>{}) {
    if (child->Is("BODY")) return child;
  }
  return root_;
}

std::vector<Mutation> Document::TakeMutations() {
  std::vector<Mutation> taken;
  taken.swap(mutations_);
  return taken;
}

int Document::AddChangeListener(MutationKind kind, ChangeListener listener) {
  const int id = next_listener_id_++;
  listeners_.push_back({id, kind, std::move(listener)});
  listened_.set(static_cast<std::size_t>(kind));
  return id;
}

void Document::RemoveChangeListener(int listener_id) {
  std::erase_if(listeners_, [&](const Listener& entry) { return entry.id == listener_id; });
  listened_.reset();
  for (const Listener& entry : listeners_) listened_.set(static_cast<std::size_t>(entry.kind));
}

void Document::NoteChange(Mutation mutation) {
  if (!listened_.test(static_cast<std::size_t>(mutation.kind))) {
    if (recording_) mutations_.push_back(std::move(mutation));
    return;
  }
  if (recording_) mutations_.push_back(mutation);
  // A listener may add or remove listeners, or change the page again, while it runs.
  std::vector<ChangeListener> called;
  for (const Listener& entry : listeners_) {
    if (entry.kind == mutation.kind) called.push_back(entry.call);
  }
  for (const ChangeListener& listener : called) listener(mutation);
}

}  // namespace cn::dom

#pragma once
// A loaded page: the element tree, lookups by id, frames, cookies, the active element, its
// window, the event table that binds it to page logic, and the record of its changes.

#include <filesystem>
#include <bitset>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "dom/element.h"
#include "dom/events.h"
#include "dom/id_index.h"
#include "dom/mutation.h"
#include "dom/node.h"
#include "dom/window.h"

namespace cn::dom {

class SharedContent;

class DocumentKey {
 private:
  friend class Document;
  DocumentKey() = default;
};

class Document : public std::enable_shared_from_this<Document> {
 public:
  explicit Document(DocumentKey key);
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;
  ~Document();

  // ---- Creating and loading -----------------------------------------------------------
  // An empty page: <html><head></head><body></body></html>.
  static std::shared_ptr<Document> CreateEmpty(std::string url = "about:blank");
  // Parses a whole page as a browser does; `url` is where it came from.
  static std::shared_ptr<Document> Parse(std::string_view html, std::string url = "");
  // Reads and parses a page file; an unreadable file is a RuntimeFailure naming it.
  static std::shared_ptr<Document> Load(const std::filesystem::path& path);
  // A new page with this page's tree (tags, attributes, text), numbered afresh as a parse
  // numbers it, with a window and empty frames of its own; nothing bound, recorded, listened
  // to, focused or set as a cookie. A copy of a page as parsed is what parsing it again gives.
  // Only reads this page, so threads may copy one page that nobody changes at once.
  std::shared_ptr<Document> Copy() const;
  // A deep copy of a node of another page, made of new nodes of this page (detached).
  std::shared_ptr<Node> ImportCopy(const Node& node);
  // What the pages' logic builds alike on every copy of a page (parsed innerHTML, options,
  // changed attribute lists), built once for every page given the same; copies of this page
  // share it too. Without one, every page builds its own.
  void ShareContent(std::shared_ptr<SharedContent> shared) { shared_ = std::move(shared); }
  // Marks a page that is only ever copied, never changed (a template): its copies then share
  // one index of the ids they start with.
  void KeepUnchanged() { unchanged_ = true; }
  SharedContent* SharedContentOf() const { return shared_.get(); }
  // A lookup list kept by the page logic, held once for every page that keeps the same list.
  std::shared_ptr<const std::vector<std::string>> SharedList(std::vector<std::string> entries);
  std::shared_ptr<const std::string> SharedText(std::string text);

  const std::string& Url() const { return url_; }

  // ---- Tree and lookup ----------------------------------------------------------------
  std::shared_ptr<Element> DocumentElement() const { return root_; }
  bool IsRoot(const Node& node) const { return root_ != nullptr && &node == root_.get(); }
  // The BODY element (a RuntimeFailure when the page has none).
  std::shared_ptr<Element> Body() const;
  // First element with that id in tree order; null when none.
  std::shared_ptr<Element> FindElementById(std::string_view id) const;
  // As FindElementById, but a missing element is a RuntimeFailure naming the id.
  std::shared_ptr<Element> GetElementById(std::string_view id) const;
  // The "all" collection: every element in tree order; by id the first, or every, match.
  std::vector<std::shared_ptr<Element>> All() const;
  std::shared_ptr<Element> FindInAll(std::string_view id) const { return FindElementById(id); }
  std::shared_ptr<Element> GetFromAll(std::string_view id) const { return GetElementById(id); }
  std::vector<std::shared_ptr<Element>> AllWithId(std::string_view id) const;
  std::vector<std::shared_ptr<Element>> ElementsByTagName(std::string_view tag) const;
  // A node of this document by its id, attached or not, while anything keeps it alive.
  std::shared_ptr<Node> FindNode(NodeId id) const;

  // A new detached element; the tag may be given in any case ("OPTION", "table").
  // A tag that is not a plain name is a RuntimeFailure.
  std::shared_ptr<Element> CreateElement(std::string_view tag);
  std::shared_ptr<Text> CreateTextNode(std::string_view text);
  // A new detached OPTION with that text and value.
  std::shared_ptr<Element> CreateOption(std::string_view value, std::string_view text);

  // ---- Frames ---------------------------------------------------------------------------
  // The IFRAME and FRAME elements in tree order.
  std::vector<std::shared_ptr<Element>> Frames() const;
  // The window of the frame with that name (or, failing that, that id); null when none.
  std::shared_ptr<Window> FindFrame(std::string_view name) const;
  // As FindFrame, but a missing frame is a RuntimeFailure.
  std::shared_ptr<Window> GetFrame(std::string_view name) const;

  // ---- Window, cookies, focus ---------------------------------------------------------
  std::shared_ptr<Window> ParentWindow() const { return window_; }
  // "name=value" pairs joined by "; ", in the order they were first set.
  std::string Cookie() const;
  // As a browser's document.cookie assignment: sets one "name=value"; attributes after ";"
  // are ignored, except that "max-age" of 0 or less deletes the cookie. An assignment without
  // a name is a RuntimeFailure.
  void SetCookie(std::string_view assignment);
  void DeleteCookie(std::string_view name);
  // The focused element; the body when nothing (still attached) has the focus.
  std::shared_ptr<Element> ActiveElement() const;

  // ---- Events (dom/events.cpp) ------------------------------------------------------------
  // Binds page logic: the handler runs when `event_name` fires on an element with that id.
  void Bind(std::string_view element_id, std::string_view event_name, EventHandler handler,
            const void* owner = nullptr);
  EventTable& Events() { return events_; }
  const EventTable& Events() const { return events_; }

  // ---- Change record ------------------------------------------------------------------
  // Off by default; while on, every change is appended to Mutations() in order.
  void SetRecording(bool on) { recording_ = on; }
  bool IsRecording() const { return recording_; }
  const std::vector<Mutation>& Mutations() const { return mutations_; }
  // Returns the recorded changes and starts a fresh record.
  std::vector<Mutation> TakeMutations();

  // An observer of one kind of change, called synchronously after each whether or not
  // recording is on. Returns an id for RemoveChangeListener. Changes nobody records or
  // listens to are never described, so a page being built costs no more than its building.
  using ChangeListener = std::function<void(const Mutation&)>;
  int AddChangeListener(MutationKind kind, ChangeListener listener);
  void RemoveChangeListener(int listener_id);

 private:
  friend class Node;
  friend class Element;
  friend class Text;
  friend class Window;

  // True when a change of that kind should be described at all (recording on or a listener).
  bool WantsChanges(MutationKind kind) const { return recording_ || listened_.test(static_cast<std::size_t>(kind)); }
  // Records and announces one change; call only when WantsChanges().
  void NoteChange(Mutation mutation);

  NodeId NextNodeId() { return next_node_id_++; }
  // Ids for the nodes of options kept as data (dom/kept_options.h): FindNode of one of them
  // finds `holder`, the select, which makes the nodes. Released when the nodes are made or
  // the data goes.
  NodeId ReserveNodeIds(NodeId count, Node& holder);
  // Ids of nodes that were made and are gone, held again the same way.
  void HoldNodeIds(NodeId first, NodeId count, Node& holder);
  void ReleaseNodeIds(NodeId first, NodeId count, const Node& holder);
  // The data of a list of options: shared with the other pages when the page has shared content.
  std::shared_ptr<const OptionData> KeptOptionData(std::vector<OptionText> options);
  void Register(Node& node);
  // Makes the id table `size` long.
  void GrowNodeTable(std::size_t size);
  void Forget(const Node& node);
  void SetActiveElement(const std::shared_ptr<Element>& element) { active_ = element; }
  // `upper_tag` in upper case; its number when known already (dom/tag_names.h).
  std::shared_ptr<Element> NewElement(std::string_view upper_tag);
  std::shared_ptr<Element> NewElement(std::string_view upper_tag, std::uint8_t tag_number);
  // A new text of this page with the data of `copied`, shared with it.
  std::shared_ptr<Text> CopyTextNode(const Text& copied);
  // Whether the node is in the tree under the document element.
  bool InTree(const Node& node) const;
  // The id index, built on the first lookup and kept up to date from then on; null before.
  IdIndex* LiveIdIndex() const { return ids_built_ ? &ids_ : nullptr; }

  std::string url_;
  std::shared_ptr<SharedContent> shared_;
  std::shared_ptr<Element> root_;
  std::shared_ptr<Window> window_;
  NodeId next_node_id_ = 1;
  // Node id n at [n - 1]: ids are handed out in order and never reused.
  // Every living node of the page by id (index id - 1); a node takes itself out as it goes.
  std::vector<Node*> nodes_;
  mutable IdIndex ids_;
  mutable bool ids_built_ = false;
  // A page copied again and again (a template) holds the ids its copies start with.
  bool unchanged_ = false;
  mutable std::once_flag copy_ids_once_;
  mutable std::shared_ptr<const CopyIds> copy_ids_;
  std::vector<std::pair<std::string, std::string>> cookies_;
  std::weak_ptr<Element> active_;
  EventTable events_;
  bool recording_ = false;
  std::vector<Mutation> mutations_;
  struct Listener {
    int id;
    MutationKind kind;
    ChangeListener call;
  };
  std::vector<Listener> listeners_;
  std::bitset<kMutationKinds> listened_;  // the kinds some listener wants
  int next_listener_id_ = 1;
};

}  // namespace cn::dom

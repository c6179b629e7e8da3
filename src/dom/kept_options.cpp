// Options kept as data: filling a select, making the nodes when they are asked for, and
// keeping them as data again.
#include "dom/kept_options.h"

#include <utility>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"

namespace cn::dom {

OptionData::OptionData(std::vector<OptionText> option_texts) : entries(std::move(option_texts)) {
  for (const OptionText& entry : entries) node_count += entry.text.empty() ? 1 : 2;
}

void OptionList::Fill(std::vector<OptionText> options) { select_->FillOptions(std::move(options)); }

void Element::FillOptions(std::vector<OptionText> options) {
  RequireTag("SELECT", "options");
  if (options.empty()) return;
  const std::shared_ptr<Document> document = OwnerDocument();
  if (!document) {
    internal::Fail(failure::kObjectRequired, "Object required: " + Describe() + " has no page");
  }
  // Options a change record or a listener would report are made as nodes, each complete before
  // it joins the list: the page then records one insertion per option, not four changes.
  if (!children_.empty() || KeepsOptions() || ChangeWatcher(MutationKind::kInsert)) {
    std::vector<std::shared_ptr<Element>> nodes;
    nodes.reserve(options.size());
    for (const OptionText& option : options) {
      nodes.push_back(document->CreateOption(option.value, option.text));
    }
    AppendOptions(nodes);
    return;
  }
  std::shared_ptr<const OptionData> data = document->KeptOptionData(std::move(options));
  Rare& rare = MutableRare();
  rare.first_option_id = document->ReserveNodeIds(data->node_count, *this);
  // As appending them would: a drop-down shows its first option (none is disabled).
  rare.selected_option = ShowsAsDropDown() ? 0 : -1;
  rare.kept_options = std::move(data);
}

std::optional<KeptOptions> Element::KeptOptionsOf() const {
  if (!KeepsOptions()) return std::nullopt;
  const Rare& rare = *extras_->rare;
  return KeptOptions{*rare.kept_options, rare.first_option_id, rare.selected_option};
}

void Element::MakeOptionNodes() const {
  if (!KeepsOptions()) return;
  const std::shared_ptr<Document> document = OwnerDocument();
  if (!document) {
    internal::Fail(failure::kObjectRequired,
                   "The options of " + Describe() + " cannot be made: its page is closed");
  }
  // The nodes stand for what the select held all along: no change of the page.
  auto& self = const_cast<Element&>(*this);
  Rare& rare = *self.extras_->rare;
  const std::shared_ptr<const OptionData> data = std::move(rare.kept_options);  // leaves it null
  document->ReleaseNodeIds(rare.first_option_id, data->node_count, *this);
  // Numbered from the kept ids, as the options would have been numbered when filled.
  struct Numbering {
    Document& document;
    NodeId next;
    ~Numbering() { document.next_node_id_ = next; }
  } numbering{*document, std::exchange(document->next_node_id_, rare.first_option_id)};
  self.children_.reserve(data->entries.size());
  for (std::size_t i = 0; i < data->entries.size(); ++i) {
    std::shared_ptr<Element> option =
        document->CreateOption(data->entries[i].value, data->entries[i].text);
    if (static_cast<int>(i) == rare.selected_option) option->StoreAttribute("selected", "");
    option->parent_ = &self;
    self.children_.push_back(std::move(option));
  }
}

bool Element::KeepOptionNodesAsData() {
  const std::shared_ptr<Document> document = OwnerDocument();
  if (!document || !Is("SELECT") || KeepsOptions() || children_.empty()) return false;
  std::vector<OptionText> entries;
  entries.reserve(children_.size());
  int selected = -1;
  const NodeId first = children_.front()->node_id();
  NodeId next = first;
  // Only options as a fill makes them, numbered as it numbers them and held by nothing but
  // the list: any other a handler or the page may still reach as a node.
  for (const auto& child : children_) {
    if (!child->IsElement() || child.use_count() != 1 || child->node_id() != next) return false;
    const auto& option = static_cast<const Element&>(*child);
    if (!option.Is("OPTION") || option.extras_ || !option.attributes_) return false;
    const std::vector<Attribute>& attributes = *option.attributes_;
    if (attributes.empty() || attributes.size() > 2 || attributes[0].name != "value") return false;
    if (attributes.size() == 2) {
      if (attributes[1].name != "selected" || !attributes[1].value.empty() || selected != -1) {
        return false;
      }
      selected = static_cast<int>(entries.size());
    }
    std::string text;
    if (!option.children_.empty()) {
      const auto& held = option.children_.front();
      if (option.children_.size() != 1 || !held->IsText() || held.use_count() != 1 ||
          held->node_id() != next + 1 || static_cast<const dom::Text&>(*held).data().empty()) {
        return false;
      }
      text = static_cast<const dom::Text&>(*held).data();
    }
    next += text.empty() ? 1 : 2;
    entries.push_back({attributes[0].value, std::move(text)});
  }
  std::shared_ptr<const OptionData> data = document->KeptOptionData(std::move(entries));
  children_.clear();  // the options leave the page's numbering as they go
  Rare& rare = MutableRare();
  rare.first_option_id = first;
  rare.selected_option = selected;
  document->HoldNodeIds(first, data->node_count, *this);
  rare.kept_options = std::move(data);
  return true;
}

void Element::DropKeptOptions() {
  Rare& rare = *extras_->rare;
  if (document_ != nullptr) {
    document_->ReleaseNodeIds(rare.first_option_id, rare.kept_options->node_count, *this);
  }
  rare.kept_options.reset();
}

bool Element::ShowsAsDropDown() const {
  return !HasAttribute("multiple") && GetAttributeInteger("size", 1) <= 1;
}

}  // namespace cn::dom

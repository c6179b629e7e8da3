// Options kept as data: filling a select, making the nodes when they are asked for, and the
// shared lists.
#include "dom/kept_options.h"

#include <mutex>
#include <utility>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"
#include "dom/shared_content.h"

namespace cn::dom {

OptionData::OptionData(std::vector<OptionText> option_texts) : entries(std::move(option_texts)) {
  for (const OptionText& entry : entries) node_count += entry.text.empty() ? 1 : 2;
}

std::shared_ptr<const OptionData> SharedContent::Options(std::vector<OptionText> options) {
  std::string key;
  for (const OptionText& entry : options) {
    key.append(entry.value).push_back('\0');
    key.append(entry.text).push_back('\0');
  }
  if (key.size() > kMaxListText) return std::make_shared<const OptionData>(std::move(options));
  const std::lock_guard lock(mutex_);
  if (const auto it = lists_.find(key); it != lists_.end()) return it->second;
  auto data = std::make_shared<const OptionData>(std::move(options));
  // A full cache still serves the lists it holds; a list beyond it is the page's own.
  if (lists_.size() < kMaxLists) lists_.try_emplace(std::move(key), data);
  return data;
}

std::shared_ptr<const OptionData> Document::KeptOptionData(std::vector<OptionText> options) {
  if (shared_) return shared_->Options(std::move(options));
  return std::make_shared<const OptionData>(std::move(options));
}

void OptionList::Fill(std::vector<OptionText> options) { select_->FillOptions(std::move(options)); }

void Element::FillOptions(std::vector<OptionText> options) {
  RequireTag("SELECT", "options");
  if (options.empty()) return;
  const std::shared_ptr<Document> document = OwnerDocument();
  if (!document) {
    internal::Fail(failure::kObjectRequired, "Object required: " + Describe() + " has no page");
  }
  // Options a change record or a listener would report one by one are made as nodes.
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
  const std::shared_ptr<const OptionData> data = std::move(rare.kept_options);
  rare.kept_options.reset();
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

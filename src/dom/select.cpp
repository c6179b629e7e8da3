// Select elements and their options.
#include <algorithm>
#include <string>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"
#include "dom/mutation.h"
#include "dom/serialize.h"

namespace cn::dom {
namespace {

using internal::Fail;

std::string CollapseWhitespace(std::string_view text) {
  std::string out;
  bool pending_space = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
      pending_space = !out.empty();
      continue;
    }
    if (pending_space) out += ' ';
    pending_space = false;
    out += c;
  }
  return out;
}

}  // namespace

template <typename F>
void Element::ForEachOption(F&& f) const {
  MakeOptionNodes();
  for (const auto& child : children_) {
    if (!child->IsElement()) continue;
    auto& element = static_cast<Element&>(*child);
    if (element.Is("OPTION")) {
      f(element);
    } else if (element.Is("OPTGROUP")) {
      for (const auto& grouped : element.children_) {
        if (grouped->IsElement() && static_cast<Element&>(*grouped).Is("OPTION")) f(static_cast<Element&>(*grouped));
      }
    }
  }
}

std::vector<std::shared_ptr<Element>> Element::OptionsOf() const {
  std::vector<std::shared_ptr<Element>> options;
  for (const auto& child : Children()) {
    if (child->Is("OPTION")) {
      options.push_back(child);
    } else if (child->Is("OPTGROUP")) {
      for (const auto& grouped : child->Children()) {
        if (grouped->Is("OPTION")) options.push_back(grouped);
      }
    }
  }
  return options;
}

std::shared_ptr<Element> Element::EnclosingSelect() const {
  std::shared_ptr<Element> parent = ParentElement();
  if (parent && parent->Is("OPTGROUP")) parent = parent->ParentElement();
  return parent && parent->Is("SELECT") ? parent : nullptr;
}

OptionList Element::Options() {
  RequireTag("SELECT", "options");
  return OptionList(std::static_pointer_cast<Element>(shared_from_this()));
}

int Element::SelectedIndex() const {
  RequireTag("SELECT", "selectedIndex");
  return SelectedOption().second;
}

std::pair<const Element*, int> Element::SelectedOption() const {
  if (KeepsOptions()) return {nullptr, extras_->rare->selected_option};
  std::pair<const Element*, int> found{nullptr, -1};
  int index = 0;
  ForEachOption([&](const Element& option) {
    if (found.first == nullptr && option.Selected()) found = {&option, index};
    ++index;
  });
  return found;
}

void Element::SetSelectedIndex(int index) {
  RequireTag("SELECT", "selectedIndex");
  if (KeepsOptions()) {
    Rare& rare = *extras_->rare;
    const bool shown = index >= 0 && index < static_cast<int>(rare.kept_options->entries.size());
    rare.selected_option = shown ? index : -1;
  }
  const auto options = KeepsOptions() ? std::vector<std::shared_ptr<Element>>() : OptionsOf();
  for (std::size_t i = 0; i < options.size(); ++i) {
    if (static_cast<int>(i) == index) {
      options[i]->StoreAttribute("selected", "");
    } else {
      options[i]->EraseAttribute("selected");
    }
  }
  // The index is counted again only for a change someone records.
  if (ChangeWatcher(MutationKind::kProperty)) {
    NoteChange(MutationKind::kProperty, "selectedIndex", std::to_string(SelectedIndex()));
  }
}

std::string Element::Text() const {
  RequireTag("OPTION", "text");
  return CollapseWhitespace(InnerText());
}

void Element::SetText(std::string_view text) {
  RequireTag("OPTION", "text");
  RemoveAllChildren();
  if (!text.empty()) {
    if (const auto document = OwnerDocument()) AppendChild(document->CreateTextNode(text));
  }
  NoteChange(MutationKind::kContentSet, "text", text);
}

bool Element::Selected() const { return Is("OPTION") && FindAttribute("selected") != nullptr; }

void Element::SetSelected(bool selected) {
  RequireTag("OPTION", "selected");
  const std::shared_ptr<Element> select = EnclosingSelect();
  if (!select) {
    SetBoolProperty("selected", "selected", selected);
    return;
  }
  if (selected) {
    StoreAttribute("selected", "");
  } else {
    EraseAttribute("selected");
  }
  AfterSelectednessChanged();
  if (select->ChangeWatcher(MutationKind::kProperty)) {
    select->NoteChange(MutationKind::kProperty, "selectedIndex",
                       std::to_string(select->SelectedIndex()));
  }
}

void Element::AfterSelectednessChanged() {
  if (const std::shared_ptr<Element> select = EnclosingSelect()) {
    select->NormaliseSelection(Selected() ? this : nullptr);
  }
}

void Element::AfterChildListChanged(const std::shared_ptr<Node>& inserted) {
  std::shared_ptr<Element> select;
  if (Is("SELECT")) {
    select = std::static_pointer_cast<Element>(shared_from_this());
  } else if (Is("OPTGROUP")) {
    select = EnclosingSelect();
  }
  if (!select) return;
  const Element* preferred = nullptr;
  if (inserted && inserted->IsElement()) {
    const auto& element = static_cast<const Element&>(*inserted);
    if (element.Selected()) {
      preferred = &element;
    } else if (select->ShowsOneSelection(element)) {
      // The list was in order before; an unselected option changes nothing while another
      // is selected (lists are filled one option at a time, so this must stay cheap).
      return;
    }
  }
  select->NormaliseSelection(preferred);
}

bool Element::ShowsOneSelection(const Element& except) const {
  // A drop-down never holds two selected options (every change normalises it), so the first
  // one found is the one.
  if (!ShowsAsDropDown()) return false;
  MakeOptionNodes();
  for (const auto& child : children_) {
    if (!child->IsElement() || child.get() == &except) continue;
    const auto& element = static_cast<const Element&>(*child);
    if (element.Is("OPTION")) {
      if (element.Selected()) return true;
    } else if (element.Is("OPTGROUP")) {
      for (const auto& grouped : element.children_) {
        if (grouped.get() != &except && grouped->IsElement() && static_cast<const Element&>(*grouped).Selected()) return true;
      }
    }
  }
  return false;
}

void Element::NormaliseSelection(const Element* preferred) {
  // A list box shows no selection of its own; a drop-down always shows one option when it
  // has any, the last one marked selected (or the one just marked) winning.
  if (!ShowsAsDropDown()) return;
  std::vector<Element*> selected;
  Element* first_enabled = nullptr;
  ForEachOption([&](Element& option) {
    if (option.Selected()) selected.push_back(&option);
    if (first_enabled == nullptr && !option.Disabled()) first_enabled = &option;
  });
  if (selected.empty()) {
    if (first_enabled != nullptr) first_enabled->StoreAttribute("selected", "");
    return;
  }
  if (selected.size() == 1) return;
  const Element* keep = preferred != nullptr && preferred->Selected() ? preferred : selected.back();
  for (Element* option : selected) {
    if (option != keep) option->EraseAttribute("selected");
  }
}

OptionList::OptionList(std::shared_ptr<Element> select) : select_(std::move(select)) {}

int OptionList::Length() const {
  if (const auto kept = select_->KeptOptionsOf()) {
    return static_cast<int>(kept->data.entries.size());
  }
  return static_cast<int>(select_->OptionsOf().size());
}

std::shared_ptr<Element> OptionList::Item(int index) const {
  const auto options = select_->OptionsOf();
  if (index < 0 || index >= static_cast<int>(options.size())) {
    Fail(failure::kSubscriptOutOfRange, "options.item(" + std::to_string(index) + ") of " + select_->Describe() +
                                            ", which has " + std::to_string(options.size()) + " options");
  }
  return options[static_cast<std::size_t>(index)];
}

void OptionList::Add(const std::shared_ptr<Element>& option, int before) {
  if (!option || !(option->Is("OPTION") || option->Is("OPTGROUP"))) {
    Fail(failure::kInvalidArgument, "Only an OPTION can be added to the options of " + select_->Describe());
  }
  if (before < 0) {
    select_->AppendChild(option);
    return;
  }
  const auto options = select_->OptionsOf();
  if (before >= static_cast<int>(options.size())) {
    select_->AppendChild(option);
    return;
  }
  const auto& reference = options[static_cast<std::size_t>(before)];
  reference->ParentElement()->InsertBefore(option, reference);
}

void OptionList::Append(const std::vector<std::shared_ptr<Element>>& options) {
  for (const auto& option : options) {
    if (!option || !option->Is("OPTION")) {
      Fail(failure::kInvalidArgument, "Only an OPTION can be added to the options of " + select_->Describe());
    }
  }
  select_->AppendOptions(options);
}

void Element::AppendOptions(const std::vector<std::shared_ptr<Element>>& options) {
  for (const auto& option : options) {
    if (option->Contains(*this)) {
      Fail(failure::kInvalidArgument, "An element cannot be inserted into itself or its content: " + Describe());
    }
    option->Remove();
  }
  // What AppendChild finds out for each option holds for all of them.
  const std::shared_ptr<Document> document = OwnerDocument();
  const bool in_tree = document && document->InTree(*this);
  IdIndex* const ids = in_tree ? document->LiveIdIndex() : nullptr;
  const std::shared_ptr<Document> watcher = ChangeWatcher(MutationKind::kInsert);
  const Element* preferred = nullptr;
  children_.reserve(children_.size() + options.size());
  for (const auto& option : options) {
    const std::size_t index = children_.size();
    children_.push_back(option);
    option->parent_ = this;
    if (ids != nullptr) ids->AddTree(*option);
    if (watcher) {
      watcher->NoteChange({MutationKind::kInsert, option->node_id(), node_id(), static_cast<int>(index),
                           option->TagName(), SerializeNode(*option)});
    }
    if (option->Selected()) preferred = option.get();
  }
  // The selection one normalisation gives is the one a normalisation after each option gives:
  // the last option marked selected wins, else a shown selection stays, else the first enabled.
  if (preferred != nullptr || !ShowsOneSelection(*this)) NormaliseSelection(preferred);
}

void OptionList::Remove(int index) {
  const auto options = select_->OptionsOf();
  if (index < 0 || index >= static_cast<int>(options.size())) return;
  options[static_cast<std::size_t>(index)]->Remove();
}

std::vector<std::shared_ptr<Element>> OptionList::ToVector() const { return select_->OptionsOf(); }

}  // namespace cn::dom

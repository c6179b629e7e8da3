#include "web/value_guard.h"

#include <array>
#include <algorithm>
#include <string_view>

#include "dom/element.h"

namespace cn::web {
namespace {

using dom::MutationKind;

// Names of the changes that alter what a field holds.
constexpr std::array<std::string_view, 7> kValueNames{"value",     "checked",   "selectedIndex", "selected",
                                                      "innerText", "innerHTML", "text"};

bool IsValueName(std::string_view name) {
  return std::find(kValueNames.begin(), kValueNames.end(), name) != kValueNames.end();
}

// The field whose value a change inside `element` alters: the element itself when it is one,
// or the select or text area around it.
std::shared_ptr<dom::Element> FieldOf(const std::shared_ptr<dom::Element>& element) {
  if (!element) return nullptr;
  if (element->Is("INPUT") || element->Is("SELECT") || element->Is("TEXTAREA")) return element;
  if (auto select = element->Closest("SELECT")) return select;
  return element->Closest("TEXTAREA");
}

std::shared_ptr<dom::Element> ElementOf(const dom::Document& document, dom::NodeId id) {
  const auto node = document.FindNode(id);
  if (!node) return nullptr;
  if (node->IsElement()) return std::static_pointer_cast<dom::Element>(node);
  return node->ParentElement();
}

bool TakesTypedValue(const dom::Element& element) {
  if (element.Is("TEXTAREA") || element.Is("SELECT")) return true;
  if (!element.Is("INPUT")) return false;
  const std::string type = element.Type();
  return type != "checkbox" && type != "radio" && type != "button" && type != "submit" && type != "reset" &&
         type != "image" && type != "file" && type != "hidden";
}

}  // namespace

void ValueGuard::Note(const dom::Document& document, std::span<const dom::Mutation> mutations,
                      std::uint64_t answer) {
  for (const dom::Mutation& change : mutations) {
    switch (change.kind) {
      case MutationKind::kProperty:
      case MutationKind::kAttribute:
      case MutationKind::kAttributeRemoved:
      case MutationKind::kContentSet:
        if (!IsValueName(change.name)) break;
        if (const auto field = FieldOf(ElementOf(document, change.node))) Mark(field->node_id(), answer);
        break;
      case MutationKind::kInsert:
      case MutationKind::kRemove:
        if (const auto field = FieldOf(ElementOf(document, change.parent))) Mark(field->node_id(), answer);
        break;
      case MutationKind::kText:
        if (const auto field = FieldOf(ElementOf(document, change.node))) Mark(field->node_id(), answer);
        break;
      default:
        break;
    }
  }
}

ValueGuard::Changes::const_iterator ValueGuard::Find(dom::NodeId node) const {
  return std::lower_bound(changed_in_.begin(), changed_in_.end(), node,
                          [](const auto& change, dom::NodeId id) { return change.first < id; });
}

void ValueGuard::Mark(dom::NodeId node, std::uint64_t answer) {
  const auto it = changed_in_.begin() + (Find(node) - changed_in_.cbegin());
  if (it != changed_in_.end() && it->first == node) {
    it->second = answer;
  } else {
    changed_in_.insert(it, {node, answer});
  }
}

bool ValueGuard::MayApply(dom::NodeId node, std::uint64_t seen) const {
  const auto it = Find(node);
  return it == changed_in_.end() || it->first != node || it->second <= seen;
}

std::vector<dom::NodeId> ApplyBrowserValues(dom::Document& document, const ValueGuard& guard,
                                            std::span<const BrowserValue> values, std::uint64_t seen) {
  std::vector<dom::NodeId> applied;
  for (const BrowserValue& posted : values) {
    const auto node = document.FindNode(posted.node);
    if (!node || !node->IsElement() || !node->IsConnected()) continue;
    auto& element = static_cast<dom::Element&>(*node);
    if (!TakesTypedValue(element) || element.Disabled() || element.ReadOnly()) continue;
    if (!guard.MayApply(posted.node, seen)) continue;
    if (element.Value() != posted.value) element.SetValue(posted.value);
    applied.push_back(posted.node);
  }
  return applied;
}

}  // namespace cn::web

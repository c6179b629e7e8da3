#include "dom/id_index.h"

#include <algorithm>
#include <memory>

#include "dom/element.h"

namespace cn::dom {
namespace {

// The chain of elements from the top of the tree down to `element`.
std::vector<const Element*> PathFromTop(const Element& element) {
  std::vector<const Element*> path{&element};
  for (auto parent = element.ParentElement(); parent; parent = parent->ParentElement()) {
    path.push_back(parent.get());  // kept alive by its own parent or by the page
  }
  std::reverse(path.begin(), path.end());
  return path;
}

// Whether `a` comes before `b` in tree order (both in the same tree).
bool Precedes(const Element& a, const Element& b) {
  const auto path_a = PathFromTop(a);
  const auto path_b = PathFromTop(b);
  std::size_t depth = 0;
  while (depth < path_a.size() && depth < path_b.size() && path_a[depth] == path_b[depth]) ++depth;
  if (depth == path_a.size()) return true;  // a is b or an ancestor of b
  if (depth == path_b.size() || depth == 0) return false;
  for (const auto& child : path_a[depth - 1]->HeldChildNodes()) {
    if (child.get() == path_a[depth]) return true;
    if (child.get() == path_b[depth]) return false;
  }
  return false;
}

template <class Visit>
void ForEachElement(const Element& root, Visit&& visit) {
  visit(root);
  // Options kept as data have no ids.
  for (const auto& child : root.HeldChildNodes()) {
    if (child->IsElement()) ForEachElement(static_cast<const Element&>(*child), visit);
  }
}

}  // namespace

void IdIndex::AddTree(Element& root) {
  ForEachElement(root, [this](const Element& element) {
    if (const Attribute* id = element.FindAttribute("id")) Add(const_cast<Element&>(element), id->value);
  });
}

void IdIndex::RemoveTree(const Element& root) {
  ForEachElement(root, [this](const Element& element) {
    if (const Attribute* id = element.FindAttribute("id")) Remove(element, id->value);
  });
}

void IdIndex::UseCopyIds(std::shared_ptr<const CopyIds> ids, const std::vector<Node*>* nodes) {
  copy_ids_ = std::move(ids);
  nodes_ = nodes;
}

std::shared_ptr<const CopyIds> IdIndex::CopyIdsOf(const Element& root) {
  auto ids = std::make_shared<CopyIds>();
  ForEachElement(root, [&](const Element& element) {
    const Attribute* id = element.FindAttribute("id");
    if (id == nullptr) return;
    const auto [shared, added] = ids->elements.try_emplace(id->value);
    if (added) shared->second.number = ids->elements.size() - 1;
    shared->second.elements.push_back(element.node_id());
  });
  return ids;
}

IdIndex::Entry* IdIndex::Own(std::string_view id) {
  if (const auto it = entries_.find(id); it != entries_.end()) return &it->second;
  Entry entry;
  if (copy_ids_) {
    if (const auto shared = copy_ids_->elements.find(id); shared != copy_ids_->elements.end()) {
      for (const NodeId node : shared->second.elements) {
        entry.elements.push_back(static_cast<Element*>((*nodes_)[node - 1]));
      }
      if (owned_.size() <= shared->second.number) owned_.resize(copy_ids_->elements.size());
      owned_[shared->second.number] = true;
    }
  }
  return &entries_.emplace(std::string(id), std::move(entry)).first->second;
}

void IdIndex::Add(Element& element, std::string_view id) {
  Entry& entry = *Own(id);
  entry.elements.push_back(&element);
  if (entry.elements.size() > 1) entry.first_in_front = false;
}

void IdIndex::Remove(const Element& element, std::string_view id) {
  if (entries_.find(id) == entries_.end() && (!copy_ids_ || !copy_ids_->elements.contains(id))) return;
  Entry& entry = *Own(id);
  auto& elements = entry.elements;
  const auto found = std::find(elements.begin(), elements.end(), &element);
  if (found == elements.end()) return;
  if (found == elements.begin()) entry.first_in_front = elements.size() <= 2;
  elements.erase(found);
  // An id of the shared ids keeps its emptied entry, which stands for it from now on.
  if (elements.empty() && (!copy_ids_ || !copy_ids_->elements.contains(id))) entries_.erase(entries_.find(id));
}

Element* IdIndex::First(std::string_view id) {
  if (copy_ids_) {
    // Untouched since the copy: the shared first is this page's first.
    const auto shared = copy_ids_->elements.find(id);
    if (shared != copy_ids_->elements.end() && !Owned(shared->second)) {
      return static_cast<Element*>((*nodes_)[shared->second.elements.front() - 1]);
    }
  }
  const auto it = entries_.find(id);
  if (it == entries_.end()) return nullptr;
  Entry& entry = it->second;
  if (entry.elements.empty()) return nullptr;
  if (!entry.first_in_front) {
    const auto first = std::min_element(entry.elements.begin(), entry.elements.end(),
                                        [](const Element* a, const Element* b) { return Precedes(*a, *b); });
    std::iter_swap(entry.elements.begin(), first);
    entry.first_in_front = true;
  }
  return entry.elements.front();
}

}  // namespace cn::dom

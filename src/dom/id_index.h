#pragma once
// The elements of a page's tree by id, so that the page logic's many lookups by id do not each
// walk the page. Among elements sharing an id (row controls do) the first in tree order wins,
// as a browser answers getElementById.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cn::dom {

class Element;
class Node;
using NodeId = std::int64_t;

// The ids of a page as every copy of it starts: each id's elements by node id, in tree order,
// and the id's number (0, 1, ... in the order met). Built once from a copy and shared by the
// later ones, which number their nodes alike.
struct CopyIds {
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  struct Shared {
    std::vector<NodeId> elements;
    std::size_t number = 0;
  };
  std::unordered_map<std::string, Shared, Hash, std::equal_to<>> elements;
};

class IdIndex {
 public:
  // A copy's index: the shared ids of its page, its own entries only for the ids its changes
  // touch. `nodes` is the copy's node table (node id n at [n - 1]).
  void UseCopyIds(std::shared_ptr<const CopyIds> ids, const std::vector<Node*>* nodes);
  static std::shared_ptr<const CopyIds> CopyIdsOf(const Element& root);

  // Every element carrying an "id" attribute in the tree under `root` (root included).
  void AddTree(Element& root);
  void RemoveTree(const Element& root);
  void Add(Element& element, std::string_view id);
  void Remove(const Element& element, std::string_view id);

  // The first element with that id in tree order; null when none.
  Element* First(std::string_view id);

 private:
  using Hash = CopyIds::Hash;
  struct Entry {
    std::vector<Element*> elements;
    bool first_in_front = true;  // elements.front() is the first in tree order
  };

  // The entry of `id` to change: the shared one becomes this index's own first.
  Entry* Own(std::string_view id);

  // Whether a shared id has an entry of this index's own, by the id's number: a lookup of an
  // id the copy never touched (most of them) then asks one table, not two.
  bool Owned(const CopyIds::Shared& shared) const {
    return shared.number < owned_.size() && owned_[shared.number];
  }

  std::unordered_map<std::string, Entry, Hash, std::equal_to<>> entries_;
  std::shared_ptr<const CopyIds> copy_ids_;
  std::vector<bool> owned_;
  const std::vector<Node*>* nodes_ = nullptr;
};

}  // namespace cn::dom

#pragma once
// The elements of a page's tree by id, so that the page logic's many lookups by id do not each
// walk the page. Among elements sharing an id (row controls do) the first in tree order wins,
// as a browser answers getElementById.

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cn::dom {

class Element;

class IdIndex {
 public:
  // Every element carrying an "id" attribute in the tree under `root` (root included).
  void AddTree(Element& root);
  void RemoveTree(const Element& root);
  void Add(Element& element, std::string_view id);
  void Remove(const Element& element, std::string_view id);
  void Clear() { entries_.clear(); }

  // The first element with that id in tree order; null when none.
  Element* First(std::string_view id);

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  struct Entry {
    std::vector<Element*> elements;
    bool first_in_front = true;  // elements.front() is the first in tree order
  };

  std::unordered_map<std::string, Entry, Hash, std::equal_to<>> entries_;
};

}  // namespace cn::dom

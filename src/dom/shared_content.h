#pragma once
// What the pages' logic builds alike on every copy of a page, built once per process and
// shared by the copies: markup written into an element's content again and again (the same
// control in every row of a table), the options of the lookup lists, and the attribute lists
// every load changes the same way (the lock-down of a tab's inputs). Copying built nodes is
// several times cheaper than parsing or building them, and an attribute list shared by every
// session is held once. Shared by the sessions through the page templates; safe on several
// threads.

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dom/element.h"
#include "dom/kept_options.h"

namespace cn::dom {

class SharedContent {
 public:
  // What ParseFragment gives: the nodes `html` makes as the content of a `context_tag`
  // element, new and detached nodes of `document`.
  std::vector<std::shared_ptr<Node>> Parse(Document& document, std::string_view html,
                                           std::string_view context_tag);
  // A new detached OPTION of `document` with that value and text.
  std::shared_ptr<Element> Option(Document& document, std::string_view value, std::string_view text);
  // The data of a list of options (dom/kept_options.h), the same for every page that fills
  // the same list.
  std::shared_ptr<const OptionData> Options(std::vector<OptionText> options);
  // A lookup list as the page logic keeps it, the same for every session that reads the same.
  std::shared_ptr<const std::vector<std::string>> List(std::vector<std::string> entries);
  // A lookup reply kept whole, the same for every session that reads the same.
  std::shared_ptr<const std::string> Text(std::string text);
  // The list `before` becomes when the attribute is set to `value` (or, `erase`, removed);
  // the same list for every element that makes the same change to the same shared list.
  AttributeList Changed(const AttributeList& before, std::string_view lower_name,
                        std::string_view value, bool erase);
  // The style `before` (null: none) becomes when `css_name` is set to `value` (null when
  // none is left); the same style for every element that makes the same change to the same
  // shared style: every session locks its pages' inputs down alike.
  std::shared_ptr<const KeptStyle> StyleChanged(const std::shared_ptr<const KeptStyle>& before,
                                                std::string_view css_name, std::string_view value);

 private:
  // Content built from a person's data would only fill the cache: long content is built every
  // time, and once the cache is full new content is too.
  static constexpr std::size_t kMaxText = 512;
  static constexpr std::size_t kMaxEntries = 4096;
  // Lists of options are whole lookups: a few dozen kinds, some of them long.
  static constexpr std::size_t kMaxLists = 256;
  static constexpr std::size_t kMaxListText = 256 * 1024;

  // The built nodes of `key`, building them with `build` (in the cache's own page) when new;
  // null when the cache is full.
  template <typename Build>
  std::shared_ptr<const std::vector<std::shared_ptr<Node>>> Built(std::string key, Build&& build);

  // A change as it is looked up: the list or style changed, and the attribute or style
  // property set to a value (or, `erase`, removed). Stored as a Change; looked up without
  // building one.
  struct ChangeView {
    const void* before;
    bool erase;
    std::string_view name;
    std::string_view value;
  };
  struct Change {
    const void* before;
    bool erase;
    std::string name;
    std::string value;
    operator ChangeView() const { return {before, erase, name, value}; }
  };
  struct ChangeHash {
    using is_transparent = void;
    std::size_t operator()(const ChangeView& c) const {
      const std::hash<std::string_view> text;
      return std::hash<const void*>()(c.before) ^ (text(c.name) * 31 + text(c.value) + c.erase);
    }
    std::size_t operator()(const Change& c) const { return (*this)(ChangeView(c)); }
  };
  struct ChangeEqual {
    using is_transparent = void;
    static bool Same(const ChangeView& a, const ChangeView& b) {
      return a.before == b.before && a.erase == b.erase && a.name == b.name && a.value == b.value;
    }
    bool operator()(const Change& a, const Change& b) const { return Same(a, b); }
    bool operator()(const ChangeView& a, const Change& b) const { return Same(a, b); }
    bool operator()(const Change& a, const ChangeView& b) const { return Same(a, b); }
  };
  struct Transition {
    AttributeList before;  // keeps the key's list alive
    AttributeList after;
  };

  std::mutex mutex_;
  std::shared_ptr<Document> owner_;  // the built nodes' page, never shown or changed
  std::unordered_map<std::string, std::shared_ptr<const std::vector<std::shared_ptr<Node>>>> built_;
  // The lists of options and of lookup entries, keyed by their entries.
  template <typename T>
  std::shared_ptr<const T> Interned(
      std::unordered_map<std::string, std::shared_ptr<const T>>& cache, std::string key, T value);
  std::unordered_map<std::string, std::shared_ptr<const OptionData>> option_lists_;
  std::unordered_map<std::string, std::shared_ptr<const std::vector<std::string>>> text_lists_;
  std::unordered_map<std::string, std::shared_ptr<const std::string>> texts_;
  std::unordered_map<Change, Transition, ChangeHash, ChangeEqual> changes_;
  struct StyleTransition {
    std::shared_ptr<const KeptStyle> before;  // keeps the key's style alive
    std::shared_ptr<const KeptStyle> after;
  };
  std::unordered_map<Change, StyleTransition, ChangeHash, ChangeEqual> style_changes_;
};

// An OPTION as a list shows it: its text, then its value.
std::shared_ptr<Element> NewOption(Document& document, std::string_view value, std::string_view text);
// Sets (or, `erase`, removes) one attribute of a list; true when the list changed.
bool ChangeAttribute(std::vector<Attribute>& attributes, std::string_view lower_name,
                     std::string_view value, bool erase);
// What SharedContent::StyleChanged gives, made anew.
std::shared_ptr<const KeptStyle> StyleAfter(const std::shared_ptr<const KeptStyle>& before,
                                            std::string_view css_name, std::string_view value);

}  // namespace cn::dom

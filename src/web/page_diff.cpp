#include "web/page_diff.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "dom/element.h"
#include "web/render.h"

namespace cn::web {
namespace {

using nlohmann::json;

struct Pair {
  std::string_view name;
  std::string_view value;
};

std::vector<Pair> AttributesOf(const dom::Element& element) {
  std::vector<Pair> pairs;
  element.ForEachAttribute([&](const dom::Attribute& a) { pairs.push_back({a.name, a.value}); });
  return pairs;
}

void DiffAttributes(const dom::Element& kept, const dom::Element& now, json& ops) {
  const std::vector<Pair> before = AttributesOf(kept);
  const std::vector<Pair> after = AttributesOf(now);
  const auto find = [](const std::vector<Pair>& pairs, std::string_view name) {
    return std::find_if(pairs.begin(), pairs.end(), [&](const Pair& p) { return p.name == name; });
  };
  for (const Pair& pair : after) {
    const auto was = find(before, pair.name);
    if (was == before.end() || was->value != pair.value) {
      ops.push_back(
          {{"op", "attr"}, {"id", now.node_id()}, {"name", pair.name}, {"value", pair.value}});
    }
  }
  for (const Pair& pair : before) {
    if (find(after, pair.name) == after.end()) {
      ops.push_back({{"op", "attr-removed"}, {"id", now.node_id()}, {"name", pair.name}});
    }
  }
}

// Whether the two nodes are the same node of the page: same kind, id, tag or text.
bool SameNode(const dom::Node& kept, const dom::Node& now) {
  if (kept.node_id() != now.node_id() || kept.type() != now.type()) return false;
  if (kept.IsText()) {
    return static_cast<const dom::Text&>(kept).data() == static_cast<const dom::Text&>(now).data();
  }
  return static_cast<const dom::Element&>(kept).TagName() ==
         static_cast<const dom::Element&>(now).TagName();
}

// The options a select keeps as data: the same list and the same ids, perhaps another choice.
enum class Options { kSame, kChoiceOnly, kOther };

Options CompareKeptOptions(const dom::Element& kept, const dom::Element& now) {
  const auto before = kept.KeptOptionsOf();
  const auto after = now.KeptOptionsOf();
  if (!before && !after) return Options::kSame;
  if (!before || !after || before->first_id != after->first_id ||
      (&before->data != &after->data && before->data.entries != after->data.entries)) {
    return Options::kOther;
  }
  return before->selected == after->selected ? Options::kSame : Options::kChoiceOnly;
}

void DiffElement(const dom::Element& kept, const dom::Element& now, json& ops) {
  DiffAttributes(kept, now, ops);
  const auto& before = kept.HeldChildNodes();
  const auto& after = now.HeldChildNodes();
  const Options options = CompareKeptOptions(kept, now);
  const bool same_children =
      options != Options::kOther && before.size() == after.size() &&
      std::equal(before.begin(), before.end(), after.begin(),
                 [](const auto& b, const auto& a) { return SameNode(*b, *a); });
  if (!same_children) {
    ops.push_back(
        {{"op", "content"}, {"id", now.node_id()}, {"html", RenderChildren(now)}, {"wiring", ""}});
    return;
  }
  if (options == Options::kChoiceOnly) {
    ops.push_back({{"op", "prop"},
                   {"id", now.node_id()},
                   {"name", "selectedIndex"},
                   {"value", std::to_string(now.KeptOptionsOf()->selected)}});
  }
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (after[i]->IsElement()) {
      DiffElement(static_cast<const dom::Element&>(*before[i]),
                  static_cast<const dom::Element&>(*after[i]), ops);
    }
  }
}

}  // namespace

json DiffPages(const dom::Document& kept, const dom::Document& now) {
  const auto before = kept.Body();
  const auto after = now.Body();
  if (!before || !after || !SameNode(*before, *after)) return nullptr;
  json ops = json::array();
  DiffElement(*before, *after, ops);
  return ops;
}

}  // namespace cn::web

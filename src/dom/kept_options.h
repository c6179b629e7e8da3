#pragma once
// A select's options kept as data. The lists the pages fill from the lookups are the same in
// every session and are read through the select (its value, its selected index), hardly ever
// option by option: they are held once for all sessions and made into nodes only when
// something asks for the option nodes (Element::ChildNodes and whatever walks them).

#include <string>
#include <vector>

#include "dom/node.h"

namespace cn::dom {

struct OptionText {
  std::string value;
  std::string text;
  bool operator==(const OptionText&) const = default;
};

struct OptionData {
  explicit OptionData(std::vector<OptionText> option_texts);

  std::vector<OptionText> entries;
  // The node ids the options take as nodes: one each, and one more for a text.
  NodeId node_count = 0;
};

// What a select keeps: its options' data, the id of the first option's node, and the option
// marked selected (-1 when none).
struct KeptOptions {
  const OptionData& data;
  NodeId first_id;
  int selected;
};

}  // namespace cn::dom

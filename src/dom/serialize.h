#pragma once
// Writing nodes back as HTML text: lower-case tag names, attribute values always quoted,
// void elements (input, br, img, ...) without end tags, text escaped.

#include <string>
#include <string_view>

#include "dom/node.h"

namespace cn::dom {

struct SerializeOptions {
  // When not empty, every element also carries its node id in an attribute of this name
  // (the web layer matches rendered elements to nodes by it).
  std::string node_id_attribute;
  // Around attribute values: '"' as browsers write them, or '\'' (markup sent inside JSON
  // text then needs no escaping of its many quotes).
  char attribute_quote = '"';
};

std::string SerializeNode(const Node& node, const SerializeOptions& options = {});
std::string SerializeChildren(const Element& element, const SerializeOptions& options = {});

// Void elements have no content and no end tag.
bool IsVoidElement(std::string_view tag);

}  // namespace cn::dom

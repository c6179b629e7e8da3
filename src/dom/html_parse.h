#pragma once
// Reading HTML text into nodes of a document, as a browser's parser does (gumbo).

#include <memory>
#include <string_view>
#include <vector>

#include "dom/node.h"

namespace cn::dom {

// The HTML element of a whole page, built from `html` with nodes of `document`.
std::shared_ptr<Element> ParseDocumentTree(Document& document, std::string_view html);

// The nodes `html` gives when written as the content of a `context_tag` element (TD, SELECT,
// DIV, ...); detached, in order.
std::vector<std::shared_ptr<Node>> ParseFragment(Document& document, std::string_view html,
                                                 std::string_view context_tag);

}  // namespace cn::dom

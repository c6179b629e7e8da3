#pragma once
// Reading a rendered page as the browser gets it.

#include <string>

#include <nlohmann/json.hpp>

#include "dom/node.h"

namespace cn::web::testing {

// The node id of the element with that id attribute in a rendered page; a test failure (and
// an exception) when the page has no such element.
dom::NodeId NodeOf(const nlohmann::json& page, const std::string& id);

}  // namespace cn::web::testing

#pragma once
// Rendering documents for the browser: markup with node ids, and the wiring that tells the
// browser which elements report which events and which input filters a text box has.
//
// Wiring is a text of entries, each "node id:events:filters;", the events and the filters
// comma-separated, either list possibly empty: "101:change:;112:blur,keypress:EntrySpace.htc;".
// An element reports an event when the page binds a handler to it; a click also when it sits
// in a row of a row table (the data-entry behaviour), a change and a blur when it carries that
// behaviour itself. Elements without either have no entry. A page's wiring is sent with each
// rendering of it, and one text is cheaper to build, send and read than an object per element.
// Event and filter names are this program's own fixed names and never hold ':', ',' or ';'.
//
// Event handler attributes in the markup (the row tables' "onClicked" scripts) are never run
// in the browser: the renderer there drops every "on..." attribute before it inserts markup.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "dom/document.h"
#include "dom/element.h"
#include "shell/host_shell.h"

namespace cn::web {

// The attribute carrying each rendered element's node id.
inline constexpr std::string_view kNodeIdAttribute = "data-nid";

// Markup of the element and its subtree, every element with its node id.
std::string RenderMarkup(const dom::Node& node);
// Markup of the element's children.
std::string RenderChildren(const dom::Element& element);

// The wiring of the element and every element below it, appended to `out`.
void AddWiring(const dom::Element& root, std::string& out);
// The wiring of the element alone: its entry, or "" when it reports nothing.
std::string ElementWiring(const dom::Element& element);

// One element's entry, as the browser reads it.
struct WiringEntry {
  std::vector<std::string> events;
  std::vector<std::string> filters;
  bool operator==(const WiringEntry&) const = default;
};
// A wiring text read back by node id, for the programs that stand in for the browser;
// std::invalid_argument for a text that is not wiring.
std::map<dom::NodeId, WiringEntry> ReadWiring(std::string_view text);

// A whole page: {"key": document key, "body": node id of the body, "bodyClass": class of the
// body, "html": the body's children, "wiring": the wiring text}.
nlohmann::json RenderDocument(const dom::Document& document, int key);

// The behaviours' input filters, for the browser to apply as the administrator types:
// {"EntryDate.htc": {"digits", "letters", "printable": bool, "also", "once", "onlyFirst",
// "neverFirst": text, "upper": bool}, ...}. The browser holds no table of its own.
nlohmann::json RenderInputFilters();

// What the shell shows: {"title", "tabs": [{"id","caption","page"}] without hidden tabs,
// "buttons": [{"id","caption","enabled","shown"}], "shownTab"}.
nlohmann::json RenderShell(const shell::HostShell& shell);

}  // namespace cn::web

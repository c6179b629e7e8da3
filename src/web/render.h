#pragma once
// Rendering documents for the browser: markup with node ids, and the wiring that tells the
// browser which elements report which events and which input filters a text box has.
//
// Wiring of one element: {"events": ["click", "blur", ...], "filters": ["EntryDate.htc", ...]}
// keyed by node id. An element reports an event when the page binds a handler to it; a click
// also when it sits in a row of a row table (the data-entry behaviour), a change and a blur
// when it carries that behaviour itself. Elements without either are left out.
//
// Event handler attributes in the markup (the row tables' "onClicked" scripts) are never run
// in the browser: the renderer there drops every "on..." attribute before it inserts markup.

#include <string>
#include <string_view>

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

// The wiring of the element and every element below it, added to `out` (an object).
void AddWiring(const dom::Element& root, nlohmann::json& out);
// The wiring of the element alone: its entry, or null when it reports nothing.
nlohmann::json ElementWiring(const dom::Element& element);

// A whole page: {"key": document key, "body": node id of the body, "bodyClass": class of the
// body, "html": the body's children, "wiring": {...}}.
nlohmann::json RenderDocument(const dom::Document& document, int key);

// The behaviours' input filters, for the browser to apply as the administrator types:
// {"EntryDate.htc": {"digits", "letters", "printable": bool, "also", "once", "onlyFirst",
// "neverFirst": text, "upper": bool}, ...}. The browser holds no table of its own.
nlohmann::json RenderInputFilters();

// What the shell shows: {"title", "tabs": [{"id","caption"}] without hidden tabs,
// "buttons": [{"id","caption","enabled","shown"}], "shownTab"}.
nlohmann::json RenderShell(const shell::HostShell& shell);

}  // namespace cn::web

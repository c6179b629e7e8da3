#pragma once
// What the browser needs to show a tab page again from the copy it kept when the page was
// left: the ops (web/patch.h) that turn the kept document into the new one.
//
// Both are loads of one page file, whose nodes are numbered in the order they are made, so a
// load that builds what the last one built gives its nodes the same ids: the browser keeps its
// elements and takes only the attributes that differ. Where the children of an element differ
// (another number of rows, another list), its children are sent whole.

#include <nlohmann/json.hpp>

#include "dom/document.h"

namespace cn::web {

// The ops that bring `kept` (as the browser holds it) to `now`; null when the two bodies are
// not the same element, so that the page goes whole.
nlohmann::json DiffPages(const dom::Document& kept, const dom::Document& now);

}  // namespace cn::web

#pragma once
// Where the keyboard starts on a tab page just opened: its first field the administrator can
// change, or its first field when every one is locked, so that typing starts at once.

#include <memory>

#include "dom/document.h"
#include "dom/element.h"

namespace cn::web {

// The first text box, list, check box or option shown on the page (none inside a hidden row or
// block) that is neither disabled nor read-only; else the first shown; null when there is none.
std::shared_ptr<dom::Element> FirstField(const dom::Document& page);

}  // namespace cn::web

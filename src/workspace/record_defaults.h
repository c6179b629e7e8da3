#pragma once
// The empty cover note the screen starts from, and after a reset or before a read.

#include "dom/document.h"
#include "dom/window.h"
#include "workspace/workspace.h"

namespace cn {

// Clears the flags of the last read and of the premium tabs, resets the
// extended-cover table, gives Current its defaults, sets the screen title, copies
// Current into Previous and forgets the client. `cover_page` is the Cover tab's
// document when it is shown (its transaction type is kept while no fill runs), or
// null.
void SetRecordDefaults(Workspace& workspace, dom::Document* cover_page, dom::Window& window);

}  // namespace cn

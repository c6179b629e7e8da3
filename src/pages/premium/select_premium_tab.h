#pragma once
// Which of the three premium tabs the shell offers: exactly one is visible at a time.

#include <string_view>

#include "dom/window.h"
#include "workspace/workspace.h"

namespace cn {

// Makes `tab_id` the premium tab in use. The tab page being shown is left alone; for
// "COVPrem", "COVNPrem" or "COVOPrem" the other two buttons are hidden and this one shown
// through `window`; any other id only becomes CurrentPremiumTabId.
void SelectPremiumTab(Workspace& workspace, dom::Window& window, std::string_view tab_id);

}  // namespace cn

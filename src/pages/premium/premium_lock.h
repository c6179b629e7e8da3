#pragma once
// A premium tab of a cover note shown read-only: its figures are shown, never changed. The
// amounts and rates are locked as the Cover, Vehicle and NCD tabs lock their boxes, the
// lists and check boxes are disabled and the extended-cover links are gone; the stored
// covers are read-only rows already.

#include "dom/document.h"
#include "dom/window.h"
#include "workspace/workspace.h"

namespace cn {

// Calculate is offered only for a cover note that may be amended.
bool CalculateOffered(const Workspace& workspace);

// When the cover note shown may not be amended: locks the premium tab `page` and says why in
// the status bar of `window`. Nothing otherwise.
void LockPremiumTabIfReadOnly(const Workspace& workspace, dom::Window& window, dom::Document& page);

}  // namespace cn

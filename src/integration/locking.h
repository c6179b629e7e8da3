#pragma once
// Locking an input against editing: read-only, the colour of a button's face and
// out of the tab order; unlocking undoes it. Properties are set in the order
// "ReadOnly", background colour, "TabIndex", "disabled".

#include "dom/element.h"

namespace cn {

void LockInput(dom::Element& input);             // read-only, grey, tab -1, disabled
void UnlockInput(dom::Element& input);           // editable, no colour, tab 1, enabled
void LockInputKeepEnabled(dom::Element& input);  // read-only, grey, tab -1
void LockInputKeepTab(dom::Element& input);      // read-only, grey, disabled
void UnlockInputKeepTab(dom::Element& input);    // editable, no colour, enabled

}  // namespace cn

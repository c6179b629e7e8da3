#pragma once
// The Cover tab locked: on this screen the cover and the client are shown, never edited;
// only the cover note number and its read button stay usable.

#include "dom/document.h"

namespace cn {

void LockCoverTabPage(dom::Document& page);

}  // namespace cn

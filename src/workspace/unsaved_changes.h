#pragma once
// Whether the cover note read has changes of the administrator's: the record differs from the
// one the read filled, or a box of the tab page shown was changed and not yet taken into the
// record. A note that may not be amended has none.

#include <string>
#include <string_view>

#include "dom/document.h"
#include "dom/window.h"
#include "workspace/workspace.h"

namespace cn {

bool HasUnsavedChanges(Workspace& ws, dom::Document* shown_tab_page);
// Whether keys typed in `box` made a change of that kind, looking at that box alone.
bool TypedUnsavedChange(Workspace& ws, const dom::Element& box);

// Before reading `next` (another cover note, or the one chosen in the Enquiry) over a note with
// unsaved changes: asks whether to discard them; true when nothing is pending or he agrees.
bool MayDiscardChanges(Workspace& ws, dom::Window& window, dom::Document* shown_tab_page,
                       std::string_view next, std::string_view title);

// Who saved the cover note last and when, as the history lists it ("ADMIN at 07-Dec-2026
// 10:42:00 AM"); "" when it was never saved or cannot be read.
std::string LastSavedBy(Workspace& ws, std::string_view cover_note_no);

// The version of the cover note read, from its key ("<id>.<version>"); "" when none is read.
std::string ReadVersion(const Workspace& ws);

}  // namespace cn

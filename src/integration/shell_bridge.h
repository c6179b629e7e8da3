#pragma once
// The only way the page logic talks to the containing shell: one script statement
// per call, run in the calling page's window. Arguments go in as they are (the
// system passes only ids, page files, fixed captions and titles and cookie names,
// none with an apostrophe or backslash). The statement's value is not used; a
// script error is a RuntimeFailure of the caller.

#include <string>
#include <string_view>

#include "dom/window.h"

namespace cn {

void ShowTitle(dom::Window& window, std::string_view title);
void InsertCmdButton(dom::Window& window, std::string_view id, std::string_view caption,
                     std::string_view third);
void EnableCmdButton(dom::Window& window, std::string_view id, bool flag);
// Only ever shows a button; there is no hiding variant.
void ShowCmdButton(dom::Window& window, std::string_view id);
void InsertTabButton(dom::Window& window, std::string_view tab_id, std::string_view caption,
                     std::string_view page_file);
void TabFocus(dom::Window& window, std::string_view tab_id);
void ShowTabButton(dom::Window& window, std::string_view tab_id, bool flag);
void DelCookie(dom::Window& window, std::string_view name);
// The message the page shows next offers to open this endorsement ("CN24000101/E2").
void OfferEndorsement(dom::Window& window, std::string_view number);

// The title alone, or title + " : " + subtitle.
void SetTitle(dom::Window& window, std::string_view title, std::string_view subtitle);

// The value of the first cookie named exactly `name` in the window's document
// (only up to a further "="), "" when there is none; the shell is asked to delete
// the cookie in either case.
std::string GetCookie(dom::Window& window, std::string_view name);

}  // namespace cn

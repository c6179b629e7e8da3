#pragma once
// A workspace on fake components, on 15 June 2026, with the system codes the named-driver
// rules read: the insured's name, the catch-all driver, and the minimum driving ages.

#include <string_view>

#include "workspace_world.h"

namespace cn::testing {

// The year of the screen's "today" in these tests.
inline constexpr int kTodayYear = 2026;

struct DriverWorld : WorkspaceWorld {
  // `page_html` is the page the table lives on.
  explicit DriverWorld(std::string_view page_html)
      : WorkspaceWorld(dom::Document::Parse(page_html), At(kTodayYear, 6, 15, 10)) {
    workspace.record.Current.EffectiveDate = "15-Jun-2026";
    SetSystemCodes({{"1030", "INSURED"}, {"1009", "99"}, {"1062", "ANY DRIVER"}, {"1098", "17"}});
  }
};

// The named-driver table's corner of the Vehicle tab.
inline constexpr std::string_view kDriverPage =
    "<html><body>"
    "<div id=divNPersonHeader></div><div id=divNPerson></div>"
    "<a id=lnkDeleteNPerson>Remove</a>"
    "<span id=kvExecuteCommand style=\"display:none\"></span>"
    "</body></html>";

}  // namespace cn::testing

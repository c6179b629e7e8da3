#pragma once
// A workspace on fake components, its page holding the Cover tab elements the record-level
// rules touch, on 5 March 2014 at noon.

#include <string_view>

#include "workspace_world.h"

namespace cn::workspace_testing {

inline constexpr std::string_view kCoverPage =
    "<html><body>"
    "<input id=txtCoverNoteNumber value=''>"
    "<select id=cboTransactionType>"
    "<option value=N>New</option><option value=R>Renewal</option>"
    "<option value=T>Transfer</option></select>"
    "<span id=lblLicense></span><input id=txtLicenseDate>"
    "</body></html>";

struct CoverCornerWorld : testing::WorkspaceWorld {
  CoverCornerWorld()
      : WorkspaceWorld(dom::Document::Parse(kCoverPage), testing::At(2014, 3, 5, 12)) {}
};

}  // namespace cn::workspace_testing

// The Cover tab: transfer between the record and the page.
//
// Not written yet: it arrives with the Cover tab. Until then the record and the page
// are left as they are.

#include "workspace/tab_transfer.h"

namespace cn {

void CoverTabRecordToPage(Workspace& /*workspace*/, dom::Document& /*page*/,
                          std::string_view /*tab_id*/) {}

void CoverTabPageToRecord(Workspace& /*workspace*/, dom::Document& /*page*/,
                          std::string_view /*tab_id*/) {}

}  // namespace cn

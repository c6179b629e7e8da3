// The three premium tabs: transfer between the record and the page.
//
// Not written yet: it arrives with the three premium tabs. Until then the record and the page
// are left as they are.

#include "workspace/tab_transfer.h"

namespace cn {

void PremiumTabRecordToPage(Workspace& /*workspace*/, dom::Document& /*page*/,
                            std::string_view /*tab_id*/) {}

void PremiumTabPageToRecord(Workspace& /*workspace*/, dom::Document& /*page*/,
                            std::string_view /*tab_id*/) {}

}  // namespace cn

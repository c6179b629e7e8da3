// The NCD tab: transfer between the record and the page.
//
// Not written yet: it arrives with the NCD tab. Until then the record and the page
// are left as they are.

#include "workspace/tab_transfer.h"

namespace cn {

void NCDTabRecordToPage(Workspace& /*workspace*/, dom::Document& /*page*/,
                        std::string_view /*tab_id*/) {}

void NCDTabPageToRecord(Workspace& /*workspace*/, dom::Document& /*page*/,
                        std::string_view /*tab_id*/) {}

}  // namespace cn

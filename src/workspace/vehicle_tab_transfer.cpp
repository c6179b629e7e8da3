// The vehicle tab: transfer between the record and the page.
//
// Not written yet: it arrives with the vehicle tab. Until then the record and the page
// are left as they are.

#include "workspace/tab_transfer.h"

namespace cn {

void VehicleTabRecordToPage(Workspace& /*workspace*/, dom::Document& /*page*/,
                            std::string_view /*tab_id*/) {}

void VehicleTabPageToRecord(Workspace& /*workspace*/, dom::Document& /*page*/,
                            std::string_view /*tab_id*/) {}

}  // namespace cn

#pragma once
// Moving values between the record and the tab pages. The workspace copies the page
// being left into the record; a tab page that loads shows the record.

#include <string_view>

#include "dom/document.h"
#include "workspace/workspace.h"

namespace cn {

// Record to page, for the tab page `tab_id` names; any other id does nothing.
void ShowRecordOnPage(Workspace& workspace, std::string_view tab_id, dom::Document& page);

// Page to record, for the tab page `tab_id` names; any other id does nothing.
void SavePageToRecord(Workspace& workspace, std::string_view tab_id, dom::Document& page);

// One tab's pair of transfers. The three premium tabs share theirs and tell
// themselves apart by the tab id.
using TabTransferFunction = void (*)(Workspace&, dom::Document&, std::string_view tab_id);
struct TabTransfer {
  std::string_view tab_id;
  TabTransferFunction record_to_page;
  TabTransferFunction page_to_record;
};

// The transfer of a tab id; null for an id that names no tab page.
const TabTransfer* FindTabTransfer(std::string_view tab_id);

// Each tab's transfers, in the file of that tab's transfer
// (cover_tab_transfer.cpp, vehicle_tab_transfer.cpp, ncd_tab_transfer.cpp,
// premium_tab_transfer.cpp).
void CoverTabRecordToPage(Workspace& workspace, dom::Document& page, std::string_view tab_id);
void CoverTabPageToRecord(Workspace& workspace, dom::Document& page, std::string_view tab_id);
void VehicleTabRecordToPage(Workspace& workspace, dom::Document& page, std::string_view tab_id);
void VehicleTabPageToRecord(Workspace& workspace, dom::Document& page, std::string_view tab_id);
void NCDTabRecordToPage(Workspace& workspace, dom::Document& page, std::string_view tab_id);
void NCDTabPageToRecord(Workspace& workspace, dom::Document& page, std::string_view tab_id);
void PremiumTabRecordToPage(Workspace& workspace, dom::Document& page, std::string_view tab_id);
void PremiumTabPageToRecord(Workspace& workspace, dom::Document& page, std::string_view tab_id);

}  // namespace cn

#include "workspace/tab_transfer.h"

#include <algorithm>
#include <array>

#include "workspace/kept_while_showing.h"

namespace cn {
namespace {

constexpr std::array kTabTransfers = {
    TabTransfer{kCoverTabId, CoverTabRecordToPage, CoverTabPageToRecord},
    TabTransfer{kVehicleTabId, VehicleTabRecordToPage, VehicleTabPageToRecord},
    TabTransfer{kNCDTabId, NCDTabRecordToPage, NCDTabPageToRecord},
    TabTransfer{kPremiumTabId, PremiumTabRecordToPage, PremiumTabPageToRecord},
    TabTransfer{kNewTariffPremiumTabId, PremiumTabRecordToPage, PremiumTabPageToRecord},
    TabTransfer{kOtherPremiumTabId, PremiumTabRecordToPage, PremiumTabPageToRecord},
};

}  // namespace

const TabTransfer* FindTabTransfer(std::string_view tab_id) {
  const auto found = std::ranges::find(kTabTransfers, tab_id, &TabTransfer::tab_id);
  return found == kTabTransfers.end() ? nullptr : &*found;
}

void ShowRecordOnPage(Workspace& workspace, std::string_view tab_id, dom::Document& page) {
  if (const TabTransfer* transfer = FindTabTransfer(tab_id)) {
    {
      const PremiumMarksKept kept(workspace.premium);
      transfer->record_to_page(workspace, page, tab_id);
    }
    workspace.transfer.Shown.Showing(page);
  }
}

void SavePageToRecord(Workspace& workspace, std::string_view tab_id, dom::Document& page) {
  if (const TabTransfer* transfer = FindTabTransfer(tab_id)) {
    transfer->page_to_record(workspace, page, tab_id);
    workspace.transfer.Shown.Taken(page);
  }
}

}  // namespace cn

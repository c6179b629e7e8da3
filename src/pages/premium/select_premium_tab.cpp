#include "pages/premium/select_premium_tab.h"

#include <array>

#include "integration/shell_bridge.h"

namespace cn {
namespace {

constexpr std::array<std::string_view, 3> kPremiumTabs = {kPremiumTabId, kNewTariffPremiumTabId,
                                                          kOtherPremiumTabId};

bool IsPremiumTab(std::string_view tab_id) {
  for (const std::string_view premium_tab : kPremiumTabs) {
    if (premium_tab == tab_id) return true;
  }
  return false;
}

}  // namespace

void SelectPremiumTab(Workspace& workspace, dom::Window& window, std::string_view tab_id) {
  WorkspacePageState& page = workspace.page;
  if (tab_id == page.CurrentTabId) return;
  if (IsPremiumTab(tab_id)) {
    for (const std::string_view premium_tab : kPremiumTabs) {
      if (premium_tab != tab_id) ShowTabButton(window, premium_tab, false);
    }
    ShowTabButton(window, tab_id, true);
  }
  page.CurrentPremiumTabId = tab_id;
}

}  // namespace cn

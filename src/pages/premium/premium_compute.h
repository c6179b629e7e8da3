#pragma once
// Calculate: the rating factors of the cover note go to a rating engine, and its figures
// come back into the cover note and onto the premium tab shown. Also the checks run
// before, the report of a failed computation after, and the two look-ups that feed the
// premium tabs (the NCD choices and the extended covers on offer).

#include <string_view>

#include "dom/document.h"
#include "dom/window.h"
#include "workspace/workspace.h"

namespace cn {

// The current engine, for every tab but the new-tariff premium tab. `tab_page` is the page
// shown; its values reach the record first.
void ComputePremiumV10(Workspace& workspace, dom::Window& window, dom::Document& tab_page);

// The new-tariff engine, for the new-tariff premium tab.
void ComputePremium(Workspace& workspace, dom::Window& window, dom::Document& tab_page);

// Tells the administrator why the current engine's last computation failed.
void ShowComputeStatus(Workspace& workspace, dom::Window& window);

// The same for the new tariff's engine: what is not configured, a decline, or an answer the
// screen does not know.
void ShowComputeStatusNewTariff(Workspace& workspace, dom::Window& window);

// Capacity, unit, seats and (unless the vehicle is not registered yet) the year made.
bool CheckVehicleDetails(Workspace& workspace, dom::Window& window);

// The sums insured within the limits of the class and cover.
bool CheckSumInsured(Workspace& workspace, dom::Window& window, dom::Document& tab_page);

// The NCD choices of a class; with `reset` the record's NCD starts again from none.
void LoadNCDList(Workspace& workspace, std::string_view class_code, bool reset);

// The extended covers offered for a class and cover; with `reset` the record's extended
// covers are emptied.
void LoadExtendedCoverDetails(Workspace& workspace, std::string_view class_code,
                              std::string_view motor_cover_code, bool reset);

// The catalogue entry of an extended cover among `details` (code, description, percentage,
// default premium, minimum premium, method); false when none has the code.
struct ExtCoverDetails {
  std::string method, min_premium, default_premium, percentage;
};
bool GetExtCoverDetails(std::string_view code, const std::vector<std::string>& details,
                        ExtCoverDetails& found);

}  // namespace cn

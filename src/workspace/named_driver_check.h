#pragma once
// Named drivers against the extended covers that pay for them. The named-driver
// coverage (system code 1008) pays for a number of drivers besides the two every
// private cover includes; a second driver coverage (system code 1021) lets a
// company name drivers without it.

#include "dom/window.h"
#include "workspace/workspace.h"

namespace cn {

// Reconciles Current: a cover that is not private loses its named drivers and
// both driver coverages; a company client with three or more drivers and neither
// coverage loses its drivers. While a tab switch is in progress a mismatch between
// the drivers and the coverage is shown ("Incomplete Data") in `window`.
void CheckNamedDriverExtCover(Workspace& workspace, dom::Window& window);

// The same reconciliation without any message, for the transfers of the Cover,
// vehicle and NCD tabs.
//
// Beyond the shared steps this variant does nothing: it neither shows nor repairs
// a disagreement between the number of drivers and the drivers the coverage pays
// for. The administrator adds drivers on the vehicle tab and coverage on the
// premium tab; the premium tab's own check reports the mismatch when it is left,
// and silently dropping drivers or coverage here would change the premium behind
// the administrator's back.
void CheckNamedDriverExtCoverSilently(Workspace& workspace);

}  // namespace cn

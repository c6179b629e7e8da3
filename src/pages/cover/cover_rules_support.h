#pragma once
// Steps the Cover tab's cover and client rules share.

#include <string>
#include <string_view>
#include <vector>

#include "dom/document.h"
#include "workspace/workspace.h"

namespace cn {

// The premium figures the administrator typed no longer hold once a rating factor changes:
// tariff premium, loading and excess.
void ForgetTypedFigures(PremiumState& premium);

// The select's options become the list's entries (value field 0, caption field 1); an empty
// list leaves it without options.
void ReplaceOptions(dom::Document& page, std::string_view select_id,
                    const std::vector<std::string>& list);

// The eight named-driver arrays become one row: the insured as driver when the personal type
// is chosen and the motor cover shown is one that names the insured (system code 1061),
// otherwise an empty row.
void ResetDriversForMotorCover(Workspace& workspace, dom::Document& page);

// The key a typed character arrives as in a box that holds capitals only.
int UpperCaseKey(int key_code);

}  // namespace cn

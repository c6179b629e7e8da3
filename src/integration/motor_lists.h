#pragma once
// The motor class list and the motor cover lists per class code.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "integration/components.h"
#include "integration/lookup_state.h"

namespace cn {

// Motor classes of kind 0, 1 or 2: from the local table when "Use Local Table"
// is numerically 1, otherwise from the back end. Any other kind gives an empty
// list without asking anyone. The setting is read first when still empty.
std::vector<std::string> GetMotorClassList(LookupState& state, const Components& components,
                                           std::int32_t kind);

// Makes state.MotorCoverList the motor cover list of `class_code`, fetching it
// from the back end only the first time a class code is asked for. Local-table
// mode (a non-zero "Use Local Table") leaves the list as it is.
void LoadMotorCoverList(LookupState& state, const Components& components,
                        std::string_view class_code);

}  // namespace cn

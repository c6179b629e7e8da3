#pragma once
// System codes: small configuration values kept by the back end (or the local
// table), fetched once as one list and then looked up in memory.

#include <cstdint>
#include <string>
#include <string_view>

#include "integration/components.h"
#include "integration/lookup_state.h"

namespace cn {

// The value (field 1) of the first entry whose code is `code` written in decimal;
// "" when the list has no such code, and the list is not fetched again for it.
// The list comes from the back end when "Use Local Table" is numerically 0 and
// from the local table otherwise; the setting is read first when still empty.
std::string GetSystemCode(LookupState& state, const Components& components, std::int32_t code);

// The same value for callers that need a text.
inline std::string GetSystemCodeText(LookupState& state, const Components& components,
                                     std::int32_t code) {
  return GetSystemCode(state, components, code);
}

// True when the value of `system_code`, split at ";", contains `code_text` exactly.
bool IsInSystemCodeList(LookupState& state, const Components& components,
                        std::string_view code_text, std::int32_t system_code);

}  // namespace cn

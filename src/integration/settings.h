#pragma once
// Settings and identity from the settings store, always under the local-machine
// root. Every read creates its own registry component.

#include <string>
#include <string_view>

#include "base/currency.h"
#include "integration/components.h"
#include "integration/lookup_state.h"

namespace cn {

inline constexpr std::string_view kProductKey = "Software\\Brindle\\Kivo\\Zelkor";
inline constexpr std::string_view kUserIdKey = "Software\\Brindle\\Kivo\\Zelkor\\UserId";
inline constexpr std::string_view kUserInterfaceKey = "Software\\Brindle\\Kivo\\Zelkor\\UI";

std::string ReadSetting(const Components& components, std::string_view key_path,
                        std::string_view value_name);

// "_CurrentUserID", then "_CurrentAgentType", "_CurrentAgentCode" and "_CurrentRole".
UserIdentity ReadUserIdentity(const Components& components);

// "Use Local Table" into state.UseLocalTable, as the store gives it.
void ReadUseLocalTable(LookupState& state, const Components& components);
// Reads it only while state.UseLocalTable is still empty.
void EnsureUseLocalTable(LookupState& state, const Components& components);

// The numeric value of state.UseLocalTable for the mode tests of the list
// routines. An empty or non-numeric setting throws RuntimeFailure (type mismatch)
// naming `routine`.
Currency UseLocalTableValue(const LookupState& state, std::string_view routine);

// "Installation Path" under the product key.
std::string ReadInstallationPath(const Components& components);

}  // namespace cn

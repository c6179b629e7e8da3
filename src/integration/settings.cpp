#include "integration/settings.h"

#include <optional>

#include "base/runtime_failure.h"

namespace cn {

std::string ReadSetting(const Components& components, std::string_view key_path,
                        std::string_view value_name) {
  return components.NewRegistry()->GetKeyValue(kLocalMachineRoot, key_path, value_name);
}

UserIdentity ReadUserIdentity(const Components& components) {
  UserIdentity identity;
  identity.CurrentUserId = ReadSetting(components, kUserIdKey, "_CurrentUserID");
  identity.CurrentAgentType = ReadSetting(components, kUserIdKey, "_CurrentAgentType");
  identity.CurrentAgentCode = ReadSetting(components, kUserIdKey, "_CurrentAgentCode");
  identity.CurrentRole = ReadSetting(components, kUserIdKey, "_CurrentRole");
  return identity;
}

void ReadUseLocalTable(LookupState& state, const Components& components) {
  state.UseLocalTable = ReadSetting(components, kUserInterfaceKey, "Use Local Table");
}

void EnsureUseLocalTable(LookupState& state, const Components& components) {
  if (state.UseLocalTable.empty()) ReadUseLocalTable(state, components);
}

Currency UseLocalTableValue(const LookupState& state, std::string_view routine) {
  const std::optional<Currency> value = Currency::TryParse(state.UseLocalTable);
  if (!value) {
    throw RuntimeFailure(failure::kTypeMismatch,
                         "Type mismatch: the \"Use Local Table\" setting \"" +
                             state.UseLocalTable + "\" is not a number",
                         std::string(routine));
  }
  return *value;
}

std::string ReadInstallationPath(const Components& components) {
  return ReadSetting(components, kProductKey, "Installation Path");
}

}  // namespace cn

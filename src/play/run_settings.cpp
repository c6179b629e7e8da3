#include "play/run_settings.h"

namespace cn::play {

std::vector<components::SettingValue> RunSettings(const Scenario& scenario,
                                                  const std::filesystem::path& installation_path) {
  std::vector<components::SettingValue> values =
      scenario.embedded
          ? components::DefaultSettings(installation_path)
          : std::vector<components::SettingValue>{{std::string(components::kProductKeyPath),
                                                   std::string(components::kInstallationPathName),
                                                   installation_path.string()}};
  values.insert(values.end(), scenario.settings.begin(), scenario.settings.end());
  return values;
}

}  // namespace cn::play

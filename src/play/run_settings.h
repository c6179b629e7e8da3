#pragma once
// The settings one run's registry reads. Embedded mode starts from the product's own defaults,
// the ones a new installation gets, so that a scenario names only what it changes; stub mode
// starts from nothing, so that a scenario pins every setting the screen reads. Either way the
// installation folder is the run's own unless the scenario names one, so that selection files
// never land outside the run, and the scenario's settings go on top.

#include <filesystem>
#include <vector>

#include "components/settings_file.h"
#include "play/scenario.h"

namespace cn::play {

// Later values win, as components::Settings reads them.
std::vector<components::SettingValue> RunSettings(const Scenario& scenario,
                                                  const std::filesystem::path& installation_path);

}  // namespace cn::play

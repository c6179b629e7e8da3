#pragma once
// The insurer every endorsement names at its head, from the settings file:
//
//   ["Software\\Brindle\\Kivo\\Zelkor\\Insurer"]
//   "Name" = "Kivo General Insurance Berhad"
//   "Address 1" = "Level 12, Menara Kivo"      (up to "Address 4", printed in order)

#include <string_view>
#include <vector>

#include "components/settings_file.h"
#include "documents/endorsement.h"

namespace cn::components {

inline constexpr std::string_view kInsurerKeyPath = "Software\\Brindle\\Kivo\\Zelkor\\Insurer";

// The name and the address lines that are set; empty ones are left out.
documents::Insurer InsurerFromSettings(const Settings& settings);

// The sample insurer a new settings file names.
std::vector<SettingValue> SampleInsurerSettings();

}  // namespace cn::components

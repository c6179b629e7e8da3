#include "components/insurer_settings.h"

#include <array>

#include "base/text.h"

namespace cn::components {
namespace {

constexpr std::array<std::string_view, 4> kAddressLines = {"Address 1", "Address 2", "Address 3",
                                                           "Address 4"};

}  // namespace

documents::Insurer InsurerFromSettings(const Settings& settings) {
  documents::Insurer insurer;
  insurer.name = Trim(settings.Find(kInsurerKeyPath, "Name").value_or(""));
  for (const std::string_view line : kAddressLines) {
    const std::string text = Trim(settings.Find(kInsurerKeyPath, line).value_or(""));
    if (!text.empty()) insurer.address.push_back(text);
  }
  return insurer;
}

std::vector<SettingValue> SampleInsurerSettings() {
  const std::string path(kInsurerKeyPath);
  return {
      {path, "Name", "Kivo General Insurance Berhad"},
      {path, "Address 1", "Level 12, Menara Kivo, 28 Jalan Cempaka"},
      {path, "Address 2", "50450 Kuala Lumpur"},
      {path, "Address 3", "Tel. 03-2100 8000  motor.admin@kivo.example.my"},
  };
}

}  // namespace cn::components

#pragma once
// The page the document-model tests load: a vehicle tab with inputs, drop-downs, radio
// groups, the row tables' containers and the shell's hidden elements.

#include <filesystem>
#include <memory>

#include "dom/document.h"

namespace cn::dom::testing {

inline std::shared_ptr<Document> LoadVehicleTab() {
  return Document::Load(std::filesystem::path(COVERNOTE_TEST_DATA) / "data" / "vehicle_tab.htm");
}

}  // namespace cn::dom::testing

#pragma once
// The product's set of components: every one runs in this process on one shared
// back end, messages go to the given dialog host, settings come from the given
// settings with a session's own values over them.

#include <memory>
#include <span>

#include "base/clock.h"
#include "components/settings_file.h"
#include "components/shared_backend.h"
#include "dom/window.h"
#include "integration/components.h"

namespace cn::components {

struct ProductParts {
  std::shared_ptr<SharedBackend> backend;
  std::shared_ptr<const Settings> settings;
  std::shared_ptr<dom::DialogHost> dialogs;
  // Values this session sees instead of the settings' (IdentityOverrides).
  std::vector<SettingValue> overrides;
};

// The clock is "today" of the field checks; it must outlive the factories.
// Throws RuntimeFailure when a part is missing.
ComponentFactories ProductComponents(ProductParts parts, const Clock& clock);

}  // namespace cn::components

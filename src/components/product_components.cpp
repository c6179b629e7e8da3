#include "components/product_components.h"

#include <utility>

#include "base/runtime_failure.h"
#include "components/field_rule_service.h"
#include "components/in_process_command_service.h"
#include "components/input_check_service.h"
#include "components/local_table_service.h"
#include "components/message_service.h"
#include "components/settings_registry.h"

namespace cn::components {

ComponentFactories ProductComponents(ProductParts parts, const Clock& clock) {
  if (!parts.backend || !parts.settings || !parts.dialogs) {
    throw RuntimeFailure(failure::kCannotCreateComponent,
                         "The product's components need a back end, settings and a dialog host",
                         "ProductComponents");
  }
  auto backend = std::move(parts.backend);
  auto settings = std::move(parts.settings);
  auto dialogs = std::move(parts.dialogs);
  auto overrides = std::make_shared<const Settings>(parts.overrides);

  ComponentFactories factories;
  factories.backend_command_service = [backend] {
    return std::make_unique<InProcessCommandService>(backend);
  };
  factories.local_table_service = [backend] {
    return std::make_unique<StoreLocalTables>(backend);
  };
  factories.message_service = [dialogs] {
    return std::make_unique<CatalogueMessageService>(dialogs);
  };
  factories.field_rule_service = [backend, &clock] {
    return std::make_unique<StoreFieldRules>(backend, clock);
  };
  factories.input_check_service = [] { return std::make_unique<TextInputChecks>(); };
  factories.registry = [settings, overrides]() -> std::unique_ptr<Registry> {
    return std::make_unique<OverridingRegistry>(std::make_unique<SettingsRegistry>(settings),
                                                overrides);
  };
  return factories;
}

}  // namespace cn::components

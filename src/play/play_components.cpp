#include "play/play_components.h"

#include <algorithm>
#include <system_error>

#include "backend/store_address.h"
#include "components/insurer_settings.h"
#include "components/product_components.h"
#include "components/settings_registry.h"
#include "components/shared_backend.h"
#include "play/recording_components.h"
#include "play/stub_components.h"

namespace cn::play {

namespace {

std::shared_ptr<components::SharedBackend> OpenEmbedded(const RunParts& parts) {
  const std::filesystem::path& source = parts.scenario.embedded->database;
  const std::filesystem::path copy = parts.scratch_dir / "embedded.db";
  const backend::EndorsementWording wording{components::InsurerFromSettings(*parts.settings),
                                            parts.captions};
  // A fresh database is created and seeded on opening, dated by the scenario's clock.
  if (source.empty()) return components::OpenSharedBackend(copy, parts.clock, wording);
  // A server's database is used as it is: the scenario's author chose it for its data.
  if (backend::IsServerAddress(source.string())) {
    return components::OpenSharedBackend(source, parts.clock, wording);
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(source, error)) {
    throw ScenarioError("backend.embedded: no database at " + source.string());
  }
  // The run works on a copy, so that a scenario finds the same data every time.
  std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing);
  return components::OpenSharedBackend(copy, parts.clock, wording);
}

}  // namespace

ComponentFactories PlayComponents(const RunParts& parts) {
  const auto& settings = parts.settings;
  EventLog& log = parts.log;
  ComponentFactories factories;
  if (parts.scenario.embedded) {
    factories = components::ProductComponents({.backend = OpenEmbedded(parts),
                                               .settings = settings,
                                               .dialogs = parts.dialogs,
                                               .overrides = {}},
                                              parts.clock);
    auto commands = std::move(factories.backend_command_service);
    factories.backend_command_service = [commands, &log] {
      return RecordCommands(commands(), log);
    };
    auto messages = std::move(factories.message_service);
    AnswerQueue& queue = parts.answers;
    factories.message_service = [messages, &log, &queue] {
      return RecordMessages(messages(), log, queue);
    };
    auto rules = std::move(factories.field_rule_service);
    factories.field_rule_service = [rules, &log] { return RecordFieldRules(rules(), log); };
    auto checks = std::move(factories.input_check_service);
    factories.input_check_service = [checks, &log] { return RecordInputChecks(checks(), log); };
    return factories;
  }
  const ComponentAnswers& answers = parts.scenario.components;
  auto stub = std::make_shared<StubBackend>(parts.scenario.stub, log);
  AnswerQueue& queue = parts.answers;
  factories.backend_command_service = [stub] { return MakeStubCommandService(stub); };
  factories.local_table_service = [&answers] { return MakeStubLocalTables(answers); };
  factories.message_service = [&queue, &log] { return MakeQueuedMessageService(queue, log); };
  factories.field_rule_service = [&answers, &log] {
    return RecordFieldRules(MakeStubFieldRules(answers), log);
  };
  factories.input_check_service = [&answers, &log] {
    return RecordInputChecks(MakeStubInputChecks(answers), log);
  };
  factories.registry = [settings]() -> std::unique_ptr<Registry> {
    return std::make_unique<components::SettingsRegistry>(settings);
  };
  return factories;
}

}  // namespace cn::play

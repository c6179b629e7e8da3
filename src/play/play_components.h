#pragma once
// The set of outside components one run uses: stubs answering from the scenario, or the
// product's components over an embedded back end; in both cases recorded into the log.

#include <filesystem>
#include <memory>

#include "backend/endorsement_content.h"
#include "base/clock.h"
#include "components/settings_file.h"
#include "dom/window.h"
#include "integration/components.h"
#include "play/answer_queue.h"
#include "play/event_log.h"
#include "play/scenario.h"

namespace cn::play {

struct RunParts {
  const Scenario& scenario;
  const Clock& clock;
  EventLog& log;
  AnswerQueue& answers;
  std::shared_ptr<dom::DialogHost> dialogs;
  std::shared_ptr<const components::Settings> settings;  // what the registry reads (RunSettings)
  std::filesystem::path scratch_dir;                     // the embedded database is copied here
  backend::PositionCaption captions;  // how the embedded back end's endorsements name fields
};

// Everything referenced by `parts` must outlive the factories. An embedded database that is
// missing is a ScenarioError.
ComponentFactories PlayComponents(const RunParts& parts);

}  // namespace cn::play

#pragma once
// The "expect" steps: what the scenario says the screen shows or holds at that point.

#include "play/event_log.h"
#include "play/scenario.h"
#include "play/screen_inspector.h"
#include "shell/host_shell.h"

namespace cn::play {

// One entry per expectation that does not hold: {"step", "what", "expected", "actual"}.
// An element, row, record field, workspace item, button or tab that does not exist at all
// is a fault of the scenario: ScenarioError naming the step.
Json CheckExpectations(const Step& step, const shell::HostShell& shell,
                       const ScreenInspector& screen);

}  // namespace cn::play

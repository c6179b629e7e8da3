#pragma once
// The screen's own logic as the scenario runner sees it.

#include "play/screen_inspector.h"

namespace cn::app {

// Makes the screen's logic over the run's components and clock.
play::ScreenMaker PlayScreenMaker();

}  // namespace cn::app

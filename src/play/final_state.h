#pragma once
// What the screen shows and holds at the end of a run, for the transcript: the shell, the
// workspace state, the whole record and the shown tab page.

#include "play/event_log.h"
#include "play/screen_inspector.h"
#include "shell/host_shell.h"

namespace cn::play {

// {"title", "shownTab", "status", "tabs": [...], "buttons": [...]}
Json ShellState(const shell::HostShell& shell);

// {"shell", "workspace", "record": {"Current", "Previous"}, "page"}; the last three are
// null before the workspace page is made or while no tab page is shown.
Json FinalState(const shell::HostShell& shell, const ScreenInspector& screen);

}  // namespace cn::play

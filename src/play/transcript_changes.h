#pragma once
// What a rebaseline changed, in a line a reviewer reads before the diff: the steps whose
// events changed and what those events were (commands, boxes, messages, dialogs), and the
// parts of the final state that changed (record fields, elements, shell, workspace).

#include <string>

#include "play/event_log.h"

namespace cn::play {

// "unchanged", or e.g. "steps 3, 4: 2 events out, 3 in (command KivoGIUWR.CoverNote.WriteAdmin,
// box "Save Cover Note"); final: record Current.VehicleNo, page txtVehicleNumber".
std::string TranscriptChanges(const Json& before, const Json& after);

}  // namespace cn::play

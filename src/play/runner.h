#pragma once
// Runs a scenario headless: the real shell and page logic against the stub or the embedded
// back end, the administrator's steps, and a transcript of what happened.

#include <filesystem>
#include <string>

#include "backend/endorsement_content.h"
#include "play/event_log.h"
#include "play/scenario.h"
#include "play/screen_inspector.h"

namespace cn::play {

// Exit statuses of `covernote play`.
namespace exit_status {
inline constexpr int kRan = 0;
inline constexpr int kInternalFailure = 1;
inline constexpr int kMalformed = 2;
inline constexpr int kExpectFailed = 3;
inline constexpr int kDiffers = 4;  // the transcript is not the expected one
}  // namespace exit_status

struct PlayOptions {
  std::filesystem::path pages_dir;
  ScreenMaker make_screen;
  backend::PositionCaption captions;  // the embedded back end's endorsements name fields so
};

struct PlayOutcome {
  int status = exit_status::kRan;
  Json transcript;    // {"events", "final", "failures"} when the scenario ran to its end
  std::string error;  // what stopped it otherwise
};

// Never throws: a fault met while running (an unknown element, an answer of the wrong kind)
// gives kMalformed naming the step, anything unexpected kInternalFailure.
PlayOutcome Play(const Scenario& scenario, const PlayOptions& options);

}  // namespace cn::play

#pragma once
// `covernote play SCENARIO.json [--out FILE] [--expect EXPECTED.json]
// [--rebaseline EXPECTED.json]`: reads the scenario, runs it and writes the transcript to
// stdout or FILE; compares it with an expected transcript, or rewrites that one.

#include <filesystem>
#include <iosfwd>
#include <optional>

#include "play/runner.h"
#include "play/screen_inspector.h"

namespace cn::play {

struct PlayCommand {
  std::filesystem::path scenario;
  std::optional<std::filesystem::path> out;
  std::optional<std::filesystem::path> expect;
  std::optional<std::filesystem::path> rebaseline;
  std::filesystem::path pages_dir;
  backend::PositionCaption captions;  // how the embedded back end's endorsements name fields
};

// The transcript's text: one event, failure, tab, button or element a line, everything above
// them one key a line with two-space indentation; everything outside ASCII (the separators
// included) as \u escapes, a final newline.
std::string TranscriptText(const Json& transcript);

// One line per difference between an expected and an actual transcript ("" when equal),
// each naming the JSON path, the expected and the actual value.
std::string TranscriptDifferences(std::string_view expected_text, std::string_view actual_text);

// Returns the exit status (runner.h); messages go to `err`.
int RunPlayCommand(const PlayCommand& command, const ScreenMaker& make_screen, std::ostream& out,
                   std::ostream& err);

}  // namespace cn::play

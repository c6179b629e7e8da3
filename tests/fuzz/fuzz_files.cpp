// The files an administrator or tester writes by hand: the settings file and the scenario
// file. Either is read or refused with a message saying where. Scenarios are read beside the
// golden ones, so that the fixtures they name are found and their overrides applied.
#include "components/settings_file.h"
#include "play/scenario.h"
#include "refusal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = cn::fuzzing::Text(data, size);
  cn::fuzzing::MayRefuse([&] { (void)cn::components::Settings::Parse(text, "fuzz.toml"); });
  cn::fuzzing::MayRefuse<cn::play::ScenarioError>(
      [&] { (void)cn::play::ParseScenario(text, COVERNOTE_SCENARIOS_DIR); });
  return 0;
}

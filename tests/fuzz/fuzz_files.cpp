// The files an administrator or tester writes by hand: the settings file and the scenario
// file. Either is read or refused with a message saying where.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/runtime_failure.h"
#include "components/settings_file.h"
#include "play/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    (void)cn::components::Settings::Parse(text, "fuzz.toml");
  } catch (const cn::RuntimeFailure&) {
  }
  try {
    (void)cn::play::ParseScenario(text, "/nonexistent");
  } catch (const cn::play::ScenarioError&) {
  }
  return 0;
}

// A whole scenario through the scenario runner: start-up with every list, one cover note
// read, three tab changes, and the transcript written out. Run on a Release build:
//   build/release/bench/play_bench
// The figure is the median time per run.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/play_screen.h"
#include "play/play_command.h"
#include "play/runner.h"
#include "play/scenario.h"

namespace {

// Start-up, CN24000101 read, Vehicle, Cover and Vehicle tabs again.
constexpr const char* kScenario = COVERNOTE_SCENARIOS_DIR "/tab_changes.json";

void BM_PlayWholeScenario(benchmark::State& state) {
  std::ifstream in(kScenario, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const cn::play::Scenario scenario = cn::play::ParseScenario(text, COVERNOTE_SCENARIOS_DIR);
  const cn::play::PlayOptions options{.pages_dir = COVERNOTE_PAGES_DIR,
                                      .make_screen = cn::app::PlayScreenMaker()};
  for (auto _ : state) {
    const cn::play::PlayOutcome outcome = cn::play::Play(scenario, options);
    if (outcome.status != cn::play::exit_status::kRan) {
      state.SkipWithError(outcome.error.empty() ? "an expectation failed" : outcome.error.c_str());
      break;
    }
    benchmark::DoNotOptimize(cn::play::TranscriptText(outcome.transcript));
  }
}
BENCHMARK(BM_PlayWholeScenario)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();

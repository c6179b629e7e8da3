// The back end's share of opening the screen and of reading one cover note, on
// the sample database. Run with --benchmark_repetitions=9
// --benchmark_report_aggregates_only=true and read the medians.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "backend/backend.h"
#include "base/clock.h"
#include "base/separators.h"

namespace {

using cn::backend::Backend;

// A seeded database of its own, kept for the whole run.
class SampleDatabase {
 public:
  SampleDatabase()
      : directory_(std::filesystem::temp_directory_path() /
                   ("covernote-backend-bench-" + std::to_string(::getpid()))),
        clock_(cn::SystemClock().Now()) {
    std::filesystem::create_directories(directory_);
    backend_ = std::make_unique<Backend>(directory_ / "covernote.db", clock_);
  }
  ~SampleDatabase() {
    backend_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
  Backend& backend() { return *backend_; }

 private:
  std::filesystem::path directory_;
  cn::FixedClock clock_;
  std::unique_ptr<Backend> backend_;
};

SampleDatabase& Sample() {
  static SampleDatabase sample;
  return sample;
}

std::string Params(std::initializer_list<std::string_view> values) {
  std::string text;
  for (const auto value : values) {
    if (!text.empty()) text += cn::ParamSeparator;
    text += value;
  }
  return text;
}

// What the workspace asks for while it opens, in its order.
const std::vector<std::pair<std::string, std::string>>& StartUpCommands() {
  static const std::vector<std::pair<std::string, std::string>> commands = {
      {"KivoInsurance.Find.Browse", "2"},
      {"Tarvin.Find.FindMotorClass", "0"},
      {"KivoInsurance.Maintenance.ReadSystemParameterByCode", "1127"},
      {"Tarvin.Find.Browse", "3"},
      {"KivoInsurance.Find.Browse", "3"},
      {"Tarvin.Find.Browse", "1"},
      {"Tarvin.Find.Browse", "0"},
      {"KivoInsurance.Find.Browse", "0"},
      {"Tarvin.Find.Browse", "7"},
      {"KivoInsurance.Find.Browse", "7"},
      {"KivoGlobal.Client.Find", "1"},
      {"KivoGlobal.Client.Find", "2"},
      {"KivoGlobal.Client.Find", "3"},
      {"KivoInsurance.Find.Browse", "13"},
      {"Tarvin.Premium.GetMotorTariffRegionByAgentCode", "A1001"},
      {"KivoInsurance.Find.FindSystemDateTime", ""},
      {"KivoInsurance.Find.FindSystemDateTime", ""},
      {"Tarvin.Find.Browse", Params({"6", "PC1"})},
      {"Tarvin.Find.FindMotorClass", "1"},
      {"Tarvin.Find.FindMotorClass", "2"},
  };
  return commands;
}

void BM_StartUpCommands(benchmark::State& state) {
  Backend& backend = Sample().backend();
  for (auto _ : state) {
    for (const auto& [command, parameters] : StartUpCommands()) {
      auto result = backend.Execute(command, parameters);
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<std::int64_t>(StartUpCommands().size()));
}
BENCHMARK(BM_StartUpCommands)->Unit(benchmark::kMicrosecond);

void BM_ReadAdmin(benchmark::State& state) {
  Backend& backend = Sample().backend();
  const std::string parameters = Params({"CN24000101", "A1001", "0"});
  for (auto _ : state) {
    auto result = backend.Execute("KivoGIUWR.CoverNote.ReadAdmin", parameters);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_ReadAdmin)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The back end's share of opening the screen, of reading one cover note and of
// each premium computation, on the sample database: each benchmark on a SQLite file
// and, when COVERNOTE_BENCH_POSTGRES names a server (postgresql://USER@HOST/DB?...),
// on a database of its own there, the two rows one under the other. Run with
// --benchmark_repetitions=9 --benchmark_report_aggregates_only=true and read the medians.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "backend/backend.h"
#include "base/clock.h"
#include "base/separators.h"

namespace {

using cn::backend::Backend;

enum class Store { kSqlite, kPostgres };

std::string ServerAddress() {
  const char* address = std::getenv("COVERNOTE_BENCH_POSTGRES");
  return address != nullptr ? address : "";
}

// A seeded database of its own, kept for the whole run.
class SampleDatabase {
 public:
  explicit SampleDatabase(Store store)
      : directory_(std::filesystem::temp_directory_path() /
                   ("covernote-backend-bench-" + std::to_string(::getpid()))),
        clock_(cn::SystemClock().Now()) {
    std::filesystem::create_directories(directory_);
    std::string address = (directory_ / "covernote.db").string();
    if (store == Store::kPostgres) {
      server_database_ = "cn_bench_" + std::to_string(::getpid());
      const std::string server = ServerAddress();
      cn::backend::OpenDatabase(server)->ExecuteScript("CREATE DATABASE " + server_database_);
      const auto query = server.find('?');
      address = server.substr(0, server.find('/', server.find("://") + 3)) + "/" +
                server_database_ + (query == std::string::npos ? "" : server.substr(query));
    }
    backend_ = std::make_unique<Backend>(address, clock_);
  }
  ~SampleDatabase() {
    backend_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
    if (!server_database_.empty()) {
      cn::backend::OpenDatabase(ServerAddress())
          ->ExecuteScript("DROP DATABASE IF EXISTS " + server_database_ + " WITH (FORCE)");
    }
  }
  Backend& backend() { return *backend_; }

 private:
  std::filesystem::path directory_;
  cn::FixedClock clock_;
  std::string server_database_;
  std::unique_ptr<Backend> backend_;
};

Backend& Sample(Store store) {
  static SampleDatabase file(Store::kSqlite);
  if (store == Store::kSqlite) return file.backend();
  static SampleDatabase server(Store::kPostgres);
  return server.backend();
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

void BM_StartUpCommands(benchmark::State& state, Store store) {
  Backend& backend = Sample(store);
  for (auto _ : state) {
    for (const auto& [command, parameters] : StartUpCommands()) {
      auto result = backend.Execute(command, parameters);
      benchmark::DoNotOptimize(result);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(StartUpCommands().size()));
}

void BM_ReadAdmin(benchmark::State& state, Store store) {
  Backend& backend = Sample(store);
  const std::string parameters = Params({"CN24000101", "A1001", "0"});
  for (auto _ : state) {
    auto result = backend.Execute("KivoGIUWR.CoverNote.ReadAdmin", parameters);
    benchmark::DoNotOptimize(result);
  }
}

// A private car with an extended cover and a named driver, as Calculate sends it.
std::string Record(std::vector<std::string> fields,
                   std::initializer_list<std::pair<int, std::string_view>> values) {
  for (const auto& [position, value] : values) fields[static_cast<std::size_t>(position)] = value;
  std::string text;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) text += cn::FieldSeparator;
    text += fields[i];
  }
  return text;
}

std::string V10Factors() {
  return Record(std::vector<std::string>(51),
                {{0, "PC1"},   {1, "01"},  {2, "A1001"},       {3, "1468"},        {4, "C"},
                 {5, "50000"}, {6, "0"},   {8, "01-Mar-2026"}, {9, "28-Feb-2027"}, {10, "0"},
                 {11, "40"},   {12, "20"}, {13, "2020"},       {14, "-1"},         {15, "25"},
                 {19, "P"},    {21, "-1"}, {22, "1"},          {23, "5"},          {25, "089"},
                 {26, "1500"}, {27, "15"}, {31, "6"},          {32, "10"},         {35, "N"},
                 {36, "W"},    {42, "-1"}, {45, "50000"},      {46, "M"},          {48, "40"},
                 {49, "20"},   {50, "6"}});
}

std::string V10ExFactors() {
  return Record(
      std::vector<std::string>(45),
      {{1, "P"},   {2, "PC1"}, {3, "01"},     {4, "A1001"}, {5, "01-Mar-2026"}, {6, "28-Feb-2027"},
       {7, "1"},   {8, "0"},   {9, "50000"},  {11, "2020"}, {12, "1468"},       {13, "C"},
       {14, "5"},  {16, "1"},  {17, "25"},    {19, "1"},    {20, "089"},        {21, "1500"},
       {22, "15"}, {24, "1"},  {26, "6"},     {27, "10"},   {28, "0"},          {29, "40"},
       {30, "20"}, {32, "W"},  {39, "50000"}, {44, "6"}});
}

std::string NewTariffFactors() {
  return Record(
      std::vector<std::string>(44),
      {{1, "P"},           {2, "14"},  {3, "M"},      {4, "PC1"},  {5, "01"},    {6, "01-Mar-2026"},
       {7, "28-Feb-2027"}, {8, "1"},   {12, "50000"}, {14, "TRM"}, {15, "2020"}, {16, "1468"},
       {17, "C"},          {18, "5"},  {19, "1"},     {21, "1"},   {22, "089"},  {23, "1500"},
       {24, "15"},         {26, "1"},  {28, "6"},     {29, "10"},  {31, "W"},    {35, "50000"},
       {36, "40"},         {37, "25"}, {38, "0"},     {39, "20"},  {41, "40"},   {42, "20"},
       {43, "6"}});
}

void Compute(benchmark::State& state, Store store, std::string_view command,
             const std::string& parameters) {
  Backend& backend = Sample(store);
  if (backend.Execute(command, parameters).status != 0) state.SkipWithError("not rated");
  for (auto _ : state) {
    auto result = backend.Execute(command, parameters);
    benchmark::DoNotOptimize(result);
  }
}

void BM_ComputeV10(benchmark::State& state, Store store) {
  Compute(state, store, "Tarvin.Premium.ComputeV10", Params({V10Factors(), "0"}));
}

void BM_ComputeV10Ex(benchmark::State& state, Store store) {
  const std::string previous = Record(std::vector<std::string>(57), {{24, "1000"}});
  Compute(state, store, "Tarvin.Premium.ComputeV10Ex",
          Params({previous, V10ExFactors(), "01-Sep-2026", "1"}));
}

void BM_Compute(benchmark::State& state, Store store) {
  Compute(state, store, "Tarvin.Premium.Compute", Params({NewTariffFactors(), "0"}));
}

void BM_ComputeEx(benchmark::State& state, Store store) {
  const std::string previous = Record(std::vector<std::string>(51), {{33, "1000"}});
  Compute(state, store, "Tarvin.Premium.ComputeEx",
          Params({previous, NewTariffFactors(), "01-Sep-2026", "0"}));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::vector<std::pair<Store, const char*>> stores = {{Store::kSqlite, "sqlite"}};
  if (ServerAddress().empty()) {
    std::cerr << "PostgreSQL rows skipped: set COVERNOTE_BENCH_POSTGRES to a server address\n";
  } else {
    stores.emplace_back(Store::kPostgres, "postgres");
  }
  using Function = void (*)(benchmark::State&, Store);
  const std::pair<const char*, Function> benchmarks[] = {
      {"StartUpCommands", BM_StartUpCommands}, {"ReadAdmin", BM_ReadAdmin},
      {"ComputeV10", BM_ComputeV10},           {"ComputeV10Ex", BM_ComputeV10Ex},
      {"Compute", BM_Compute},                 {"ComputeEx", BM_ComputeEx},
  };
  for (const auto& [name, function] : benchmarks) {
    for (const auto& [store, store_name] : stores) {
      benchmark::RegisterBenchmark((std::string(name) + "/" + store_name).c_str(), function, store)
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// The time to make one endorsement (its content laid out and drawn as a PDF with Cairo and
// Pango, fonts loaded afresh as each save does) and its size: an ordinary amendment of a dozen
// fields on one page, and one of ninety fields on three. Targets: under 20 ms and 60 KB.
//
//   build/release/bench/endorsement_bench
// runs each 50 times and reports the median, with "bytes" the PDF's size.
//   build/release/bench/endorsement_bench --write=DIR
// also leaves both PDFs in DIR, to be looked at.

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "documents/endorsement.h"
#include "documents/endorsement_layout.h"
#include "documents/pdf_document.h"
#include "sample_endorsement.h"

namespace {

using cn::documents::Endorsement;

std::string write_to;  // --write=DIR

void MakeEndorsement(benchmark::State& state) {
  const Endorsement endorsement =
      cn::documents::testing::SampleEndorsement(static_cast<int>(state.range(0)));
  std::string pdf;
  for (auto _ : state) {
    pdf = cn::documents::RenderPdf(cn::documents::EndorsementDocument(endorsement));
    benchmark::DoNotOptimize(pdf.data());
  }
  state.counters["bytes"] = static_cast<double>(pdf.size());
  if (!write_to.empty()) {
    std::ofstream(std::filesystem::path(write_to) /
                      ("endorsement-" + std::to_string(state.range(0)) + "-fields.pdf"),
                  std::ios::binary)
        << pdf;
  }
}
BENCHMARK(MakeEndorsement)
    ->Arg(12)
    ->Arg(90)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(50)
    ->ComputeStatistics("max",
                        [](const std::vector<double>& v) {
                          return *std::max_element(v.begin(), v.end());
                        })
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--write=", 8) == 0) write_to = argv[i] + 8;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

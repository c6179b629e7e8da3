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

namespace {

using cn::documents::Endorsement;

Endorsement Amendment(int fields) {
  Endorsement endorsement{
      .insurer = {"Kivo General Insurance Berhad",
                  {"Level 12, Menara Kivo, 28 Jalan Cempaka", "50450 Kuala Lumpur",
                   "Tel. 03-2100 8000  motor.admin@kivo.example.my"}},
      .number = "CN24000101/E2",
      .date = "05-Dec-2026",
      .cover_note_no = "CN24000101",
      .insured = "AHMAD FAIZAL BIN ISMAIL",
      .address = "NO 12, JALAN MERANTI 3\nTAMAN SERI MERANTI\n46000 PETALING JAYA",
      .vehicle = "WQK 4521, TARUMA ISWARA 1.5 (M), 2022",
      .period = "30-Nov-2026 to 29-Nov-2027",
      .changes = {},
      .premium = {{"Tariff premium", "1,522.00", "1,834.00", "+312.00"},
                  {"Loading", "0.00", "0.00", ""},
                  {"Less no-claim discount", "0.00", "0.00", ""},
                  {"Extended covers", "235.00", "235.00", ""},
                  {"Gross premium", "1,753.20", "2,155.89", "+402.69"},
                  {"Service tax", "105.19", "129.35", "+24.16"},
                  {"Stamp duty", "10.00", "10.00", ""},
                  {"Total premium", "1,868.39", "2,295.24", "+426.85"}},
      .premium_due = "Additional premium to be paid: 426.85",
      .saved_by = "NORHAYATI BINTI SALLEH (ADMIN)",
      .saved_at = "05-Dec-2026 10:00:00 AM",
      .made_at = "2026-12-05T10:00:00",
  };
  for (int i = 0; i < fields; ++i) {
    endorsement.changes.push_back(
        {"Vehicle sum insured " + std::to_string(i), "48,000.00", "60,000.00"});
  }
  return endorsement;
}

std::string write_to;  // --write=DIR

void MakeEndorsement(benchmark::State& state) {
  const Endorsement endorsement = Amendment(static_cast<int>(state.range(0)));
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

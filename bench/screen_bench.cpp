// The cover-note screen as one browser session drives it, without the network: what a tab
// switch, a keypress, the read of a cover note and Calculate on the premium tab cost the server
// (handlers, page load, the answer as JSON text), and how much heap one idle session holds
// after start-up and a read.
//
// Each benchmark opens the product over a database created and seeded for the run in a
// temporary folder (removed at the end), as the head-office administrator, and reads
// CN24000101 before it measures.
//
//   build/release/bench/screen_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>
#include <gperftools/malloc_extension_c.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <spdlog/spdlog.h>

#include "app/session_screens.h"
#include "web/json_text.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// A product over a fresh database, removed with the object.
class ScratchProduct {
 public:
  ScratchProduct() : root_(fs::temp_directory_path() / ("screen_bench-" + std::to_string(::getpid()))) {
    fs::remove_all(root_);
    fs::create_directories(root_);
    spdlog::set_level(spdlog::level::warn);
    product_ = cn::app::OpenProduct({.database = root_ / "covernote.db", .settings = root_ / "settings.toml"});
    screens_ = cn::app::SessionScreens(product_, COVERNOTE_PAGES_DIR);
  }
  ScratchProduct(const ScratchProduct&) = delete;
  ScratchProduct& operator=(const ScratchProduct&) = delete;
  ~ScratchProduct() {
    screens_ = nullptr;
    product_.reset();
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  const cn::web::ScreenFactory& screens() const { return screens_; }

 private:
  fs::path root_;
  std::shared_ptr<const cn::app::ServedProduct> product_;
  cn::web::ScreenFactory screens_;
};

// The node id the markup gives the element with this id.
std::int64_t NodeIn(const std::string& html, std::string_view id) {
  const std::size_t at = html.find(" id='" + std::string(id) + "'");
  const std::size_t open = html.rfind('<', at);
  const std::size_t nid = html.find("data-nid='", open);
  if (at == std::string::npos || open == std::string::npos || nid == std::string::npos) {
    throw std::runtime_error("no element " + std::string(id) + " on the page");
  }
  return std::stoll(html.substr(nid + 10));
}

// SCREEN_BENCH_ITERATIONS=N runs each benchmark exactly N times (bench/instructions counts
// the instructions of two such runs).
void FixedIterations(benchmark::internal::Benchmark* benchmark) {
  if (const char* n = std::getenv("SCREEN_BENCH_ITERATIONS")) benchmark->Iterations(std::atoll(n));
}

// One session after start-up and the read of a record, with what its events need.
class ReadSession {
 public:
  explicit ReadSession(const cn::web::ScreenFactory& screens) : session_({"ADMIN", "HQ001", "H"}, screens) {
    session_.Open();
    Take(session_.Render());
    Read();
    // The answer went to the browser; a session holds nothing of it.
    std::string().swap(last_text_);
  }

  // CN24000101 in the number box and Enter, as the browser sends them.
  void Read() {
    json read = Element("keydown");
    read["key"] = 13;
    read["values"][std::to_string(frame_key_)][std::to_string(number_box_)] = "CN24000101";
    Send(read);
    if (session_.WaitingForAnswer()) throw std::runtime_error("the read of CN24000101 asked something");
  }

  void Send(const json& event) {
    json request = event;
    request["seen"] = seq_;
    Take(session_.Event(request));
  }

  json Element(std::string_view event) const {
    return {{"kind", "element"}, {"page", frame_key_}, {"node", number_box_}, {"event", event}};
  }

  // A key typed into the number box, which held `before`.
  json Typed(char key, std::string_view before) const {
    json event = Element("keypress");
    event["key"] = key;
    event["values"][std::to_string(frame_key_)][std::to_string(number_box_)] = before;
    return event;
  }

  // Text of the last answer, as the server writes it to the browser.
  const std::string& last_text() const { return last_text_; }
  bool waiting() const { return session_.WaitingForAnswer(); }

 private:
  void Take(const json& answer) {
    last_text_ = cn::web::JsonText(answer);
    seq_ = answer.value("seq", seq_);
    if (const auto frame = answer.find("frame"); frame != answer.end() && frame->is_object()) {
      frame_key_ = frame->at("key").get<int>();
      const std::string& html = frame->at("html").get_ref<const std::string&>();
      if (html.find(" id='txtCoverNoteNumber'") != std::string::npos) number_box_ = NodeIn(html, "txtCoverNoteNumber");
    }
  }

  cn::web::Session session_;
  std::string last_text_;
  std::uint64_t seq_ = 0;
  int frame_key_ = 0;
  std::int64_t number_box_ = 0;
};

// Vehicle tab, then Cover tab: two switches per iteration, each loading, filling and showing
// the record on its page and sending the whole page.
void BM_TabSwitch(benchmark::State& state) {
  const ScratchProduct product;
  ReadSession session(product.screens());
  const json vehicle{{"kind", "tab"}, {"id", "COVVeh"}};
  const json cover{{"kind", "tab"}, {"id", "COVCover"}};
  std::size_t bytes = 0;
  for (auto _ : state) {
    session.Send(vehicle);
    bytes += session.last_text().size();
    session.Send(cover);
    bytes += session.last_text().size();
  }
  state.SetItemsProcessed(state.iterations() * 2);
  if (const char* path = std::getenv("SCREEN_BENCH_ANSWER")) std::ofstream(path) << session.last_text();
  state.counters["answer_bytes"] = benchmark::Counter(static_cast<double>(bytes) / (2.0 * state.iterations()));
}
BENCHMARK(BM_TabSwitch)->Unit(benchmark::kMicrosecond)->Apply(FixedIterations);

// A character typed into the cover-note number box of the Cover tab (upper-cased by the page),
// the box emptied by the browser before each, so that it never grows.
void BM_KeyPress(benchmark::State& state) {
  const ScratchProduct product;
  ReadSession session(product.screens());
  const json key = session.Typed('c', "");
  for (auto _ : state) session.Send(key);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KeyPress)->Unit(benchmark::kMicrosecond)->Apply(FixedIterations);

// The cover note read again from the Cover tab: the record fetched, every page's fields filled,
// the answer written.
void BM_ReadCoverNote(benchmark::State& state) {
  const ScratchProduct product;
  ReadSession session(product.screens());
  for (auto _ : state) session.Read();
  state.SetItemsProcessed(state.iterations());
  state.counters["answer_bytes"] = static_cast<double>(session.last_text().size());
}
BENCHMARK(BM_ReadCoverNote)->Unit(benchmark::kMicrosecond)->Apply(FixedIterations);

// Calculate pressed again and again on the premium tab of the note read (the new tariff's tab,
// which a note read today opens).
void BM_Calculate(benchmark::State& state) {
  const ScratchProduct product;
  ReadSession session(product.screens());
  session.Send({{"kind", "tab"}, {"id", "COVNPrem"}});
  const json calculate{{"kind", "command"}, {"id", "cmdCalculate"}};
  for (auto _ : state) session.Send(calculate);
  // A message would leave the later presses refused: nothing measured.
  if (session.waiting()) state.SkipWithError("Calculate asked something");
  state.SetItemsProcessed(state.iterations());
  state.counters["answer_bytes"] = static_cast<double>(session.last_text().size());
}
BENCHMARK(BM_Calculate)->Unit(benchmark::kMicrosecond)->Apply(FixedIterations);

// Bytes the program's allocator has handed out and not yet taken back.
std::size_t HeapInUse() {
  std::size_t bytes = 0;
  if (MallocExtension_GetNumericProperty("generic.current_allocated_bytes", &bytes) == 0) {
    throw std::runtime_error("the allocator does not report its heap");
  }
  return bytes;
}

// Heap held by each idle session after start-up and a read, over 50 sessions, once a first
// session has paid what is paid once per process.
void BM_IdleSessionHeap(benchmark::State& state) {
  const ScratchProduct product;
  constexpr int kSessions = 50;
  for (auto _ : state) {
    std::vector<std::unique_ptr<ReadSession>> sessions;
    sessions.push_back(std::make_unique<ReadSession>(product.screens()));
    const std::size_t before = HeapInUse();
    for (int i = 0; i < kSessions; ++i) sessions.push_back(std::make_unique<ReadSession>(product.screens()));
    const std::size_t after = HeapInUse();
    state.counters["KB_per_session"] = static_cast<double>(after - before) / kSessions / 1024.0;
  }
}
BENCHMARK(BM_IdleSessionHeap)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

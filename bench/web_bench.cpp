// The web front end under load, on loopback: event round-trip latency (p50, p99) with 1, 50
// and 200 concurrent sessions each typing and switching tabs, and resident memory per idle
// session after start-up and a read.
//
// The server runs in this process on 127.0.0.1 (any free port) with 2 I/O threads and one of
// two screens (--screen):
//   product  the cover-note screen as `covernote serve` builds it, over a database created and
//            seeded for the run in a temporary folder with a settings file of its own (both
//            removed at the end; the user's own files are never opened); every session is the
//            head-office administrator;
//   test     the small screen of tests/web (tab pages with keypress, blur and Enter handlers).
// The clients are Beast connections kept alive, one per session, driven asynchronously from
// one client thread. It reads an answer's body in one piece and parses only what a session
// follows of it, so that its own work stays small beside what it measures. Each session logs in and reads the whole state (start-up), then reads a
// record: its number typed key by key into the number box, then Enter. Then it repeats a cycle
// (a table per screen):
//   product  txtCoverNoteNumber emptied and six characters typed (the only box of the Cover tab
//            left editable after a read), tab COVVeh, tab COVCover;
//   test     txtNum emptied and six characters typed, txtName left with a value, TABB, TABA.
// A message is answered with its first button (OK, or Yes) and a dialog closed without a
// choice; both are counted and their texts listed. A refused request is counted, the event is
// given up and the session reads the whole state again before going on; a session refused too
// often, or whose connection fails, stops and is counted.
//
// Between two events a session waits a think time drawn uniformly from [0, 2 x --think_ms]
// (0: back to back). The default, 200 ms, is five keys a second, a fast typist's sixty words
// a minute, kept up by every session at once; 50 is four times that, a stress pace.
// The p50/p99/max figures cover the cycle's events after the read and --warmup further
// events; the read's Enter and the prompt answers are listed by event. Every run is bounded
// by its event count and by a wall-clock limit (--limit_s).
//
// The floor: right after each timed answer to a posted event, the session posts the same body
// to /api/floor (served by this bench's server only) asking for an answer of the same size. It
// takes the event's way through the server (connection, session, token, JSON, the session's
// thread, the answer written) without the screen's work, so event/floor is what the screen adds.
// Each run row shows the floor's p50/p99 and the ratios beside the events'; a line per run gives
// them by event. --floor=0 leaves it out (half the requests).
//
// Memory: the growth of the resident set over --idle sessions that did start-up and the read,
// divided by their number, after a few sessions have paid what is paid once; then again with
// their screens evicted (as --evict-idle-screens-after does), the logins kept.
//
// Rebuild (product screen): 50 tabs each post a journal (a read and a tab's round trip) to a
// server that holds no screen of theirs, beside the same read as an event on a held screen.
//
//   web_bench [--screen=product|test] [--sessions=1,50,200] [--events=150] [--warmup=10]
//             [--think_ms=200] [--idle=300] [--limit_s=120] [--sample_s=0] [--floor=1]
//             [--db=postgresql://...]
//
// With --sample_s, the resident set and the open files are printed every so many seconds
// while the sessions run (scripts/soak). --db runs the product screen on that database
// (seeded when empty) instead of a SQLite file.

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <spdlog/spdlog.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "../tests/web/http_client.h"
#include "../tests/web/test_screen.h"
#include "app/session_screens.h"
#include "dom/window.h"
#include "latency_histogram.h"
#include "web/memory_user_directory.h"
#include "web/render.h"
#include "web/server.h"

// Present only when the program links the thread-caching allocator.
extern "C" int MallocExtension_GetNumericProperty(const char* property, std::size_t* value) __attribute__((weak));

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using Clock = std::chrono::steady_clock;
using nlohmann::json;

enum class ScreenKind { kProduct, kTest };

struct Options {
  ScreenKind screen = ScreenKind::kProduct;
  std::vector<int> sessions{1, 50, 200};
  int events = 150;  // measured events per session
  int warmup = 10;   // cycle events per session before measuring
  int think_ms = 200;
  int idle = 300;  // idle sessions for the memory figure
  int limit_s = 120;
  int sample_s = 0;  // soak: resident set and open files every so often while sessions run
  std::string db;    // empty: a SQLite file of the run's own
  bool floor = true;  // each timed event followed by its floor
};

// The requests a session sends, by what the administrator did; each has its latency figures.
enum class Act { kKey, kBlur, kTab, kEnter, kAnswer, kState };
constexpr int kActs = 6;
constexpr std::array<std::pair<Act, const char*>, kActs> kActNames{{{Act::kKey, "key"},
                                                                    {Act::kBlur, "blur"},
                                                                    {Act::kTab, "tab"},
                                                                    {Act::kEnter, "enter"},
                                                                    {Act::kAnswer, "answer"},
                                                                    {Act::kState, "state"}}};

// One event of the repeated cycle.
struct CycleStep {
  Act act;
  std::string_view target;   // the element's id (key, blur) or the tab's id
  char key = 0;              // the character typed
  bool clears = false;       // the box was emptied first: its value goes along as ""
  bool posts_value = false;  // the box's value as the browser has it goes along (a blur)
};

// What a session does on a screen: start-up, a read (the number typed into the number box,
// then Enter), then the cycle again and again.
struct Workload {
  std::string_view description;
  std::string_view number_box;  // also what tells the page the events go to
  std::string_view number;
  std::string_view read_shows;  // in the Enter's answer when the record was read
  std::span<const CycleStep> cycle;
};

// After a read the Cover tab's boxes are read-only but for the number box, whose page handles
// its keys: the administrator types a new number there and looks at the Vehicle tab.
constexpr std::array kProductCycle{
    CycleStep{Act::kKey, "txtCoverNoteNumber", 'C', true},
    CycleStep{Act::kKey, "txtCoverNoteNumber", 'N'},
    CycleStep{Act::kKey, "txtCoverNoteNumber", '2'},
    CycleStep{Act::kKey, "txtCoverNoteNumber", '4'},
    CycleStep{Act::kKey, "txtCoverNoteNumber", '0'},
    CycleStep{Act::kKey, "txtCoverNoteNumber", '0'},
    CycleStep{Act::kTab, "COVVeh"},
    CycleStep{Act::kTab, "COVCover"},
};

constexpr std::array kTestCycle{
    CycleStep{Act::kKey, "txtNum", 'a', true},
    CycleStep{Act::kKey, "txtNum", 'b'},
    CycleStep{Act::kKey, "txtNum", 'c'},
    CycleStep{Act::kKey, "txtNum", 'd'},
    CycleStep{Act::kKey, "txtNum", 'e'},
    CycleStep{Act::kKey, "txtNum", 'f'},
    CycleStep{Act::kBlur, "txtName", 0, false, true},
    CycleStep{Act::kTab, "TABB"},
    CycleStep{Act::kTab, "TABA"},
};

constexpr Workload kProductWorkload{
    .description =
        "the cover-note screen over a freshly seeded database, as the head-office "
        "administrator; read CN24000101, then: txtCoverNoteNumber cleared and 6 keypress, "
        "tab COVVeh, tab COVCover",
    .number_box = "txtCoverNoteNumber",
    .number = "CN24000101",
    .read_shows = " : CN24000101",
    .cycle = kProductCycle,
};

constexpr Workload kTestWorkload{
    .description =
        "the TEST screen of tests/web (not the cover-note screen); read 42, then: "
        "txtNum cleared and 6 keypress, txtName left with a value, tab TABB, tab TABA",
    .number_box = "txtNum",
    .number = "42",
    .read_shows = "Read 42",
    .cycle = kTestCycle,
};

const Workload& WorkloadOf(ScreenKind screen) {
  return screen == ScreenKind::kProduct ? kProductWorkload : kTestWorkload;
}

std::vector<int> ParseList(const std::string& text) {
  std::vector<int> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item =
        text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (!item.empty()) out.push_back(std::stoi(item));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&arg](const char* name) -> std::optional<std::string> {
      const std::string prefix = std::string("--") + name + "=";
      if (arg.rfind(prefix, 0) != 0) return std::nullopt;
      return arg.substr(prefix.size());
    };
    if (auto v = value("screen")) {
      if (*v != "product" && *v != "test")
        throw std::invalid_argument("--screen is product or test");
      options.screen = *v == "product" ? ScreenKind::kProduct : ScreenKind::kTest;
    } else if (auto v = value("sessions")) {
      options.sessions = ParseList(*v);
    } else if (auto v = value("events")) {
      options.events = std::stoi(*v);
    } else if (auto v = value("warmup")) {
      options.warmup = std::stoi(*v);
    } else if (auto v = value("think_ms")) {
      options.think_ms = std::stoi(*v);
    } else if (auto v = value("idle")) {
      options.idle = std::stoi(*v);
    } else if (auto v = value("limit_s")) {
      options.limit_s = std::stoi(*v);
    } else if (auto v = value("sample_s")) {
      options.sample_s = std::stoi(*v);
    } else if (auto v = value("floor")) {
      options.floor = *v != "0";
    } else if (auto v = value("db")) {
      options.db = *v;
    } else {
      throw std::invalid_argument("unknown argument " + arg);
    }
  }
  for (const int sessions : options.sessions) {
    if (sessions < 1 || sessions > 5000) throw std::invalid_argument("sessions must be 1..5000");
  }
  options.events = std::clamp(options.events, 1, 100000);
  options.warmup = std::clamp(options.warmup, 0, 10000);
  options.think_ms = std::clamp(options.think_ms, 0, 10000);
  options.idle = std::clamp(options.idle, 1, 5000);
  options.limit_s = std::clamp(options.limit_s, 1, 3600);
  return options;
}

// What the allocator reports, in KB: "generic.current_allocated_bytes" is what the program
// holds; the free lists are what it keeps for later. -1 without the thread-caching allocator.
long AllocatorKb(const char* property) {
  std::size_t bytes = 0;
  if (MallocExtension_GetNumericProperty == nullptr || MallocExtension_GetNumericProperty(property, &bytes) == 0) return -1;
  return static_cast<long>(bytes / 1024);
}

long AllocatorFreeKb() {
  long free_kb = 0;
  for (const char* list : {"tcmalloc.pageheap_free_bytes", "tcmalloc.central_cache_free_bytes",
                           "tcmalloc.transfer_cache_free_bytes", "tcmalloc.thread_cache_free_bytes"}) {
    free_kb += std::max(0L, AllocatorKb(list));
  }
  return free_kb;
}

// Resident set size of this process, in KB.
long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The node id the markup gives the element with this id, if it is there.
std::optional<std::int64_t> NodeIn(std::string_view html, std::string_view id) {
  const std::string needle = "id='" + std::string(id) + "'";
  for (std::size_t at = html.find(needle); at != std::string_view::npos;
       at = html.find(needle, at + 1)) {
    if (at == 0 || html[at - 1] != ' ') continue;  // not data-id='...' and the like
    const std::size_t open = html.rfind('<', at);
    const std::size_t close = html.find('>', at);
    if (open == std::string_view::npos || close == std::string_view::npos) return std::nullopt;
    const std::string_view tag = html.substr(open, close - open);
    constexpr std::string_view kNid = "data-nid='";
    const std::size_t nid = tag.find(kNid);
    if (nid == std::string_view::npos) return std::nullopt;
    return std::stoll(std::string(tag.substr(nid + kNid.size())));
  }
  return std::nullopt;
}

// The page the session's events go to, as the browser last received it: its key and the node
// ids of the elements the workload uses.
struct PageView {
  int key = 0;
  std::map<std::string, std::int64_t, std::less<>> nodes;

  std::int64_t Node(std::string_view id) const { return nodes.find(id)->second; }

  // The view of a rendered page holding the number box; nothing for another page.
  static std::optional<PageView> Of(const json& page, const Workload& workload) {
    if (!page.is_object()) return std::nullopt;
    const std::string& html = page.at("html").get_ref<const std::string&>();
    if (!NodeIn(html, workload.number_box)) return std::nullopt;
    PageView view{page.at("key").get<int>(), {}};
    const auto add = [&](std::string_view id, bool keys) {
      const auto node = NodeIn(html, id);
      if (!node) throw std::runtime_error("no element " + std::string(id) + " on the page");
      // Keys typed into a box whose page does not handle them would never reach the server.
      if (keys && !Reports(page, *node, "keypress")) {
        throw std::runtime_error("the page does not handle keypress on " + std::string(id));
      }
      view.nodes.emplace(id, *node);
    };
    add(workload.number_box, true);
    for (const CycleStep& step : workload.cycle) {
      if (step.act != Act::kTab && !view.nodes.contains(step.target))
        add(step.target, step.act == Act::kKey);
    }
    return view;
  }

 private:
  // Whether the page reports that event of the element to the server.
  static bool Reports(const json& page, std::int64_t node, std::string_view event) {
    const auto wiring = page.find("wiring");
    if (wiring == page.end() || !wiring->is_string()) return false;
    const auto entries = cn::web::ReadWiring(wiring->get_ref<const std::string&>());
    const auto entry = entries.find(node);
    if (entry == entries.end()) return false;
    const std::vector<std::string>& events = entry->second.events;
    return std::find(events.begin(), events.end(), event) != events.end();
  }
};

// The answer the administrator gives a prompt: a message's first button, a dialog closed.
// What a session follows of an answer (its number, the pages shown with their markup and
// wiring, the prompt), read with rapidjson: the one client thread reads the answers of every
// session, and a tab's 15 KB taken apart by nlohmann's parser would hold the others' back.
json FollowedPart(const std::string& body) {
  rapidjson::Document answer;
  answer.Parse(body.data(), body.size());
  if (answer.HasParseError() || !answer.IsObject())
    throw std::runtime_error("the answer is not a JSON object");
  const auto text = [](const rapidjson::Value& value) {
    return std::string(value.GetString(), value.GetStringLength());
  };
  json part;
  if (const auto seq = answer.FindMember("seq");
      seq != answer.MemberEnd() && seq->value.IsUint64()) {
    part["seq"] = seq->value.GetUint64();
  }
  for (const char* name : {"frame", "workspace"}) {
    const auto page = answer.FindMember(name);
    if (page == answer.MemberEnd() || !page->value.IsObject()) continue;
    const auto key = page->value.FindMember("key");
    const auto html = page->value.FindMember("html");
    if (key == page->value.MemberEnd() || !key->value.IsInt() || html == page->value.MemberEnd() ||
        !html->value.IsString()) {
      continue;
    }
    json& shown = part[name] = {{"key", key->value.GetInt()}, {"html", text(html->value)}};
    if (const auto wiring = page->value.FindMember("wiring");
        wiring != page->value.MemberEnd() && wiring->value.IsString()) {
      shown["wiring"] = text(wiring->value);
    }
  }
  // Prompts are few: taken whole.
  if (const auto prompt = answer.FindMember("prompt");
      prompt != answer.MemberEnd() && prompt->value.IsObject()) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    prompt->value.Accept(writer);
    part["prompt"] = json::parse(std::string_view(buffer.GetString(), buffer.GetSize()));
  }
  return part;
}

json PromptResult(const json& prompt) {
  if (prompt.value("type", "") != "message") return "";
  const int buttons = prompt.value("style", 0) % 16;
  return buttons == cn::dom::message_box::kYesNo ? cn::dom::message_box::kYes
                                                 : cn::dom::message_box::kOk;
}

constexpr const char* kPassword = "bench pass";

// A folder of the run's own, removed at the end; named by process so that runs side by side
// never share one.
class ScratchFolder {
 public:
  ScratchFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("web_bench-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The screen the server shows and the identity its users log in as. The product is opened
// once, over its own database and settings file, and shared by every run's server.
class ScreenSource {
 public:
  ScreenSource(ScreenKind kind, const std::string& db) : kind_(kind) {
    if (kind_ == ScreenKind::kTest) {
      test_pages_.emplace();
      return;
    }
    scratch_.emplace();
    // Both paths explicit: the user's own database and settings file stay untouched.
    product_ = cn::app::OpenProduct({.database = db.empty() ? scratch_->path() / "covernote.db"
                                                            : std::filesystem::path(db),
                                     .settings = scratch_->path() / "settings.toml"});
  }

  cn::web::ScreenFactory Factory() const {
    if (kind_ == ScreenKind::kTest) return cn::web::testing::TestScreenFactory(test_pages_->dir());
    return cn::app::SessionScreens(product_, COVERNOTE_PAGES_DIR);
  }
  // The seeded head-office administrator; the test screen takes anyone.
  cn::web::Identity IdentityOf(int user) const {
    if (kind_ == ScreenKind::kProduct) return {"ADMIN", "HQ001", "H"};
    return {"U" + std::to_string(user), "A01", "B"};
  }
  std::string Folder() const {
    return scratch_ ? scratch_->path().string() : test_pages_->dir().string();
  }

 private:
  ScreenKind kind_;
  std::optional<cn::web::testing::TestPages> test_pages_;
  std::optional<ScratchFolder> scratch_;
  std::shared_ptr<const cn::app::ServedProduct> product_;
};

struct Fixture {
  Fixture(const ScreenSource& screens, int users) {
    auto directory = std::make_shared<cn::web::MemoryUserDirectory>(
        cn::web::MemoryUserDirectory::HashCost::kMinimum);
    for (int i = 0; i < users; ++i)
      directory->Add("u" + std::to_string(i), kPassword, screens.IdentityOf(i));
    cn::web::ServerOptions options;
    options.port = 0;
    options.io_threads = 2;
    options.assets = COVERNOTE_PAGES_DIR;
    // Every session may be the same administrator, and all of them log in at once.
    options.sessions.most_per_user = 0;
    options.most_waiting_logins = static_cast<std::size_t>(users);
    // Every browser here connects from loopback, and each keeps its connection.
    options.most_connections_per_address = 0;
    options.floor_endpoint = true;
    server = std::make_unique<cn::web::Server>(options, directory, screens.Factory());
    server->Start();
  }
  ~Fixture() { server->Stop(); }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  std::unique_ptr<cn::web::Server> server;
};

// A logged-in browser with its first state read (start-up).
struct Login {
  std::string cookie;
  std::string csrf;
  json state;
};

std::optional<Login> LogIn(unsigned short port, int user) {
  cn::web::testing::Browser browser(port);
  try {
    if (!browser.LogIn("u" + std::to_string(user), kPassword)) {
      std::fprintf(stderr, "login of u%d refused\n", user);
      return std::nullopt;
    }
    const auto reply = browser.State();
    if (reply.status != 200) {
      std::fprintf(stderr, "start-up of u%d refused: %d %s\n", user, reply.status,
                   reply.body.c_str());
      return std::nullopt;
    }
    return Login{browser.cookie, browser.csrf, reply.Json()};
  } catch (const std::exception& error) {
    std::fprintf(stderr, "start-up of u%d failed: %s\n", user, error.what());
    return std::nullopt;
  }
}

// What one run's sessions did, added together.
// The round trips timed, by Act, and their floors; one for all of a run's sessions (they share
// the client thread).
struct Latencies {
  std::array<cn::bench::LatencyHistogram, kActs> by_act;
  std::array<cn::bench::LatencyHistogram, kActs> floor_by_act;
  cn::bench::LatencyHistogram& Of(Act act) { return by_act[static_cast<int>(act)]; }
  const cn::bench::LatencyHistogram& Of(Act act) const { return by_act[static_cast<int>(act)]; }
  cn::bench::LatencyHistogram& FloorOf(Act act) { return floor_by_act[static_cast<int>(act)]; }
  const cn::bench::LatencyHistogram& FloorOf(Act act) const {
    return floor_by_act[static_cast<int>(act)];
  }
};

struct Tally {
  int requests = 0;                                     // answered, measured or not
  int reads = 0;                                        // Enter answered with the record shown
  int refused = 0;
  int floor_refused = 0;
  int failed = 0;  // sessions that stopped early: connection lost or refused too often
  int messages = 0;
  int dialogs = 0;
  std::map<std::string, int> prompt_texts;
  int unfinished = 0;

  void Add(const Tally& other) {
    requests += other.requests;
    reads += other.reads;
    refused += other.refused;
    floor_refused += other.floor_refused;
    failed += other.failed;
    messages += other.messages;
    dialogs += other.dialogs;
    for (const auto& [text, count] : other.prompt_texts) prompt_texts[text] += count;
    unfinished += other.unfinished;
  }
};

// One session's browser: a kept-alive connection sending its events one after another. The
// script is the read (each key of the number, then Enter) followed by `cycle_events` events of
// the cycle; prompts are answered and refusals followed by a fresh state in between.
class Client : public std::enable_shared_from_this<Client> {
 public:
  Client(asio::io_context& io, const Workload& workload, Login login, int warmup, int cycle_events,
         int think_ms, unsigned seed, Latencies& latencies, bool floor)
      : latencies_(latencies),
        floor_(floor),
        stream_(io),
        timer_(io),
        workload_(workload),
        cookie_(std::move(login.cookie)),
        csrf_(std::move(login.csrf)),
        read_steps_(static_cast<int>(workload.number.size()) + 1),
        measured_from_(read_steps_ + warmup),
        script_length_(read_steps_ + cycle_events),
        think_ms_(think_ms),
        random_(seed) {
    Follow(login.state);
    if (!page_)
      throw std::runtime_error("the first state shows no " + std::string(workload.number_box));
  }

  void Start(const asio::ip::tcp::endpoint& endpoint) {
    stream_.async_connect(endpoint, [self = shared_from_this()](beast::error_code error) {
      if (error) return self->Fail("connect", error);
      self->stream_.socket().set_option(asio::ip::tcp::no_delay(true), error);
      self->Wait();
    });
  }
  // At the time limit: what was in flight is given up, not counted as a failure.
  void Close() {
    closed_ = true;
    beast::error_code ignored;
    timer_.cancel();
    stream_.socket().close(ignored);
  }

  bool done() const { return stopped_ || (step_ >= script_length_ && !prompt_ && !resync_); }
  Tally& tally() { return tally_; }

 private:
  static constexpr int kMostRefusals = 20;  // a session refused this often stops
  int MostRequests() const { return 3 * script_length_ + 10; }  // answers and resyncs included

  void Wait() {
    if (done()) return Close();
    if (think_ms_ == 0 || prompt_) return Send();  // a prompt is answered at once
    std::uniform_int_distribution<int> think(0, 2 * think_ms_ * 1000);
    timer_.expires_after(std::chrono::microseconds(think(random_)));
    timer_.async_wait([self = shared_from_this()](beast::error_code error) {
      if (!error) self->Send();
    });
  }

  // An element event on the page, with the fields the browser posts along.
  json ElementEvent(std::int64_t node, std::string_view event) const {
    return {{"seen", seq_},
            {"kind", "element"},
            {"page", page_->key},
            {"node", node},
            {"event", event}};
  }

  // The script's event at step_, and what it stands for.
  std::pair<json, Act> ScriptEvent() const {
    if (step_ < read_steps_ - 1) {
      json event = ElementEvent(page_->Node(workload_.number_box), "keypress");
      event["key"] = static_cast<int>(workload_.number[step_]);
      return {std::move(event), Act::kKey};
    }
    if (step_ == read_steps_ - 1) {
      json event = ElementEvent(page_->Node(workload_.number_box), "keydown");
      event["key"] = 13;
      return {std::move(event), Act::kEnter};
    }
    const CycleStep& step = workload_.cycle[(step_ - read_steps_) % workload_.cycle.size()];
    if (step.act == Act::kTab)
      return {json{{"seen", seq_}, {"kind", "tab"}, {"id", step.target}}, Act::kTab};
    const std::int64_t node = page_->Node(step.target);
    json event = ElementEvent(node, step.act == Act::kKey ? "keypress" : "blur");
    if (step.act == Act::kKey) event["key"] = static_cast<int>(step.key);
    if (step.clears || step.posts_value) {
      event["values"][std::to_string(page_->key)][std::to_string(node)] =
          step.clears ? std::string() : "Value " + std::to_string(step_);
    }
    return {std::move(event), step.act};
  }

  void Send() {
    if (++requests_ > MostRequests()) {
      std::fprintf(stderr, "a session stopped after %d requests\n", requests_ - 1);
      return Stop();
    }
    std::string target = "/api/event";
    http::verb verb = http::verb::post;
    std::string body;
    if (resync_) {
      target = "/api/state";
      verb = http::verb::get;
      act_ = Act::kState;
    } else if (prompt_) {
      target = "/api/answer";
      body = json{{"seen", seq_}, {"prompt", prompt_->at("id")}, {"result", PromptResult(*prompt_)}}
                 .dump();
      act_ = Act::kAnswer;
    } else {
      auto [event, act] = ScriptEvent();
      body = event.dump();
      act_ = act;
    }
    request_ = {verb, target, 11};
    request_.set(http::field::host, "127.0.0.1");
    request_.set(http::field::cookie, cookie_);
    request_.set(std::string(cn::web::kCsrfHeader), csrf_);
    request_.set(std::string(cn::web::kScreenHeader), "first-tab");
    if (verb == http::verb::post) request_.set(http::field::content_type, "application/json");
    request_.keep_alive(true);
    request_.body() = std::move(body);
    request_.prepare_payload();
    Exchange(&Client::Received);
  }

  // The same body again to the floor, asking for an answer of `bytes`.
  void SendFloor(std::size_t bytes) {
    request_.target("/api/floor?bytes=" + std::to_string(bytes));
    Exchange(&Client::FloorReceived);
  }

  // Writes request_, times the answer and hands it to `then`.
  void Exchange(void (Client::*then)(beast::error_code)) {
    parser_.emplace();
    parser_->body_limit(16 * 1024 * 1024);
    started_ = Clock::now();
    http::async_write(
        stream_, request_, [self = shared_from_this(), then](beast::error_code error, std::size_t) {
          if (error) return self->Fail("write", error);
          http::async_read_header(self->stream_, self->buffer_, *self->parser_,
                                  [self, then](beast::error_code header_error, std::size_t) {
                                    if (header_error) return ((*self).*then)(header_error);
                                    self->RoomForBody();
                                    http::async_read(
                                        self->stream_, self->buffer_, *self->parser_,
                                        [self, then](beast::error_code read_error, std::size_t) {
                                          ((*self).*then)(read_error);
                                        });
                                  });
        });
  }

  // A browser takes an answer from the socket in large reads. Left to itself the buffer stays
  // at its first 512 bytes and a 15 KB answer costs the client thirty reads, time that every
  // session waiting behind it would count.
  void RoomForBody() {
    if (const auto length = parser_->content_length()) {
      buffer_.reserve(buffer_.size() +
                      static_cast<std::size_t>(std::min<std::uint64_t>(*length, 1 << 20)));
    }
  }

  double TakenUs() const {
    return std::chrono::duration<double, std::micro>(Clock::now() - started_).count();
  }

  void FloorReceived(beast::error_code error) {
    if (error) return Fail("read", error);
    const auto& response = parser_->get();
    if (response.result_int() == 200) {
      latencies_.FloorOf(act_).Record(TakenUs());
    } else if (++tally_.floor_refused <= 3) {
      std::fprintf(stderr, "floor refused: %d %s\n", response.result_int(),
                   response.body().substr(0, 200).c_str());
    }
    Wait();
  }

  void Received(beast::error_code error) {
    if (error) return Fail("read", error);
    const double us = TakenUs();
    const auto& response = parser_->get();
    const bool scripted = act_ != Act::kAnswer && act_ != Act::kState;
    if (response.result_int() != 200) {
      if (++tally_.refused <= 3) {
        const auto target = request_.target();
        std::fprintf(stderr, "refused (%.*s): %d %s\n", static_cast<int>(target.size()),
                     target.data(), response.result_int(), response.body().substr(0, 200).c_str());
      }
      if (scripted) ++step_;  // that event is given up, not retried
      resync_ = true;
      if (tally_.refused >= kMostRefusals) return Stop();
      return Wait();
    }
    ++tally_.requests;
    const bool cycle = act_ == Act::kKey || act_ == Act::kBlur || act_ == Act::kTab;
    const bool timed = !cycle || step_ >= measured_from_;
    if (timed) latencies_.Of(act_).Record(us);
    const std::size_t answer_bytes = response.body().size();
    if (act_ == Act::kEnter && response.body().find(workload_.read_shows) != std::string::npos)
      ++tally_.reads;
    // Reading the answer is the browser's work, outside the measured round trip.
    try {
      Follow(FollowedPart(response.body()));
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "an answer could not be followed: %s\n", failure.what());
      return Stop();
    }
    if (act_ == Act::kState) resync_ = false;
    if (scripted) ++step_;
    if (floor_ && timed && act_ != Act::kState) return SendFloor(answer_bytes);
    Wait();
  }

  // Takes in an answer: its number, the page now shown, the prompt waiting.
  void Follow(const json& answer) {
    seq_ = answer.at("seq").get<std::uint64_t>();
    for (const char* name : {"frame", "workspace"}) {
      if (const auto page = answer.find(name); page != answer.end()) {
        if (auto view = PageView::Of(*page, workload_)) page_ = *view;
      }
    }
    prompt_.reset();
    if (const auto prompt = answer.find("prompt"); prompt != answer.end() && prompt->is_object()) {
      prompt_ = *prompt;
      if (prompt->value("type", "") == "message") {
        ++tally_.messages;
        ++tally_.prompt_texts[prompt->value("text", "")];
      } else {
        ++tally_.dialogs;
        ++tally_.prompt_texts["dialog " + prompt->value("url", "")];
      }
    }
  }

  void Stop() {
    if (!stopped_) ++tally_.failed;
    stopped_ = true;
    Close();
  }

  void Fail(const char* what, beast::error_code error) {
    if (error == asio::error::operation_aborted || closed_) return;
    std::fprintf(stderr, "%s failed: %s\n", what, error.message().c_str());
    Stop();
  }

  Latencies& latencies_;
  bool floor_;
  beast::tcp_stream stream_;
  asio::steady_timer timer_;
  beast::flat_buffer buffer_;
  http::request<http::string_body> request_;
  std::optional<http::response_parser<http::string_body>> parser_;
  const Workload& workload_;
  std::string cookie_;
  std::string csrf_;
  std::uint64_t seq_ = 0;
  std::optional<PageView> page_;
  std::optional<json> prompt_;
  bool resync_ = false;
  int read_steps_;
  int measured_from_;
  int script_length_;
  int think_ms_;
  std::minstd_rand random_;
  int step_ = 0;
  int requests_ = 0;
  bool stopped_ = false;
  bool closed_ = false;
  Act act_ = Act::kKey;
  Tally tally_;
  Clock::time_point started_;
};

// Logs in `count` sessions (users first..first+count-1) and runs their scripts to the end or
// the time limit. Sessions whose start-up is refused are counted as failed.
Tally RunSessions(const Workload& workload, unsigned short port, int first, int count, int warmup,
                  int cycle_events, int think_ms, int limit_s, double* seconds,
                  Latencies& latencies, bool floor = false) {
  asio::io_context io;
  Tally tally;
  std::vector<std::shared_ptr<Client>> clients;
  for (int i = first; i < first + count; ++i) {
    auto login = LogIn(port, i);
    if (!login) {
      ++tally.failed;
      continue;
    }
    try {
      clients.push_back(std::make_shared<Client>(io, workload, std::move(*login), warmup,
                                                 cycle_events, think_ms,
                                                 static_cast<unsigned>(i + 1), latencies, floor));
    } catch (const std::exception& error) {
      std::fprintf(stderr, "start-up of u%d unusable: %s\n", i, error.what());
      ++tally.failed;
    }
  }
  const asio::ip::tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"), port);
  for (auto& client : clients) client->Start(endpoint);

  const auto begin = Clock::now();
  io.run_for(std::chrono::seconds(limit_s));
  if (seconds != nullptr) *seconds = std::chrono::duration<double>(Clock::now() - begin).count();
  for (auto& client : clients) {
    if (!client->done()) ++tally.unfinished;
    client->Close();
  }
  io.restart();
  io.run_for(std::chrono::seconds(2));
  for (const auto& client : clients) tally.Add(client->tally());
  return tally;
}

void PrintPrompts(const Tally& tally) {
  for (const auto& [text, count] : tally.prompt_texts)
    std::printf("    prompt x%d: %s\n", count, text.c_str());
}

int OpenFiles() {
  std::error_code error;
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd", error),
                                        std::filesystem::directory_iterator()));
}

// Prints the resident set and the open files every `every_s` seconds until destroyed.
class Sampler {
 public:
  explicit Sampler(int every_s) {
    if (every_s <= 0) return;
    thread_ = std::thread([this, every_s] {
      const auto start = std::chrono::steady_clock::now();
      std::unique_lock lock(mutex_);
      do {
        const auto at = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
        // Held and free heap tell a leak (held grows) from memory the allocator keeps.
        std::printf("sample t=%llds rss_kb=%ld fds=%d heap_kb=%ld free_kb=%ld\n", static_cast<long long>(at.count()),
                    ResidentKb(), OpenFiles(), AllocatorKb("generic.current_allocated_bytes"), AllocatorFreeKb());
        std::fflush(stdout);
      } while (!stop_.wait_for(lock, std::chrono::seconds(every_s), [this] { return stopped_; }));
    });
  }
  ~Sampler() {
    if (!thread_.joinable()) return;
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    stop_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopped_ = false;
  std::thread thread_;
};

// How many times the floor an event's percentile is.
double Ratio(const cn::bench::LatencyHistogram& events, const cn::bench::LatencyHistogram& floor,
             double p) {
  return floor.empty() ? 0 : events.Percentile(p) / floor.Percentile(p);
}

// The run row's floor columns: its p50 and p99, then event/floor at each.
std::string FloorColumns(const cn::bench::LatencyHistogram& events,
                         const cn::bench::LatencyHistogram& floor) {
  std::array<char, 64> text{};
  if (floor.empty()) {
    std::snprintf(text.data(), text.size(), "%7s  %7s  %5s  %5s", "-", "-", "-", "-");
  } else {
    std::snprintf(text.data(), text.size(), "%7.3f  %7.3f  %5.1f  %5.1f",
                  floor.Percentile(50) / 1000, floor.Percentile(99) / 1000,
                  Ratio(events, floor, 50), Ratio(events, floor, 99));
  }
  return text.data();
}

void RunLatency(const ScreenSource& screens, const Workload& workload, const Options& options,
                int sessions, int think_ms) {
  Fixture fixture(screens, sessions);
  const Sampler sampler(options.sample_s);
  double seconds = 1;
  Latencies latencies;
  const Tally tally = RunSessions(workload, fixture.server->Port(), 0, sessions, options.warmup,
                                  options.warmup + options.events, think_ms, options.limit_s,
                                  &seconds, latencies, options.floor);
  cn::bench::LatencyHistogram cycle;
  cn::bench::LatencyHistogram cycle_floor;
  for (const Act act : {Act::kKey, Act::kBlur, Act::kTab}) {
    cycle.Add(latencies.Of(act));
    cycle_floor.Add(latencies.FloorOf(act));
  }
  std::printf("%8d  %8d  %7llu  %8.0f  %7.3f  %7.3f  %8.3f  %5d  %7d  %7d  %6d  %s%s\n", sessions,
              think_ms, static_cast<unsigned long long>(cycle.count()), tally.requests / seconds,
              cycle.Percentile(50) / 1000, cycle.Percentile(99) / 1000, cycle.max_us() / 1000,
              tally.reads, tally.messages + tally.dialogs, tally.refused, tally.failed,
              FloorColumns(cycle, cycle_floor).c_str(),
              tally.unfinished > 0 ? "  (stopped at the time limit)" : "");
  std::printf("    by event (n p50/p99 ms):");
  for (const auto& [act, name] : kActNames) {
    const auto& of_act = latencies.Of(act);
    if (of_act.empty()) continue;
    std::printf("  %s %llu %.3f/%.3f", name, static_cast<unsigned long long>(of_act.count()),
                of_act.Percentile(50) / 1000, of_act.Percentile(99) / 1000);
  }
  std::printf("\n");
  if (options.floor) {
    std::printf("    floor by event (n p50/p99 ms, event/floor p50/p99):");
    for (const auto& [act, name] : kActNames) {
      const auto& floor = latencies.FloorOf(act);
      if (floor.empty()) continue;
      std::printf("  %s %llu %.3f/%.3f x%.1f/x%.1f", name,
                  static_cast<unsigned long long>(floor.count()), floor.Percentile(50) / 1000,
                  floor.Percentile(99) / 1000, Ratio(latencies.Of(act), floor, 50),
                  Ratio(latencies.Of(act), floor, 99));
    }
    std::printf("%s\n", tally.floor_refused > 0
                            ? ("  floors refused " + std::to_string(tally.floor_refused)).c_str()
                            : "");
  }
  PrintPrompts(tally);
  std::fflush(stdout);
}

void RunMemory(const ScreenSource& screens, const Workload& workload, const Options& options) {
  constexpr int kWarm = 10;
  Fixture fixture(screens, kWarm + options.idle);
  const unsigned short port = fixture.server->Port();
  // A few sessions first, so that what every process pays once (pages parsed, pools grown,
  // the database's pages cached) is not counted.
  Latencies latencies;
  const Tally warm =
      RunSessions(workload, port, 0, kWarm, 0, 0, 0, options.limit_s, nullptr, latencies);
  const long before = ResidentKb();
  const long in_use_before = AllocatorKb("generic.current_allocated_bytes"), free_before = AllocatorFreeKb();
  const Tally idle =
      RunSessions(workload, port, kWarm, options.idle, 0, 0, 0, options.limit_s, nullptr, latencies);
  const long after = ResidentKb();
  const long in_use_after = AllocatorKb("generic.current_allocated_bytes"), free_after = AllocatorFreeKb();
  std::printf(
      "idle sessions: %d (each after start-up and a read), sessions on the server: %zu, "
      "records read %d, prompts %d, refused %d, failed %d\n",
      options.idle, fixture.server->SessionCount(), warm.reads + idle.reads,
      warm.messages + warm.dialogs + idle.messages + idle.dialogs, warm.refused + idle.refused,
      warm.failed + idle.failed);
  PrintPrompts(idle);
  std::printf("resident set: %ld KB before, %ld KB after, %.1f KB per idle session\n", before,
              after, static_cast<double>(after - before) / options.idle);
  // Where the growth is: memory the sessions hold, and memory the allocator keeps free.
  if (in_use_before >= 0) {
    std::printf("of it, per idle session: %.1f KB in use, %.1f KB free in the allocator\n",
                static_cast<double>(in_use_after - in_use_before) / options.idle,
                static_cast<double>(free_after - free_before) / options.idle);
  }
  // The server gives free memory back every minute: what an idle session holds all day.
  fixture.server->ReleaseMemory();
  std::printf("after the server's release of free memory: %.1f KB per idle session\n",
              static_cast<double>(ResidentKb() - before) / options.idle);
  // With --evict-idle-screens-after, an idle session keeps its login and lets its screen go.
  fixture.server->EvictIdleScreens(std::chrono::seconds(0));
  fixture.server->ReleaseMemory();
  std::printf("with idle screens evicted (%zu screens left): %.1f KB per idle session\n\n",
              fixture.server->ScreenCount(),
              static_cast<double>(ResidentKb() - before) / options.idle);
  std::fflush(stdout);
}

// A screen rebuilt from its tab's journal (a read and a tab's round trip) by a server that
// does not hold it, beside the same read on a screen it holds: the round trips' p50 and p99.
void RunRebuilds(const ScreenSource& screens, const Workload& workload, int count) {
  Fixture fixture(screens, count);
  const std::string number(workload.number);
  const json read_click = {
      {"on", {{"page", "tab"}, {"id", "cmdReadCNoteNo"}}},
      {"event", "click"},
      {"values", {{{"page", "tab"}, {"id", "txtCoverNoteNumber"}, {"value", number}}}}};
  const json journal = {{"note", nullptr},
                        {"entries", {read_click, {{"tab", "COVVeh"}}, {{"tab", "COVCover"}}}}};
  cn::bench::LatencyHistogram reads, rebuilds;
  int restored = 0;
  for (int user = 0; user < count; ++user) {
    cn::web::testing::Browser browser(fixture.server->Port());
    if (!browser.LogIn("u" + std::to_string(user), kPassword) || browser.State().status != 200)
      continue;
    const auto timed = [&](cn::bench::LatencyHistogram& into, auto&& request) {
      const auto start = std::chrono::steady_clock::now();
      const auto reply = request();
      into.Record(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
              .count());
      return reply;
    };
    browser.screen = "rebuilt-" + std::to_string(user);
    const auto reply = timed(rebuilds, [&] {
      return browser.Post("/api/screen", {{"journal", journal}});
    });
    if (reply.status == 200 && reply.Json().value("restored", false)) ++restored;
    // The same read as a live event on the screen just rebuilt.
    const json state = browser.State().Json();
    const json& frame = state.at("frame");
    json event{{"seen", state.at("seq")},
               {"kind", "element"},
               {"page", frame.at("key")},
               {"node", cn::web::testing::NodeOf(frame, "cmdReadCNoteNo")},
               {"event", "click"}};
    event["values"][std::to_string(frame.at("key").get<int>())]
         [std::to_string(cn::web::testing::NodeOf(frame, "txtCoverNoteNumber"))] = number;
    timed(reads, [&] { return browser.Post("/api/event", event); });
  }
  std::printf(
      "rebuild from a journal (fresh screen, read %s, tab out and back), %d tabs, %d restored: "
      "p50 %.2f ms, p99 %.2f ms; the read alone on a held screen: p50 %.2f ms, p99 %.2f ms\n\n",
      number.c_str(), count, restored, rebuilds.Percentile(50) / 1000.0,
      rebuilds.Percentile(99) / 1000.0, reads.Percentile(50) / 1000.0,
      reads.Percentile(99) / 1000.0);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options options = ParseOptions(argc, argv);
    spdlog::set_level(spdlog::level::warn);  // not a line per login
    const Workload& workload = WorkloadOf(options.screen);
    const ScreenSource screens(options.screen, options.db);
    std::printf("web_bench: in-process server on 127.0.0.1, 2 I/O threads, %.*s\n",
                static_cast<int>(workload.description.size()), workload.description.data());
    std::printf("files of the run: %s\n\n", screens.Folder().c_str());
    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf("load average (other work on the machine shows in the tails): %s\n\n",
                load.c_str());
    if (options.sample_s <= 0) RunMemory(screens, workload, options);
    if (options.sample_s <= 0 && options.screen == ScreenKind::kProduct)
      RunRebuilds(screens, workload, 50);
    std::printf(
        "events per session: the read, %d warm-up, %d measured; p50, p99, max: the cycle's "
        "measured events; events/s: every request but the floors; records read, prompts "
        "answered, requests refused, sessions failed; fl_p50, fl_p99: the floor of the same "
        "events (no screen work, an answer of the same size), x_p50, x_p99: event/floor\n",
        options.warmup, options.events);
    std::printf("%8s  %8s  %7s  %8s  %7s  %7s  %8s  %5s  %7s  %7s  %6s  %7s  %7s  %5s  %5s\n",
                "sessions", "think_ms", "events", "events/s", "p50_ms", "p99_ms", "max_ms", "reads",
                "prompts", "refused", "failed", "fl_p50", "fl_p99", "x_p50", "x_p99");
    for (const int sessions : options.sessions)
      RunLatency(screens, workload, options, sessions, options.think_ms);
    // One session back to back: the bare round trip without queueing behind other sessions.
    if (options.sample_s <= 0) RunLatency(screens, workload, options, 1, 0);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "web_bench: %s\n", error.what());
    return 1;
  }
}

// The web front end under load, on loopback: event round-trip latency (p50, p99) with 1, 50
// and 200 concurrent sessions each typing and switching tabs, and resident memory per idle
// session after start-up and a read.
//
// The server runs in this process on 127.0.0.1 (any free port) with 2 I/O threads and the
// test screen of tests/web (the workspace page, two tab pages with keypress, blur and Enter
// handlers); the clients are Beast connections kept alive, one per session, driven
// asynchronously from one client thread. Each session repeats: six characters typed into
// txtNum (keypress), txtName edited and left (blur, with its value), tab B, tab A. Between two
// events a session waits a think time drawn uniformly from [0, 2 x --think_ms] (0: back to
// back). Every run is bounded by its event count and by a wall-clock limit.
//
//   web_bench [--sessions=1,50,200] [--events=150] [--warmup=10] [--think_ms=50]
//             [--idle=300] [--limit_s=120]

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <regex>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <nlohmann/json.hpp>
#include <spdlog/spdlog.h>

#include "../tests/web/http_client.h"
#include "../tests/web/test_screen.h"
#include "web/memory_user_directory.h"
#include "web/server.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using Clock = std::chrono::steady_clock;
using nlohmann::json;

struct Options {
  std::vector<int> sessions{1, 50, 200};
  int events = 150;  // measured events per session
  int warmup = 10;   // events per session before measuring
  int think_ms = 50;
  int idle = 300;  // idle sessions for the memory figure
  int limit_s = 120;
};

std::vector<int> ParseList(const std::string& text) {
  std::vector<int> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
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
    if (auto v = value("sessions")) {
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
    } else {
      throw std::invalid_argument("unknown argument " + arg);
    }
  }
  options.events = std::clamp(options.events, 1, 100000);
  options.warmup = std::clamp(options.warmup, 0, 10000);
  options.think_ms = std::clamp(options.think_ms, 0, 10000);
  options.idle = std::clamp(options.idle, 1, 5000);
  options.limit_s = std::clamp(options.limit_s, 1, 3600);
  return options;
}

// Resident set size of this process, in KB.
long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

std::int64_t NodeOf(const std::string& html, const std::string& id) {
  const std::regex pattern("id=\"" + id + "\"[^>]*data-nid=\"(\\d+)\"");
  std::smatch match;
  if (!std::regex_search(html, match, pattern)) throw std::runtime_error("no element " + id + " on the tab page");
  return std::stoll(match[1]);
}

// The tab page's key and the node ids of its text boxes.
struct TabPage {
  int key = 0;
  std::int64_t num = 0;
  std::int64_t name = 0;
  static TabPage From(const json& frame) {
    const std::string html = frame.at("html");
    return {frame.at("key").get<int>(), NodeOf(html, "txtNum"), NodeOf(html, "txtName")};
  }
};

constexpr const char* kPassword = "bench pass";

struct Fixture {
  explicit Fixture(int users) {
    auto directory = std::make_shared<cn::web::MemoryUserDirectory>(cn::web::MemoryUserDirectory::HashCost::kMinimum);
    for (int i = 0; i < users; ++i) {
      directory->Add("u" + std::to_string(i), kPassword, cn::web::Identity{"U" + std::to_string(i), "A01", "B"});
    }
    cn::web::ServerOptions options;
    options.port = 0;
    options.io_threads = 2;
    options.assets = COVERNOTE_PAGES_DIR;
    server = std::make_unique<cn::web::Server>(options, directory, cn::web::testing::TestScreenFactory(pages.dir()));
    server->Start();
  }
  ~Fixture() { server->Stop(); }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  cn::web::testing::TestPages pages;
  std::unique_ptr<cn::web::Server> server;
};

// A logged-in browser with its first state read.
struct Login {
  std::string cookie;
  std::string csrf;
  std::uint64_t seq = 0;
  TabPage tab;
};

Login LogIn(unsigned short port, int user) {
  cn::web::testing::Browser browser(port);
  if (!browser.LogIn("u" + std::to_string(user), kPassword)) throw std::runtime_error("login refused");
  const auto reply = browser.State();
  if (reply.status != 200) throw std::runtime_error("state refused: " + std::to_string(reply.status));
  const json state = reply.Json();
  return {browser.cookie, browser.csrf, state.at("seq").get<std::uint64_t>(), TabPage::From(state.at("frame"))};
}

// One session's browser: a kept-alive connection sending its events one after another.
class Client : public std::enable_shared_from_this<Client> {
 public:
  Client(asio::io_context& io, Login login, int warmup, int events, int think_ms, unsigned seed)
      : stream_(io),
        timer_(io),
        login_(std::move(login)),
        warmup_(warmup),
        total_(warmup + events),
        think_ms_(think_ms),
        random_(seed) {}

  void Start(const asio::ip::tcp::endpoint& endpoint) {
    stream_.async_connect(endpoint, [self = shared_from_this()](beast::error_code error) {
      if (error) return self->Fail("connect", error);
      self->stream_.socket().set_option(asio::ip::tcp::no_delay(true), error);
      self->Wait();
    });
  }
  void Close() {
    beast::error_code ignored;
    timer_.cancel();
    stream_.socket().close(ignored);
  }

  const std::vector<double>& latencies_us() const { return latencies_us_; }
  int failures() const { return failures_; }
  bool done() const { return sent_ >= total_ || failures_ > 0; }

 private:
  void Wait() {
    if (done()) return Close();
    if (think_ms_ == 0) return Send();
    std::uniform_int_distribution<int> think(0, 2 * think_ms_ * 1000);
    timer_.expires_after(std::chrono::microseconds(think(random_)));
    timer_.async_wait([self = shared_from_this()](beast::error_code error) {
      if (!error) self->Send();
    });
  }

  json NextEvent() {
    const int step = sent_ % 9;
    json event{{"seen", login_.seq}};
    if (step < 6) {
      event.update({{"kind", "element"},
                    {"page", login_.tab.key},
                    {"node", login_.tab.num},
                    {"event", "keypress"},
                    {"key", 'a' + (sent_ + step) % 26}});
    } else if (step == 6) {
      event.update({{"kind", "element"}, {"page", login_.tab.key}, {"node", login_.tab.name}, {"event", "blur"}});
      event["values"][std::to_string(login_.tab.key)][std::to_string(login_.tab.name)] = "Name " + std::to_string(sent_);
    } else {
      event.update({{"kind", "tab"}, {"id", step == 7 ? "TABB" : "TABA"}});
    }
    return event;
  }

  void Send() {
    request_ = {http::verb::post, "/api/event", 11};
    request_.set(http::field::host, "127.0.0.1");
    request_.set(http::field::cookie, login_.cookie);
    request_.set(http::field::content_type, "application/json");
    request_.set(std::string(cn::web::kCsrfHeader), login_.csrf);
    request_.keep_alive(true);
    request_.body() = NextEvent().dump();
    request_.prepare_payload();
    response_ = {};
    started_ = Clock::now();
    http::async_write(stream_, request_, [self = shared_from_this()](beast::error_code error, std::size_t) {
      if (error) return self->Fail("write", error);
      http::async_read(self->stream_, self->buffer_, self->response_,
                       [self](beast::error_code read_error, std::size_t) { self->Received(read_error); });
    });
  }

  void Received(beast::error_code error) {
    if (error) return Fail("read", error);
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - started_).count();
    if (response_.result_int() != 200) {
      std::fprintf(stderr, "event refused: %d %s\n", response_.result_int(), response_.body().c_str());
      ++failures_;
      return Close();
    }
    if (sent_ >= warmup_) latencies_us_.push_back(us);
    // Parsing the answer is the browser's work, outside the measured round trip.
    const json answer = json::parse(response_.body());
    login_.seq = answer.at("seq").get<std::uint64_t>();
    if (const auto frame = answer.find("frame"); frame != answer.end() && frame->is_object()) {
      if (frame->at("html").get<std::string>().find("txtNum") != std::string::npos) login_.tab = TabPage::From(*frame);
    }
    ++sent_;
    Wait();
  }

  void Fail(const char* what, beast::error_code error) {
    if (error == asio::error::operation_aborted) return;
    std::fprintf(stderr, "%s failed: %s\n", what, error.message().c_str());
    ++failures_;
    Close();
  }

  beast::tcp_stream stream_;
  asio::steady_timer timer_;
  beast::flat_buffer buffer_;
  http::request<http::string_body> request_;
  http::response<http::string_body> response_;
  Login login_;
  int warmup_;
  int total_;
  int think_ms_;
  std::minstd_rand random_;
  int sent_ = 0;
  int failures_ = 0;
  std::vector<double> latencies_us_;
  Clock::time_point started_;
};

double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void RunLatency(const Options& options, int sessions, int think_ms) {
  Fixture fixture(sessions);
  const unsigned short port = fixture.server->Port();
  asio::io_context io;
  std::vector<std::shared_ptr<Client>> clients;
  for (int i = 0; i < sessions; ++i) {
    clients.push_back(std::make_shared<Client>(io, LogIn(port, i), options.warmup, options.events, think_ms,
                                               static_cast<unsigned>(i + 1)));
  }
  const asio::ip::tcp::endpoint endpoint(asio::ip::make_address("127.0.0.1"), port);
  for (auto& client : clients) client->Start(endpoint);

  const auto begin = Clock::now();
  io.run_for(std::chrono::seconds(options.limit_s));
  const double seconds = std::chrono::duration<double>(Clock::now() - begin).count();
  bool timed_out = false;
  for (auto& client : clients) {
    timed_out = timed_out || !client->done();
    client->Close();
  }
  io.restart();
  io.run_for(std::chrono::seconds(2));

  std::vector<double> all;
  int failures = 0;
  for (const auto& client : clients) {
    all.insert(all.end(), client->latencies_us().begin(), client->latencies_us().end());
    failures += client->failures();
  }
  std::sort(all.begin(), all.end());
  std::printf("%8d  %8d  %7zu  %9.0f  %9.3f  %9.3f  %9.3f  %6d%s\n", sessions, think_ms, all.size(),
              static_cast<double>(all.size()) / seconds, Percentile(all, 50) / 1000, Percentile(all, 99) / 1000,
              all.empty() ? 0.0 : all.back() / 1000, failures, timed_out ? "  (stopped at the time limit)" : "");
  std::fflush(stdout);
}

void RunMemory(const Options& options) {
  constexpr int kWarm = 10;
  Fixture fixture(kWarm + options.idle);
  const unsigned short port = fixture.server->Port();
  // Start-up and a read: the state, txtNum typed ("42") and Enter.
  const auto open = [port](int user) {
    const Login login = LogIn(port, user);
    cn::web::testing::Browser browser(port);
    browser.cookie = login.cookie;
    browser.csrf = login.csrf;
    std::uint64_t seq = login.seq;
    for (const int key : {int{'4'}, int{'2'}, 13}) {
      const json event{{"seen", seq},       {"kind", "element"}, {"page", login.tab.key},
                       {"node", login.tab.num}, {"event", key == 13 ? "keydown" : "keypress"}, {"key", key}};
      const auto reply = browser.Post("/api/event", event);
      if (reply.status != 200) throw std::runtime_error("read refused: " + reply.body);
      seq = reply.Json().at("seq").get<std::uint64_t>();
    }
    return login.cookie.size() + login.csrf.size();
  };
  // A few sessions first, so that what every process pays once (pages parsed, pools grown)
  // is not counted.
  for (int i = 0; i < kWarm; ++i) open(i);
  const long before = ResidentKb();
  for (int i = 0; i < options.idle; ++i) open(kWarm + i);
  const long after = ResidentKb();
  std::printf("idle sessions: %d (each after start-up and a read), sessions on the server: %zu\n", options.idle,
              fixture.server->SessionCount());
  std::printf("resident set: %ld KB before, %ld KB after, %.1f KB per idle session\n\n", before, after,
              static_cast<double>(after - before) / options.idle);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const Options options = ParseOptions(argc, argv);
    spdlog::set_level(spdlog::level::warn);  // not a line per login
    std::printf("web_bench: in-process server on 127.0.0.1, 2 I/O threads, the TEST screen of tests/web "
                "(not the cover-note screen)\n\n");
    std::string load;
    std::getline(std::ifstream("/proc/loadavg"), load);
    std::printf("load average (other work on the machine shows in the tails): %s\n\n", load.c_str());
    RunMemory(options);
    std::printf("events per session: %d measured after %d warm-up; cycle: 6 keypress, blur, tab B, tab A\n",
                options.events, options.warmup);
    std::printf("%8s  %8s  %7s  %9s  %9s  %9s  %9s  %6s\n", "sessions", "think_ms", "events", "events/s", "p50_ms",
                "p99_ms", "max_ms", "failed");
    for (const int sessions : options.sessions) {
      if (sessions < 1 || sessions > 5000) throw std::invalid_argument("sessions must be 1..5000");
      RunLatency(options, sessions, options.think_ms);
    }
    // One session back to back: the bare round trip without queueing behind other sessions.
    RunLatency(options, 1, 0);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "web_bench: %s\n", error.what());
    return 1;
  }
}

#include <gtest/gtest.h>
#include <openssl/ssl.h>
#include <spdlog/sinks/ostream_sink.h>
#include <spdlog/spdlog.h>

#include <atomic>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "http_fixture.h"
#include "web/server.h"

namespace cn::web {
namespace {

// The load balancer asks /healthz; an operator's scrape sees refused logins and events by name.
TEST_F(HttpTest, HealthFollowsTheDatabaseAndMetricsCountLoginsAndEventsByName) {
  Browser balancer(server_->Port());
  EXPECT_EQ(balancer.Send("GET", "/healthz").body, "ok web-test\n");
  database_down_ = true;
  const HttpReply down = balancer.Send("GET", "/healthz");
  EXPECT_EQ(std::to_string(down.status) + " " + down.body, "503 unavailable web-test: no database\n");

  EXPECT_FALSE(Browser(server_->Port()).LogIn("alice", "guess"));
  Browser alice = LoggedIn();
  EXPECT_EQ(alice.Post("/api/event", ElementEvent(alice.State().Json(), "cmdCopy", "click")).status, 200);
  const std::string scraped = metrics_->Render();
  for (const char* line : {"covernote_logins_refused_total 1\n",
                           "covernote_http_request_seconds_count{route=\"/api/event element click\"} 1\n",
                           "covernote_http_request_seconds_count{route=\"/healthz\"} 2\n"}) {
    EXPECT_NE(scraped.find(line), std::string::npos) << line << scraped;
  }
}

// One request, one answer: its status and, where named, what a header (or "body") must match.
TEST_F(HttpTest, EachRequestGetsItsAnswer) {
  const std::string own = "http://127.0.0.1:" + std::to_string(server_->Port());
  const auto from = [](std::string origin, std::string host = "") {
    auto headers = kLoginForm;
    headers["Origin"] = std::move(origin);
    if (!host.empty()) headers["Host"] = std::move(host);
    return headers;
  };
  const char *kWho = "user=who&password=x", *kWrong = "user=alice&password=wrong";
  const char *kRight = "user=alice&password=s3cret+pass", *kBob = "user=bob&password=another";
  struct Row {
    bool logged_in;
    std::string method, path, body;
    Headers headers;
    int status;
    const char* header = nullptr;
    std::string pattern = "";
  };
  std::vector<Row> rows = {
      // clang-format off
      // The login form: refused back to the form, accepted on to the screen with a strict cookie.
      {false, "POST", "/login", kWrong, kForm, 303, "location", "^/login\\.html\\?failed=1$"},
      {false, "POST", "/login", "user=nobody&password=s3cret+pass", kForm, 303, "location", "failed=1$"},
      {false, "GET", "/api/state", "", {}, 401},
      {false, "POST", "/login", kRight, kForm, 303, "location", "^/app\\.html$"},
      {false, "POST", "/login", kRight, kForm, 303, "set-cookie",
       "^cn_session=[0-9a-f]{64}; Path=/; HttpOnly; SameSite=Strict\n"
       "cn_device=[0-9a-f]{96}; Path=/; Max-Age=31536000; HttpOnly; SameSite=Strict$"},
      // The login page's own script asks for JSON and stays on the page when refused.
      {false, "POST", "/login", kWrong, kLoginForm, 401},
      {false, "POST", "/login", kBob, kLoginForm, 200, "body", "\"location\":\"/app.html\""},
      {false, "POST", "/login", kBob, kLoginForm, 200, "set-cookie", "^cn_session="},
      // The login page is never kept, and a logged-in browser goes on to the screen.
      {false, "GET", "/login.html", "", {}, 200, "cache-control", "^no-store$"},
      {true, "GET", "/login.html", "", {}, 302, "location", "^/app\\.html$"},
      {false, "GET", "/", "", {}, 302, "location", "^/app\\.html$"},
      {false, "GET", "/", "", {}, 302, "cache-control", "^no-store$"},  // a redirect is never kept
      // clang-format on
  };
  // Only the server's own pages may post the login form; naming itself in Host does not help.
  const std::tuple<std::string, std::string, int> origins[] = {
      {"", "", 401}, {own, "", 401}, {"http://LOCALHOST:8443", "", 401}, {"https://localhost", "", 401},
      {"null", "", 403}, {"http://evil.example", "evil.example", 403}, {"http://127.0.0.1.evil.example", "", 403},
      {"http://127.0.0.1@evil.example", "", 403}, {"file://", "", 403}};
  for (const auto& [origin, host, status] : origins)
    rows.push_back({false, "POST", "/login", kWho, origin.empty() ? kLoginForm : from(origin, host), status});
  // The pages' sources and anything outside stay hidden.
  for (const char* path : {"/CNAAMain.htm", "/CNAACov.htm", "/dlgenq.htm", "/../CMakeLists.txt", "/js/../CNAAMain.htm",
                           "/styles/", "/js/nothing.js"})
    rows.push_back({false, "GET", path, "", {}, 404});
  Browser alice = LoggedIn();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.method + " " + row.path + " " + row.body + " " +
                 (row.headers.contains("Origin") ? row.headers.at("Origin") : ""));
    Browser stranger(server_->Port());
    const HttpReply reply = (row.logged_in ? alice : stranger).Send(row.method, row.path, row.body, row.headers);
    EXPECT_EQ(reply.status, row.status);
    if (row.header == nullptr) continue;
    const std::string seen = std::string(row.header) == "body" ? reply.body : reply.Header(row.header);
    EXPECT_TRUE(std::regex_search(seen, std::regex(row.pattern))) << seen;
  }
  EXPECT_EQ(alice.State().Json().at("shell").at("title"), "Test Screen : ALICE");
  EXPECT_EQ(alice.csrf.size(), 64u);
}

// Endorsements as the fake keeps them: CN1/E2 of alice's agent; any other is none, and "BAD/E1"
// cannot be read at all.
class FakeEndorsements final : public Endorsements {
 public:
  EndorsementFile Pdf(const Identity& reader, std::string_view number) const override {
    return Find(reader, number, "%PDF-1.5 " + std::string(number));
  }
  EndorsementFile PrintView(const Identity& reader, std::string_view number,
                            std::string_view pdf_address) const override {
    return Find(reader, number, "<a href=\"" + std::string(pdf_address) + "\">PDF</a>");
  }

 private:
  static EndorsementFile Find(const Identity& reader, std::string_view number, std::string body) {
    if (number == "BAD/E1") throw std::runtime_error("cannot read /srv/covernote/covernote.db");
    if (number != "CN1/E2") return {};
    if (reader.agent_code != "A01") return {EndorsementFile::Outcome::kOtherAgent, {}, {}};
    return {EndorsementFile::Outcome::kFound, std::string(number), std::move(body)};
  }
};

// An endorsement opens in the browser for its own agent's session, inline, never kept by a
// cache; everyone else gets a short page saying why.
TEST_F(HttpTest, AnEndorsementOpensForItsAgentsSessionOnly) {
  Restart(
      [](ServerOptions& options) { options.endorsements = std::make_shared<FakeEndorsements>(); });
  Browser alice = LoggedIn(), bob = LoggedIn("bob", "another"), stranger(server_->Port());
  const HttpReply pdf = alice.Send("GET", "/endorsement/CN1/E2");
  EXPECT_EQ(pdf.status, 200);
  EXPECT_EQ(pdf.body, "%PDF-1.5 CN1/E2");
  EXPECT_EQ(pdf.Header("content-type"), "application/pdf");
  EXPECT_EQ(pdf.Header("content-disposition"), "inline; filename=\"CN1-E2.pdf\"");
  EXPECT_EQ(pdf.Header("cache-control"), "no-store");
  EXPECT_NE(pdf.Header("content-security-policy").find("default-src 'none'"), std::string::npos);
  const HttpReply print = alice.Send("GET", "/endorsement/CN1/E2/print");
  EXPECT_EQ(print.Header("content-type") + " " + print.body,
            "text/html; charset=utf-8 <a href=\"/endorsement/CN1/E2\">PDF</a>");

  const struct {
    Browser* browser;
    std::string method, target;
    int status;
  } refused[] = {
      {&stranger, "GET", "/endorsement/CN1/E2", 401},
      {&bob, "GET", "/endorsement/CN1/E2", 403},
      {&bob, "GET", "/endorsement/CN1/E2/print", 403},
      {&alice, "GET", "/endorsement/CN1/E9", 404},
      {&alice, "GET", "/endorsement/CN1", 404},
      {&alice, "GET", "/endorsement/CN1/E2/x", 404},
      {&alice, "GET", "/endorsement/../app.html", 404},
      {&alice, "GET", "/endorsement/C%2F1/E2", 404},
      {&alice, "POST", "/endorsement/CN1/E2", 405},
      {&alice, "GET", "/endorsement/BAD/E1", 500},
  };
  for (const auto& each : refused) {
    SCOPED_TRACE(each.method + " " + each.target);
    const HttpReply reply = each.browser->Send(each.method, each.target);
    EXPECT_EQ(reply.status, each.status);
    EXPECT_EQ(reply.body.find("%PDF"), std::string::npos);
    EXPECT_EQ(reply.body.find("/srv"), std::string::npos) << reply.body;
  }
}

// Every file served has its type, the policy and a validator that answers "not modified";
// the pages run no inline script.
TEST_F(HttpTest, StaticFilesHaveTheirTypeValidatorsThePolicyAndNoInlineScript) {
  Browser browser(server_->Port());
  const char* kHtml = "text/html; charset=utf-8";
  const std::regex inline_script("<script(?![^>]*\\bsrc=)[^>]*>|\\son[a-z]+\\s*=", std::regex::icase);
  const std::pair<const char*, const char*> files[] = {
      {"/login.html", kHtml},
      {"/app.html", kHtml},
      {"/dlgEnq.htm", kHtml},
      {"/dlgSrch.htm", kHtml},
      {"/js/app.js", "text/javascript; charset=utf-8"},
      {"/styles/app.css", "text/css; charset=utf-8"},
      {"/js/printed.js", "text/javascript; charset=utf-8"},
      {"/styles/printed.css", "text/css; charset=utf-8"}};
  for (const auto& [path, type] : files) {
    SCOPED_TRACE(path);
    const HttpReply reply = browser.Send("GET", path);
    EXPECT_EQ(reply.Header("content-type"), type);
    EXPECT_EQ(reply.Header("x-content-type-options"), "nosniff");
    EXPECT_NE(reply.Header("content-security-policy").find("script-src 'self'"), std::string::npos);
    EXPECT_FALSE(type == std::string_view(kHtml) && std::regex_search(reply.body, inline_script));
    const HttpReply again = browser.Send("GET", path, "", {{"If-None-Match", reply.Header("etag")}});
    EXPECT_EQ(std::to_string(again.status) + again.body, "304");
  }
}

// A refused request: a JSON error, and nothing of either session changed.
TEST_F(HttpTest, BadRequestsGetJsonErrorsAndLeaveTheSessionsIntact) {
  Browser alice = LoggedIn(), bob = LoggedIn("bob", "another"), forged(server_->Port());
  forged.cookie = "cn_session=" + std::string(64, '0');
  const json state = alice.State().Json();
  const auto event = [&](const char* key, json value) {
    json event = ElementEvent(state, "txtNum", "click");
    event[key] = std::move(value);
    return event.dump();
  };
  struct Bad {
    const char* what;
    Browser* browser;
    std::string method, target, body, token;
    int status;
    const char* code;
  };
  const std::string& csrf = alice.csrf;
  const std::string ask = R"({"kind":"command","id":"cmdAsk"})";
  const Bad cases[] = {
      {"no CSRF token", &alice, "POST", "/api/event", ask, "", 403, "csrf"},
      {"another session's token", &alice, "POST", "/api/event", "{}", bob.csrf, 403, "csrf"},
      {"malformed JSON", &alice, "POST", "/api/event", "{kind:", csrf, 400, "bad-json"},
      {"unknown node", &alice, "POST", "/api/event", event("node", 987654), csrf, 404, "unknown-node"},
      {"unknown event", &alice, "POST", "/api/event", R"({"kind":"dance"})", csrf, 400, "bad-request"},
      {"page key not a number", &alice, "POST", "/api/event", event("values", {{"page", json::object()}}), csrf, 400,
       "bad-request"},
      {"answer without a question", &alice, "POST", "/api/answer", R"({"prompt":1,"result":6})", csrf, 409,
       "no-prompt"},
      {"search without a dialog", &alice, "POST", "/api/dialog", R"({"prompt":1,"query":{"text":"x"}})", csrf, 409,
       "no-dialog"},
      {"search without a token", &alice, "POST", "/api/dialog", "{}", "", 403, "csrf"},
      {"oversized body", &alice, "POST", "/api/event", std::string(64 * 1024, 'x'), csrf, 413, "too-large"},
      {"stale session", &forged, "POST", "/api/event", ask, csrf, 401, "no-session"},
      {"wrong method", &alice, "GET", "/api/event", "", "", 405, "method"},
      {"unknown address", &alice, "GET", "/api/nothing", "", "", 404, "not-found"},
      {"floor not enabled", &alice, "POST", "/api/floor?bytes=1", "{}", csrf, 404, "not-found"},
  };
  for (const Bad& bad : cases) {
    SCOPED_TRACE(bad.what);
    Headers headers{{"Content-Type", "application/json"}};
    if (!bad.token.empty()) headers["X-CSRF-Token"] = bad.token;
    const HttpReply reply = bad.browser->Send(bad.method, bad.target, bad.body, headers);
    EXPECT_EQ(json({reply.status, reply.Header("content-type"), reply.Json().at("error")}),
              json({bad.status, "application/json", bad.code}));
    EXPECT_FALSE(reply.Json().at("message").get<std::string>().empty());
  }
  // Both sessions still work, and nothing ran: no question is waiting.
  for (Browser* browser : {&alice, &bob}) EXPECT_FALSE(browser->State().Json().contains("prompt"));
  EXPECT_EQ(server_->SessionCount(), 2u);
}

// A load test's floor goes the way of an event (session, token, JSON body) and answers filler
// of the size asked.
TEST_F(HttpTest, TheFloorIsRefusedLikeAnEventAndAnswersTheSizeAsked) {
  Restart([](ServerOptions& options) { options.floor_endpoint = true; });
  Browser alice = LoggedIn(), stranger(server_->Port());
  const std::tuple<Browser*, const char*, bool, int, std::size_t> cases[] = {
      {&stranger, "300", true, 401, 0}, {&alice, "300", false, 403, 0},  {&alice, "5000000", true, 400, 0},
      {&alice, "3x", true, 400, 0},     {&alice, "300", true, 200, 300}, {&alice, "4", true, 200, 12}};
  for (const auto& [browser, bytes, token, status, size] : cases) {
    SCOPED_TRACE(std::string(bytes) + (token ? "" : " without a token"));
    const HttpReply reply = browser->Send("POST", std::string("/api/floor?bytes=") + bytes, "{}",
                                          token ? Headers{{"X-CSRF-Token", browser->csrf}} : Headers{});
    EXPECT_EQ(reply.status, status);
    EXPECT_EQ(status == 200 ? reply.body.size() : 0u, size);
  }
}

TEST_F(HttpTest, OneSessionsEventsNeverChangeAnothersPage) {
  Browser alice = LoggedIn(), bob = LoggedIn("bob", "another");
  const json state = alice.State().Json();
  const json bob_before = bob.State().Json();
  json event = ElementEvent(state, "cmdCopy", "click");
  event["values"] = {{std::to_string(state.at("frame").at("key").get<int>()),
                      {{std::to_string(NodeOf(state.at("frame"), "txtNum")), "ALICE-ONLY"}}}};
  EXPECT_NE(alice.Post("/api/event", event).body.find("ALICE-ONLY"), std::string::npos);

  const json bob_after = bob.State().Json();
  EXPECT_EQ(json({bob_after["frame"]["html"], bob_after["shell"]["title"]}),
            json({bob_before["frame"]["html"], "Test Screen : BOB"}));
  EXPECT_NE(alice.State().body.find("ALICE-ONLY"), std::string::npos);
}

// Two tabs of one login have a screen each: one tab's event never shows in the other, a sixth
// tab makes the least used give way (it is opened again at its next request), a request naming
// no tab is refused, and a logout is told to the other tab, not merely refused.
TEST_F(HttpTest, EachTabHasItsOwnScreenAndIsToldWhenTheSessionEnded) {
  Restart([](ServerOptions& options) { options.sessions.most_screens = 2; });
  Browser first = LoggedIn();
  Browser second = first, third = first;
  second.screen = "second-tab";
  third.screen = "third-tab";
  const json state = first.State().Json();
  const json before = second.State().Json();
  json event = ElementEvent(state, "cmdCopy", "click");
  event["values"] = {{std::to_string(state.at("frame").at("key").get<int>()),
                      {{std::to_string(NodeOf(state.at("frame"), "txtNum")), "FIRST-TAB"}}}};
  EXPECT_NE(first.Post("/api/event", event).body.find("FIRST-TAB"), std::string::npos);
  EXPECT_EQ(second.State().Json().at("frame").at("html"), before.at("frame").at("html"));
  EXPECT_EQ(server_->ScreenCount(), 2u);

  EXPECT_EQ(third.State().status, 200);  // the first tab, used least lately, gives way
  EXPECT_EQ(server_->ScreenCount(), 2u);
  EXPECT_EQ(first.Post("/api/event", event).Json().at("error"), "no-screen");
  Browser nameless = first;
  nameless.screen = "";
  EXPECT_EQ(nameless.Send("GET", "/api/state").Json().at("error"), "bad-screen");

  EXPECT_EQ(second.Post("/api/logout", json::object()).status, 200);
  const HttpReply told = third.State();
  EXPECT_EQ(json({told.status, told.Json().at("message"), told.Json().at("ended")}),
            json({401, "You have logged out in another window.", "logged out"}));
  EXPECT_EQ(server_->ScreenCount(), 0u);
}

TEST_F(HttpTest, FiftySessionsWaitingOnQuestionsHoldNoThread) {
  std::vector<Browser> waiting;
  for (int i = 0; i < 50; ++i) {
    waiting.push_back(LoggedIn());
    const HttpReply asked = waiting.back().Post("/api/event", {{"kind", "command"}, {"id", "cmdAsk"}});
    ASSERT_TRUE(asked.Json().contains("prompt"));
  }
  // Two I/O threads, fifty handlers suspended: a new administrator still gets in and works.
  Browser late = LoggedIn("bob", "another");
  const json state = late.State().Json();
  EXPECT_EQ(state.at("shell").at("title"), "Test Screen : BOB");
  EXPECT_EQ(late.Post("/api/event", ElementEvent(state, "cmdCopy", "click")).status, 200);
  // And every waiting handler resumes with its own answer.
  for (Browser& browser : waiting) {
    const json prompt = browser.State().Json().at("prompt");
    EXPECT_EQ(browser.Post("/api/answer", {{"prompt", prompt.at("id")}, {"result", 6}}).Json().at("status"), "Cleared");
  }
}

TEST_F(HttpTest, RepeatedFailuresAreDelayedThenLockedPerAccountAndPerAddress) {
  Restart([](ServerOptions& options) {
    options.trusted_proxies = {"127.0.0.1"};
    options.throttle.untrusted_per_user = {2, 4};
    options.throttle.per_address = {6, 100};
    options.throttle.first_delay = std::chrono::milliseconds(300);
    options.throttle.lockout = std::chrono::milliseconds(1500);
  });
  // Browsers none of the users logged in on before.
  const auto log_in = [&](const std::string& address, const std::string& user, const std::string& password) {
    auto headers = kLoginForm;
    headers["X-Forwarded-For"] = "203.0.113.1, " + address;  // the first entry is the client's
    return Browser(server_->Port())
        .Send("POST", "/login", "user=" + user + "&password=" + password, headers);
  };
  const char* kHeld = "Too many failed logins. Wait 1 second before trying again.";
  const char* kLocked =
      "Too many failed logins: logging in is locked for 1 minute. Try again later or ask your supervisor.";
  // {wait first (ms), address, user, password, status, error, message}
  const std::tuple<int, const char*, const char*, const char*, int, const char*, const char*> steps[] = {
      {0, "192.0.2.1", "alice", "wrong", 401, "refused", nullptr},
      {0, "192.0.2.1", "ALICE ", "wrong", 401, "refused", nullptr},  // the same account however it is typed
      {0, "192.0.2.1", "alice", "wrong", 401, "refused", nullptr},
      {0, "192.0.2.1", "alice", "s3cret+pass", 429, "throttled", kHeld},  // too soon after the third failure
      {0, "198.51.100.7", "bob", "another", 200, "", nullptr},           // another account from elsewhere goes in
      {350, "192.0.2.1", "alice", "wrong", 401, "refused", nullptr},     // the fourth: locked
      {0, "192.0.2.2", "alice", "s3cret+pass", 429, "locked", kLocked},  // from anywhere
      {1600, "192.0.2.2", "alice", "s3cret+pass", 200, "", nullptr},
  };
  for (const auto& [wait, address, user, password, status, error, message] : steps) {
    SCOPED_TRACE(std::string(address) + " " + user + "/" + password);
    std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    const HttpReply reply = log_in(address, user, password);
    EXPECT_EQ(reply.status, status);
    EXPECT_EQ(reply.Json().value("error", ""), error);
    if (message) { EXPECT_EQ(reply.Json().at("message"), message); }
    if (message == kHeld) { EXPECT_EQ(reply.Header("retry-after"), "1"); }
  }
  // One address guessing at many names is held up too, even for a name it has not tried.
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(log_in("192.0.2.99", "user" + std::to_string(i), "x").status, 401);
  EXPECT_EQ(log_in("192.0.2.99", "bob", "another").status, 429);
}

// A directory that takes its time and lets everybody in, to fill the password checks.
class SlowDirectory final : public UserDirectory {
 public:
  std::optional<Account> Authenticate(std::string_view user, std::string_view) const override {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    return Account{Identity{std::string(user), "A01", "B"}};
  }
};

TEST_F(HttpTest, LoginsPastThePasswordChecksAreToldAtOnceToTryAgain) {
  Restart([](ServerOptions& options) { options.password_threads = options.most_waiting_logins = 1; },
          std::make_shared<SlowDirectory>());
  std::vector<std::thread> threads;
  std::mutex mutex;
  int busy = 0;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&, i] {
      const auto start = Clock::now();
      const HttpReply reply =
          Browser(server_->Port()).Send("POST", "/login", "user=u" + std::to_string(i) + "&password=p", kLoginForm);
      if (reply.status != 503) return;
      EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(250));
      EXPECT_EQ(reply.Json().at("message"), "The server is busy, try again in a moment.");
      const std::lock_guard lock(mutex);
      ++busy;
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_GE(busy, 5);  // one checking, one waiting, the rest told at once
}

TEST_F(HttpTest, AnUnknownUserTakesAsLongAsAWrongPassword) {
  auto users = std::make_shared<MemoryUserDirectory>(MemoryUserDirectory::HashCost::kInteractive);
  users->Add("alice", "s3cret pass", Identity{"ALICE", "A01", "B"});
  Restart({}, users);
  Browser browser(server_->Port());
  const auto timed = [&](const std::string& user) {
    const auto start = Clock::now();
    EXPECT_EQ(browser.Send("POST", "/login", "user=" + user + "&password=wrong", kLoginForm).status, 401);
    return Clock::now() - start;
  };
  const auto known = timed("alice") + timed("alice");
  EXPECT_GT(timed("nobody") + timed("nobody2"), known / 2);
}

// Bytes that are not UTF-8 are escaped too: the log stays text.
TEST_F(HttpTest, RequestTextIsLoggedWithItsControlCharactersEscaped) {
  std::ostringstream log;
  const auto before = spdlog::default_logger();
  auto capture = std::make_shared<spdlog::logger>(
      "capture", std::make_shared<spdlog::sinks::ostream_sink_mt>(log));
  capture->set_pattern("%v");
  spdlog::set_default_logger(capture);
  Browser(server_->Port()).Send("POST", "/login", "user=mallory%0A'ALICE'+logged+in%1b[2J&password=x", kLoginForm);
  Browser(server_->Port())
      .Send("POST", "/login", "user=x", {{"Origin", "http://\xC1\xA1.example"}});
  server_->Stop();
  spdlog::set_default_logger(before);
  const std::string text = log.str();
  EXPECT_NE(text.find("'MALLORY\\n'ALICE' LOGGED IN\\x1b[2J'"), std::string::npos) << text;
  EXPECT_EQ(text.find("\n'ALICE' LOGGED IN"), std::string::npos) << text;
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
  EXPECT_NE(text.find("http://\\xc1\\xa1.example"), std::string::npos) << text;
}

// One address holds a few connections at most; a trusted proxy, for all its browsers, any number.
TEST_F(HttpTest, ConnectionsAreCappedPerAddressButNotForAProxy) {
  for (const bool proxy : {false, true}) {
    Restart([proxy](ServerOptions& options) {
      options.most_connections_per_address = 3;
      if (proxy) options.trusted_proxies = {"127.0.0.1"};
    });
    boost::asio::io_context io;
    std::vector<boost::asio::ip::tcp::socket> idle;
    for (int i = 0; i < 3; ++i)
      idle.emplace_back(io).connect({boost::asio::ip::make_address("127.0.0.1"), server_->Port()});
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (proxy) {
      EXPECT_EQ(Browser(server_->Port()).Send("GET", "/healthz").status, 200);
    } else {
      EXPECT_ANY_THROW(Browser(server_->Port()).Send("GET", "/healthz"));
    }
  }
}

// A session ends after 30 minutes without a request, and after 12 hours however busy; the
// sweep closes both. The sessions' clock is moved on, not waited for.
TEST_F(HttpTest, SessionsEndAfterThirtyMinutesIdleAndTwelveHoursInAll) {
  std::atomic<Clock::duration> moved{};
  Restart([&moved](ServerOptions& options) {
    options.session_clock = [&moved] { return Clock::now() + moved.load(); };
    options.sweep_interval = std::chrono::milliseconds(20);
  });
  using std::chrono::minutes;
  Browser idle = LoggedIn(), busy = LoggedIn();
  const auto at = [&](Clock::duration when, Browser& browser) {
    moved = when;
    return browser.State().status;
  };
  EXPECT_EQ(at(minutes(29), idle), 200);
  EXPECT_EQ(at(minutes(59) - std::chrono::seconds(1), idle), 200);
  EXPECT_EQ(at(minutes(89), idle), 401);
  for (auto when = minutes(29); when < std::chrono::hours(12); when += minutes(29))
    EXPECT_EQ(at(when, busy), 200);
  moved = std::chrono::hours(12);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(server_->SessionCount(), 0u);
  EXPECT_EQ(busy.State().status, 401);
}

// With --evict-idle-screens-after, a screen idle that long is let go while its login lasts; its
// tab's next request is told so, to rebuild it.
TEST_F(HttpTest, AScreenIdleTooLongIsLetGoWhileItsLoginLasts) {
  std::atomic<Clock::duration> moved{};
  Restart([&moved](ServerOptions& options) {
    options.session_clock = [&moved] { return Clock::now() + moved.load(); };
    options.sweep_interval = std::chrono::milliseconds(20);
    options.evict_idle_screens_after = std::chrono::minutes(10);
  });
  Browser browser = LoggedIn();
  const json state = browser.State().Json();
  moved = std::chrono::minutes(9);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(server_->ScreenCount(), 1u);
  moved = std::chrono::minutes(11);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(std::pair(server_->SessionCount(), server_->ScreenCount()),
            std::pair(std::size_t{1}, std::size_t{0}));
  EXPECT_EQ(browser.Post("/api/event", ElementEvent(state, "cmdCopy", "click")).Json().at("error"),
            "no-screen");
}

TEST_F(HttpTest, AUserHasAFewSessionsAndCanEndTheOthers) {
  Restart([](ServerOptions& options) { options.sessions.most_per_user = 2; });
  Browser first = LoggedIn(), bob = LoggedIn("bob", "another"), second = LoggedIn(), third = LoggedIn();
  EXPECT_EQ(first.State().status, 401);  // the oldest made way

  const json listed = third.Send("GET", "/api/sessions").Json().at("sessions");
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(json({listed[0]["current"], listed[1]["current"], listed[1]["address"]}), json({false, true, "127.0.0.1"}));
  EXPECT_EQ(listed.dump().find(third.cookie.substr(third.cookie.find('=') + 1)), std::string::npos);

  EXPECT_EQ(third.Send("POST", "/api/logout-others").status, 403);  // needs the CSRF token
  EXPECT_EQ(third.Post("/api/logout-others", json::object()).Json().at("ended"), 1);
  const std::vector<int> states{second.State().status, third.State().status, bob.State().status};
  EXPECT_EQ(states, (std::vector<int>{401, 200, 200}));
  EXPECT_EQ(third.Send("GET", "/api/sessions").Json().at("sessions").size(), 1u);
  // Logging out ends the session.
  EXPECT_EQ(third.Post("/api/logout", json::object()).status, 200);
  EXPECT_EQ(third.State().status, 401);
  EXPECT_EQ(server_->SessionCount(), 1u);  // bob's
}

TEST_F(HttpTest, OverTlsTheCookieIsSecureWithTheHostPrefixAndHstsIsSent) {
  EXPECT_EQ(Browser(server_->Port()).Send("GET", "/login.html").Header("strict-transport-security"), "");
  ServerOptions options = Restart([](ServerOptions& options) {
    options.tls_cert = COVERNOTE_TEST_DATA "/data/test_tls_cert.pem";
    options.tls_key = COVERNOTE_TEST_DATA "/data/test_tls_key.pem";
  });
  Browser browser(server_->Port());
  browser.tls = true;
  const HttpReply login = browser.Send("POST", "/login", "user=alice&password=s3cret+pass", kForm);
  EXPECT_TRUE(std::regex_search(
      login.Header("set-cookie"),
      std::regex("^__Host-cn_session=[0-9a-f]{64}; Path=/; HttpOnly; SameSite=Strict; Secure\n"
                 "__Host-cn_device=[0-9a-f]{96}; Path=/; Max-Age=31536000; HttpOnly; "
                 "SameSite=Strict; Secure$")))
      << login.Header("set-cookie");
  EXPECT_EQ(login.Header("strict-transport-security"), "max-age=31536000");
  browser.cookie = login.Header("set-cookie").substr(0, login.Header("set-cookie").find(';'));
  EXPECT_EQ(browser.State().status, 200);

  EXPECT_ANY_THROW(Browser(server_->Port()).Send("GET", "/login.html"));  // plain HTTP: no answer
  options.tls_key = COVERNOTE_TEST_DATA "/data/missing.pem";
  EXPECT_THROW(Server(options, users_, testing::TestScreenFactory(pages_.dir())).Start(), std::runtime_error);
}

// Each TLS 1.2 suite and protocol version offered on its own by a client that knows them all:
// whether the server agrees.
std::set<std::string> Agreed(unsigned short port,
                             const std::vector<std::pair<std::string, int>>& offers) {
  std::set<std::string> agreed;
  for (const auto& [suite, version] : offers) {
    boost::asio::io_context io;
    boost::asio::ssl::context client(boost::asio::ssl::context::tls_client);
    SSL_CTX* context = client.native_handle();
    SSL_CTX_set_security_level(context, 0);
    SSL_CTX_set_min_proto_version(context, version);
    SSL_CTX_set_max_proto_version(context, version);
    if (!suite.empty() && SSL_CTX_set_cipher_list(context, suite.c_str()) != 1) continue;
    boost::asio::ssl::stream<boost::asio::ip::tcp::socket> stream(io, client);
    stream.next_layer().connect({boost::asio::ip::make_address("127.0.0.1"), port});
    boost::system::error_code error;
    stream.handshake(boost::asio::ssl::stream_base::client, error);
    if (!error) agreed.insert(suite.empty() ? SSL_get_version(stream.native_handle()) : suite);
  }
  return agreed;
}

// TLS 1.2 with forward-secret AEAD suites only (never static RSA or CBC), TLS 1.3 as it is,
// nothing older, whichever key the certificate has.
TEST_F(HttpTest, OverTlsOnlyForwardSecretAeadSuitesAreAgreed) {
  boost::asio::ssl::context all(boost::asio::ssl::context::tls_client);
  SSL_CTX_set_security_level(all.native_handle(), 0);
  SSL_CTX_set_cipher_list(all.native_handle(), "ALL:COMPLEMENTOFALL");
  std::vector<std::pair<std::string, int>> offers = {
      {"", TLS1_VERSION}, {"", TLS1_1_VERSION}, {"", TLS1_3_VERSION}};
  const STACK_OF(SSL_CIPHER)* suites = SSL_CTX_get_ciphers(all.native_handle());
  for (int i = 0; i < sk_SSL_CIPHER_num(suites); ++i) {
    const SSL_CIPHER* suite = sk_SSL_CIPHER_value(suites, i);
    if (std::string_view(SSL_CIPHER_get_version(suite)) != "TLSv1.3")
      offers.emplace_back(SSL_CIPHER_get_name(suite), TLS1_2_VERSION);
  }
  ASSERT_GT(offers.size(), 40u);
  for (const std::string key : {"", "_rsa"}) {
    Restart([&key](ServerOptions& options) {
      options.tls_cert = COVERNOTE_TEST_DATA "/data/test_tls" + key + "_cert.pem";
      options.tls_key = COVERNOTE_TEST_DATA "/data/test_tls" + key + "_key.pem";
    });
    const std::string signed_by = key.empty() ? "ECDSA" : "RSA";
    EXPECT_EQ(Agreed(server_->Port(), offers),
              (std::set<std::string>{"TLSv1.3", "ECDHE-" + signed_by + "-AES128-GCM-SHA256",
                                     "ECDHE-" + signed_by + "-AES256-GCM-SHA384",
                                     "ECDHE-" + signed_by + "-CHACHA20-POLY1305"}));
  }
}

TEST_F(HttpTest, FreedMemoryIsHandedBackOnATimerAndOnDemand) {
  std::atomic<int> releases{0};
  Restart([&releases](ServerOptions& options) {
    options.release_interval = std::chrono::hours(1);
    options.release_memory = [&releases] { ++releases; };
  });
  server_->ReleaseMemory();  // returns once every I/O thread has returned its cache and released
  EXPECT_EQ(releases.load(), 2);
  Restart([&releases](ServerOptions& options) {
    options.release_interval = std::chrono::milliseconds(20);
    options.release_memory = [&releases] { ++releases; };
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  server_->Stop();
  EXPECT_GE(releases.load(), 6);
}

}  // namespace
}  // namespace cn::web

#pragma once
// The server on a free port with the test screen and two users (alice, bob), restarted on
// options a test changes; shared by the HTTP tests.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <sstream>

#include "http_client.h"
#include "test_screen.h"
#include "web/memory_user_directory.h"
#include "web/server.h"

namespace cn::web {

using nlohmann::json;
using testing::Browser;
using testing::HttpReply;
using testing::NodeOf;
using Clock = std::chrono::system_clock;
using Headers = std::map<std::string, std::string>;

inline const Headers kForm{{"Content-Type", "application/x-www-form-urlencoded"}};
inline const Headers kLoginForm{{"Content-Type", "application/x-www-form-urlencoded"},
                                {"Accept", "application/json"}};

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto users = std::make_shared<MemoryUserDirectory>(MemoryUserDirectory::HashCost::kMinimum);
    users->Add("alice", "s3cret pass", Identity{"ALICE", "A01", "B"});
    users->Add("bob", "another", Identity{"BOB", "A02", "B"});
    users_ = users;
    Restart();
  }
  void TearDown() override { server_->Stop(); }

  // Starts the server again on the test's options, changed by `change`; returns them.
  ServerOptions Restart(const std::function<void(ServerOptions&)>& change = {},
                        std::shared_ptr<const UserDirectory> users = nullptr,
                        ScreenFactory screens = nullptr) {
    if (server_) server_->Stop();
    ServerOptions options;
    options.port = 0;
    options.io_threads = 2;
    options.assets = COVERNOTE_PAGES_DIR;
    options.most_body_bytes = 16 * 1024;
    options.sessions.most_per_user = 100;
    options.server_name = "web-test";
    options.health_check = [this] { return database_down_ ? "no database" : ""; };
    options.metrics = metrics_;
    if (change) change(options);
    server_ =
        std::make_unique<Server>(options, users ? users : users_,
                                 screens ? screens : testing::TestScreenFactory(pages_.dir()));
    server_->Start();
    return options;
  }

  Browser LoggedIn(const char* user = "alice", const char* password = "s3cret pass") {
    Browser browser(server_->Port());
    EXPECT_TRUE(browser.LogIn(user, password));
    EXPECT_EQ(browser.State().status, 200);
    return browser;
  }
  // An element event on the shown tab page, built from a fresh state.
  static json ElementEvent(const json& state, const std::string& id, const std::string& event) {
    return {{"seen", state.at("seq")},
            {"kind", "element"},
            {"page", state.at("frame").at("key")},
            {"node", NodeOf(state.at("frame"), id)},
            {"event", event}};
  }

  testing::TestPages pages_;
  std::shared_ptr<const UserDirectory> users_;
  std::atomic<bool> database_down_ = false;
  std::shared_ptr<Metrics> metrics_ = std::make_shared<Metrics>();
  std::unique_ptr<Server> server_;
};

}  // namespace cn::web

// Logging in while someone attacks it: a stopped store, names spelt in bytes that are no text,
// guessing that aims at the real administrator, and floods of logins from one address or many.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "base/runtime_failure.h"
#include "http_fixture.h"

namespace cn::web {
namespace {

constexpr const char* kUnavailable =
    "Logging in is not possible at the moment; please try again shortly.";

class LoginTest : public HttpTest {
 protected:
  // A login form posted as from `address`, which the proxy on loopback forwards.
  HttpReply Post(Browser& browser, const std::string& address, const std::string& form) {
    auto headers = kLoginForm;
    headers["X-Forwarded-For"] = address;
    return browser.Send("POST", "/login", form, headers);
  }
  HttpReply Post(const std::string& address, const std::string& form) {
    Browser stranger(server_->Port());
    return Post(stranger, address, form);
  }
};

// The store has stopped: a lookup throws as the database's does.
class StoppedStore final : public UserDirectory {
 public:
  std::optional<Identity> Authenticate(std::string_view, std::string_view) const override {
    throw RuntimeFailure(0x5001, "The database server cannot be reached at 127.0.0.1 port 5433",
                         "backend store");
  }
};

// A lookup on the password threads and a screen opening on an I/O thread fail: each login is
// told, with no host or port, and the server goes on serving.
TEST_F(LoginTest, AFailedLookupOrScreenIsToldAndTheServerGoesOn) {
  const ScreenFactory failing_screen = [](const Identity&,
                                          std::shared_ptr<dom::DialogHost>) -> SessionScreen {
    throw RuntimeFailure(0x5003, "The connection to the database server was lost", "backend store");
  };
  for (const bool lookup : {true, false}) {
    Restart({}, lookup ? std::make_shared<StoppedStore>() : users_,
            lookup ? nullptr : failing_screen);
    for (int attempt = 0; attempt < 3; ++attempt) {
      const HttpReply reply = Post("192.0.2.1", "user=alice&password=s3cret+pass");
      EXPECT_EQ(json({reply.status, reply.Json().value("message", "")}), json({503, kUnavailable}))
          << lookup;
    }
    EXPECT_EQ(Browser(server_->Port()).Send("GET", "/healthz").status, 200);
  }
}

// Bytes that are not UTF-8 are refused before anything reads them (an overlong "a" was looked up
// as "a" but counted as another name), and the log never holds them raw.
TEST_F(LoginTest, AUserNameIsReadOneWayForTheLookupTheThrottleAndTheLog) {
  Restart([](ServerOptions& options) { options.trusted_proxies = {"127.0.0.1"}; });
  LogCapture log;
  // Overlong "a", a surrogate, a stray continuation byte, a byte never in UTF-8.
  for (const char* form : {"user=%C1%A1lice&password=s3cret+pass", "user=%ED%A0%80&password=x",
                           "user=%80alice&password=x", "user=alice%FF&password=x",
                           "user=alice&password=s3cret%C0%A0pass"}) {
    EXPECT_EQ(Post("192.0.2.1", form).status, 400) << form;
  }
  server_->Stop();
  EXPECT_EQ(log.Text().find('\xC1'), std::string::npos) << log.Text();
}

TEST_F(LoginTest, GuessersLockOutStrangersButNeverTheUsersOwnBrowser) {
  Restart([](ServerOptions& options) {
    options.trusted_proxies = {"127.0.0.1"};
    options.throttle.untrusted_per_user = options.throttle.per_device = {1, 3};
    options.throttle.first_delay = std::chrono::milliseconds(1);
  });
  const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
  Browser desk(server_->Port());
  ASSERT_EQ(Post(desk, "192.0.2.10", "user=alice&password=s3cret+pass").status, 200);
  for (int i = 0; i < 3; ++i, pause())
    EXPECT_EQ(Post("198.51.100." + std::to_string(i), "user=alice&password=guess").status, 401);
  EXPECT_EQ(Post("192.0.2.11", "user=alice&password=s3cret+pass").Json().value("error", ""),
            "locked");
  EXPECT_EQ(Post(desk, "192.0.2.10", "user=alice&password=s3cret+pass").status, 200);
  // His own browser has a count of its own: three mistakes lock it, and it is a stranger again.
  for (int i = 0; i < 3; ++i, pause())
    EXPECT_EQ(Post(desk, "192.0.2.10", "user=alice&password=typo").status, 401);
  EXPECT_EQ(Post(desk, "192.0.2.10", "user=alice&password=s3cret+pass").Json().value("error", ""),
            "locked");
}

// The directory's check takes a tenth of a second, as a real one does on a busy server.
class SlowUsers final : public UserDirectory {
 public:
  explicit SlowUsers(std::shared_ptr<const UserDirectory> users) : users_(std::move(users)) {}
  std::optional<Identity> Authenticate(std::string_view user,
                                       std::string_view password) const override {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return users_->Authenticate(user, password);
  }

 private:
  std::shared_ptr<const UserDirectory> users_;
};

TEST_F(LoginTest, AFloodFromOneOrFortyAddressesLeavesARealLoginWorking) {
  for (const int addresses : {1, 40}) {
    SCOPED_TRACE(std::to_string(addresses) + " addresses");
    Restart(
        [](ServerOptions& options) {
          options.trusted_proxies = {"127.0.0.1"};
          // Every name is guessed once, and the addresses are let guess on: only the pool's
          // fairness keeps the real login working.
          options.throttle.per_address = {1 << 30, 1 << 30};
        },
        std::make_shared<SlowUsers>(users_));
    Browser desk(server_->Port());
    ASSERT_EQ(Post(desk, "192.0.2.10", "user=alice&password=s3cret+pass").status, 200);
    std::atomic<bool> flooding = true;
    std::vector<std::thread> flood;
    for (int i = 0; i < 40; ++i) {
      flood.emplace_back([&, i] {
        for (int n = 0; flooding; ++n)
          Post("203.0.113." + std::to_string(i % addresses),
               "user=u" + std::to_string(i * 10000 + n) + "&password=x");
      });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (int login = 0; login < 8; ++login) {
      const auto start = Clock::now();
      EXPECT_EQ(Post(desk, "192.0.2.10", "user=alice&password=s3cret+pass").status, 200);
      EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    }
    flooding = false;
    for (auto& thread : flood) thread.join();
  }
}

}  // namespace
}  // namespace cn::web

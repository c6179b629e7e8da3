// Logging in while someone attacks it: a stopped store, names in bytes that are not text,
// guessing aimed at the real administrator, and floods of logins from one address or many.
#include <thread>
#include <vector>

#include "base/runtime_failure.h"
#include "http_fixture.h"

namespace cn::web {
namespace {

// The test's users, each lookup done after `first` (which may throw, as a stopped store does).
class Users final : public UserDirectory {
 public:
  Users(std::shared_ptr<const UserDirectory> users, std::function<void()> first)
      : users_(std::move(users)), first_(std::move(first)) {}
  std::optional<Account> Authenticate(std::string_view user,
                                      std::string_view pass) const override {
    first_();
    return users_->Authenticate(user, pass);
  }

 private:
  std::shared_ptr<const UserDirectory> users_;
  std::function<void()> first_;
};

class LoginTest : public HttpTest {
 protected:
  // A login form from `address` (as the proxy on loopback forwards it), in a browser of its own.
  HttpReply Post(const std::string& address, const std::string& form, Browser* browser = nullptr) {
    Browser stranger(server_->Port());
    auto headers = kLoginForm;
    headers["X-Forwarded-For"] = address;
    return (browser ? *browser : stranger).Send("POST", "/login", form, headers);
  }
  static constexpr const char* kAlice = "user=alice&password=s3cret+pass";
};

// A lookup failing on a password thread, a tab's screen failing to open on an I/O thread: each
// is told, with no host or port, and the server goes on serving.
TEST_F(LoginTest, AFailedLookupOrScreenIsToldAndTheServerGoesOn) {
  const auto stopped = [] {
    throw RuntimeFailure(0x5001, "The database server cannot be reached at 127.0.0.1 port 5433",
                         "backend store");
  };
  for (const bool lookup : {true, false}) {
    Restart({}, lookup ? std::make_shared<Users>(users_, stopped) : users_,
            lookup ? nullptr : ScreenFactory([&](auto&&...) -> SessionScreen { stopped(); }));
    for (int attempt = 0; attempt < 3; ++attempt) {
      Browser browser(server_->Port());
      HttpReply reply = Post("192.0.2.1", kAlice, &browser);
      if (!lookup) {
        ASSERT_EQ(reply.status, 200);
        reply = browser.State();
      }
      EXPECT_EQ(
          json({reply.status, reply.Json().value("message", "")}),
          json({503, lookup
                         ? "Logging in is not possible at the moment; please try again shortly."
                         : "The screen could not open at the moment; please try again shortly."}));
    }
    EXPECT_EQ(Browser(server_->Port()).Send("GET", "/healthz").status, 200);
  }
}

// Bytes that are not UTF-8 are refused before anything reads them: an overlong "a" was looked up
// as "a" but counted under another name. So are a surrogate, a stray continuation byte and FF.
TEST_F(LoginTest, AFormThatIsNotUtf8IsRefusedBeforeTheLookup) {
  for (const char* form : {"user=%C1%A1lice&password=s3cret+pass", "user=%ED%A0%80&password=x",
                           "user=%80alice&password=x", "user=alice&password=s3cret%FFpass"})
    EXPECT_EQ(Post("192.0.2.1", form).status, 400) << form;
}

TEST_F(LoginTest, GuessersLockOutStrangersButNeverTheUsersOwnBrowser) {
  Restart([](ServerOptions& options) {
    options.trusted_proxies = {"127.0.0.1"};
    options.throttle.untrusted_per_user = options.throttle.per_device = {1, 3};
    options.throttle.first_delay = std::chrono::milliseconds(1);
  });
  const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(5)); };
  Browser desk(server_->Port());
  ASSERT_EQ(Post("192.0.2.10", kAlice, &desk).status, 200);
  for (int i = 0; i < 3; ++i, pause())
    EXPECT_EQ(Post("198.51.100." + std::to_string(i), "user=alice&password=guess").status, 401);
  EXPECT_EQ(Post("192.0.2.11", kAlice).Json().value("error", ""), "locked");
  EXPECT_EQ(Post("192.0.2.10", kAlice, &desk).status, 200);
  // His own browser has a count of its own: three mistakes lock it, and it is a stranger again.
  for (int i = 0; i < 3; ++i, pause())
    EXPECT_EQ(Post("192.0.2.10", "user=alice&password=typo", &desk).status, 401);
  EXPECT_EQ(Post("192.0.2.10", kAlice, &desk).Json().value("error", ""), "locked");
}

// Forty clients loop on logins that each take a tenth of a second to check, every name a new
// one and no address ever held up: only the password pool's fairness lets the real one in.
TEST_F(LoginTest, AFloodFromOneOrFortyAddressesLeavesARealLoginWorking) {
  for (const int addresses : {1, 40}) {
    SCOPED_TRACE(std::to_string(addresses) + " addresses");
    const auto slow = [] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); };
    Restart(
        [](ServerOptions& options) {
          options.trusted_proxies = {"127.0.0.1"};
          options.throttle.per_address = {1 << 30, 1 << 30};
        },
        std::make_shared<Users>(users_, slow));
    Browser desk(server_->Port());
    ASSERT_EQ(Post("192.0.2.10", kAlice, &desk).status, 200);
    std::atomic<bool> flooding = true;
    std::vector<std::thread> flood;
    for (int i = 0; i < 40; ++i) {
      flood.emplace_back([&, i] {
        for (int n = 0; flooding; ++n)
          Post("203.0.113." + std::to_string(i % addresses),
               "user=u" + std::to_string(i * 9999 + n));
      });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (int login = 0; login < 8; ++login) {
      const auto start = Clock::now();
      EXPECT_EQ(Post("192.0.2.10", kAlice, &desk).status, 200);
      EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    }
    flooding = false;
    for (auto& thread : flood) thread.join();
  }
}

}  // namespace
}  // namespace cn::web

// The steps of a login after its password, and the user's own account from his screen: a code
// of the second factor (taken once; a recovery code once; a few wrong ones end the login), a
// password of his own chosen under the rules, a second factor set up with its QR code.
#include <gmock/gmock.h>

#include "base/text.h"
#include "http_fixture.h"
#include "web/password_rules.h"
#include "web/second_factor.h"

namespace cn::web {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using SystemClock = std::chrono::system_clock;

constexpr const char* kOwn = "violet harbour lantern 42 quietly";

class AccountFlowTest : public HttpTest {
 protected:
  void SetUp() override {
    HttpTest::SetUp();
    directory_ = std::make_shared<MemoryUserDirectory>(MemoryUserDirectory::HashCost::kMinimum);
    directory_->Add("alice", "s3cret pass", Identity{"ALICE", "A01", "B"});
    directory_->Add("carol", "given to her", Identity{"CAROL", "A01", "B"}, {true, true});
    Restart({}, directory_);
  }
  // ALICE with a second factor; its secret and recovery codes.
  std::pair<std::string, std::vector<std::string>> Enrolled() {
    const std::string secret = *directory_->BeginEnrolment("ALICE");
    return {secret, *directory_->ConfirmEnrolment("ALICE", TotpCode(secret, SystemClock::now()))};
  }
  HttpReply Form(Browser& browser, const std::string& path, const std::string& form) {
    return browser.Send("POST", path, form, kLoginForm);
  }
  std::shared_ptr<MemoryUserDirectory> directory_;
};

TEST_F(AccountFlowTest, ASecondFactorsCodeIsTakenOnceAndARecoveryCodeOnce) {
  const auto [secret, recovery] = Enrolled();
  ASSERT_EQ(recovery.size(), 10u);
  const std::string next = TotpCode(secret, SystemClock::now() + std::chrono::seconds(30));
  const auto code_login = [&](const std::string& code) {
    Browser browser(server_->Port());
    const HttpReply password = Form(browser, "/login", "user=alice&password=s3cret+pass");
    EXPECT_EQ(password.Json(), (json{{"step", "code"}, {"user", "ALICE"}}));
    EXPECT_EQ(browser.State().status, 401);
    const HttpReply reply = Form(browser, "/login/code", "code=" + code);
    return std::make_pair(reply.status, browser.State().status);
  };
  EXPECT_EQ(code_login(next), std::make_pair(200, 200));
  EXPECT_EQ(code_login(next), std::make_pair(401, 401)) << "the same code again";
  EXPECT_EQ(code_login(recovery[3]), std::make_pair(200, 200));
  EXPECT_EQ(code_login(recovery[3]), std::make_pair(401, 401)) << "the same recovery code again";
  EXPECT_EQ(directory_->SecondFactorOf("ALICE").recovery_codes_left, 9);
  // A step asked out of turn, or without the login's cookie, is refused.
  Browser stranger(server_->Port());
  EXPECT_EQ(Form(stranger, "/login/code", "code=" + next).status, 401);
  std::vector<std::string> events;
  for (const auto& event : directory_->Events()) events.push_back(event.event);
  EXPECT_THAT(events, ::testing::IsSupersetOf({"code failed", "recovery code used", "login"}));
}

TEST_F(AccountFlowTest, AFewWrongCodesEndTheLogin) {
  Enrolled();
  Restart([](ServerOptions& options) { options.throttle.untrusted_per_user = {100, 200}; }, directory_);
  Browser browser(server_->Port());
  Form(browser, "/login", "user=alice&password=s3cret+pass");
  for (int i = 1; i < 5; ++i) EXPECT_EQ(Form(browser, "/login/code", "code=000000").Json().at("error"), "refused");
  EXPECT_EQ(Form(browser, "/login/code", "code=000000").Json().at("message"), "Too many wrong codes: log in again.");
  EXPECT_EQ(Form(browser, "/login/code", "code=000000").status, 401);
}

// CAROL's password was set for her and a second factor is required: her own password first,
// then the second factor with its QR code, then the recovery codes with the session.
TEST_F(AccountFlowTest, AForcedPasswordAndARequiredSecondFactorComeBeforeTheSession) {
  Browser carol(server_->Port());
  EXPECT_EQ(Form(carol, "/login", "user=carol&password=given+to+her").Json().at("step"), "password");
  HttpReply weak = Form(carol, "/login/password", "password=carol");
  EXPECT_EQ(weak.Json().at("message"), "Choose a password of at least 12 characters.");
  weak = Form(carol, "/login/code", "code=123456");
  EXPECT_EQ(weak.status, 409);
  const HttpReply chosen = Form(carol, "/login/password", "password=" + testing::FormEncoded(kOwn));
  ASSERT_EQ(chosen.Json().at("step"), "enrol");
  const std::string secret = chosen.Json().at("secret");
  const HttpReply qr = carol.Send("GET", "/login/qr.svg");
  EXPECT_EQ(qr.Header("content-type"), "image/svg+xml");
  EXPECT_THAT(qr.body, ::testing::StartsWith("<svg xmlns=\"http://www.w3.org/2000/svg\""));
  EXPECT_THAT(qr.body, Not(HasSubstr("script")));
  const HttpReply enrolled =
      Form(carol, "/login/enrol", "code=" + TotpCode(secret, SystemClock::now()));
  ASSERT_EQ(enrolled.status, 200);
  EXPECT_EQ(enrolled.Json().at("recovery_codes").size(), 10u);
  EXPECT_EQ(enrolled.Json().at("location"), "/app.html");
  EXPECT_EQ(carol.State().status, 200);
  EXPECT_EQ(Form(carol, "/login/enrol", "code=123456").status, 401) << "the login is over";
}

TEST_F(AccountFlowTest, ChangingHisPasswordAsksTheCurrentOneAndEndsHisOtherSessions) {
  Browser other = LoggedIn();
  Browser alice = LoggedIn();
  const auto change = [&](const char* current, const char* password) {
    return alice.Post("/api/password", {{"current", current}, {"password", password}});
  };
  EXPECT_EQ(change("wrong", kOwn).Json().at("message"), "The current password is not right.");
  const HttpReply weak = change("s3cret pass", "alicealicealice");
  EXPECT_EQ(weak.Json().at("message"), "That password is too easy to guess.");
  EXPECT_FALSE(weak.Json().at("hints").empty());
  EXPECT_EQ(change("s3cret pass", kOwn).Json(), (json{{"ended", 1}}));
  EXPECT_EQ(other.State().status, 401);
  EXPECT_EQ(alice.State().status, 200);
  EXPECT_TRUE(Browser(server_->Port()).LogIn("alice", "violet+harbour+lantern+42+quietly"));
}

TEST_F(AccountFlowTest, ASecondFactorIsSetUpFromTheScreen) {
  Browser alice = LoggedIn();
  EXPECT_EQ(alice.Send("GET", "/api/mfa").Json(),
            (json{{"enrolled", false}, {"required", false}, {"recovery_codes_left", 0}}));
  const std::string secret = alice.Post("/api/mfa/begin", json::object()).Json().at("secret");
  EXPECT_EQ(alice.Send("GET", "/api/mfa/qr.svg").status, 200);
  EXPECT_EQ(alice.Post("/api/mfa/confirm", {{"code", "12"}}).status, 401);
  EXPECT_EQ(alice.Post("/api/mfa/confirm", {{"code", TotpCode(secret, SystemClock::now())}})
                .Json().at("recovery_codes").size(), 10u);
  EXPECT_EQ(alice.Send("GET", "/api/mfa").Json().at("enrolled"), true);
  EXPECT_EQ(alice.Post("/api/mfa/begin", json::object()).status, 409);
}

TEST(PasswordRules, AtLeastTwelveCharactersNotTheNameAndNotGuessable) {
  const struct {
    const char* password;
    bool accepted;
    const char* message;
  } cases[] = {
      {"", false, "Choose a password of at least 12 characters."},
      {"ñandú ñandú", false, "Choose a password of at least 12 characters."},  // 11 characters, 13 bytes
      {"Administrator1", false, "That password is too easy to guess."},
      {"aDMINISTRATOR", false, "The password may not be your user name."},
      {"password1234", false, "That password is too easy to guess."},
      {"qwertyuiop12", false, "That password is too easy to guess."},
      {"aaaaaaaaaaaa", false, "That password is too easy to guess."},
      {"abcdefghijkl", false, "That password is too easy to guess."},
      {"A1001A1001A1001", false, "That password is too easy to guess."},
      {"\xC1\xA1" "bcdefghijklmnop", false, "Choose a password of text, of at most 1024 bytes."},
      {"violet harbour lantern 42 quietly", true, ""},
      {"tq7#Vm2!pX9z", true, ""},
  };
  for (const auto& c : cases) {
    const PasswordVerdict verdict = JudgePassword(c.password, "administrator", {"A1001"});
    EXPECT_EQ(verdict.accepted, c.accepted) << c.password;
    EXPECT_EQ(verdict.message, c.message) << c.password;
    EXPECT_EQ(verdict.hints.empty(), verdict.message != "That password is too easy to guess.")
        << c.password;
  }
}

TEST(SecondFactor, CodesOfTheStepsAroundNowAndRecoveryCodesInAnyCase) {
  const std::string secret = NewTotpSecret();
  const auto now = SystemClock::now();
  const auto step = [&](int seconds) { return TotpStep(secret, TotpCode(secret, now + std::chrono::seconds(seconds)), now); };
  ASSERT_TRUE(step(0));
  EXPECT_EQ(step(-30), *step(0) - 1);
  EXPECT_EQ(step(30), *step(0) + 1);
  EXPECT_EQ(step(90), std::nullopt);
  EXPECT_EQ(TotpStep(secret, "12345", now), std::nullopt);
  EXPECT_EQ(TotpStep("not base32!", "123456", now), std::nullopt);
  const std::string code = NewRecoveryCodes().front();
  EXPECT_EQ(RecoveryCodeHash(code), RecoveryCodeHash(" " + UCase(code).erase(5, 1)));
  EXPECT_EQ(RecoveryCodeHash("0000-11111"), "");
  EXPECT_THAT(TotpUri("Cover Note", "ALICE", secret),
              ::testing::StartsWith("otpauth://totp/Cover%20Note:ALICE?secret=" + secret + "&issuer=Cover%20Note"));
}

}  // namespace
}  // namespace cn::web

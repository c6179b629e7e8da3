// Who may log in to the web screen: the back end's users with a password hash.
#include "app/database_user_directory.h"

#include <gtest/gtest.h>
#include <sodium.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "../base/temp_folder.h"
#include "backend/sqlite.h"
#include "base/clock.h"
#include "components/shared_backend.h"
#include "web/second_factor.h"

namespace cn::app {
namespace {

// The seeded administrator is a head-office user; a user given a password logs in as his own
// agent. The user name is matched without regard to case or surrounding spaces, the password
// exactly. Bytes that are not UTF-8 (an overlong "a") never pass for a letter of a name.
TEST(DatabaseUserDirectory, EachUserLogsInWithHisOwnPasswordOnly) {
  const cn::testing::TempFolder folder("covernote-users");
  const auto path = folder.path / "users.db";
  const SystemClock clock;
  const auto backend = components::OpenSharedBackend(path, clock);
  char hash[crypto_pwhash_STRBYTES];
  ASSERT_EQ(crypto_pwhash_str(hash, "lotus pond", 10, crypto_pwhash_OPSLIMIT_MIN,
                              crypto_pwhash_MEMLIMIT_MIN),
            0);
  const auto set_hash = [&](std::string_view user, std::string_view hash) {
    backend->WithDatabase([&](backend::Database& db) {
      db.Prepare("UPDATE app_user SET password_hash = ?1 WHERE user_id = ?2")
          .Bind(1, hash)
          .Bind(2, user)
          .Run();
    });
  };
  set_hash("TERATAI01", hash);
  const DatabaseUserDirectory users(backend);
  const std::optional<web::Identity> admin = web::Identity{"ADMIN", "HQ001", "H", "amend"};
  const std::optional<web::Identity> teratai = web::Identity{"TERATAI01", "A1001", "A", "amend"};
  struct Case {
    std::string_view user, password;
    std::optional<web::Identity> identity;
  };
  // "lotus pond" is another's password; SUPERVISOR is seeded without one.
  // clang-format off
  const Case cases[] = {
      {"admin", "covernote", admin}, {"ADMIN", "covernote", admin}, {"Admin", "covernote", admin},
      {" admin ", "covernote", admin}, {"teratai01", "lotus pond", teratai}, {"teratai01", "covernote", std::nullopt},
      {"admin", "lotus pond", std::nullopt}, {"admin", "wrong", std::nullopt}, {"admin", "", std::nullopt},
      {"admin", "covernote ", std::nullopt}, {"admin", "COVERNOTE", std::nullopt},
      {"nobody", "covernote", std::nullopt},
      {"", "covernote", std::nullopt}, {"SUPERVISOR", "covernote", std::nullopt}, {"SUPERVISOR", "", std::nullopt},
      {"admin' OR '1'='1", "covernote", std::nullopt},
      {"\xC1\xA1" "dmin", "covernote", std::nullopt}};
  // clang-format on
  const auto identity = [&](std::string_view user, std::string_view password) {
    const auto account = users.Authenticate(user, password);
    return account ? std::optional(account->identity) : std::nullopt;
  };
  for (const Case& c : cases)
    EXPECT_EQ(identity(c.user, c.password), c.identity) << c.user << "/" << c.password;
  // A damaged hash refuses instead of failing.
  set_hash("ADMIN", "not a hash");
  EXPECT_EQ(users.Authenticate("admin", "covernote"), std::nullopt);
}

// A second factor confirmed with a code of its secret is kept, with its ten recovery codes.
TEST(DatabaseUserDirectory, AConfirmedSecondFactorIsKept) {
  const cn::testing::TempFolder folder("covernote-users-factor");
  const SystemClock clock;
  const DatabaseUserDirectory users(components::OpenSharedBackend(folder.path / "users.db", clock));
  const std::string secret = users.BeginEnrolment("ADMIN").value_or("");
  const auto now = std::chrono::system_clock::now();
  const auto codes = users.ConfirmEnrolment("ADMIN", web::TotpCode(secret, now));
  ASSERT_EQ(codes ? codes->size() : 0u, 10u);
  EXPECT_EQ(users.SecondFactorOf("ADMIN").recovery_codes_left, 10);
  // A code is taken once: the next one passes, and then not again.
  const std::string next = web::TotpCode(secret, now + std::chrono::seconds(30));
  bool recovery = false;
  EXPECT_EQ(std::vector<bool>({users.CheckCode("ADMIN", next, recovery), users.CheckCode("ADMIN", next, recovery)}),
            std::vector<bool>({true, false}));
}

}  // namespace
}  // namespace cn::app

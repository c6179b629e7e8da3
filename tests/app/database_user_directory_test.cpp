// Who may log in to the web screen: the back end's users with a password hash.
#include "app/database_user_directory.h"

#include <gtest/gtest.h>
#include <sodium.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "backend/sqlite.h"
#include "base/clock.h"
#include "components/shared_backend.h"

namespace cn::app {
namespace {

class DatabaseUserDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            (std::string("users_") + info->name() + "_" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path_);
    backend_ = components::OpenSharedBackend(path_, clock_);
  }
  void TearDown() override {
    backend_.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) {
      std::filesystem::remove(path_.string() + suffix);
    }
  }

  void SetPassword(std::string_view user_id, std::string_view password) {
    char hash[crypto_pwhash_STRBYTES];
    ASSERT_EQ(crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_MIN,
                                crypto_pwhash_MEMLIMIT_MIN),
              0);
    backend_->WithDatabase([&](backend::Database& db) {
      db.Prepare("UPDATE app_user SET password_hash = ?1 WHERE user_id = ?2")
          .Bind(1, std::string_view(hash))
          .Bind(2, user_id)
          .Run();
    });
  }

  SystemClock clock_;
  std::filesystem::path path_;
  std::shared_ptr<components::SharedBackend> backend_;
};

TEST_F(DatabaseUserDirectoryTest, SeededAdministratorLogsInAsHeadOfficeUser) {
  const DatabaseUserDirectory users(backend_);
  const web::Identity admin{"ADMIN", "HQ001", "H"};
  // The user name is matched without regard to case or surrounding spaces.
  for (const std::string_view name : {"admin", "ADMIN", "Admin", " admin "}) {
    EXPECT_EQ(users.Authenticate(name, "covernote"), admin) << name;
  }
}

TEST_F(DatabaseUserDirectoryTest, RefusesWhatIsNotAUserWithHisPassword) {
  const DatabaseUserDirectory users(backend_);
  struct Case {
    std::string_view user;
    std::string_view password;
    std::string_view why;
  };
  for (const Case& refused : {
           Case{"admin", "wrong", "a wrong password"},
           Case{"admin", "", "an empty password"},
           Case{"admin", "covernote ", "the password with a trailing space"},
           Case{"admin", "COVERNOTE", "the password in another case"},
           Case{"nobody", "covernote", "an unknown user"},
           Case{"", "covernote", "no user name"},
           Case{"SUPERVISOR", "covernote", "a seeded user without a password"},
           Case{"SUPERVISOR", "", "a user without a password and an empty one"},
           Case{"admin' OR '1'='1", "covernote", "quoting in the user name"},
       }) {
    EXPECT_EQ(users.Authenticate(refused.user, refused.password), std::nullopt) << refused.why;
  }
}

TEST_F(DatabaseUserDirectoryTest, UserGivenAPasswordLogsInAsHisOwnAgent) {
  SetPassword("TERATAI01", "lotus pond");
  const DatabaseUserDirectory users(backend_);
  EXPECT_EQ(users.Authenticate("teratai01", "lotus pond"),
            (web::Identity{"TERATAI01", "A1001", "A"}));
  EXPECT_EQ(users.Authenticate("teratai01", "covernote"), std::nullopt);
  // The other users are not affected.
  EXPECT_EQ(users.Authenticate("admin", "lotus pond"), std::nullopt);
}

TEST_F(DatabaseUserDirectoryTest, DamagedHashRefusesInsteadOfFailing) {
  backend_->WithDatabase([](backend::Database& db) {
    db.Prepare("UPDATE app_user SET password_hash = 'not a hash' WHERE user_id = 'ADMIN'").Run();
  });
  const DatabaseUserDirectory users(backend_);
  EXPECT_EQ(users.Authenticate("admin", "covernote"), std::nullopt);
}

}  // namespace
}  // namespace cn::app

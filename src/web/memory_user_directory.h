#pragma once
// Users held in memory with argon2id password hashes: for tests and for running the server
// without a database. The second factor and the audit trail are kept here too.

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/password_hash.h"
#include "web/user_directory.h"

namespace cn::web {

// What a user added in memory must do at his login.
struct MemoryUserOptions {
  bool must_change_password = false;
  bool require_mfa = false;
};

class MemoryUserDirectory final : public UserDirectory {
 public:
  using HashCost = web::HashCost;
  using Options = MemoryUserOptions;
  explicit MemoryUserDirectory(HashCost cost = HashCost::kInteractive);

  // Adds or replaces a user, under his canonical name; the password is kept only as its hash.
  void Add(std::string_view user, std::string_view password, Identity identity,
           Options options = {});
  // The confirmed TOTP secret of the user (after ConfirmEnrolment), for tests to make codes.
  std::optional<std::string> SecretOf(std::string_view user) const;
  std::vector<AccountEvent> Events() const;

  std::optional<Account> Authenticate(std::string_view user,
                                      std::string_view password) const override;
  bool CheckCode(std::string_view user, std::string_view code, bool& recovery) const override;
  void ChangePassword(std::string_view user, std::string_view password) const override;
  std::optional<std::string> BeginEnrolment(std::string_view user) const override;
  std::optional<std::string> PendingEnrolment(std::string_view user) const override;
  std::optional<std::vector<std::string>> ConfirmEnrolment(std::string_view user,
                                                           std::string_view code) const override;
  SecondFactor SecondFactorOf(std::string_view user) const override;
  void Record(const AccountEvent& event) const override;

 private:
  struct Entry {
    std::string password_hash;
    Identity identity;
    Options options;
    std::optional<std::string> secret;
    bool confirmed = false;
    std::int64_t last_step = 0;
    std::map<std::string, bool> recovery;  // hash -> used
  };
  HashCost cost_;
  PasswordVerifier verifier_;
  mutable std::mutex mutex_;
  mutable std::map<std::string, Entry, std::less<>> users_;
  mutable std::vector<AccountEvent> events_;
};

}  // namespace cn::web

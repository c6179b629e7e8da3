#pragma once
// The administrators who may log in to the web screen: the back end's accounts
// (backend/accounts.h), each with the argon2id hash of his password, the agent he works for, his
// role and his second factor; every login, failure and change goes to the audit trail.

#include <memory>
#include <optional>
#include <string_view>

#include "components/shared_backend.h"
#include "web/password_hash.h"
#include "web/user_directory.h"

namespace cn::app {

class DatabaseUserDirectory final : public web::UserDirectory {
 public:
  // Throws std::runtime_error when libsodium cannot start.
  explicit DatabaseUserDirectory(std::shared_ptr<components::SharedBackend> backend);

  // The user name is matched in its canonical form ("admin" is the user ADMIN; bytes that are
  // not UTF-8 match nobody). Users without a password hash, without an agent, or disabled cannot
  // log in. A store that fails throws its StoreFailure.
  std::optional<web::Account> Authenticate(std::string_view user,
                                           std::string_view password) const override;
  bool CheckCode(std::string_view user, std::string_view code, bool& recovery) const override;
  void ChangePassword(std::string_view user, std::string_view password) const override;
  std::optional<std::string> BeginEnrolment(std::string_view user) const override;
  std::optional<std::string> PendingEnrolment(std::string_view user) const override;
  std::optional<std::vector<std::string>> ConfirmEnrolment(std::string_view user,
                                                           std::string_view code) const override;
  web::SecondFactor SecondFactorOf(std::string_view user) const override;
  void Record(const web::AccountEvent& event) const override;

 private:
  // Runs `work` in one transaction of the kind given, committed when it returns.
  template <typename Work>
  auto InTransaction(bool writes, Work&& work) const;

  std::shared_ptr<components::SharedBackend> backend_;
  web::PasswordVerifier verifier_;  // the seeded and the login-set hashes are interactive
};

}  // namespace cn::app

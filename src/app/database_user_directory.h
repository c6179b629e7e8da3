#pragma once
// The administrators who may log in to the web screen: the back end's users, each with the
// argon2id hash of his password and the agent he works for.

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
  // not UTF-8 match nobody). Users without a password hash or without an agent cannot log in.
  // A store that fails throws its StoreFailure.
  std::optional<web::Identity> Authenticate(std::string_view user,
                                            std::string_view password) const override;

 private:
  std::shared_ptr<components::SharedBackend> backend_;
  web::PasswordVerifier verifier_;  // the seeded and the login-set hashes are interactive
};

}  // namespace cn::app

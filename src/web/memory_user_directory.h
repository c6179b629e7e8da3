#pragma once
// Users held in memory with argon2id password hashes: for tests and for running the server
// without a database.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "web/password_hash.h"
#include "web/user_directory.h"

namespace cn::web {

class MemoryUserDirectory final : public UserDirectory {
 public:
  using HashCost = web::HashCost;
  explicit MemoryUserDirectory(HashCost cost = HashCost::kInteractive);

  // Adds or replaces a user, under his canonical name; the password is kept only as its hash.
  void Add(std::string_view user, std::string_view password, Identity identity);

  std::optional<Identity> Authenticate(std::string_view user,
                                       std::string_view password) const override;

 private:
  struct Entry {
    std::string password_hash;
    Identity identity;
  };
  HashCost cost_;
  PasswordVerifier verifier_;
  std::map<std::string, Entry, std::less<>> users_;
};

}  // namespace cn::web

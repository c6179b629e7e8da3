#pragma once
// Users held in memory with argon2id password hashes: for tests and for running the server
// without a database.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "web/user_directory.h"

namespace cn::web {

class MemoryUserDirectory final : public UserDirectory {
 public:
  // The cost of the hash; tests use the smallest to keep many logins cheap.
  enum class HashCost { kInteractive, kMinimum };
  explicit MemoryUserDirectory(HashCost cost = HashCost::kInteractive);

  // Adds or replaces a user; the password is kept only as its hash.
  void Add(std::string_view user, std::string_view password, Identity identity);

  std::optional<Identity> Authenticate(std::string_view user, std::string_view password) const override;

 private:
  struct Entry {
    std::string password_hash;  // crypto_pwhash_str format, "$argon2id$..."
    Identity identity;
  };
  HashCost cost_;
  std::map<std::string, Entry, std::less<>> users_;
};

}  // namespace cn::web

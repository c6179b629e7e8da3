#pragma once
// argon2id password hashes, and checking a password against one in the same time whether or
// not the user exists: an unknown user is checked against a dummy hash of the same cost, so
// that the answer's delay does not tell which user names are real.

#include <optional>
#include <string>
#include <string_view>

namespace cn::web {

// The cost of the hash; tests use the smallest to keep many logins cheap.
enum class HashCost { kInteractive, kMinimum };

// In crypto_pwhash_str format ("$argon2id$..."); throws std::runtime_error when out of memory.
std::string HashPassword(std::string_view password, HashCost cost);

class PasswordVerifier {
 public:
  // `cost`: that of the directory's real hashes. Throws when libsodium cannot start.
  explicit PasswordVerifier(HashCost cost);
  // True when `password` is the one `stored` was made from; false without a stored hash,
  // after as much work as a real check.
  bool Matches(const std::optional<std::string>& stored, std::string_view password) const;

 private:
  std::string dummy_;
};

}  // namespace cn::web

#include "web/password_hash.h"

#include <sodium.h>

#include <stdexcept>

#include "web/session_store.h"

namespace cn::web {

std::string HashPassword(std::string_view password, HashCost cost) {
  const bool minimum = cost == HashCost::kMinimum;
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(
          hash, password.data(), password.size(),
          minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
          minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    throw std::runtime_error("Out of memory while hashing a password");
  }
  return hash;
}

PasswordVerifier::PasswordVerifier(HashCost cost) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
  dummy_ = HashPassword(RandomToken(), cost);
}

bool PasswordVerifier::Matches(const std::optional<std::string>& stored,
                               std::string_view password) const {
  const std::string& hash = stored ? *stored : dummy_;
  const bool same = crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
  return stored && same;
}

}  // namespace cn::web

#include "web/memory_user_directory.h"

#include <sodium.h>

#include <stdexcept>

namespace cn::web {

MemoryUserDirectory::MemoryUserDirectory(HashCost cost) : cost_(cost) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
}

void MemoryUserDirectory::Add(std::string_view user, std::string_view password, Identity identity) {
  const bool minimum = cost_ == HashCost::kMinimum;
  char hash[crypto_pwhash_STRBYTES];
  if (crypto_pwhash_str(hash, password.data(), password.size(),
                        minimum ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE,
                        minimum ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0) {
    throw std::runtime_error("Out of memory while hashing a password");
  }
  users_.insert_or_assign(std::string(user), Entry{hash, std::move(identity)});
}

std::optional<Identity> MemoryUserDirectory::Authenticate(std::string_view user, std::string_view password) const {
  const auto it = users_.find(user);
  if (it == users_.end()) return std::nullopt;
  if (crypto_pwhash_str_verify(it->second.password_hash.c_str(), password.data(), password.size()) != 0) {
    return std::nullopt;
  }
  return it->second.identity;
}

}  // namespace cn::web

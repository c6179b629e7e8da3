#include "web/memory_user_directory.h"

#include "web/user_name.h"

namespace cn::web {

MemoryUserDirectory::MemoryUserDirectory(HashCost cost) : cost_(cost), verifier_(cost) {}

void MemoryUserDirectory::Add(std::string_view user, std::string_view password, Identity identity) {
  users_.insert_or_assign(CanonicalUserName(user).value_or(std::string(user)),
                          Entry{HashPassword(password, cost_), std::move(identity)});
}

std::optional<Identity> MemoryUserDirectory::Authenticate(std::string_view user,
                                                          std::string_view password) const {
  const auto it = users_.find(user);
  std::optional<std::string> stored;
  if (it != users_.end()) stored = it->second.password_hash;
  if (!verifier_.Matches(stored, password)) return std::nullopt;
  return it->second.identity;
}

}  // namespace cn::web

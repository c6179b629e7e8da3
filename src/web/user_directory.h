#pragma once
// Who may log in: a user name and password give the identity the session's screen runs as.

#include <optional>
#include <string>
#include <string_view>

namespace cn::web {

// The logged-in administrator as the screen sees him: the registry's user values.
struct Identity {
  std::string user_id;
  std::string agent_code;
  std::string agent_type;
  bool operator==(const Identity&) const = default;
};

class UserDirectory {
 public:
  virtual ~UserDirectory() = default;
  // The identity of the user (his canonical name, web/user_name.h) when the password is his;
  // nothing otherwise (unknown users and wrong passwords look the same). May be slow (a memory-hard
  // hash) and is called off the I/O threads; must be safe to call from several threads at once.
  virtual std::optional<Identity> Authenticate(std::string_view user,
                                               std::string_view password) const = 0;
};

}  // namespace cn::web

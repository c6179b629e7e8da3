#pragma once
// Device cookies: a browser that has logged in as a user carries a token the server signed for
// that user, so that the login throttle can tell the user's own browsers from everybody else's
// (web/login_throttle.h). A token is a random id and a keyed hash of the user name and the id
// (libsodium's crypto_auth); it names no user, and only the server's key can make one. A browser
// keeps the tokens of the last few users who logged in on it.

#include <string>
#include <string_view>

namespace cn::web {

class DeviceTokens {
 public:
  static constexpr std::size_t kKeyBytes = 32;
  static constexpr std::size_t kMostTokens = 4;  // users remembered by one browser

  // `key`: kKeyBytes bytes, the same for every server of a database and across restarts, so
  // that a browser stays trusted; empty, a key of this process only. Throws
  // std::invalid_argument for a key of another size.
  explicit DeviceTokens(std::string key);

  // The id of the token in the cookie that was signed for `user` (a canonical name); "" when
  // there is none.
  std::string Device(std::string_view cookie, std::string_view user) const;
  // The cookie after `user` logged in: a new token of his first, then those the browser
  // carried for others, up to kMostTokens in all.
  std::string Renewed(std::string_view cookie, std::string_view user) const;

 private:
  std::string Sign(std::string_view user, std::string_view id) const;

  std::string key_;
};

}  // namespace cn::web

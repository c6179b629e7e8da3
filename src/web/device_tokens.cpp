#include "web/device_tokens.h"

#include <sodium.h>

#include <array>
#include <stdexcept>
#include <vector>

#include "web/session_store.h"

namespace cn::web {
namespace {

constexpr std::size_t kIdHex = 32;
constexpr std::size_t kTokenHex = kIdHex + 2 * crypto_auth_BYTES;
constexpr char kSeparator = '.';

// The well-formed tokens of a cookie: a browser's cookie is outside text.
std::vector<std::string_view> Tokens(std::string_view cookie) {
  std::vector<std::string_view> tokens;
  while (!cookie.empty() && tokens.size() < DeviceTokens::kMostTokens) {
    const std::size_t end = cookie.find(kSeparator);
    const std::string_view token = cookie.substr(0, end);
    cookie = end == std::string_view::npos ? std::string_view{} : cookie.substr(end + 1);
    if (token.size() == kTokenHex &&
        token.find_first_not_of("0123456789abcdef") == std::string_view::npos) {
      tokens.push_back(token);
    }
  }
  return tokens;
}

}  // namespace

DeviceTokens::DeviceTokens(std::string key) : key_(std::move(key)) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
  if (key_.empty()) {
    key_.resize(kKeyBytes);
    randombytes_buf(key_.data(), key_.size());
  }
  if (key_.size() != kKeyBytes) throw std::invalid_argument("a device-cookie key is 32 bytes");
}

std::string DeviceTokens::Sign(std::string_view user, std::string_view id) const {
  // The user name ends at a zero byte, which no name holds: "AB" + "C…" is not "A" + "BC…".
  std::string message(user);
  message += '\0';
  message += id;
  std::array<unsigned char, crypto_auth_BYTES> mac{};
  crypto_auth(mac.data(), reinterpret_cast<const unsigned char*>(message.data()), message.size(),
              reinterpret_cast<const unsigned char*>(key_.data()));
  std::array<char, 2 * crypto_auth_BYTES + 1> hex{};
  sodium_bin2hex(hex.data(), hex.size(), mac.data(), mac.size());
  return std::string(id) + std::string(hex.data(), 2 * crypto_auth_BYTES);
}

std::string DeviceTokens::Device(std::string_view cookie, std::string_view user) const {
  for (const std::string_view token : Tokens(cookie)) {
    const std::string_view id = token.substr(0, kIdHex);
    if (SameToken(Sign(user, id), token)) return std::string(id);
  }
  return {};
}

std::string DeviceTokens::Renewed(std::string_view cookie, std::string_view user) const {
  std::string renewed = Sign(user, RandomToken().substr(0, kIdHex));
  std::size_t kept = 1;
  for (const std::string_view token : Tokens(cookie)) {
    if (kept == kMostTokens) break;
    if (SameToken(Sign(user, token.substr(0, kIdHex)), token)) continue;  // his older one
    renewed += kSeparator;
    renewed += token;
    ++kept;
  }
  return renewed;
}

}  // namespace cn::web

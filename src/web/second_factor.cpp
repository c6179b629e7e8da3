#include "web/second_factor.h"

#include <liboath/oath.h>
#include <sodium.h>

#include <array>
#include <cstdlib>
#include <cctype>
#include <memory>
#include <stdexcept>

#include "web/form.h"

namespace cn::web {
namespace {

constexpr unsigned kStepSeconds = OATH_TOTP_DEFAULT_TIME_STEP_SIZE;
constexpr std::string_view kRecoveryAlphabet = "23456789abcdefghjkmnpqrstuvwxyz";
constexpr std::size_t kRecoveryLength = 10;

void Start() {
  static const bool started = [] {
    if (sodium_init() < 0 || oath_init() != OATH_OK)
      throw std::runtime_error("the second factor's libraries could not start");
    return true;
  }();
  (void)started;
}

struct FreeOath {
  void operator()(char* text) const { std::free(text); }
};

std::optional<std::string> Decoded(std::string_view secret) {
  char* raw = nullptr;
  std::size_t length = 0;
  if (oath_base32_decode(secret.data(), secret.size(), &raw, &length) != OATH_OK) return {};
  std::unique_ptr<char, FreeOath> owned(raw);
  return std::string(raw, length);
}

std::string Digits(std::string_view code) {
  std::string digits;
  for (const char c : code) {
    if (c == ' ') continue;
    digits += c;
  }
  return digits;
}

time_t Seconds(std::chrono::system_clock::time_point now) {
  return std::chrono::system_clock::to_time_t(now);
}

}  // namespace

std::string NewTotpSecret() {
  Start();
  std::array<char, 20> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  char* text = nullptr;
  std::size_t length = 0;
  if (oath_base32_encode(bytes.data(), bytes.size(), &text, &length) != OATH_OK)
    throw std::runtime_error("out of memory");
  std::unique_ptr<char, FreeOath> owned(text);
  return std::string(text, length);
}

std::string TotpUri(std::string_view issuer, std::string_view user, std::string_view secret) {
  const auto escaped = [](std::string_view text) { return PercentEncoded(text); };
  return "otpauth://totp/" + escaped(issuer) + ":" + escaped(user) + "?secret=" +
         std::string(secret) + "&issuer=" + escaped(issuer) +
         "&algorithm=SHA1&digits=6&period=" + std::to_string(kStepSeconds);
}

bool LooksLikeTotpCode(std::string_view code) {
  const std::string digits = Digits(code);
  if (digits.size() != 6) return false;
  for (const char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

std::optional<std::int64_t> TotpStep(std::string_view secret, std::string_view code,
                                     std::chrono::system_clock::time_point now) {
  Start();
  if (!LooksLikeTotpCode(code)) return std::nullopt;
  const auto raw = Decoded(secret);
  if (!raw) return std::nullopt;
  int position = 0;
  std::uint64_t counter = 0;
  const std::string digits = Digits(code);
  const int found = oath_totp_validate3(raw->data(), raw->size(), Seconds(now), kStepSeconds,
                                        OATH_TOTP_DEFAULT_START_TIME, 1, &position, &counter,
                                        digits.c_str());
  if (found < 0) return std::nullopt;
  return static_cast<std::int64_t>(counter);
}

std::string TotpCode(std::string_view secret, std::chrono::system_clock::time_point now) {
  Start();
  const auto raw = Decoded(secret);
  if (!raw) return "";
  std::array<char, 7> code{};
  if (oath_totp_generate(raw->data(), raw->size(), Seconds(now), kStepSeconds,
                         OATH_TOTP_DEFAULT_START_TIME, 6, code.data()) != OATH_OK)
    return "";
  return std::string(code.data(), 6);
}

std::vector<std::string> NewRecoveryCodes() {
  Start();
  std::vector<std::string> codes;
  for (int i = 0; i < kRecoveryCodeCount; ++i) {
    std::string code;
    for (std::size_t at = 0; at < kRecoveryLength; ++at) {
      if (at == kRecoveryLength / 2) code += '-';
      code += kRecoveryAlphabet[randombytes_uniform(kRecoveryAlphabet.size())];
    }
    codes.push_back(std::move(code));
  }
  return codes;
}

std::string RecoveryCodeHash(std::string_view code) {
  Start();
  std::string plain;
  for (const unsigned char c : code) {
    if (c == ' ' || c == '-') continue;
    const char lower = static_cast<char>(std::tolower(c));
    if (kRecoveryAlphabet.find(lower) == std::string_view::npos) return "";
    plain += lower;
  }
  if (plain.size() != kRecoveryLength) return "";
  std::array<unsigned char, 32> hash{};
  crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(plain.data()),
                     plain.size(), nullptr, 0);
  std::array<char, 65> hex{};
  sodium_bin2hex(hex.data(), hex.size(), hash.data(), hash.size());
  return std::string(hex.data(), 64);
}

}  // namespace cn::web

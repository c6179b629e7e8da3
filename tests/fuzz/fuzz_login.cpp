// What a client posts to log in: the form, the user name read from it, and a device cookie (the
// bytes after the first zero). Whatever comes, a user name has one form that reads back as
// itself and is well-formed UTF-8, the log gets only text, and a cookie the server renews
// vouches for its user and holds a few tokens at most; a new password or a code, whatever its
// bytes, is judged or read without failing.
#include <chrono>
#include <cstdlib>

#include "refusal.h"
#include "web/device_tokens.h"
#include "web/form.h"
#include "web/log_text.h"
#include "web/password_rules.h"
#include "web/second_factor.h"
#include "web/user_name.h"
#include "web/utf8.h"

namespace {

void Expect(bool holds) {
  if (!holds) std::abort();
}

bool NoControls(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const cn::web::DeviceTokens devices(std::string(cn::web::DeviceTokens::kKeyBytes, 'k'));
  const std::string_view input = cn::fuzzing::Text(data, size);
  const std::string_view form = input.substr(0, input.find('\0'));
  const std::string_view cookie =
      form.size() < input.size() ? input.substr(form.size() + 1) : std::string_view{};
  for (const auto& [name, value] : cn::web::ParseForm(form)) {
    for (const std::string& logged : {cn::web::LogText(name), cn::web::LogText(value)})
      Expect(cn::web::IsUtf8(logged) && NoControls(logged));
    if (name == "password" || name == "code") {
      // A new password is judged, and a code read, whatever bytes they are.
      const auto verdict = cn::web::JudgePassword(value, "ADMIN", {"HQ001"});
      Expect(verdict.accepted == verdict.message.empty());
      const std::string hash = cn::web::RecoveryCodeHash(value);
      Expect(hash.empty() || hash.size() == 64);
      (void)cn::web::TotpStep("JBSWY3DPEHPK3PXP", value, std::chrono::system_clock::now());
      continue;
    }
    if (name != "user") continue;
    const auto user = cn::web::CanonicalUserName(value);
    if (!user) continue;
    Expect(cn::web::IsUtf8(*user) && cn::web::CanonicalUserName(*user) == user);
    (void)devices.Device(cookie, *user);
    const std::string renewed = devices.Renewed(cookie, *user);
    Expect(!devices.Device(renewed, *user).empty());
    Expect(renewed.size() <= cn::web::DeviceTokens::kMostTokens * 97);
  }
  return 0;
}

#pragma once
// A second factor: time-based one-time passwords (RFC 6238: HMAC-SHA1, 6 digits, 30-second
// steps, with Debian's liboath) and one-time recovery codes for a lost phone, kept only hashed.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cn::web {

inline constexpr int kRecoveryCodeCount = 10;

// A new secret of 160 random bits, in base32 (32 letters and digits) as authenticator apps
// take it typed in.
std::string NewTotpSecret();
// The address an authenticator app reads from the QR code: otpauth://totp/ISSUER:USER?...
std::string TotpUri(std::string_view issuer, std::string_view user, std::string_view secret);
// The time step whose code `code` is, within one step of `now` either way; nothing when the
// code is none of them (or the secret is not base32).
std::optional<std::int64_t> TotpStep(std::string_view secret, std::string_view code,
                                     std::chrono::system_clock::time_point now);
// The code of the step `now` falls in (for tests).
std::string TotpCode(std::string_view secret, std::chrono::system_clock::time_point now);

// Ten new recovery codes, "xxxxx-xxxxx" of 31 letters and digits that are not mistaken for
// each other (50 bits each).
std::vector<std::string> NewRecoveryCodes();
// The hash a recovery code is kept as, whatever its letter case, spaces and dashes; "" for text
// that is not the form of one.
std::string RecoveryCodeHash(std::string_view code);
// Whether the typed code has the form of a TOTP code (6 digits, spaces allowed).
bool LooksLikeTotpCode(std::string_view code);

}  // namespace cn::web

#pragma once
// The statuses of the two cover-note commands whose status the screen turns
// into messages.

#include <cstdint>

namespace cn::backend {

// Why a cover note may not be opened for amendment, checked in this order after
// "not found": another agent's, uploaded, voided, submitted, unused, missing.
namespace read_admin {
inline constexpr std::int32_t kAmendable = 0;   // issued or referred risk
inline constexpr std::int32_t kNotFound = 1;
inline constexpr std::int32_t kOtherAgent = 2;  // the agent may not see it
inline constexpr std::int32_t kMissing = 3;     // reported missing (status M)
inline constexpr std::int32_t kSubmitted = 4;   // handed over for upload
inline constexpr std::int32_t kUnused = 5;      // determined unused (status U)
inline constexpr std::int32_t kUploaded = 6;    // taken over by the host
inline constexpr std::int32_t kVoided = 7;      // cancelled (status C)
}  // namespace read_admin

namespace write_admin {
inline constexpr std::int32_t kSaved = 0;
inline constexpr std::int32_t kIncomplete = 1;        // no user or no number
inline constexpr std::int32_t kChangedSinceRead = 2;  // someone saved it after this read
inline constexpr std::int32_t kUploaded = 3;          // the host has taken it over
inline constexpr std::int32_t kNotAmendable = 4;      // submitted, or not a referred risk
inline constexpr std::int32_t kOtherAgent = 5;
inline constexpr std::int32_t kExpired = 6;
inline constexpr std::int32_t kNotFound = 7;
inline constexpr std::int32_t kNumberTaken = 8;  // renumbered onto an existing number
inline constexpr std::int32_t kLoadingLocked = 9;
inline constexpr std::int32_t kNotAllowed = 10;  // the user may only enquire, or is disabled
}  // namespace write_admin

// "KivoGlobal.Client.Read" and "KivoGlobal.Client.Write".
namespace client_status {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kNotFound = 1;
inline constexpr std::int32_t kChangedSinceRead = 2;
inline constexpr std::int32_t kNotAllowed = 3;  // no such user, or one who may only enquire
}  // namespace client_status

// Searches that would list too much ask for a narrower search.
inline constexpr std::int32_t kTooManyMatches = 2;
inline constexpr int kMaxSearchMatches = 100;

}  // namespace cn::backend

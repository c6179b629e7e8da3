#pragma once
// What every command handler is given and gives back, and how handlers are
// listed for the router.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "backend/endorsement_content.h"
#include "backend/sqlite.h"
#include "base/clock.h"

namespace cn::backend {

struct Result {
  std::string reply;
  std::int32_t status = 0;
  friend bool operator==(const Result&, const Result&) = default;
};

// Statuses every command may give besides its own.
namespace status {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kMalformedParameters = -1;
inline constexpr std::int32_t kUnknownCommand = -2;
}  // namespace status

struct CommandContext {
  Database& db;
  const Clock& clock;
  const EndorsementWording& endorsements;  // how a save's endorsement is worded
};

using Handler = Result (*)(CommandContext& context, std::string_view parameters);

// Writers take the database's write lock at the start of their transaction, so
// two saves cannot interleave between their read and their write.
enum class Access { kRead, kWrite };

struct CommandEntry {
  std::string_view name;
  Handler handler;
  Access access;
};

std::span<const CommandEntry> CoverNoteCommands();
std::span<const CommandEntry> ClientCommands();
std::span<const CommandEntry> ListCommands();
std::span<const CommandEntry> LookupCommands();
std::span<const CommandEntry> PremiumCommands();
std::span<const CommandEntry> HistoryCommands();

inline Result Malformed() { return Result{{}, status::kMalformedParameters}; }

}  // namespace cn::backend

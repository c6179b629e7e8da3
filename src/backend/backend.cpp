#include "backend/backend.h"

#include "backend/schema.h"
#include "backend/seed.h"

namespace cn::backend {

Backend::Backend(const std::filesystem::path& path, const Clock& clock)
    : Backend(path, clock, Options{}) {}

Backend::Backend(const std::filesystem::path& path, const Clock& clock, const Options& options)
    : db_(std::make_unique<Database>(path, options.access, options.busy_timeout)),
      clock_(clock) {
  if (options.migrate_and_seed && options.access != Database::Access::kReadOnly) {
    Migrate(*db_);
    if (!IsSeeded(*db_)) Seed(*db_, clock_);
  }
  for (const auto& group : {CoverNoteCommands(), ClientCommands(), ListCommands(),
                            LookupCommands(), PremiumCommands(), HistoryCommands()}) {
    for (const CommandEntry& entry : group) commands_.emplace(entry.name, entry);
  }
}

bool Backend::Serves(std::string_view command) const { return commands_.contains(command); }

Result Backend::Execute(std::string_view command, std::string_view parameters) {
  const auto found = commands_.find(command);
  if (found == commands_.end()) return Result{{}, status::kUnknownCommand};
  const CommandEntry& entry = found->second;
  Transaction transaction(*db_, entry.access == Access::kWrite ? Transaction::Kind::kImmediate
                                                               : Transaction::Kind::kDeferred);
  CommandContext context{*db_, clock_};
  Result result = entry.handler(context, parameters);
  if (result.status == status::kOk || entry.access == Access::kRead) transaction.Commit();
  return result;
}

}  // namespace cn::backend

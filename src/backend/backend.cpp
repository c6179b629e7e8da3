#include "backend/backend.h"

#include <optional>

#include "backend/schema.h"
#include "backend/seed.h"
#include "backend/sqlite.h"
#include "backend/store_address.h"

namespace cn::backend {
namespace {

// How long a command waits for the one SQLite connection another command holds.
constexpr std::chrono::milliseconds kFileWait{30000};

std::unique_ptr<ConnectionPool> OpenPool(const std::string& address,
                                         const Backend::Options& options) {
  if (IsServerAddress(address)) {
    ServerAddress server = ParseServerAddress(address);
    server.connection.read_only = options.access == Database::Access::kReadOnly;
    return std::make_unique<ConnectionPool>(
        [connection = server.connection] { return std::make_unique<PostgresDatabase>(connection); },
        server.pool_size, server.connection.statement_timeout);
  }
  return std::make_unique<ConnectionPool>(
      [address, options] {
        return std::make_unique<SqliteDatabase>(address, options.access, options.busy_timeout);
      },
      1, kFileWait);
}

}  // namespace

std::unique_ptr<Database> OpenDatabase(const std::filesystem::path& address,
                                       Database::Access access,
                                       std::chrono::milliseconds busy_timeout) {
  const std::string text = address.string();
  if (IsServerAddress(text))
    return std::make_unique<PostgresDatabase>(ParseServerAddress(text).connection);
  return std::make_unique<SqliteDatabase>(address, access, busy_timeout);
}

Backend::Backend(const std::filesystem::path& address, const Clock& clock)
    : Backend(address, clock, Options{}) {}

Backend::Backend(const std::filesystem::path& address, const Clock& clock, const Options& options)
    : pool_(OpenPool(address.string(), options)),
      clock_(clock),
      endorsements_(options.endorsements) {
  if (options.migrate_and_seed && options.access != Database::Access::kReadOnly) {
    Database& db = pool_->First();
    Migrate(db);
    if (!IsSeeded(db)) Seed(db, clock_);
    // A statement stopped after its first row keeps SQLite's read snapshot; the first save
    // would then fail once another server had saved.
    db.ResetStatements();
  }
  for (const auto& group : {CoverNoteCommands(), ClientCommands(), ListCommands(), LookupCommands(),
                            PremiumCommands(), HistoryCommands()}) {
    for (const CommandEntry& entry : group) commands_.emplace(entry.name, entry);
  }
}

bool Backend::Serves(std::string_view command) const { return commands_.contains(command); }

Result Backend::Execute(std::string_view command, std::string_view parameters) {
  const auto found = commands_.find(command);
  if (found == commands_.end()) return Result{{}, status::kUnknownCommand};
  const CommandEntry& entry = found->second;
  const auto kind =
      entry.access == Access::kWrite ? Transaction::Kind::kImmediate : Transaction::Kind::kDeferred;
  // A connection the server dropped while it lay in the pool (the database was restarted)
  // fails at BEGIN, before anything of the command was sent: the command takes a new one.
  for (int attempt = 1;; ++attempt) {
    const ConnectionPool::Lease lease = pool_->Acquire();
    Database& db = *lease;
    std::optional<Transaction> transaction;
    try {
      transaction.emplace(db, kind);
    } catch (const StoreFailure& failure) {
      if (failure.number() != store_code::kConnectionLost || attempt == 2) throw;
      continue;
    }
    CommandContext context{db, clock_, endorsements_};
    Result result = entry.handler(context, parameters);
    if (result.status == status::kOk || entry.access == Access::kRead) transaction->Commit();
    return result;
  }
}

}  // namespace cn::backend

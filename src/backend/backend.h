#pragma once
// The reference back end: executes the screen's commands by name against its
// own database, a SQLite file or a PostgreSQL server (store_address.h). One
// command is one transaction on a connection of its own; a command that fails
// throws (StoreFailure for a locked, read-only, full or unreachable database)
// with nothing written.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "backend/command.h"
#include "backend/connection_pool.h"
#include "backend/store.h"
#include "base/clock.h"

namespace cn::backend {

class Backend {
 public:
  struct Options {
    Database::Access access = Database::Access::kReadWriteCreate;
    // Brings the schema up to date and fills an empty database with the sample data.
    bool migrate_and_seed = true;
    std::chrono::milliseconds busy_timeout{2000};  // a SQLite file's lock
    EndorsementWording endorsements;  // the insurer and the captions of each save's endorsement
  };

  // `address` is a SQLite file or a postgresql:// address. The clock must outlive the back end.
  Backend(const std::filesystem::path& address, const Clock& clock);
  Backend(const std::filesystem::path& address, const Clock& clock, const Options& options);

  // status::kUnknownCommand for a name no handler serves; a handler's status
  // otherwise. Any change is committed only with status 0. Safe to call from
  // several threads: each command borrows a connection of the pool.
  Result Execute(std::string_view command, std::string_view parameters);

  bool Serves(std::string_view command) const;

  // Runs `read` on a borrowed connection; its result is returned.
  template <typename Read>
  auto WithDatabase(Read&& read) {
    const ConnectionPool::Lease lease = pool_->Acquire();
    return std::forward<Read>(read)(*lease);
  }
  // The first connection, for setup and tests while no command runs.
  Database& database() { return pool_->First(); }
  Database::Engine engine() { return pool_->First().engine(); }
  const ConnectionPool& pool() const { return *pool_; }

 private:
  std::unique_ptr<ConnectionPool> pool_;
  const Clock& clock_;
  const EndorsementWording endorsements_;
  std::unordered_map<std::string_view, CommandEntry> commands_;
};

// Opens one connection to the store at `address`, as the back end does.
std::unique_ptr<Database> OpenDatabase(
    const std::filesystem::path& address,
    Database::Access access = Database::Access::kReadWriteCreate,
    std::chrono::milliseconds busy_timeout = std::chrono::milliseconds(2000));

}  // namespace cn::backend

#pragma once
// The reference back end: executes the screen's commands by name against its
// own database. One command is one transaction; a command that fails throws
// (StoreFailure for a locked, read-only or full database) with nothing written.

#include <filesystem>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "backend/command.h"
#include "backend/sqlite.h"
#include "base/clock.h"

namespace cn::backend {

class Backend {
 public:
  struct Options {
    Database::Access access = Database::Access::kReadWriteCreate;
    // Brings the schema up to date and fills an empty database with the sample data.
    bool migrate_and_seed = true;
    std::chrono::milliseconds busy_timeout{2000};
  };

  // The clock must outlive the back end.
  Backend(const std::filesystem::path& path, const Clock& clock);
  Backend(const std::filesystem::path& path, const Clock& clock, const Options& options);

  // status::kUnknownCommand for a name no handler serves; a handler's status
  // otherwise. Any change is committed only with status 0.
  Result Execute(std::string_view command, std::string_view parameters);

  bool Serves(std::string_view command) const;
  Database& database() { return *db_; }

 private:
  std::unique_ptr<Database> db_;
  const Clock& clock_;
  std::unordered_map<std::string_view, CommandEntry> commands_;
};

}  // namespace cn::backend

#include "components/database_setup.h"

#include <fstream>
#include <system_error>
#include <vector>

#include "backend/schema.h"
#include "backend/seed.h"
#include "backend/backend.h"
#include "backend/store_address.h"
#include "base/clock.h"
#include "base/runtime_failure.h"
#include "components/data_paths.h"

namespace cn::components {
namespace {

constexpr std::int32_t kPathFileAccessError = 75;

[[noreturn]] void PathFailure(const std::filesystem::path& path, const std::string& what) {
  throw RuntimeFailure(kPathFileAccessError, path.string() + ": " + what, "covernote db");
}

bool IsServer(const std::filesystem::path& path) {
  return backend::IsServerAddress(path.string());
}

std::string Shown(const std::filesystem::path& path) {
  return backend::DisplayAddress(path.string());
}

void RequireExisting(const std::filesystem::path& path) {
  if (IsServer(path)) return;  // the server says so itself when the database is missing
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) PathFailure(path, "is a folder, not a database");
  if (!std::filesystem::exists(path, error)) {
    PathFailure(path, "no database here; create one with \"covernote db init\"");
  }
}

std::string CountOf(backend::Database& db, std::string_view table) {
  backend::Statement& count = db.Prepare("SELECT count(*) FROM " + std::string(table));
  return count.Step() ? std::to_string(count.Int(0)) : "0";
}

std::string Summary(backend::Database& db) {
  return "schema version " + std::to_string(backend::SchemaVersion(db)) + ", " +
         CountOf(db, "cover_note") + " cover notes";
}

std::string Users(backend::Database& db) {
  backend::Statement& count =
      db.Prepare("SELECT count(*) FROM app_user WHERE password_hash IS NOT NULL");
  const std::int64_t users = count.Step() ? count.Int(0) : 0;
  count.Reset();
  if (users == 0) return "no user can log in: add one with \"covernote user add\"";
  return std::to_string(users) + (users == 1 ? " user" : " users") +
         " with a password, to be changed at the first login";
}

// Notes that a database was made at `path`, beside it (and, for the default one, beside the
// settings file), so that a database gone missing is never quietly made again.
void LeaveMarkers(const std::filesystem::path& path) {
  std::vector<std::filesystem::path> markers{MarkerOf(path)};
  try {
    if (path == DefaultDatabasePath())
      markers.push_back(DefaultSettingsPath().parent_path() / "database.marker");
  } catch (const RuntimeFailure&) {
    // No home folder: only the marker beside the file.
  }
  for (const auto& marker : markers) {
    std::error_code error;
    std::filesystem::create_directories(marker.parent_path(), error);
    std::ofstream(marker) << "A covernote database was made at " << path.string()
                          << ". While this file is here, `covernote serve` never makes another "
                             "in its place.\n";
  }
}

// Migrates, seeds when empty and says what the database now holds.
std::string Build(const std::filesystem::path& path, backend::SampleData what) {
  const auto db = backend::OpenDatabase(path);
  backend::Migrate(*db);
  if (!backend::IsSeeded(*db)) backend::Seed(*db, SystemClock(), what);
  if (!IsServer(path)) LeaveMarkers(path);
  return Summary(*db) + "; " + Users(*db);
}

// A server's database is emptied rather than removed: the operator created it and
// its owner, and gave us only the right to fill it.
std::string InitServerDatabase(const std::filesystem::path& path, bool replace,
                               backend::SampleData what) {
  {
    const auto db = backend::OpenDatabase(path);
    if (backend::SchemaVersion(*db) > 0) {
      if (!replace) {
        throw RuntimeFailure(kPathFileAccessError,
                             Shown(path) + ": the database already holds data; add --force to "
                                           "replace it",
                             "covernote db");
      }
      db->ExecuteScript("DROP SCHEMA public CASCADE; CREATE SCHEMA public;");
    }
  }
  return "Created " + Shown(path) + " (" + Build(path, what) + ").";
}

}  // namespace

std::filesystem::path MarkerOf(const std::filesystem::path& database) {
  return database.string() + ".marker";
}

std::string InitDatabase(const std::filesystem::path& path, bool replace, bool sample) {
  const auto what = sample ? backend::SampleData::kAll : backend::SampleData::kLists;
  if (IsServer(path)) return InitServerDatabase(path, replace, what);
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) PathFailure(path, "is a folder, not a database");
  if (std::filesystem::exists(path, error)) {
    if (!replace) PathFailure(path, "a database is already here; add --force to replace it");
    for (const char* suffix : {"", "-wal", "-shm"}) {
      std::filesystem::remove(path.string() + suffix, error);
      if (error) PathFailure(path, "cannot remove the old database: " + error.message());
    }
  }
  const std::filesystem::path folder = path.parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
    PathFailure(path, "the folder " + folder.string() + " does not exist");
  }
  return "Created " + path.string() + " (" + Build(path, what) + ").";
}

std::string MigrateDatabase(const std::filesystem::path& path) {
  RequireExisting(path);
  const auto db = backend::OpenDatabase(path);
  const int applied = backend::Migrate(*db);
  return "Migrated " + Shown(path) + ": " + std::to_string(applied) + " step(s) applied (" +
         Summary(*db) + ").";
}

std::string SeedDatabase(const std::filesystem::path& path) {
  RequireExisting(path);
  const auto db = backend::OpenDatabase(path);
  backend::Migrate(*db);
  if (backend::IsSeeded(*db)) {
    return Shown(path) + " already holds data; nothing was added (" + Summary(*db) + ").";
  }
  backend::Seed(*db, SystemClock());
  return "Seeded " + Shown(path) + " (" + Summary(*db) + ").";
}

std::filesystem::path EnsureDefaultDatabase() {
  const std::filesystem::path path = DefaultDatabasePath();
  std::error_code error;
  if (std::filesystem::exists(path, error)) return path;
  for (const auto& marker :
       {MarkerOf(path), DefaultSettingsPath().parent_path() / "database.marker"}) {
    if (!std::filesystem::exists(marker, error)) continue;
    throw RuntimeFailure(kPathFileAccessError,
                         path.string() + ": the database is missing, though one was made here "
                                         "before (" + marker.string() +
                             " says so): mount or restore it, or make a new one with "
                             "\"covernote db init\"",
                         "covernote");
  }
  const bool made = std::filesystem::create_directories(path.parent_path(), error);
  if (error) PathFailure(path.parent_path(), "cannot create the folder: " + error.message());
  if (made) {
    std::filesystem::permissions(path.parent_path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace, error);
  }
  Build(path, backend::SampleData::kAll);
  return path;
}

void RequireDatabase(const std::filesystem::path& path) {
  const std::string init = "make one with \"covernote db init --db " + Shown(path) + "\"";
  if (!IsServer(path)) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) PathFailure(path, "is a folder, not a database");
    if (!std::filesystem::exists(path, error)) {
      throw RuntimeFailure(kPathFileAccessError,
                           path.string() + ": no database here; " + init, "covernote");
    }
    return;
  }
  const auto db = backend::OpenDatabase(path);
  if (backend::SchemaVersion(*db) == 0) {
    throw RuntimeFailure(kPathFileAccessError, Shown(path) + " holds no database yet; " + init,
                         "covernote");
  }
}

}  // namespace cn::components

#pragma once
// What `covernote db` does: create, bring up to date and fill the database.
// Each returns a line for the user; a bad path or a store that cannot be opened
// throws RuntimeFailure with a sentence that says what to do.

#include <filesystem>
#include <string>

namespace cn::components {

// A new database: the schema with the code lists and agents, and no user who could log in; with
// `sample`, also the sample's clients, cover notes and users, whose administrator ADMIN has the
// demo password, to be changed at his first login. An existing one is refused unless `replace`
// is set, in which case it is deleted first. A new file is readable by its owner only, and a
// marker is left beside it (`serve` will not make another where one was).
std::string InitDatabase(const std::filesystem::path& path, bool replace, bool sample = false);

// Applies the schema steps an existing database lacks.
std::string MigrateDatabase(const std::filesystem::path& path);

// Brings an existing database up to date and adds the sample data when it holds none.
std::string SeedDatabase(const std::filesystem::path& path);

// The default database: created (folder included, for its owner only) with the sample data when
// missing on first use. Refused (RuntimeFailure naming `covernote db init`) when it is missing
// where one was made before: its marker is still beside where it was, or beside the settings
// file (the data folder is an unmounted volume, or was emptied). Returns its path.
std::filesystem::path EnsureDefaultDatabase();

// A database named by the user that `serve` may use: a SQLite file that exists, or a server's
// database that has its schema; otherwise a RuntimeFailure naming `covernote db init`.
void RequireDatabase(const std::filesystem::path& path);

// The marker left beside a database file made here.
std::filesystem::path MarkerOf(const std::filesystem::path& database);

}  // namespace cn::components

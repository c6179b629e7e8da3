#pragma once
// What `covernote db` does: create, bring up to date and fill the database.
// Each returns a line for the user; a bad path or a store that cannot be opened
// throws RuntimeFailure with a sentence that says what to do.

#include <filesystem>
#include <string>

namespace cn::components {

// A new database with the sample data. An existing one is refused unless
// `replace` is set, in which case it is deleted first.
std::string InitDatabase(const std::filesystem::path& path, bool replace);

// Applies the schema steps an existing database lacks.
std::string MigrateDatabase(const std::filesystem::path& path);

// Brings an existing database up to date and adds the sample data when it holds none.
std::string SeedDatabase(const std::filesystem::path& path);

// The default database: created (folder included) and seeded when missing.
// Returns its path.
std::filesystem::path EnsureDefaultDatabase();

}  // namespace cn::components

#pragma once
// The database's shape, built by numbered steps. Each step runs once, in order,
// and is recorded in schema_version, so opening an older database brings it up
// to date and opening a current one changes nothing.

#include <span>
#include <string_view>

#include "backend/sqlite.h"

namespace cn::backend {

struct Migration {
  int version;
  std::string_view description;
  std::string_view sql;
};

// Every step, in the order they are applied.
std::span<const Migration> Migrations();

// Applies the steps not yet recorded, each in its own transaction.
// Returns how many were applied.
int Migrate(Database& db);

// The highest version recorded; 0 for a database without the version table.
int SchemaVersion(Database& db);

}  // namespace cn::backend

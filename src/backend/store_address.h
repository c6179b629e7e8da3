#pragma once
// Which store a database address names: a postgresql:// (or postgres://) address
// is a PostgreSQL server, anything else a SQLite file. Besides libpq's own
// parameters a server address may carry ours: pool_size (connections, default 4)
// and statement_timeout (milliseconds, default 10000); connect_timeout (seconds)
// defaults to 5.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "backend/postgres.h"
#include "backend/store.h"

namespace cn::backend {

bool IsServerAddress(std::string_view address);

struct ServerAddress {
  PostgresOptions connection;
  std::size_t pool_size = 4;
};
// Throws StoreFailure kServerError for a parameter of ours that is not a number.
ServerAddress ParseServerAddress(std::string_view address);

// The address as it may be logged: without a password.
std::string DisplayAddress(std::string_view address);

}  // namespace cn::backend

#pragma once
// The few places where PostgreSQL reads our SQL differently from SQLite. Schema
// steps, seed scripts and queries are written once, in SQLite's words; text for
// PostgreSQL passes through here first.

#include <string>
#include <string_view>

namespace cn::backend {

// Parameters ?N become $N; instr() becomes strpos(), group_concat() string_agg(); INTEGER becomes
// BIGINT (amounts in ten-thousandths outgrow 32 bits), BLOB BYTEA, an INTEGER PRIMARY KEY an
// identity column; TEXT columns compare byte by byte, as SQLite's do, whatever the server's locale.
// Quoted literals and comments are left as they are.
std::string ToPostgres(std::string_view sqlite_sql);

}  // namespace cn::backend

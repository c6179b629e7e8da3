#pragma once
// A thin owner of one SQLite connection, its prepared statements and its
// transactions. Every failure of the library becomes a StoreFailure, so a
// locked, read-only or full database reaches the caller as one kind of failure.

#include <sqlite3.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/runtime_failure.h"

namespace cn::backend {

// The number is SQLite's extended result code (5 busy, 8 read-only, 13 full, ...).
class StoreFailure : public RuntimeFailure {
 public:
  StoreFailure(int code, std::string description);
};

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement();

  // Parameters are numbered from 1, as SQLite numbers them.
  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, std::int64_t number);
  Statement& Bind(int index, const std::optional<std::string>& text_or_null);
  Statement& BindNull(int index);

  // True while a row is available.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();
  // Ready for the next execution, with all parameters unbound.
  void Reset();

  int ColumnCount() const;
  std::string_view ColumnName(int column) const;
  bool IsNull(int column) const;
  std::string Text(int column) const;  // "" for NULL
  std::int64_t Int(int column) const;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  enum class Access { kReadWriteCreate, kReadOnly };

  // WAL journal, foreign keys enforced, waits up to busy_timeout for a lock.
  explicit Database(const std::filesystem::path& path,
                    Access access = Access::kReadWriteCreate,
                    std::chrono::milliseconds busy_timeout = std::chrono::milliseconds(2000));
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;
  ~Database();

  // Statements without parameters only: schema steps and seed scripts.
  void ExecuteScript(std::string_view sql);
  // The connection's prepared statement for this SQL text, reset and unbound.
  // Prepared once and kept, so a repeated command does not compile it again.
  Statement& Prepare(std::string_view sql);
  std::int64_t LastInsertId() const;
  bool IsReadOnly() const;
  // Resets every kept statement. A statement left part-way through its rows would otherwise
  // hold its read snapshot past the end of the command, and later commands would see old data.
  void ResetStatements();

 private:
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<Statement>> statements_;
};

// One unit of work: rolled back when it leaves scope without Commit().
class Transaction {
 public:
  enum class Kind { kDeferred, kImmediate };
  Transaction(Database& db, Kind kind);
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();
  void Commit();

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace cn::backend

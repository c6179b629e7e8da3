#pragma once
// The store on one SQLite file: one connection, its prepared statements and its
// transactions. The default store, and the one a single office needs.

#include <sqlite3.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "backend/store.h"

namespace cn::backend {

class SqliteStatement final : public Statement {
 public:
  SqliteStatement(sqlite3* db, std::string_view sql);
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;
  ~SqliteStatement() override;

  bool Step() override;
  void Reset() override;
  int ColumnCount() const override;
  std::string_view ColumnName(int column) const override;
  bool IsNull(int column) const override;
  std::string Text(int column) const override;
  std::int64_t Int(int column) const override;
  std::string Bytes(int column) const override;

 protected:
  void BindText(int index, std::string_view text) override;
  void BindInt(int index, std::int64_t number) override;
  void BindNullAt(int index) override;
  void BindBytesAt(int index, std::string_view bytes) override;

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class SqliteDatabase final : public Database {
 public:
  // WAL journal, foreign keys enforced, waits up to busy_timeout for a lock. Every transaction
  // first checks that the path still names the file opened: one deleted or replaced under the
  // connection fails with store_code::kFileGone, and nothing is written to it.
  explicit SqliteDatabase(const std::filesystem::path& path,
                          Access access = Access::kReadWriteCreate,
                          std::chrono::milliseconds busy_timeout = std::chrono::milliseconds(2000));
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;
  ~SqliteDatabase() override;

  Engine engine() const override { return Engine::kSqlite; }
  void ExecuteScript(std::string_view sql) override;
  Statement& Prepare(std::string_view sql) override;
  std::int64_t LastInsertId() override;
  bool IsReadOnly() const override;
  bool HasTable(std::string_view name) override;
  void ResetStatements() override;
  void Begin(TransactionKind kind) override;
  void Commit() override;
  void Rollback() override;

 private:
  void CheckFileInPlace() const;

  sqlite3* db_ = nullptr;
  std::string path_;
  std::optional<std::pair<dev_t, ino_t>> file_;  // the file opened: its device and inode
  std::unordered_map<std::string, std::unique_ptr<SqliteStatement>> statements_;
};

}  // namespace cn::backend

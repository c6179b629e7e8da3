#pragma once
// The store on a PostgreSQL server, shared by every `covernote serve` of an
// insurer: one libpq connection with its prepared statements. Connections come
// from a pool (connection_pool.h); a lost one is replaced on the next command.

#include <libpq-fe.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "backend/store.h"

namespace cn::backend {

struct PostgresOptions {
  std::string conninfo;  // a postgresql:// address without our own parameters
  std::chrono::seconds connect_timeout{5};
  std::chrono::milliseconds statement_timeout{10000};
  bool read_only = false;  // every transaction refuses to write
};

class PostgresStatement final : public Statement {
 public:
  // `stale` is set when the server says the statement's tables changed under it.
  PostgresStatement(PGconn* conn, std::string name, std::string_view sql, bool& stale);
  PostgresStatement(const PostgresStatement&) = delete;
  PostgresStatement& operator=(const PostgresStatement&) = delete;
  ~PostgresStatement() override;

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
  void Execute();
  void ClearResult();

  PGconn* conn_;
  bool& stale_;
  std::string name_;
  std::vector<std::optional<std::string>> parameters_;
  PGresult* result_ = nullptr;
  int columns_ = 0;  // known from the statement's description before it runs
  std::vector<std::string> column_names_;
  int row_ = -1;
  bool executed_ = false;
};

class PostgresDatabase final : public Database {
 public:
  // Throws StoreFailure kUnreachable or kLoginRefused when no session can be opened.
  explicit PostgresDatabase(const PostgresOptions& options);
  PostgresDatabase(const PostgresDatabase&) = delete;
  PostgresDatabase& operator=(const PostgresDatabase&) = delete;
  ~PostgresDatabase() override;

  Engine engine() const override { return Engine::kPostgres; }
  void ExecuteScript(std::string_view sql) override;
  Statement& Prepare(std::string_view sql) override;
  std::int64_t LastInsertId() override;
  bool IsReadOnly() const override { return read_only_; }
  bool HasTable(std::string_view name) override;
  void ResetStatements() override;
  bool IsUsable() const override;
  void Begin(TransactionKind kind) override;
  void Commit() override;
  void Rollback() override;

 private:
  PGconn* conn_ = nullptr;
  bool read_only_ = false;
  // Another server's schema step changed a table a kept statement reads: the connection
  // is replaced, statements and all, before the next command.
  bool stale_ = false;
  std::unordered_map<std::string, std::unique_ptr<PostgresStatement>> statements_;
  int statements_named_ = 0;  // a name a failed preparation left behind is never used again
};

// Throws the StoreFailure that describes a failed result (or a lost connection).
[[noreturn]] void ThrowPostgresFailure(PGconn* conn, const PGresult* result);

}  // namespace cn::backend

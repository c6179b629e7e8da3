#pragma once
// What command code sees of the database, whichever server keeps it: prepared
// statements with numbered parameters (?1, ?2, ...), text, integer and byte values, and
// one transaction per unit of work. Every failure of the store becomes a
// StoreFailure, so a locked, read-only, full or unreachable database reaches the
// caller as one kind of failure.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/runtime_failure.h"

namespace cn::backend {

// The number is the engine's own code: SQLite's extended result code (5 busy,
// 8 read-only, 13 full, ...) or one of store_code below.
class StoreFailure : public RuntimeFailure {
 public:
  StoreFailure(int code, std::string description);
  // The database cannot be used now (not reached, the login refused, the connection lost, the
  // file gone), as against one command's refusal: nothing can be read or written until it is
  // back.
  bool Unavailable() const;
};

namespace store_code {
inline constexpr int kUnreachable = 0x5001;     // no server answers at the address
inline constexpr int kLoginRefused = 0x5002;    // the server refused the user or password
inline constexpr int kConnectionLost = 0x5003;  // the server went away during a command
inline constexpr int kConflict = 0x5004;        // two writers met; the command may run again
inline constexpr int kTimeout = 0x5005;         // the statement ran past its time limit
inline constexpr int kServerError = 0x5006;     // any other refusal by the server
inline constexpr int kFileGone = 0x5007;        // a SQLite file deleted or replaced while open
}  // namespace store_code

class Statement {
 public:
  virtual ~Statement() = default;

  // Parameters are numbered from 1.
  Statement& Bind(int index, std::string_view text) {
    BindText(index, text);
    return *this;
  }
  Statement& Bind(int index, std::int64_t number) {
    BindInt(index, number);
    return *this;
  }
  Statement& Bind(int index, const std::optional<std::string>& text_or_null) {
    return text_or_null ? Bind(index, std::string_view(*text_or_null)) : BindNull(index);
  }
  Statement& BindNull(int index) {
    BindNullAt(index);
    return *this;
  }
  // Bytes that are no text (a PDF), for a BLOB column.
  Statement& BindBytes(int index, std::string_view bytes) {
    BindBytesAt(index, bytes);
    return *this;
  }

  // True while a row is available.
  virtual bool Step() = 0;
  // Runs a statement that returns no rows.
  void Run() {
    while (Step()) {
    }
  }
  // Ready for the next execution, with all parameters unbound.
  virtual void Reset() = 0;

  virtual int ColumnCount() const = 0;
  virtual std::string_view ColumnName(int column) const = 0;
  virtual bool IsNull(int column) const = 0;
  virtual std::string Text(int column) const = 0;  // "" for NULL
  virtual std::int64_t Int(int column) const = 0;
  virtual std::string Bytes(int column) const = 0;  // a BLOB column's

 protected:
  virtual void BindText(int index, std::string_view text) = 0;
  virtual void BindInt(int index, std::int64_t number) = 0;
  virtual void BindNullAt(int index) = 0;
  virtual void BindBytesAt(int index, std::string_view bytes) = 0;
};

class Database {
 public:
  enum class Access { kReadWriteCreate, kReadOnly };
  enum class Engine { kSqlite, kPostgres };
  // Readers see one consistent state; writers also exclude each other on what they change.
  enum class TransactionKind { kDeferred, kImmediate };

  virtual ~Database() = default;

  virtual Engine engine() const = 0;
  // Statements without parameters only: schema steps and seed scripts.
  virtual void ExecuteScript(std::string_view sql) = 0;
  // The connection's prepared statement for this SQL text, reset and unbound.
  // Prepared once and kept, so a repeated command does not compile it again.
  virtual Statement& Prepare(std::string_view sql) = 0;
  // The id given to the row the last INSERT on this connection added.
  virtual std::int64_t LastInsertId() = 0;
  virtual bool IsReadOnly() const = 0;
  virtual bool HasTable(std::string_view name) = 0;
  // Resets every kept statement. A statement left part-way through its rows would otherwise
  // hold its read snapshot past the end of the command, and later commands would see old data.
  virtual void ResetStatements() = 0;
  // False once the connection is known to be lost; a pool then opens a new one.
  virtual bool IsUsable() const { return true; }

  virtual void Begin(TransactionKind kind) = 0;
  virtual void Commit() = 0;
  virtual void Rollback() = 0;
};

// One unit of work: rolled back when it leaves scope without Commit().
class Transaction {
 public:
  using Kind = Database::TransactionKind;
  Transaction(Database& db, Kind kind) : db_(db) { db_.Begin(kind); }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction() {
    if (!open_) return;
    try {
      db_.Rollback();
    } catch (const StoreFailure&) {
      // The engine has already rolled back when the failure was fatal to the transaction.
    }
  }
  void Commit() {
    db_.Commit();
    open_ = false;
  }

 private:
  Database& db_;
  bool open_ = true;
};

}  // namespace cn::backend

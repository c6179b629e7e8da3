#include "backend/sqlite.h"

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

#include <utility>

namespace cn::backend {
namespace {

[[noreturn]] void Fail(sqlite3* db, int code) {
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  const int extended = db != nullptr ? sqlite3_extended_errcode(db) : code;
  throw StoreFailure(extended, message != nullptr ? message : "database error");
}

void Check(sqlite3* db, int code) {
  if (code != SQLITE_OK) Fail(db, code);
}

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : db_(db) {
  Check(db_, sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr));
  if (stmt_ == nullptr) throw StoreFailure(SQLITE_MISUSE, "empty statement");
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

void SqliteStatement::BindText(int index, std::string_view text) {
  Check(db_, sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT));
}

void SqliteStatement::BindInt(int index, std::int64_t number) {
  Check(db_, sqlite3_bind_int64(stmt_, index, number));
}

void SqliteStatement::BindNullAt(int index) { Check(db_, sqlite3_bind_null(stmt_, index)); }

void SqliteStatement::BindBytesAt(int index, std::string_view bytes) {
  Check(db_, sqlite3_bind_blob64(stmt_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT));
}

bool SqliteStatement::Step() {
  const int code = sqlite3_step(stmt_);
  if (code == SQLITE_ROW) return true;
  if (code == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  Fail(db_, code);
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int SqliteStatement::ColumnCount() const { return sqlite3_column_count(stmt_); }

std::string_view SqliteStatement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name != nullptr ? std::string_view(name) : std::string_view();
}

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string SqliteStatement::Text(int column) const {
  const auto* text = sqlite3_column_text(stmt_, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::int64_t SqliteStatement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string SqliteStatement::Bytes(int column) const {
  const void* bytes = sqlite3_column_blob(stmt_, column);
  if (bytes == nullptr) return {};
  return std::string(static_cast<const char*>(bytes),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

SqliteDatabase::SqliteDatabase(const std::filesystem::path& path, Access access,
                               std::chrono::milliseconds busy_timeout) {
  const int flags = access == Access::kReadOnly ? SQLITE_OPEN_READONLY
                                                : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  // A new file is its owner's only: it holds the password hashes. SQLite gives its -wal and
  // -shm files the mode of the database file.
  const std::string name = path.string();
  if (access != Access::kReadOnly && !name.empty() && name != ":memory:" &&
      !name.starts_with("file:")) {
    const int made = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (made >= 0) ::close(made);
  }
  const int code =
      sqlite3_open_v2(path.string().c_str(), &db_, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (code != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    throw StoreFailure(code, message + ": " + path.string());
  }
  sqlite3_extended_result_codes(db_, 1);
  path_ = path.string();
  struct stat opened {};
  if (::stat(path_.c_str(), &opened) == 0) file_.emplace(opened.st_dev, opened.st_ino);
  sqlite3_busy_timeout(db_, static_cast<int>(busy_timeout.count()));
  if (access != Access::kReadOnly) ExecuteScript("PRAGMA journal_mode=WAL;");
  ExecuteScript("PRAGMA foreign_keys=ON;");
}

SqliteDatabase::~SqliteDatabase() {
  statements_.clear();  // statements are finalised before their connection closes
  sqlite3_close(db_);
}

void SqliteDatabase::ExecuteScript(std::string_view sql) {
  const std::string text(sql);
  char* error = nullptr;
  const int code = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error);
  if (code != SQLITE_OK) {
    const std::string message = error != nullptr ? error : sqlite3_errstr(code);
    sqlite3_free(error);
    throw StoreFailure(sqlite3_extended_errcode(db_), message);
  }
}

Statement& SqliteDatabase::Prepare(std::string_view sql) {
  auto found = statements_.find(std::string(sql));
  if (found == statements_.end()) {
    found =
        statements_.emplace(std::string(sql), std::make_unique<SqliteStatement>(db_, sql)).first;
  }
  found->second->Reset();
  return *found->second;
}

void SqliteDatabase::ResetStatements() {
  for (auto& [sql, statement] : statements_) statement->Reset();
}

std::int64_t SqliteDatabase::LastInsertId() { return sqlite3_last_insert_rowid(db_); }

bool SqliteDatabase::IsReadOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

bool SqliteDatabase::HasTable(std::string_view name) {
  Statement& exists =
      Prepare("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1");
  exists.Bind(1, name);
  return exists.Step() && exists.Int(0) > 0;
}

// An administrator who deletes or replaces the file (a restore copied over it, the folder
// cleared) would otherwise go on saving into a file nobody will read again.
void SqliteDatabase::CheckFileInPlace() const {
  if (!file_) return;  // in memory, or a file the system cannot name
  struct stat now {};
  if (::stat(path_.c_str(), &now) == 0 && std::pair(now.st_dev, now.st_ino) == *file_) return;
  throw StoreFailure(store_code::kFileGone,
                     "The database file " + path_ + " was deleted or replaced while in use");
}

void SqliteDatabase::Begin(TransactionKind kind) {
  CheckFileInPlace();
  ExecuteScript(kind == TransactionKind::kImmediate ? "BEGIN IMMEDIATE;" : "BEGIN;");
}

void SqliteDatabase::Commit() {
  ResetStatements();
  ExecuteScript("COMMIT;");
}

void SqliteDatabase::Rollback() {
  ResetStatements();
  ExecuteScript("ROLLBACK;");
}

}  // namespace cn::backend

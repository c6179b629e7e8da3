#include "backend/postgres.h"

#include <array>
#include <charconv>
#include <utility>

#include "backend/sql_dialect.h"

namespace cn::backend {
namespace {

// Taken by every writing transaction: writers on any server take turns, as they
// do on one SQLite file, so a save's check of the version and its write are one step.
constexpr std::string_view kBeginWrite =
    "BEGIN ISOLATION LEVEL READ COMMITTED; SELECT pg_advisory_xact_lock(20240101)";
constexpr std::string_view kBeginRead = "BEGIN ISOLATION LEVEL REPEATABLE READ";

std::string FirstLine(const char* text) {
  std::string line = text != nullptr ? text : "";
  if (const auto end = line.find('\n'); end != std::string::npos) line.resize(end);
  if (line.rfind("ERROR:  ", 0) == 0) line.erase(0, 8);
  return line.empty() ? std::string("database error") : line;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Where the server was looked for, without a socket folder: an operator needs the
// host and port; a user must never see the server's paths.
std::string WhereTried(PGconn* conn) {
  const char* host = PQhost(conn);
  const char* port = PQport(conn);
  std::string where = host == nullptr || *host == '\0' || *host == '/' ? "the local socket" : host;
  if (port != nullptr && *port != '\0') where += std::string(" port ") + port;
  return where;
}

[[noreturn]] void ThrowConnectFailure(PGconn* conn) {
  const std::string detail = conn != nullptr ? PQerrorMessage(conn) : "out of memory";
  const char* user = conn != nullptr ? PQuser(conn) : nullptr;
  const std::string who = user != nullptr ? std::string(user) : std::string();
  const bool refused = Contains(detail, "authentication failed") ||
                       Contains(detail, "no password supplied") ||
                       Contains(detail, "pg_hba.conf") ||
                       (Contains(detail, "role \"") && Contains(detail, "does not exist"));
  const bool no_database = Contains(detail, "database \"") && Contains(detail, "does not exist");
  const std::string where = conn != nullptr ? WhereTried(conn) : std::string("the server");
  if (refused) {
    throw StoreFailure(store_code::kLoginRefused, "The database server at " + where +
                                                      " refused the login of user \"" + who + "\"");
  }
  if (no_database) {
    throw StoreFailure(store_code::kLoginRefused,
                       "The database server at " + where + " has no such database");
  }
  throw StoreFailure(store_code::kUnreachable, "The database server cannot be reached at " + where);
}

void Ignore(void*, const char*) {}

std::optional<std::int64_t> ToInt(std::string_view text) {
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc()) return std::nullopt;
  return value;
}

struct ResultDeleter {
  void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

Result Check(PGconn* conn, PGresult* raw) {
  Result result(raw);
  const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    ThrowPostgresFailure(conn, result.get());
  }
  return result;
}

}  // namespace

void ThrowPostgresFailure(PGconn* conn, const PGresult* result) {
  if (PQstatus(conn) != CONNECTION_OK) {
    throw StoreFailure(store_code::kConnectionLost,
                       "The connection to the database server was lost");
  }
  const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
  const std::string_view sqlstate = state != nullptr ? state : "";
  const std::string message =
      FirstLine(result != nullptr ? PQresultErrorMessage(result) : PQerrorMessage(conn));
  if (sqlstate == "57014" || sqlstate == "55P03") {
    throw StoreFailure(store_code::kTimeout, "The database took too long: " + message);
  }
  if (sqlstate == "40001" || sqlstate == "40P01") {
    throw StoreFailure(store_code::kConflict, message);
  }
  if (sqlstate.starts_with("57P") || sqlstate.starts_with("08")) {
    throw StoreFailure(store_code::kConnectionLost,
                       "The connection to the database server was lost");
  }
  throw StoreFailure(store_code::kServerError, message);
}

PostgresStatement::PostgresStatement(PGconn* conn, std::string name, std::string_view sql,
                                     bool& stale)
    : conn_(conn), stale_(stale), name_(std::move(name)) {
  const std::string text = ToPostgres(sql);
  Check(conn_, PQprepare(conn_, name_.c_str(), text.c_str(), 0, nullptr));
  const Result description = Check(conn_, PQdescribePrepared(conn_, name_.c_str()));
  parameters_.resize(static_cast<std::size_t>(PQnparams(description.get())));
  columns_ = PQnfields(description.get());
  for (int column = 0; column < columns_; ++column) {
    column_names_.emplace_back(PQfname(description.get(), column));
  }
}

PostgresStatement::~PostgresStatement() { ClearResult(); }

void PostgresStatement::ClearResult() {
  PQclear(result_);
  result_ = nullptr;
  row_ = -1;
  executed_ = false;
}

void PostgresStatement::BindText(int index, std::string_view text) {
  if (index < 1 || static_cast<std::size_t>(index) > parameters_.size()) {
    throw StoreFailure(store_code::kServerError,
                       "parameter " + std::to_string(index) + " is not in the statement");
  }
  parameters_[static_cast<std::size_t>(index - 1)] = std::string(text);
}

void PostgresStatement::BindInt(int index, std::int64_t number) {
  BindText(index, std::to_string(number));
}

void PostgresStatement::BindNullAt(int index) {
  BindText(index, {});
  parameters_[static_cast<std::size_t>(index - 1)].reset();
}

// Parameters travel as text: bytes go in BYTEA's hex form.
void PostgresStatement::BindBytesAt(int index, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex = "\\x";
  hex.reserve(2 + 2 * bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0f];
  }
  BindText(index, hex);
}

void PostgresStatement::Execute() {
  std::vector<const char*> values;
  values.reserve(parameters_.size());
  for (const auto& value : parameters_) values.push_back(value ? value->c_str() : nullptr);
  PGresult* raw = PQexecPrepared(conn_, name_.c_str(), static_cast<int>(values.size()),
                                 values.data(), nullptr, nullptr, 0);
  const ExecStatusType status = raw != nullptr ? PQresultStatus(raw) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
    const Result failed(raw);
    const char* state = failed ? PQresultErrorField(failed.get(), PG_DIAG_SQLSTATE) : nullptr;
    if (state != nullptr && std::string_view(state) == "0A000") stale_ = true;
    ThrowPostgresFailure(conn_, failed.get());
  }
  result_ = raw;
  executed_ = true;
}

bool PostgresStatement::Step() {
  if (!executed_) Execute();
  ++row_;
  return row_ < PQntuples(result_);
}

void PostgresStatement::Reset() {
  ClearResult();
  for (auto& value : parameters_) value.reset();
}

int PostgresStatement::ColumnCount() const { return columns_; }

std::string_view PostgresStatement::ColumnName(int column) const {
  return column >= 0 && column < columns_ ? std::string_view(column_names_[column])
                                          : std::string_view();
}

bool PostgresStatement::IsNull(int column) const {
  return result_ == nullptr || PQgetisnull(result_, row_, column) == 1;
}

std::string PostgresStatement::Text(int column) const {
  if (IsNull(column)) return {};
  return std::string(PQgetvalue(result_, row_, column),
                     static_cast<std::size_t>(PQgetlength(result_, row_, column)));
}

std::int64_t PostgresStatement::Int(int column) const {
  const std::string text = Text(column);
  if (text == "t") return 1;  // a boolean, as SQLite gives it
  return ToInt(text).value_or(0);
}

std::string PostgresStatement::Bytes(int column) const {
  if (IsNull(column)) return {};
  std::size_t length = 0;
  unsigned char* bytes = PQunescapeBytea(
      reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row_, column)), &length);
  if (bytes == nullptr) throw StoreFailure(store_code::kServerError, "bytes that do not read");
  std::string out(reinterpret_cast<const char*>(bytes), length);
  PQfreemem(bytes);
  return out;
}

PostgresDatabase::PostgresDatabase(const PostgresOptions& options) {
  const std::string connect_timeout = std::to_string(options.connect_timeout.count());
  // A server that vanishes without closing the connection is noticed within these.
  const std::string user_timeout = std::to_string(options.statement_timeout.count() + 5000);
  // Defaults first: what the address says overrides them.
  const std::array<const char*, 9> keywords = {
      "connect_timeout",  "application_name", "keepalives_idle", "keepalives_interval",
      "keepalives_count", "tcp_user_timeout", "dbname",          nullptr};
  const std::array<const char*, 9> values = {
      connect_timeout.c_str(),  "covernote", "5", "2", "3", user_timeout.c_str(),
      options.conninfo.c_str(), nullptr};
  conn_ = PQconnectdbParams(keywords.data(), values.data(), 1);
  if (conn_ == nullptr || PQstatus(conn_) != CONNECTION_OK) {
    PGconn* failed = conn_;
    conn_ = nullptr;
    try {
      ThrowConnectFailure(failed);
    } catch (...) {
      PQfinish(failed);
      throw;
    }
  }
  PQsetNoticeProcessor(conn_, Ignore, nullptr);
  read_only_ = options.read_only;
  try {
    ExecuteScript("SET statement_timeout = " + std::to_string(options.statement_timeout.count()) +
                  "; SET lock_timeout = " + std::to_string(options.statement_timeout.count()) +
                  "; SET client_encoding = 'UTF8'" +
                  (options.read_only ? "; SET default_transaction_read_only = on" : ""));
  } catch (...) {
    PQfinish(conn_);
    throw;
  }
}

PostgresDatabase::~PostgresDatabase() {
  statements_.clear();
  PQfinish(conn_);
}

void PostgresDatabase::ExecuteScript(std::string_view sql) {
  const std::string text = ToPostgres(sql);
  Check(conn_, PQexec(conn_, text.c_str()));
}

Statement& PostgresDatabase::Prepare(std::string_view sql) {
  auto found = statements_.find(std::string(sql));
  if (found == statements_.end()) {
    auto statement = std::make_unique<PostgresStatement>(
        conn_, "s" + std::to_string(++statements_named_), sql, stale_);
    found = statements_.emplace(std::string(sql), std::move(statement)).first;
  }
  found->second->Reset();
  return *found->second;
}

std::int64_t PostgresDatabase::LastInsertId() {
  Statement& last = Prepare("SELECT lastval()");
  return last.Step() ? last.Int(0) : 0;
}

bool PostgresDatabase::HasTable(std::string_view name) {
  Statement& exists = Prepare("SELECT to_regclass(?1) IS NOT NULL");
  exists.Bind(1, name);
  return exists.Step() && exists.Int(0) == 1;
}

void PostgresDatabase::ResetStatements() {
  for (auto& [sql, statement] : statements_) statement->Reset();
}

bool PostgresDatabase::IsUsable() const { return !stale_ && PQstatus(conn_) == CONNECTION_OK; }

void PostgresDatabase::Begin(TransactionKind kind) {
  try {
    ExecuteScript(kind == TransactionKind::kImmediate ? kBeginWrite : kBeginRead);
  } catch (const StoreFailure&) {
    // The wait for the write lock timed out inside the new transaction: nobody else will
    // end it, and the connection must be ready for the next command.
    Rollback();
    throw;
  }
}

void PostgresDatabase::Commit() {
  ResetStatements();
  ExecuteScript("COMMIT");
}

void PostgresDatabase::Rollback() {
  ResetStatements();
  if (PQtransactionStatus(conn_) == PQTRANS_IDLE) return;
  ExecuteScript("ROLLBACK");
}

}  // namespace cn::backend

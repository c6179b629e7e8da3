#include "app/database_session_records.h"

#include "app/store_transaction.h"

namespace cn::app {
namespace {

constexpr std::string_view kColumns =
    "id_hash, csrf, user_id, agent_code, agent_type, role, address, started, last_used, ends, "
    "ended, ended_at";

web::SessionRow RowOf(const backend::Statement& read) {
  web::SessionRow row;
  row.id_hash = read.Text(0);
  row.csrf = read.Text(1);
  row.identity = web::Identity{read.Text(2), read.Text(3), read.Text(4), read.Text(5)};
  row.address = read.Text(6);
  row.started = read.Int(7);
  row.last_used = read.Int(8);
  row.ends = read.Int(9);
  row.ended = read.Text(10);
  row.ended_at = read.Int(11);
  return row;
}

}  // namespace

void DatabaseSessionRecords::Insert(const web::SessionRow& row) {
  InStoreTransaction(*backend_, true, [&](backend::Database& db) {
    db.Prepare("INSERT INTO login_session (" + std::string(kColumns) +
               ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)")
        .Bind(1, std::string_view(row.id_hash))
        .Bind(2, std::string_view(row.csrf))
        .Bind(3, std::string_view(row.identity.user_id))
        .Bind(4, std::string_view(row.identity.agent_code))
        .Bind(5, std::string_view(row.identity.agent_type))
        .Bind(6, std::string_view(row.identity.role))
        .Bind(7, std::string_view(row.address))
        .Bind(8, row.started)
        .Bind(9, row.last_used)
        .Bind(10, row.ends)
        .Bind(11, std::string_view(row.ended))
        .Bind(12, row.ended_at)
        .Run();
    return 0;
  });
}

std::optional<web::SessionRow> DatabaseSessionRecords::Find(std::string_view id_hash) {
  return InStoreTransaction(*backend_, false, [&](backend::Database& db) {
    auto& read =
        db.Prepare("SELECT " + std::string(kColumns) + " FROM login_session WHERE id_hash = ?1");
    read.Bind(1, id_hash);
    std::optional<web::SessionRow> row;
    if (read.Step()) row = RowOf(read);
    read.Reset();
    return row;
  });
}

void DatabaseSessionRecords::Touch(std::string_view id_hash, std::int64_t last_used) {
  InStoreTransaction(*backend_, true, [&](backend::Database& db) {
    db.Prepare("UPDATE login_session SET last_used = ?2 WHERE id_hash = ?1 AND last_used < ?2")
        .Bind(1, id_hash)
        .Bind(2, last_used)
        .Run();
    return 0;
  });
}

std::vector<web::SessionRow> DatabaseSessionRecords::OfUser(std::string_view user) {
  return InStoreTransaction(*backend_, false, [&](backend::Database& db) {
    auto& read = db.Prepare("SELECT " + std::string(kColumns) +
                            " FROM login_session WHERE user_id = ?1 AND ended = '' "
                            "ORDER BY started, id_hash");
    read.Bind(1, user);
    std::vector<web::SessionRow> rows;
    while (read.Step()) rows.push_back(RowOf(read));
    read.Reset();
    return rows;
  });
}

void DatabaseSessionRecords::End(std::string_view id_hash, std::string_view how, std::int64_t at) {
  InStoreTransaction(*backend_, true, [&](backend::Database& db) {
    db.Prepare(
          "UPDATE login_session SET ended = ?2, ended_at = ?3 WHERE id_hash = ?1 AND ended = ''")
        .Bind(1, id_hash)
        .Bind(2, how)
        .Bind(3, at)
        .Run();
    return 0;
  });
}

void DatabaseSessionRecords::Forget(std::int64_t before) {
  InStoreTransaction(*backend_, true, [&](backend::Database& db) {
    db.Prepare(
          "DELETE FROM login_session WHERE (ended = '' AND last_used < ?1) OR "
          "(ended <> '' AND ended_at < ?1)")
        .Bind(1, before)
        .Run();
    return 0;
  });
}

}  // namespace cn::app

// The sample on a PostgreSQL server: the seed scripts are written in SQLite's
// words, so they run on a SQLite database in memory and their rows are copied.

#include <string>
#include <vector>

#include "backend/schema.h"
#include "backend/seed.h"
#include "backend/sqlite.h"

namespace cn::backend {
namespace {

// Tables in the order they were created, so that rows referred to come first.
std::vector<std::string> TablesOf(Database& db) {
  std::vector<std::string> tables;
  Statement& list = db.Prepare(
      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
      "AND name <> 'schema_version' ORDER BY rowid");
  while (list.Step()) tables.push_back(list.Text(0));
  return tables;
}

void CopyRows(Database& from, Database& to, const std::string& table) {
  Statement& rows = from.Prepare("SELECT * FROM " + table);
  std::string insert;
  bool has_id = false;
  while (rows.Step()) {
    if (insert.empty()) {
      std::string names;
      std::string slots;
      for (int column = 0; column < rows.ColumnCount(); ++column) {
        const std::string_view name = rows.ColumnName(column);
        has_id = has_id || name == "id";
        names += (column == 0 ? "" : ", ") + std::string(name);
        slots += (column == 0 ? "?" : ", ?") + std::to_string(column + 1);
      }
      insert = "INSERT INTO " + table + " (" + names + ") VALUES (" + slots + ")";
    }
    Statement& into = to.Prepare(insert);
    for (int column = 0; column < rows.ColumnCount(); ++column) {
      if (rows.IsNull(column)) {
        into.BindNull(column + 1);
      } else {
        into.Bind(column + 1, std::string_view(rows.Text(column)));
      }
    }
    into.Run();
  }
  // New rows numbered after the copied ones.
  if (has_id) {
    to.ExecuteScript("SELECT setval(pg_get_serial_sequence('" + table + "', 'id'), " +
                     "coalesce(max(id), 0) + 1, false) FROM " + table);
  }
}

}  // namespace

void SeedFromSqlite(Database& db, const Clock& clock, SampleData what) {
  SqliteDatabase sample(":memory:");
  Migrate(sample);
  Seed(sample, clock, what);
  const std::vector<std::string> tables = TablesOf(sample);
  Transaction transaction(db, Transaction::Kind::kImmediate);
  // The schema steps bring configuration rows of their own; the sample has them too.
  for (auto table = tables.rbegin(); table != tables.rend(); ++table) {
    db.ExecuteScript("DELETE FROM " + *table);
  }
  for (const std::string& table : tables) CopyRows(sample, db, table);
  transaction.Commit();
}

}  // namespace cn::backend

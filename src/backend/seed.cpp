#include "backend/seed.h"

#include <array>
#include <cstdio>
#include <set>
#include <string>

#include "backend/layouts.h"

namespace cn::backend {
namespace {

// Amount columns of the code lists; the documents' follow from their layouts.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kListAmounts = {{
    {"vehicle_model", "capacity"},
    {"motor_class", "min_sum_insured"},
    {"extended_cover_detail", "percentage"},
    {"extended_cover_detail", "default_premium"},
    {"extended_cover_detail", "min_premium"},
    {"ncd_scale", "percentage"},
}};

// The scripts write amounts as decimals for readability; the database keeps
// ten-thousandths. Rounding first removes the binary fraction of the decimal.
void ConvertAmounts(Database& db, std::string_view table, std::string_view column) {
  const std::string name(column);
  db.ExecuteScript("UPDATE " + std::string(table) + " SET " + name + " = CAST(round(" + name +
                   " * 10000) AS INTEGER) WHERE " + name + " IS NOT NULL;");
}

void ConvertDocumentAmounts(Database& db, std::string_view table,
                            std::span<const LayoutRow> layout) {
  std::set<std::string_view> done;
  for (const LayoutRow& row : layout) {
    if (row.conversion == Conversion::kMoney && done.insert(row.field).second) {
      ConvertAmounts(db, table, row.field);
    }
  }
}

// The scripts date the sample relative to today, written as SQLite's 'now'. Each
// 'now' (with its 'localtime', the clock already gives local time) becomes the
// clock's time, so a database seeded with a fixed clock is the same every day.
std::string AtClockTime(std::string_view script, const DateTime& now) {
  char literal[32];
  std::snprintf(literal, sizeof literal, "'%04d-%02d-%02d %02d:%02d:%02d'", now.date.year(),
                now.date.month(), now.date.day(), now.time.hour(), now.time.minute(),
                now.time.second());
  std::string text(script);
  for (const std::string_view pattern : {"'now', 'localtime'", "'now'"}) {
    for (std::size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + 1)) {
      text.replace(at, pattern.size(), literal);
    }
  }
  return text;
}

}  // namespace

bool IsSeeded(Database& db) {
  Statement& count = db.Prepare("SELECT count(*) FROM system_code");
  return count.Step() && count.Int(0) > 0;
}

void Seed(Database& db, const Clock& clock, SampleData what) {
  // A server gets the very rows the sample scripts give a SQLite file.
  if (db.engine() == Database::Engine::kPostgres) return SeedFromSqlite(db, clock, what);
  const DateTime now = clock.Now();
  Transaction transaction(db, Transaction::Kind::kImmediate);
  db.ExecuteScript(AtClockTime(SeedListsSql(), now));
  if (what == SampleData::kAll) {
    db.ExecuteScript(SeedSampleUsersSql());
    db.ExecuteScript(AtClockTime(SeedClientsAndPoliciesSql(), now));
    db.ExecuteScript(AtClockTime(SeedCoverNotesSql(), now));
  }
  // The cover notes copy some of the lists' amounts as the scripts write them.
  for (const auto& [table, column] : kListAmounts) ConvertAmounts(db, table, column);
  if (what == SampleData::kAll) {
    ConvertDocumentAmounts(db, "cover_note", ReadAdminReplyLayout());
    ConvertDocumentAmounts(db, "policy", PolicyReplyLayout());
    RateSampleCoverNotes(db, now.date.year());
  }
  transaction.Commit();
}

}  // namespace cn::backend

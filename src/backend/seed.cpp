#include "backend/seed.h"

#include <array>
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

}  // namespace

bool IsSeeded(Database& db) {
  Statement& count = db.Prepare("SELECT count(*) FROM system_code");
  return count.Step() && count.Int(0) > 0;
}

void Seed(Database& db) {
  Transaction transaction(db, Transaction::Kind::kImmediate);
  db.ExecuteScript(SeedListsSql());
  db.ExecuteScript(SeedClientsAndPoliciesSql());
  db.ExecuteScript(SeedCoverNotesSql());
  for (const auto& [table, column] : kListAmounts) ConvertAmounts(db, table, column);
  ConvertDocumentAmounts(db, "cover_note", ReadAdminReplyLayout());
  ConvertDocumentAmounts(db, "policy", PolicyReplyLayout());
  transaction.Commit();
}

}  // namespace cn::backend

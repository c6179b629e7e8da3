#include "backend/schema.h"

#include <span>
#include <string>
#include <vector>

#include "backend/layouts.h"
#include "backend/sql_dialect.h"
#include "backend/store_address.h"
#include "backend_fixture.h"
#include "base/text.h"

namespace cn::backend::testing {
namespace {

using SchemaTest = BackendTest;

TEST_F(SchemaTest, MigratingAgainChangesNothingAndReopeningDoesNotSeedTwice) {
  Database& db = backend_->database();
  const int latest = Migrations().back().version;
  EXPECT_EQ(SchemaVersion(db), latest);
  EXPECT_EQ(Migrate(db), 0);
  EXPECT_EQ(Query("SELECT count(*) FROM schema_version"), std::to_string(Migrations().size()));
  const std::string notes = Query("SELECT count(*) FROM cover_note");
  EXPECT_GE(std::stoi(notes), 15);

  backend_.reset();
  backend_ = std::make_unique<Backend>(path_, clock_);
  EXPECT_EQ(Query("SELECT count(*) FROM cover_note"), notes);
  EXPECT_EQ(SchemaVersion(backend_->database()), latest);
}

TEST_F(SchemaTest, TheSampleIsDatedByTheInjectedClock) {
  const FixedClock june({Date::FromYmd(2030, 6, 15).value(), Time::FromHms(10, 0, 0).value()});
  std::vector<std::string> issued;
  for (const char* name : {"june1.db", "june2.db"}) {
    backend_ = std::make_unique<Backend>(FreshStore(name), june);
    EXPECT_LE(Query("SELECT max(reference_date) FROM cover_note"), "2030-06-15") << name;
    EXPECT_GE(Query("SELECT min(reference_date) FROM cover_note WHERE reference_date > '2023'"),
              "2029-01-01")
        << name;  // the notes before the new tariff keep their dates
    issued.push_back(Query("SELECT group_concat(issued_at, ',') FROM cover_note"));
  }
  backend_.reset();  // it holds the clock, which ends here
  // Seeded on any day with the same clock, the sample is the same.
  EXPECT_EQ(issued[0], issued[1]);
}

TEST_F(SchemaTest, AnOlderDatabaseIsBroughtUpToDateStepByStep) {
  const std::string older = FreshStore("older.db");
  {
    const auto db = OpenDatabase(older);
    db->ExecuteScript(
        "CREATE TABLE schema_version (version INTEGER PRIMARY KEY, description TEXT NOT NULL, "
        "applied_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP);");
    db->ExecuteScript(Migrations()[0].sql);
    db->ExecuteScript("INSERT INTO schema_version (version, description) VALUES (1, 'first');");
  }
  const auto db = OpenDatabase(older);
  EXPECT_EQ(Migrate(*db), static_cast<int>(Migrations().size()) - 1);
  EXPECT_EQ(SchemaVersion(*db), Migrations().back().version);
}

// What the screen looks up by each sample system code must be there (or, for the
// occupation stored for "none", must not be offered).
TEST_F(SchemaTest, EverySampleSystemCodeNamesWhatTheScreenLooksFor) {
  const struct {
    const char* table_where;  // where an entry of the value must be a code, or must not
    std::vector<int> codes;
    int expected;
    // clang-format off
  } cases[] = {{"motor_cover WHERE", {1001, 1011, 1061}, 1}, {"extended_cover WHERE", {1007, 1008, 1021, 1069}, 1},
               {"occupation WHERE", {1009}, 0}, {"vehicle_make WHERE", {1034}, 1},
               {"motor_class WHERE kind = 1 AND", {1040}, 1}};
  // clang-format on
  for (const auto& c : cases) {
    for (const int code : c.codes) {
      const std::string value =
          Query("SELECT value FROM system_code WHERE code = " + std::to_string(code));
      ASSERT_FALSE(value.empty()) << code;
      EXPECT_EQ(Query(std::string("SELECT count(*) FROM ") + c.table_where + " code IN ('" +
                      Replace(value, ";", "', '") + "')"),
                std::to_string(c.expected * Split(value, ";").size()))
          << code << " " << value;
    }
  }
}

// A database seeded before the sample's system codes were corrected ends up as a new one.
TEST_F(SchemaTest, AnOlderSampleIsCorrectedByItsMigration) {
  const std::string kDump =
      "SELECT (SELECT group_concat(code || '=' || value, ' ') FROM system_code"
      "        WHERE code IN (1009, 1040, 1069))"
      " || (SELECT group_concat(class_code || ext_code || seq || percentage || default_premium"
      "     || min_premium || method, ' ') FROM (SELECT * FROM extended_cover_detail"
      "     ORDER BY class_code, cover_code, ext_code) AS e)"
      " || (SELECT group_concat(class_code || years || percentage, ' ') FROM (SELECT * FROM"
      "     ncd_scale ORDER BY class_code, years) AS n)"
      " || (SELECT group_concat(code || min_sum_insured, ' ') FROM (SELECT * FROM motor_class"
      "     ORDER BY code) AS m)"
      " || (SELECT count(*) FROM class_use) || (SELECT count(*) FROM class_unit)"
      " || (SELECT count(*) FROM extended_cover)";
  const std::string fresh = Query(kDump);
  Database& db = backend_->database();
  db.ResetStatements();
  db.ExecuteScript(R"sql(
    UPDATE system_code SET value = '70' WHERE code = 1009;
    UPDATE system_code SET value = 'PC1;PC2;MC1;MC2' WHERE code = 1040;
    UPDATE system_code SET value = '25' WHERE code = 1069;
    DELETE FROM extended_cover_detail WHERE ext_code = '111' OR class_code = 'CT1';
    DELETE FROM extended_cover WHERE code = '111'; DELETE FROM ncd_scale WHERE class_code = 'CT1';
    DELETE FROM class_use WHERE class_code = 'CT1'; DELETE FROM class_unit WHERE class_code = 'CT1';
    DELETE FROM motor_class WHERE code = 'CT1'; DELETE FROM schema_version WHERE version >= 5;
    DROP TABLE tariff_base; DROP TABLE capacity_band; DROP TABLE trailer_rate;
    DROP TABLE loading_limit; DROP TABLE underwriting_limit; DROP TABLE compulsory_excess;
    DROP TABLE commission_rate; DROP TABLE short_period_scale; DROP TABLE new_tariff_base;
    DROP TABLE rating_factor; DROP INDEX cover_note_no_any_case; DROP INDEX policy_no_any_case;
    DROP INDEX client_code_any_case; DROP TABLE endorsement;
    DROP TABLE server_key; DROP TABLE recovery_code; DROP TABLE account_event;
    DROP TABLE login_session; DROP TABLE login_failure;)sql");
  for (const char* column : {"role", "disabled", "must_change_password", "require_mfa", "totp_secret",
                             "totp_confirmed", "totp_last_step", "last_login_at", "revision", "unlocks"})
    db.ExecuteScript(std::string("ALTER TABLE app_user DROP COLUMN ") + column);
  ASSERT_NE(Query(kDump), fresh);
  EXPECT_EQ(Migrate(db), static_cast<int>(Migrations().size()) - 4);
  EXPECT_EQ(Query(kDump), fresh);
}

// Every row names a column the table really has, positions rise one row at a
// time without gaps or repeats where the screen reads every position.
TEST_F(SchemaTest, LayoutRowsAreInPositionOrderAndNameStoredColumns) {
  const struct {
    const char* name;
    std::span<const LayoutRow> layout;
    int field_count;
    std::string table;
  } cases[] = {
      // clang-format off
      {"read admin", ReadAdminReplyLayout(), 178, "cover_note"}, {"policy read", PolicyReplyLayout(), 103, "policy"},
      {"cover note read", CoverNoteReadReplyLayout(), 206, "cover_note"},
      {"write admin", WriteAdminRecordLayout(), 168, "cover_note"},
      {"client read", ClientReplyLayout(), 19, "client"}, {"client write", ClientWriteLayout(), 23, "client"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FieldCount(c.layout), c.field_count);
    int previous = -1;
    for (const LayoutRow& row : c.layout) {
      EXPECT_GT(row.position, previous);
      previous = row.position;
      if (row.conversion == Conversion::kKey || row.conversion == Conversion::kIgnored) continue;
      const std::string field(row.field);
      const auto dot = field.find('.');
      const bool list = row.conversion == Conversion::kList;
      EXPECT_NO_THROW(Query("SELECT " + (list ? field.substr(dot + 1) : field) + " FROM " +
                            c.table + (list ? "_" + field.substr(0, dot) : "") + " LIMIT 0"))
          << "position " << row.position << " " << row.field;
    }
  }
}

// What PostgreSQL is given for our SQL: only words outside literals and comments change.
TEST(PostgresDialect, ChangesTheFewWordsThatDifferAndNothingQuoted) {
  const struct {
    const char *sqlite, *postgres;
  } cases[] = {
      {"SELECT id FROM t WHERE a = ?1 AND b = ?12", "SELECT id FROM t WHERE a = $1 AND b = $12"},
      {"SELECT '?1 TEXT instr(', 'it''s ?2' -- ?3 INTEGER\n", nullptr},
      {"CREATE TABLE t (id INTEGER PRIMARY KEY, n INTEGER, s TEXT NOT NULL, TEXTS TEXT)",
       "CREATE TABLE t (id BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY, n BIGINT, "
       "s TEXT COLLATE \"C\" NOT NULL, TEXTS TEXT COLLATE \"C\")"},
      {"SELECT CAST(x AS TEXT), CAST(y AS INTEGER), instr(a, b), group_concat(c, ','), "
       "my_instr(d)",
       "SELECT CAST(x AS TEXT), CAST(y AS BIGINT), strpos(a, b), string_agg(c, ','), "
       "my_instr(d)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ToPostgres(c.sqlite), c.postgres != nullptr ? c.postgres : c.sqlite) << c.sqlite;
}

// Our own parameters are taken out of the address before libpq sees it; the log never
// shows a password.
TEST(ServerAddressText, KeepsLibpqParametersAndHidesPasswords) {
  const ServerAddress parsed = ParseServerAddress(
      "postgresql://cn@db/covernote?sslmode=require&pool_size=8&statement_timeout=250"
      "&connect_timeout=2");
  EXPECT_EQ(parsed.connection.conninfo, "postgresql://cn@db/covernote?sslmode=require");
  EXPECT_EQ(parsed.pool_size, 8U);
  EXPECT_EQ(parsed.connection.statement_timeout, std::chrono::milliseconds(250));
  EXPECT_EQ(parsed.connection.connect_timeout, std::chrono::seconds(2));
  EXPECT_THROW(ParseServerAddress("postgresql://db/x?pool_size=many"), StoreFailure);
  const struct {
    const char *address, *shown;
  } cases[] = {
      {"postgresql://cn:s3cret@db:5432/covernote", "postgresql://cn:***@db:5432/covernote"},
      {"postgres://cn@db/x?password=s3cret&sslmode=require",
       "postgres://cn@db/x?password=***&sslmode=require"},
      {"postgresql://cn@db/x?sslpassword=k&password=p",
       "postgresql://cn@db/x?sslpassword=k&password=***"},
      {"/home/ana/covernote.db", "/home/ana/covernote.db"},
  };
  for (const auto& c : cases) EXPECT_EQ(DisplayAddress(c.address), c.shown);
}

}  // namespace
}  // namespace cn::backend::testing

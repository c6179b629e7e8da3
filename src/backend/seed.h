#pragma once
// Sample data for a new database: code lists, agents and users, clients,
// previous policies and cover notes covering every road of the screen.
// Invented; any likeness to real people or vehicles is chance.

#include <string_view>

#include "backend/sqlite.h"
#include "base/clock.h"

namespace cn::backend {

// What a new database is given: the code lists, configuration and agents the screen needs
// (and no user), or those and the sample's clients, policies, cover notes and users.
enum class SampleData { kLists, kAll };

// True when the database already holds the code lists (or any data).
bool IsSeeded(Database& db);
// Fills the tables in one transaction; the schema must be current. The sample's
// dates (issue, expiry, submission) are relative to the clock's today.
void Seed(Database& db, const Clock& clock, SampleData what = SampleData::kAll);

// Builds the sample in a SQLite database in memory and copies every table's rows
// into `db` in one transaction.
void SeedFromSqlite(Database& db, const Clock& clock, SampleData what);

// Stores the figures the tariff gives each sample cover note (amounts already in
// ten-thousandths).
void RateSampleCoverNotes(Database& db, int this_year);

// The seed scripts, in the order they run.
std::string_view SeedListsSql();
std::string_view SeedSampleUsersSql();
std::string_view SeedClientsAndPoliciesSql();
std::string_view SeedCoverNotesSql();

}  // namespace cn::backend

#pragma once
// Sample data for a new database: code lists, agents and users, clients,
// previous policies and cover notes covering every road of the screen.
// Invented; any likeness to real people or vehicles is chance.

#include <string_view>

#include "backend/sqlite.h"
#include "base/clock.h"

namespace cn::backend {

// True when the database already holds the sample (or any) cover notes.
bool IsSeeded(Database& db);
// Fills the tables in one transaction; the schema must be current. The sample's
// dates (issue, expiry, submission) are relative to the clock's today.
void Seed(Database& db, const Clock& clock);

// Builds the sample in a SQLite database in memory and copies every table's rows
// into `db` in one transaction.
void SeedFromSqlite(Database& db, const Clock& clock);

// Stores the figures the tariff gives each sample cover note (amounts already in
// ten-thousandths).
void RateSampleCoverNotes(Database& db, int this_year);

// The seed scripts, in the order they run.
std::string_view SeedListsSql();
std::string_view SeedClientsAndPoliciesSql();
std::string_view SeedCoverNotesSql();

}  // namespace cn::backend

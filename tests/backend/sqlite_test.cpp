#include "backend/sqlite.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

namespace fs = std::filesystem;

// A command that reads only the first row of a query must not leave later commands looking at
// the database as it was: another administrator's save has to show on the next read.
TEST(Sqlite, ACommandThatStopsReadingEarlyDoesNotHideLaterSaves) {
  const fs::path directory =
      fs::temp_directory_path() / ("covernote-sqlite-snapshot-" + std::to_string(::getpid()));
  fs::create_directories(directory);
  {
    SqliteDatabase mine(directory / "notes.db");
    mine.ExecuteScript("CREATE TABLE note (number TEXT); INSERT INTO note VALUES ('A'), ('B');");
    {
      Transaction read(mine, Transaction::Kind::kDeferred);
      EXPECT_EQ(One(mine, "SELECT number FROM note ORDER BY number"), "A");  // the rest unread
      read.Commit();
    }
    {
      SqliteDatabase theirs(directory / "notes.db");
      Transaction save(theirs, Transaction::Kind::kImmediate);
      theirs.Prepare("INSERT INTO note VALUES ('D')").Run();
      save.Commit();
    }
    Transaction again(mine, Transaction::Kind::kDeferred);
    EXPECT_EQ(One(mine, "SELECT COUNT(*) FROM note"), "3");
  }
  fs::remove_all(directory);
}

}  // namespace
}  // namespace cn::backend::testing

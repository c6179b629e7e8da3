#include "backend/sqlite.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

namespace cn::backend {
namespace {

namespace fs = std::filesystem;

// A command that reads only the first row of a query must not leave later commands looking at
// the database as it was: another administrator's save has to show on the next read.
TEST(Sqlite, ACommandThatStopsReadingEarlyDoesNotHideLaterSaves) {
  const fs::path path = fs::temp_directory_path() /
                        ("covernote-sqlite-snapshot-" + std::to_string(::getpid()) + ".db");
  fs::remove(path);
  {
    SqliteDatabase mine(path);
    mine.ExecuteScript(
        "CREATE TABLE note (number TEXT); INSERT INTO note VALUES ('A'), ('B'), ('C');");
    {
      Transaction read(mine, Transaction::Kind::kDeferred);
      Statement& first = mine.Prepare("SELECT number FROM note ORDER BY number");
      ASSERT_TRUE(first.Step());  // the rest of the rows are never read
      read.Commit();
    }
    {
      SqliteDatabase theirs(path);
      Transaction save(theirs, Transaction::Kind::kImmediate);
      theirs.Prepare("INSERT INTO note VALUES ('D')").Run();
      save.Commit();
    }
    Transaction again(mine, Transaction::Kind::kDeferred);
    Statement& count = mine.Prepare("SELECT COUNT(*) FROM note");
    ASSERT_TRUE(count.Step());
    EXPECT_EQ(count.Int(0), 4);
  }
  fs::remove(path);
  fs::remove(fs::path(path) += "-wal");
  fs::remove(fs::path(path) += "-shm");
}

}  // namespace
}  // namespace cn::backend

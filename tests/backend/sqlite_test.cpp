#include "backend/sqlite.h"

#include <gtest/gtest.h>

#include "../base/temp_folder.h"
#include "backend_fixture.h"

namespace cn::backend::testing {
namespace {

// A command that reads only the first row of a query must not leave later commands looking at
// the database as it was: another administrator's save has to show on the next read.
TEST(Sqlite, ACommandThatStopsReadingEarlyDoesNotHideLaterSaves) {
  const cn::testing::TempFolder folder("covernote-sqlite-snapshot");
  SqliteDatabase mine(folder.path / "notes.db");
  mine.ExecuteScript("CREATE TABLE note (number TEXT); INSERT INTO note VALUES ('A'), ('B');");
  {
    Transaction read(mine, Transaction::Kind::kDeferred);
    EXPECT_EQ(One(mine, "SELECT number FROM note ORDER BY number"), "A");  // the rest unread
    read.Commit();
  }
  {
    SqliteDatabase theirs(folder.path / "notes.db");
    Transaction save(theirs, Transaction::Kind::kImmediate);
    theirs.Prepare("INSERT INTO note VALUES ('D')").Run();
    save.Commit();
  }
  Transaction again(mine, Transaction::Kind::kDeferred);
  EXPECT_EQ(One(mine, "SELECT COUNT(*) FROM note"), "3");
}

}  // namespace
}  // namespace cn::backend::testing

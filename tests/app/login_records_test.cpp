// The login sessions and failed logins kept in the database, on SQLite and PostgreSQL alike: two
// servers of one database (two stores over it) see the same sessions and the same counts.
#include <gtest/gtest.h>

#include "../backend/backend_fixture.h"
#include "app/database_failure_counts.h"
#include "app/database_session_records.h"
#include "components/shared_backend.h"
#include "web/session_store.h"

namespace cn::app {
namespace {

using std::chrono::hours;
using std::chrono::minutes;
using std::chrono::seconds;
using Clock = std::chrono::system_clock;

class LoginRecordsTest : public backend::testing::BackendTest {
 protected:
  std::shared_ptr<components::SharedBackend> Server() {
    return components::OpenSharedBackend(path_, clock_);
  }
  // Read afresh: the test's own connection would otherwise keep reading its first snapshot.
  std::string Rows(const std::string& where = "1 = 1") {
    backend_->database().ResetStatements();
    return Query("SELECT count(*) FROM login_session WHERE " + where);
  }
};

// A session opened on one server is accepted by the other, kept only under its hash; how each
// ended is told on both, and rows are forgotten once no session could still be using them.
TEST_F(LoginRecordsTest, EveryServerAcceptsASessionUntilItEndsAndSaysHowItEnded) {
  web::SessionLimits limits;
  limits.most_per_user = 2;
  web::SessionStore one(limits, std::make_shared<DatabaseSessionRecords>(Server()));
  web::SessionStore two(limits, std::make_shared<DatabaseSessionRecords>(Server()));
  const web::Identity alice{"ALICE", "A1001", "A", "enquire"};
  const auto now = Clock::now();
  const auto first = one.Add(alice, "192.0.2.1", now).entry.value();
  const auto there = two.Use(first.id, now + seconds(1)).entry.value();
  EXPECT_EQ(std::tie(there.csrf, there.identity, there.address),
            std::tie(first.csrf, alice, first.address));
  EXPECT_EQ(Rows("id_hash = '" + first.id + "'"), "0");
  EXPECT_EQ(Rows("id_hash = '" + web::HashOfId(first.id) + "'"), "1");

  // Read again after a few seconds: a third login ended the first, a logout the second.
  const auto second = two.Add(alice, "192.0.2.2", now + seconds(2)).entry.value();
  const auto third = two.Add(alice, "192.0.2.3", now + seconds(3)).entry.value();
  EXPECT_TRUE(two.End(second.id, web::session_end::kLoggedOut, now + seconds(4)).empty());
  const auto later = now + seconds(10);
  const auto ended = [&](const std::string& id) { return one.Use(id, later).ended; };
  EXPECT_EQ(ended(first.id), web::session_end::kTooMany);
  EXPECT_EQ(ended(second.id), web::session_end::kLoggedOut);
  EXPECT_EQ(ended(third.id), "");
  ASSERT_EQ(one.OfUser("ALICE", third.id, later).size(), 1u);
  EXPECT_TRUE(one.OfUser("ALICE", third.id, later)[0].current);

  // Used on one server only, a session is still live on the other after its idle limit there.
  for (auto at = later; at < later + minutes(40); at += minutes(5))
    ASSERT_TRUE(two.Use(third.id, at).entry);
  EXPECT_TRUE(one.Use(third.id, later + minutes(40)).entry);
  EXPECT_EQ(one.Use(third.id, later + minutes(71)).ended, web::session_end::kIdle);

  one.Sweep(now + hours(13), std::nullopt);
  EXPECT_EQ(Rows(), "0");
}

// A failed login counted by one server is known to the other and outlives both; an unlock
// forgets it, and counts left alone past their time go as others change.
TEST_F(LoginRecordsTest, FailureCountsAreSharedAndStaleOnesAreForgotten) {
  DatabaseFailureCounts one(Server(), minutes(15)), two(Server(), minutes(15));
  const Clock::time_point now =
      std::chrono::time_point_cast<std::chrono::milliseconds>(Clock::now());
  const auto fail = [&](web::FailureCount& count) {
    ++count.failures;
    count.last_failure = now;
  };
  one.Change("user ALICE", now, fail);
  const auto count = two.Change("user ALICE", now + seconds(1), [&](web::FailureCount& count) {
    fail(count);
    count.locked_until = now + minutes(15);
  });
  EXPECT_EQ(DatabaseFailureCounts(Server(), minutes(15)).Read("user ALICE").failures, 2);
  EXPECT_EQ(one.Read("user ALICE").locked_until, count.locked_until);
  two.Clear("user ALICE");
  EXPECT_EQ(one.Read("user ALICE").failures, 0);

  one.Change("address 192.0.2.1", now, fail);
  two.Change("user BOB", now + minutes(16), fail);
  EXPECT_EQ(one.Read("address 192.0.2.1").failures, 0);
  EXPECT_EQ(one.Read("user BOB").failures, 1);
}

}  // namespace
}  // namespace cn::app

#include "app/database_failure_counts.h"

#include "app/store_transaction.h"

namespace cn::app {
namespace {

using Clock = web::FailureCount::Clock;

std::int64_t Millis(Clock::time_point at) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
}

Clock::time_point At(std::int64_t millis) {
  return Clock::time_point(
      std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(millis)));
}

web::FailureCount ReadIn(backend::Database& db, std::string_view key) {
  auto& read = db.Prepare(
      "SELECT failures, last_failure, locked_until FROM login_failure WHERE count_key = ?1");
  read.Bind(1, key);
  web::FailureCount count;
  if (read.Step()) {
    count.failures = static_cast<int>(read.Int(0));
    count.last_failure = At(read.Int(1));
    count.locked_until = At(read.Int(2));
  }
  read.Reset();
  return count;
}

}  // namespace

web::FailureCount DatabaseFailureCounts::Read(std::string_view key) {
  return InStoreTransaction(*backend_, false,
                            [&](backend::Database& db) { return ReadIn(db, key); });
}

web::FailureCount DatabaseFailureCounts::Change(
    std::string_view key, Clock::time_point now,
    const std::function<void(web::FailureCount&)>& change) {
  return InStoreTransaction(*backend_, true, [&](backend::Database& db) {
    db.Prepare("DELETE FROM login_failure WHERE last_failure < ?1 AND locked_until < ?2")
        .Bind(1, Millis(now - forget_after_))
        .Bind(2, Millis(now))
        .Run();
    web::FailureCount count = ReadIn(db, key);
    change(count);
    db.Prepare("DELETE FROM login_failure WHERE count_key = ?1").Bind(1, key).Run();
    db.Prepare(
          "INSERT INTO login_failure (count_key, failures, last_failure, locked_until) "
          "VALUES (?1, ?2, ?3, ?4)")
        .Bind(1, key)
        .Bind(2, std::int64_t{count.failures})
        .Bind(3, Millis(count.last_failure))
        .Bind(4, Millis(count.locked_until))
        .Run();
    return count;
  });
}

void DatabaseFailureCounts::Clear(std::string_view key) {
  InStoreTransaction(*backend_, true, [&](backend::Database& db) {
    db.Prepare("DELETE FROM login_failure WHERE count_key = ?1").Bind(1, key).Run();
    return 0;
  });
}

}  // namespace cn::app

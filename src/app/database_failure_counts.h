#pragma once
// The login throttle's counts kept in the database (table login_failure): a restart forgets no
// lockout, and every server of one database counts the same failures.

#include <memory>

#include "components/shared_backend.h"
#include "web/failure_counts.h"

namespace cn::app {

class DatabaseFailureCounts final : public web::FailureCounts {
 public:
  // Counts neither locked nor changed for `forget_after` are deleted as others change.
  DatabaseFailureCounts(std::shared_ptr<components::SharedBackend> backend,
                        Clock::duration forget_after)
      : backend_(std::move(backend)), forget_after_(forget_after) {}

  web::FailureCount Read(std::string_view key) override;
  web::FailureCount Change(std::string_view key, Clock::time_point now,
                           const std::function<void(web::FailureCount&)>& change) override;
  void Clear(std::string_view key) override;

 private:
  std::shared_ptr<components::SharedBackend> backend_;
  Clock::duration forget_after_;
};

}  // namespace cn::app

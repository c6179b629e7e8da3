#pragma once
// One open back end shared by every component of the product. Commands and direct
// reads each borrow a connection of the back end's pool (one for a SQLite file).

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "backend/backend.h"
#include "base/clock.h"
#include "base/metrics.h"

namespace cn::components {

class SharedBackend {
 public:
  explicit SharedBackend(std::unique_ptr<backend::Backend> backend);

  SharedBackend(const SharedBackend&) = delete;
  SharedBackend& operator=(const SharedBackend&) = delete;

  // Throws what the back end throws (StoreFailure for a locked, read-only or
  // full database), except that a database not available now is a RuntimeFailure
  // failure::kDatabaseUnavailable, the detail logged.
  backend::Result Execute(std::string_view command, std::string_view parameters);

  // From now on every command's latency and failure is counted in `metrics`, with
  // the pool's connections in use. Set before the first command.
  void CountIn(std::shared_ptr<Metrics> metrics);
  // "" when the database answers a query, else the store's failure ("the database is not
  // available" when it cannot be used at all, the detail logged).
  std::string Health();

  // Runs `read` on the store while no command runs; its result is returned.
  template <typename Read>
  auto WithDatabase(Read&& read) {
    return backend_->WithDatabase(std::forward<Read>(read));
  }

 private:
  backend::Result Counted(std::string_view command, std::string_view parameters);

  std::unique_ptr<backend::Backend> backend_;
  std::shared_ptr<Metrics> metrics_;
  std::mutex health_mutex_;
  std::string last_unavailable_;  // the fault /healthz last logged
};

// Opens (creating, migrating and seeding as needed) the database at `path`, a SQLite
// file or a postgresql:// address; its saves word their endorsements with `wording`.
// The clock must outlive the result.
std::shared_ptr<SharedBackend> OpenSharedBackend(const std::filesystem::path& path,
                                                 const Clock& clock,
                                                 backend::EndorsementWording wording = {});

}  // namespace cn::components

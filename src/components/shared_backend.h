#pragma once
// One open back end shared by every component of the product. The back end owns
// a single database connection, so commands and direct reads take turns.

#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>

#include "backend/backend.h"
#include "base/clock.h"

namespace cn::components {

class SharedBackend {
 public:
  explicit SharedBackend(std::unique_ptr<backend::Backend> backend);

  SharedBackend(const SharedBackend&) = delete;
  SharedBackend& operator=(const SharedBackend&) = delete;

  // Throws what the back end throws (StoreFailure for a locked, read-only or
  // full database).
  backend::Result Execute(std::string_view command, std::string_view parameters);

  // Runs `read` on the store while no command runs; its result is returned.
  template <typename Read>
  auto WithDatabase(Read&& read) {
    const std::lock_guard lock(mutex_);
    return std::forward<Read>(read)(backend_->database());
  }

 private:
  std::mutex mutex_;
  std::unique_ptr<backend::Backend> backend_;
};

// Opens (creating, migrating and seeding as needed) the database at `path`.
// The clock must outlive the result.
std::shared_ptr<SharedBackend> OpenSharedBackend(const std::filesystem::path& path,
                                                 const Clock& clock);

}  // namespace cn::components

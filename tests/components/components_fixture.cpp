#include "components_fixture.h"

#include <unistd.h>

#include <atomic>


namespace cn::components::testing {

ComponentsTest::ComponentsTest() {
  static std::atomic<int> counter{0};
  directory_ = std::filesystem::temp_directory_path() /
               ("covernote-components-" + std::to_string(::getpid()) + "-" +
                std::to_string(counter++));
  std::filesystem::create_directories(directory_);
  database_path_ = directory_ / "covernote.db";
  backend_ = OpenSharedBackend(database_path_, clock_);
}

ComponentsTest::~ComponentsTest() {
  backend_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

}  // namespace cn::components::testing

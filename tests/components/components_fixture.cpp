#include "components_fixture.h"

#include <unistd.h>

#include <atomic>

#include "base/separators.h"
#include "base/text.h"

namespace cn::components::testing {

DateTime Today() { return DateTime{*Date::FromYmd(2025, 6, 15), *Time::FromHms(10, 0, 0)}; }

ComponentsTest::ComponentsTest() {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  directory_ = std::filesystem::temp_directory_path() /
               ("covernote-components-" + std::to_string(::getpid()) + "-" +
                std::to_string(counter++) + "-" + info->name());
  std::filesystem::create_directories(directory_);
  database_path_ = directory_ / "covernote.db";
  backend_ = OpenSharedBackend(database_path_, clock_);
}

ComponentsTest::~ComponentsTest() {
  backend_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

std::string Params(const std::vector<std::string>& values) { return Join(values, ParamSeparator); }

}  // namespace cn::components::testing

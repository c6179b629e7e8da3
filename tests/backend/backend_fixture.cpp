#include "backend_fixture.h"

#include <atomic>
#include <unistd.h>

#include "base/separators.h"
#include "base/text.h"

namespace cn::backend::testing {

BackendTest::BackendTest() : clock_(SystemClock().Now()) {
  static std::atomic<int> counter{0};
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  directory_ = std::filesystem::temp_directory_path() /
               ("covernote-backend-" + std::to_string(::getpid()) + "-" +
                std::to_string(counter++) + "-" + info->name());
  std::filesystem::create_directories(directory_);
  path_ = directory_ / "covernote.db";
  backend_ = std::make_unique<Backend>(path_, clock_);
}

BackendTest::~BackendTest() {
  backend_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
}

std::string BackendTest::Query(const std::string& sql) {
  Statement& statement = backend_->database().Prepare(sql);
  return statement.Step() ? statement.Text(0) : std::string("<no row>");
}

std::string Params(const std::vector<std::string>& values) { return Join(values, ParamSeparator); }
std::vector<std::string> Fields(std::string_view text) { return Split(text, FieldSeparator); }
std::vector<std::string> Records(std::string_view text) { return Split(text, RecordSeparator); }
std::vector<std::string> ListValues(std::string_view text) {
  return Split(text, DialogArgSeparator);
}
std::string JoinFields(const std::vector<std::string>& fields) {
  return Join(fields, FieldSeparator);
}

}  // namespace cn::backend::testing

namespace cn::backend::testing {
std::string Field(std::string_view text, std::size_t n) {
  const auto fields = Fields(text);
  return n < fields.size() ? fields[n] : std::string("<none>");
}
}  // namespace cn::backend::testing

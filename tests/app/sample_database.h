#pragma once
// The sample database in a folder of the test's own, on a fixed clock (5 December 2026,
// 10:00), removed with it; and a command's parameters as the screen joins them.

#include <filesystem>
#include <memory>
#include <string>

#include "backend/backend.h"
#include "base/clock.h"
#include "base/separators.h"
#include "base/text.h"
#include "../base/temp_folder.h"

namespace cn::testing {

inline std::string Params(std::initializer_list<std::string_view> parts) {
  return Join(std::vector<std::string>(parts.begin(), parts.end()), ParamSeparator);
}

struct SampleDatabase {
  explicit SampleDatabase(const std::string& name) : folder(name) {}

  const TempFolder folder;  // outlives the back end
  const FixedClock clock{{*Date::FromYmd(2026, 12, 5), *Time::FromHms(10, 0, 0)}};
  const std::unique_ptr<backend::Backend> backend =
      std::make_unique<backend::Backend>(folder.path / "sample.db", clock);
};

}  // namespace cn::testing

#pragma once
// A seeded database of its own for each test, the product's components on it,
// a fixed "today" and a dialog host that records what it was asked to show.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "base/clock.h"
#include "components/shared_backend.h"
#include "fake_ports.h"

namespace cn::components::testing {

using cn::testing::FakeDialogs;

class ComponentsTest : public ::testing::Test {
 protected:
  ComponentsTest();
  ~ComponentsTest() override;

  std::filesystem::path directory_;
  std::filesystem::path database_path_;
  FixedClock clock_{DateTime{*Date::FromYmd(2025, 6, 15), *Time::FromHms(10, 0, 0)}};
  std::shared_ptr<SharedBackend> backend_;
  std::shared_ptr<FakeDialogs> dialogs_ = std::make_shared<FakeDialogs>();
};

}  // namespace cn::components::testing

#pragma once
// A seeded database of its own for each test, the product's components on it,
// a fixed "today" and a dialog host that records what it was asked to show.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "../base/temp_folder.h"
#include "base/clock.h"
#include "components/shared_backend.h"
#include "fake_ports.h"

namespace cn::components::testing {

using cn::testing::FakeDialogs;

class ComponentsTest : public ::testing::Test {
 protected:
  const cn::testing::TempFolder folder_{"covernote-components"};  // outlives the back end
  const std::filesystem::path& directory_ = folder_.path;
  const std::filesystem::path database_path_ = directory_ / "covernote.db";
  FixedClock clock_{DateTime{*Date::FromYmd(2025, 6, 15), *Time::FromHms(10, 0, 0)}};
  std::shared_ptr<SharedBackend> backend_ = OpenSharedBackend(database_path_, clock_);
  std::shared_ptr<FakeDialogs> dialogs_ = std::make_shared<FakeDialogs>();
};

}  // namespace cn::components::testing

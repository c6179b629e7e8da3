// Each administrator's screen keeps its selection lists in a folder of its own, gone with the
// session; folders of a server that died are cleared when the next one starts.
#include "app/session_screens.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../base/temp_folder.h"
#include "fake_ports.h"

namespace cn::app {
namespace {

namespace fs = std::filesystem;

std::size_t Entries(const fs::path& folder) {
  std::error_code error;
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder, error), fs::directory_iterator()));
}

TEST(SessionScreens, EverySessionHasItsOwnSelectionFolderRemovedWhenItEnds) {
  const cn::testing::TempFolder folder("covernote-screens");
  const fs::path& root = folder.path;
  // The settings file's folder is the installation path of a new settings file.
  const fs::path sessions = root / "Sessions", dead = sessions / "2147483646-1";  // no such process
  const fs::path own = sessions / (std::to_string(::getpid()) + "-99");            // this process's
  fs::create_directories(dead);
  fs::create_directories(own);
  const auto product = OpenProduct({.database = root / "covernote.db", .settings = root / "settings.toml"});
  EXPECT_EQ(std::make_pair(fs::exists(dead), fs::exists(own)), std::make_pair(false, true));
  fs::remove_all(own);
  const auto screens = SessionScreens(product, COVERNOTE_PAGES_DIR);
  auto alice = screens({"ALICE", "A1001", "A"}, std::make_shared<cn::testing::FakeDialogs>());
  auto bob = screens({"BOB", "A2001", "A"}, std::make_shared<cn::testing::FakeDialogs>());
  EXPECT_EQ(Entries(sessions), 2u);
  EXPECT_TRUE(alice.dialog_pages);
  alice = {};
  EXPECT_EQ(Entries(sessions), 1u);
  bob = {};
  EXPECT_EQ(Entries(sessions), 0u);
}

}  // namespace
}  // namespace cn::app

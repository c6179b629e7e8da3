// Each administrator's screen keeps its selection lists in a folder of its own, gone with the
// session; folders of a server that died are cleared when the next one starts.
#include "app/session_screens.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace cn::app {
namespace {

namespace fs = std::filesystem;

class QuietDialogs final : public dom::DialogHost {
 public:
  int MessageBox(std::string_view, int, std::string_view) override { return 1; }
  std::string ShowModalDialog(std::string_view, std::string_view, std::string_view) override { return ""; }
};

std::size_t Entries(const fs::path& folder) {
  std::error_code error;
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder, error), fs::directory_iterator()));
}

TEST(SessionScreens, EverySessionHasItsOwnSelectionFolderRemovedWhenItEnds) {
  const fs::path root = fs::temp_directory_path() / ("covernote-screens-" + std::to_string(::getpid()));
  fs::remove_all(root);
  // The settings file's folder is the installation path of a new settings file.
  const fs::path sessions = root / "Sessions";
  fs::create_directories(sessions / "2147483646-1");  // no such process: left by a dead server
  fs::create_directories(sessions / (std::to_string(::getpid()) + "-99"));  // this process's own
  {
    const auto product = OpenProduct({.database = root / "covernote.db", .settings = root / "settings.toml"});
    EXPECT_FALSE(fs::exists(sessions / "2147483646-1"));
    EXPECT_TRUE(fs::exists(sessions / (std::to_string(::getpid()) + "-99")));
    fs::remove_all(sessions / (std::to_string(::getpid()) + "-99"));

    const auto screens = SessionScreens(product, COVERNOTE_PAGES_DIR);
    auto alice = screens({"ALICE", "A1001", "A"}, std::make_shared<QuietDialogs>());
    auto bob = screens({"BOB", "A2001", "A"}, std::make_shared<QuietDialogs>());
    EXPECT_EQ(Entries(sessions), 2u);
    ASSERT_TRUE(alice.dialog_pages);
    alice = {};
    EXPECT_EQ(Entries(sessions), 1u);
    bob = {};
    EXPECT_EQ(Entries(sessions), 0u);
  }
  fs::remove_all(root);
}

}  // namespace
}  // namespace cn::app

// The selection file handed to the selection dialog.
#include "integration/selection_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../base/temp_folder.h"
#include "base/separators.h"
#include "fake_components.h"
#include "fake_ports.h"

namespace cn::testing {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class SelectionFileTest : public ::testing::Test {
 protected:
  SelectionFileTest() { SetInstallation(root_.string()); }
  void SetInstallation(const std::string& path) {
    world_.registry.values[{"Software\\Brindle\\Kivo\\Zelkor", "Installation Path"}] = path;
  }

  const TempFolder folder_{"covernote-selection"};
  const fs::path& root_ = folder_.path;
  FakeWorld world_;
};

TEST_F(SelectionFileTest, EachWriteReplacesTheFileInUtf16) {
  const std::string first =
      Records({Fields({"A1", "First model, long name"}), Fields({"A2", "Second"})});
  const std::string second = Records({Fields({"B1", "Caf\xC3\xA9 \xF0\x9F\x9A\x97"})});

  WriteSelectionFile(world_.components, first);  // creates Temp
  const fs::path file = root_ / "Temp" / "mySelect.txt";
  EXPECT_EQ(FileBytes(file), EncodeUtf16File(first));
  WriteSelectionFile(world_.components, second);
  EXPECT_EQ(FileBytes(file), EncodeUtf16File(second));
  EXPECT_EQ(world_.registry.reads,
            (std::vector<std::string>{"Installation Path", "Installation Path"}));
}

TEST_F(SelectionFileTest, SeparatorsAreSingleUtf16Units) {
  EXPECT_EQ(EncodeUtf16File(std::string("a") + std::string(FieldSeparator)),
            std::string("\xFF\xFE\x61\0\xFE\xFF", 6));
  EXPECT_EQ(EncodeUtf16File(""), "\xFF\xFE");
  EXPECT_EQ(EncodeUtf16File("\xFF"), "\xFF\xFE\xFD\xFF");  // a stray byte
  // Beyond the basic plane: a surrogate pair.
  EXPECT_EQ(EncodeUtf16File("\xC3\xA9\xF0\x9F\x9A\x97"),
            std::string("\xFF\xFE\xE9\x00\x3D\xD8\x97\xDE", 8));
}

TEST_F(SelectionFileTest, TheBackslashPathIsAFolderPath) {
  for (const char* installation : {"/opt/kivo", "\\opt\\kivo"})
    EXPECT_EQ(SelectionFilePath(installation), fs::path("/opt/kivo/Temp/mySelect.txt")) << installation;
}

TEST_F(SelectionFileTest, AMissingInstallationIsAClearFailure) {
  SetInstallation("");
  EXPECT_THROW(WriteSelectionFile(world_.components, "x"), RuntimeFailure);
  SetInstallation((root_ / "missing").string());
  EXPECT_THROW(WriteSelectionFile(world_.components, "x"), RuntimeFailure);
  EXPECT_FALSE(fs::exists(root_ / "missing"));
}

}  // namespace
}  // namespace cn::testing

#pragma once
// A folder of the test's own in the temporary folder, named for the test program's process so
// that programs running side by side keep apart; emptied as it is made, removed with it.

#include <unistd.h>

#include <filesystem>
#include <string>

namespace cn::testing {

struct TempFolder {
  explicit TempFolder(const std::string& name)
      : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }

  const std::filesystem::path path;
};

}  // namespace cn::testing

#include "components/data_paths.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "base/runtime_failure.h"

namespace cn::components {
namespace {

// $variable/covernote when it is an absolute path, else $HOME/fallback/covernote.
std::filesystem::path UserFolder(const char* variable, std::string_view fallback) {
  if (const char* value = std::getenv(variable); value && *value) {
    const std::filesystem::path base(value);
    if (base.is_absolute()) return base / "covernote";
  }
  const char* home = std::getenv("HOME");
  if (!home || !*home || !std::filesystem::path(home).is_absolute()) {
    throw RuntimeFailure(failure::kInvalidArgument,
                         std::string("Cannot find a folder for covernote's files: neither ") +
                             variable + " nor HOME is set to an absolute path",
                         "covernote");
  }
  return std::filesystem::path(home) / fallback / "covernote";
}

}  // namespace

std::filesystem::path DefaultDataFolder() { return UserFolder("XDG_DATA_HOME", ".local/share"); }

std::filesystem::path DefaultDatabasePath() { return DefaultDataFolder() / "covernote.db"; }

std::filesystem::path DefaultSettingsPath() {
  return UserFolder("XDG_CONFIG_HOME", ".config") / "settings.toml";
}

}  // namespace cn::components

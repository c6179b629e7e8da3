#pragma once
// Where the product keeps its files for the user running it:
//   database   $XDG_DATA_HOME/covernote/covernote.db, else ~/.local/share/covernote/covernote.db
//   settings   $XDG_CONFIG_HOME/covernote/settings.toml, else ~/.config/covernote/settings.toml
// The data folder is also the default installation path (selection files go
// into its Temp folder). Relative XDG values are ignored, as the XDG rules say.

#include <filesystem>

namespace cn::components {

// Throw RuntimeFailure when neither the XDG variable nor HOME is usable.
std::filesystem::path DefaultDataFolder();
std::filesystem::path DefaultDatabasePath();
std::filesystem::path DefaultSettingsPath();

}  // namespace cn::components

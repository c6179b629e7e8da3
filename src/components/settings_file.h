#pragma once
// The settings store of the product: a TOML file with one table per key path
// and the value names as its keys, for example
//
//   ["Software\\Brindle\\Kivo\\Zelkor\\UI"]
//   "Use Local Table" = "0"
//
// Values are texts; a whole number is accepted and read as its decimal text.
// Key paths and value names match ignoring letter case, as registry names do.

#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cn::components {

inline constexpr std::string_view kProductKeyPath = "Software\\Brindle\\Kivo\\Zelkor";
inline constexpr std::string_view kUserIdKeyPath = "Software\\Brindle\\Kivo\\Zelkor\\UserId";
inline constexpr std::string_view kUiKeyPath = "Software\\Brindle\\Kivo\\Zelkor\\UI";
// Under kProductKeyPath: the folder selection files and session folders go in.
inline constexpr std::string_view kInstallationPathName = "Installation Path";

struct SettingValue {
  std::string key_path;
  std::string value_name;
  std::string value;
};

class Settings {
 public:
  Settings() = default;
  explicit Settings(std::span<const SettingValue> values);

  // Throw RuntimeFailure naming the file, line and column of malformed TOML, and
  // the key path and value name of an entry that is not a text or whole number.
  static Settings Parse(std::string_view toml_text, std::string_view source_name);
  static Settings Load(const std::filesystem::path& path);

  std::optional<std::string> Find(std::string_view key_path, std::string_view value_name) const;

 private:
  void Set(std::string_view key_path, std::string_view value_name, std::string value);

  std::map<std::pair<std::string, std::string>, std::string> values_;
};

// What a new settings file holds: back-end lists, the sample head-office
// administrator as the user, the sample insurer, and `installation_path`.
std::vector<SettingValue> DefaultSettings(const std::filesystem::path& installation_path);

// The values as the text of a settings file.
std::string SettingsText(std::span<const SettingValue> values);

// Loads the file, first writing the default one (and its folder) when there is
// none. Throws RuntimeFailure when it can be neither read nor written.
Settings LoadOrCreateSettings(const std::filesystem::path& path,
                              const std::filesystem::path& installation_path);

}  // namespace cn::components

#include "components/settings_file.h"

#include <toml++/toml.h>

#include <fstream>
#include <sstream>
#include <system_error>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "components/insurer_settings.h"

namespace cn::components {
namespace {

constexpr std::string_view kSource = "Settings";
constexpr std::int32_t kPathFileAccessError = 75;

[[noreturn]] void Malformed(std::string description) {
  throw RuntimeFailure(failure::kInvalidArgument, std::move(description), std::string(kSource));
}

[[noreturn]] void FileFailure(const std::filesystem::path& path, std::string_view what) {
  throw RuntimeFailure(kPathFileAccessError,
                       std::string(what) + " the settings file " + path.string(),
                       std::string(kSource));
}

std::optional<std::string> ValueText(const toml::node& node) {
  if (const auto* text = node.as_string()) return text->get();
  if (const auto* number = node.as_integer()) return std::to_string(number->get());
  return std::nullopt;
}

}  // namespace

Settings::Settings(std::span<const SettingValue> values) {
  for (const SettingValue& value : values) Set(value.key_path, value.value_name, value.value);
}

void Settings::Set(std::string_view key_path, std::string_view value_name, std::string value) {
  values_[{UCase(key_path), UCase(value_name)}] = std::move(value);
}

Settings Settings::Parse(std::string_view toml_text, std::string_view source_name) {
  toml::table document;
  try {
    document = toml::parse(toml_text, source_name);
  } catch (const toml::parse_error& error) {
    const toml::source_position where = error.source().begin;
    Malformed("The settings file " + std::string(source_name) + " is not valid TOML (line " +
              std::to_string(where.line) + ", column " + std::to_string(where.column) +
              "): " + std::string(error.description()));
  }
  Settings settings;
  for (const auto& [key_path, node] : document) {
    const toml::table* values = node.as_table();
    if (!values) {
      Malformed("In the settings file " + std::string(source_name) + ", \"" +
                std::string(key_path.str()) +
                "\" must be a table of values named under its key path");
    }
    for (const auto& [value_name, value] : *values) {
      std::optional<std::string> text = ValueText(value);
      if (!text) {
        Malformed("In the settings file " + std::string(source_name) + ", value \"" +
                  std::string(value_name.str()) + "\" under \"" + std::string(key_path.str()) +
                  "\" must be a text or a whole number");
      }
      settings.Set(key_path.str(), value_name.str(), std::move(*text));
    }
  }
  return settings;
}

Settings Settings::Load(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) FileFailure(path, "Cannot read");
  std::ostringstream text;
  text << file.rdbuf();
  return Parse(text.str(), path.string());
}

std::optional<std::string> Settings::Find(std::string_view key_path,
                                          std::string_view value_name) const {
  const auto found = values_.find({UCase(key_path), UCase(value_name)});
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::vector<SettingValue> DefaultSettings(const std::filesystem::path& installation_path) {
  std::vector<SettingValue> values = {
      {std::string(kProductKeyPath), std::string(kInstallationPathName),
       installation_path.string()},
      {std::string(kUiKeyPath), "Use Local Table", "0"},
      {std::string(kUserIdKeyPath), "_CurrentUserID", "ADMIN"},
      {std::string(kUserIdKeyPath), "_CurrentAgentType", "H"},
      {std::string(kUserIdKeyPath), "_CurrentAgentCode", "HQ001"},
  };
  for (SettingValue& value : SampleInsurerSettings()) values.push_back(std::move(value));
  return values;
}

std::string SettingsText(std::span<const SettingValue> values) {
  toml::table document;
  for (const SettingValue& value : values) {
    auto [slot, added] = document.insert(value.key_path, toml::table{});
    slot->second.as_table()->insert_or_assign(value.value_name, value.value);
  }
  std::ostringstream text;
  text << "# covernote settings: one table per key path, value names as keys.\n"
          "# A value that is missing reads as an empty text.\n\n"
       << document << "\n";
  return text.str();
}

Settings LoadOrCreateSettings(const std::filesystem::path& path,
                              const std::filesystem::path& installation_path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    if (error) FileFailure(path, "Cannot create the folder of");
    std::ofstream file(path, std::ios::binary);
    file << SettingsText(DefaultSettings(installation_path));
    if (!file.flush()) FileFailure(path, "Cannot write");
  }
  return Settings::Load(path);
}

}  // namespace cn::components

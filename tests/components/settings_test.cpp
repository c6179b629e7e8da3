#include <gmock/gmock.h>

#include <fstream>

#include "../base/failure_text.h"
#include "components/settings_file.h"
#include "components/settings_registry.h"
#include "components_fixture.h"

namespace cn::components::testing {
namespace {

using ::testing::HasSubstr;

constexpr std::string_view kSample = R"toml(
["Software\\Brindle\\Kivo\\Zelkor"]
"Installation Path" = "/srv/covernote"

["Software\\Brindle\\Kivo\\Zelkor\\UI"]
"Use Local Table" = 1

["Software\\Brindle\\Kivo\\Zelkor\\UserId"]
_CurrentUserID = "TERATAI01"
_CurrentAgentCode = "A1001"
_CurrentAgentType = "A"
)toml";

std::string Read(Registry& registry, std::string_view key, std::string_view name) {
  return registry.GetKeyValue(kLocalMachineRoot, key, name);
}

TEST(SettingsRegistryTest, ValuesByKeyPathAndNameIgnoringCase) {
  SettingsRegistry registry(std::make_shared<const Settings>(Settings::Parse(kSample, "t")));
  EXPECT_EQ(Read(registry, kUserIdKeyPath, "_CurrentUserID"), "TERATAI01");
  EXPECT_EQ(Read(registry, "SOFTWARE\\brindle\\KIVO\\zelkor\\userid", "_currentagentcode"),
            "A1001");
  EXPECT_EQ(Read(registry, kUiKeyPath, "Use Local Table"), "1");  // a number reads as text
  // Missing values, key paths and other roots read as empty texts.
  EXPECT_EQ(Read(registry, kUiKeyPath, "Colour"), "");
  EXPECT_EQ(Read(registry, "Software\\Elsewhere", "Use Local Table"), "");
  EXPECT_EQ(registry.GetKeyValue(0x80000001u, kUiKeyPath, "Use Local Table"), "");
}

TEST(SettingsRegistryTest, EachSessionSeesItsOwnIdentityOverTheSharedSettings) {
  const auto shared = std::make_shared<const Settings>(Settings::Parse(kSample, "t"));
  const auto session = [&](std::string_view user, std::string_view agent, std::string_view type) {
    return OverridingRegistry(std::make_unique<SettingsRegistry>(shared),
                              std::make_shared<const Settings>(IdentityOverrides(user, agent, type)));
  };
  OverridingRegistry borneo = session("BORNEO01", "A2001", "A");
  OverridingRegistry admin = session("ADMIN", "HQ001", "H");
  EXPECT_EQ(Read(borneo, kUserIdKeyPath, "_CurrentUserID"), "BORNEO01");
  EXPECT_EQ(Read(admin, kUserIdKeyPath, "_CurrentAgentType"), "H");
  // Everything else is shared.
  EXPECT_EQ(Read(borneo, kUiKeyPath, "Use Local Table"), "1");
  EXPECT_EQ(Read(admin, kProductKeyPath, "Installation Path"), "/srv/covernote");
}

TEST(SettingsFileTest, MalformedFilesAreClearFailures) {
  // clang-format off
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"[\"Software\\\\X\"]\n\"Use Local Table\" = \"0\n", "is not valid TOML (line 2"},
      {"[\"Software\\\\X\"]\nnames = [\"a\", \"b\"]\n", "value \"names\" under \"Software\\X\" must be a text"},
      {"\"Use Local Table\" = \"0\"\n", "must be a table of values"},
      {"[Software.Brindle]\nKivo = \"x\"\n", "\"Brindle\" under \"Software\""},
  };
  // clang-format on
  for (const auto& [toml, words] : cases)
    EXPECT_THAT(FailureText([&] { Settings::Parse(toml, "settings.toml"); }), HasSubstr(words));
}

TEST(SettingsFileTest, WrittenSettingsReadBackUnchanged) {
  const std::vector<SettingValue> values = {
      {"Software\\Brindle\\Kivo\\Zelkor", "Installation Path", "C:\\Kivo \"main\""},
      {"Software\\Brindle\\Kivo\\Zelkor\\UI", "Use Local Table", "0"},
      {"Software\\Brindle\\Kivo\\Zelkor\\UI", "Ünïcode name", "välue"},
  };
  const Settings read = Settings::Parse(SettingsText(values), "written");
  for (const SettingValue& value : values)
    EXPECT_EQ(read.Find(value.key_path, value.value_name), value.value) << value.value_name;
}

class SettingsFileOnDisk : public ComponentsTest {};

TEST_F(SettingsFileOnDisk, AMissingFileIsCreatedWithDefaultsAnEditedOneKeptABrokenOneRefused) {
  const auto path = directory_ / "config" / "covernote" / "settings.toml";
  const Settings created = LoadOrCreateSettings(path, directory_ / "data");
  ASSERT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(created.Find(kUiKeyPath, "Use Local Table"), "0");
  EXPECT_EQ(created.Find(kUserIdKeyPath, "_CurrentUserID"), "ADMIN");
  EXPECT_EQ(created.Find(kProductKeyPath, "Installation Path"), (directory_ / "data").string());

  std::ofstream(path) << kSample;
  EXPECT_EQ(LoadOrCreateSettings(path, directory_).Find(kUiKeyPath, "Use Local Table"), "1");

  std::ofstream(path) << "[broken";
  EXPECT_THROW(LoadOrCreateSettings(path, directory_), RuntimeFailure);
  // An unwritable place is a clear failure.
  EXPECT_THAT(FailureText([&] { LoadOrCreateSettings(path / "settings.toml", directory_); }),
              ::testing::MatchesRegex("75: .*settings file.*"));  // Path/File access error
}

}  // namespace
}  // namespace cn::components::testing

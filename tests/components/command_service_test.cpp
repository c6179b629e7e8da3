#include "backend/result_codes.h"
#include "base/separators.h"
#include "base/text.h"
#include "components/product_components.h"
#include "components/settings_registry.h"
#include "components_fixture.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"

namespace cn::components::testing {
namespace {

class ProductComponentsTest : public ComponentsTest {
 protected:
  ComponentFactories Factories(std::shared_ptr<SharedBackend> backend,
                               std::vector<SettingValue> overrides = {}) {
    const auto settings = std::make_shared<const Settings>(DefaultSettings(directory_));
    return ProductComponents({std::move(backend), settings, dialogs_, std::move(overrides)},
                             clock_);
  }
  static std::string Params(const std::vector<std::string>& values) {
    return Join(values, ParamSeparator);
  }
  // A save of CN24000101 with its premium amended, as read from `backend`.
  static std::string AmendedSave(SharedBackend& backend) {
    const auto read =
        backend.Execute("KivoGIUWR.CoverNote.ReadAdmin", Params({"CN24000101", "A1001", "0"}));
    auto record = Split(read.reply, FieldSeparator);
    record.resize(168);
    record[152] = record[153] = "";
    record[48] = "999.00";
    return Params({"ADMIN", "CN24000101", "CN24000101", Join(record, FieldSeparator)});
  }
  static std::string Version(backend::Database& db) {
    backend::Statement& query = db.Prepare(
        "SELECT version || ' ' || coalesce(amended_by, '') FROM cover_note "
        "WHERE cover_note_no = 'CN24000101'");
    std::string version = query.Step() ? query.Text(0) : "";
    query.Reset();
    return version;
  }
};

TEST_F(ProductComponentsTest, ALockedDatabaseIsARuntimeFailureOfTheCallAndNothingIsWritten) {
  backend::Backend::Options options;
  options.busy_timeout = std::chrono::milliseconds(50);
  const auto impatient = std::make_shared<SharedBackend>(
      std::make_unique<backend::Backend>(database_path_, clock_, options));
  const Components components(Factories(impatient));

  const std::string save = AmendedSave(*backend_);
  {
    backend::SqliteDatabase other(database_path_);
    backend::Transaction lock(other, backend::Transaction::Kind::kImmediate);
    ServiceGateway gateway(components);
    try {
      gateway.ExecuteCommand("KivoGIUWR.CoverNote.WriteAdmin", save);
      ADD_FAILURE() << "a locked database accepted a save";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.number() & 0xFF, 5) << failure.Text();  // busy
    }
  }
  const auto version = [&] {
    backend::SqliteDatabase db(database_path_);
    return Version(db);
  };
  EXPECT_EQ(version(), "1 ");
  ServiceGateway again(components);
  EXPECT_EQ(again.ExecuteCommand("KivoGIUWR.CoverNote.WriteAdmin", save).status,
            backend::write_admin::kSaved);
  EXPECT_EQ(version(), "2 ADMIN");
}

// The database file deleted with its folder, or replaced by a copy, under a running server:
// health fails, a save is refused with the one message that names no file, and nothing is
// written, neither to the deleted file nor to the one in its place.
TEST_F(ProductComponentsTest, ADeletedOrReplacedDatabaseIsNoticedAndNothingIsWrittenToIt) {
  for (const bool deleted : {true, false}) {
    SCOPED_TRACE(deleted ? "deleted" : "replaced");
    const cn::testing::TempFolder folder("covernote-gone");
    const auto path = folder.path / "covernote.db";
    const auto served = OpenSharedBackend(path, clock_);
    const std::string save = AmendedSave(*served);
    backend::SqliteDatabase witness(path);  // holds on to the file as it was
    if (deleted) {
      std::filesystem::remove_all(folder.path);
    } else {
      witness.ExecuteScript("VACUUM INTO '" + path.string() + ".copy'");
      std::filesystem::rename(path.string() + ".copy", path);
    }
    EXPECT_EQ(served->Health(), "the database is not available");
    try {
      ServiceGateway(Components(Factories(served)))
          .ExecuteCommand("KivoGIUWR.CoverNote.WriteAdmin", save);
      ADD_FAILURE() << "saved";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.description(), kDatabaseUnavailableText);
    }
    EXPECT_EQ(Version(witness), "1 ");
    if (!deleted) EXPECT_EQ(Version(*backend::OpenDatabase(path)), "1 ");
  }
}

TEST_F(ProductComponentsTest, TheSessionIdentityOverridesTheSharedSettings) {
  const Components components(Factories(backend_, IdentityOverrides("BORNEO01", "A2001", "A")));
  const UserIdentity identity = ReadUserIdentity(components);
  EXPECT_EQ(identity.CurrentUserId + " " + identity.CurrentAgentCode, "BORNEO01 A2001");
  EXPECT_EQ(ReadSetting(components, kUiKeyPath, "Use Local Table"), "0");

  EXPECT_THROW(ProductComponents({nullptr, nullptr, dialogs_, {}}, clock_), RuntimeFailure);
}

}  // namespace
}  // namespace cn::components::testing

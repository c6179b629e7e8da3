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
};

TEST_F(ProductComponentsTest, ALockedDatabaseIsARuntimeFailureOfTheCallAndNothingIsWritten) {
  backend::Backend::Options options;
  options.busy_timeout = std::chrono::milliseconds(50);
  const auto impatient = std::make_shared<SharedBackend>(
      std::make_unique<backend::Backend>(database_path_, clock_, options));
  const Components components(Factories(impatient));

  const auto read =
      backend_->Execute("KivoGIUWR.CoverNote.ReadAdmin", Params({"CN24000101", "A1001", "0"}));
  auto record = Split(read.reply, FieldSeparator);
  record.resize(168);
  record[152] = record[153] = "";
  record[48] = "999.00";
  const std::string save =
      Params({"ADMIN", "CN24000101", "CN24000101", Join(record, FieldSeparator)});
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
    backend::Statement& query =
        db.Prepare("SELECT version || ' ' || coalesce(amended_by, '') FROM cover_note "
                   "WHERE cover_note_no = 'CN24000101'");
    return query.Step() ? query.Text(0) : "";
  };
  EXPECT_EQ(version(), "1 ");
  ServiceGateway again(components);
  EXPECT_EQ(again.ExecuteCommand("KivoGIUWR.CoverNote.WriteAdmin", save).status,
            backend::write_admin::kSaved);
  EXPECT_EQ(version(), "2 ADMIN");
}

TEST_F(ProductComponentsTest, TheSessionIdentityOverridesTheSharedSettings) {
  const Components components(
      Factories(backend_, IdentityOverrides("BORNEO01", "A2001", "A")));
  const UserIdentity identity = ReadUserIdentity(components);
  EXPECT_EQ(identity.CurrentUserId + " " + identity.CurrentAgentCode, "BORNEO01 A2001");
  EXPECT_EQ(ReadSetting(components, kUiKeyPath, "Use Local Table"), "0");

  EXPECT_THROW(ProductComponents({nullptr, nullptr, dialogs_, {}}, clock_), RuntimeFailure);
}

}  // namespace
}  // namespace cn::components::testing

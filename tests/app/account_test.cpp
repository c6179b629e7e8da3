// The product's accounts over HTTP, as `covernote serve` wires them: the sample administrator
// must choose his own password, a user who may only enquire is refused Calculate and Save
// whatever he sends, a new database lets nobody in, and an operator's change ends the
// sessions of the account changed.
#include <gmock/gmock.h>

#include <chrono>
#include <memory>

#include "../base/temp_folder.h"
#include "app/account_watch.h"
#include "app/database_user_directory.h"
#include "app/session_screens.h"
#include "backend/accounts.h"
#include "components/database_setup.h"
#include "http_client.h"
#include "test_screen.h"
#include "web/password_hash.h"
#include "web/server.h"

namespace cn::app {
namespace {

using web::testing::Browser;
using web::testing::FormEncoded;
using web::testing::kChosenPassword;
const std::map<std::string, std::string> kForm{
    {"Content-Type", "application/x-www-form-urlencoded"}, {"Accept", "application/json"}};

// `covernote serve` in this process on a database of the test's own.
struct Served {
  explicit Served(const std::filesystem::path& root)
      : product(OpenProduct({.database = root / "covernote.db", .settings = root / "settings.toml"})),
        backend(ProductBackend(*product)) {
    web::ServerOptions options;
    options.port = 0;
    options.assets = COVERNOTE_PAGES_DIR;
    server = std::make_unique<web::Server>(options, std::make_shared<DatabaseUserDirectory>(backend),
                                           SessionScreens(product, COVERNOTE_PAGES_DIR));
    server->Start();
  }
  ~Served() { server->Stop(); }
  // A user of the agent with a password of his own.
  void Add(const std::string& user, const std::string& agent, std::string_view role) {
    backend->WithDatabase([&](backend::Database& db) {
      backend::accounts::Add(db, user, user, agent, role,
                             web::HashPassword(kChosenPassword, web::HashCost::kInteractive), false);
      backend::accounts::SetPassword(db, user, web::HashPassword(kChosenPassword, web::HashCost::kInteractive), true);
      return 0;
    });
  }
  std::string Events(const std::string& user) {
    return backend->WithDatabase([&](backend::Database& db) {
      std::string events;
      for (const auto& event : backend::accounts::Events(db, user, "", 100)) events += event.event + ";";
      return events;
    });
  }

  std::shared_ptr<const ServedProduct> product;
  std::shared_ptr<components::SharedBackend> backend;
  std::unique_ptr<web::Server> server;
};

TEST(Accounts, TheSampleAdministratorChoosesHisOwnPasswordFirst) {
  const cn::testing::TempFolder folder("covernote-accounts");
  Served served(folder.path);
  Browser admin(served.server->Port());
  auto reply = admin.Send("POST", "/login", "user=admin&password=covernote", kForm);
  ASSERT_EQ(reply.status, 200);
  EXPECT_EQ(reply.Json(), (nlohmann::json{{"step", "password"}, {"user", "ADMIN"}}));
  EXPECT_EQ(admin.State().status, 401) << "no session before his own password";
  reply = admin.Send("POST", "/login/password", "password=covernote2026", kForm);
  EXPECT_EQ(reply.status, 400);
  EXPECT_EQ(reply.Json().at("message"), "That password is too easy to guess.");
  EXPECT_THAT(reply.Json().at("hints").dump(), ::testing::HasSubstr("Add another word or two."));
  reply = admin.Send("POST", "/login/password", "password=" + FormEncoded(kChosenPassword), kForm);
  ASSERT_EQ(reply.status, 200) << reply.body;
  EXPECT_EQ(admin.State().status, 200);
  // The demo password opens nothing any more; his own opens the screen at once.
  EXPECT_EQ(Browser(served.server->Port()).Send("POST", "/login", "user=admin&password=covernote", kForm).status,
            401);
  EXPECT_TRUE(Browser(served.server->Port()).LogIn("admin", FormEncoded(kChosenPassword)));
  EXPECT_EQ(served.Events("ADMIN"), "password changed;login;login failed;login;");
}

// The screen shows Calculate and Save off; the server refuses them all the same, and the back
// end would too.
TEST(Accounts, AUserWhoMayOnlyEnquireIsRefusedCalculateAndSaveWhateverHeSends) {
  const cn::testing::TempFolder folder("covernote-accounts");
  Served served(folder.path);
  served.Add("READER", "A1001", backend::accounts::kEnquire);
  Browser reader(served.server->Port());
  ASSERT_TRUE(reader.LogIn("reader", FormEncoded(kChosenPassword)));
  const auto state = reader.State().Json();
  for (const char* id : {"cmdSave", "cmdCalculate"}) {
    const auto refused = reader.Post("/api/event", {{"seen", state.at("seq")}, {"kind", "command"}, {"id", id}});
    EXPECT_EQ(refused.status, 403) << id;
    EXPECT_EQ(refused.Json().at("message"),
              "Shown read-only: your account may enquire only; it cannot calculate or save.");
  }
  EXPECT_EQ(reader.Post("/api/event", {{"seen", state.at("seq")}, {"kind", "command"}, {"id", "cmdReset"}}).status,
            200);
}

// A tab's journal is replayed through the same events and checks as live actions: it reads no
// note of another agent's, saves nothing for a user who may only enquire, is not applied over a
// note saved since, and is refused whole, with a reason, when malformed, too long or naming an
// element that is not there.
TEST(Accounts, AJournalCanDoNothingTheLiveScreenCannot) {
  const cn::testing::TempFolder folder("covernote-accounts");
  Served served(folder.path);
  served.Add("CLERK", "A1001", backend::accounts::kAmend);
  served.Add("READER", "A1001", backend::accounts::kEnquire);
  const auto logged_in = [&](const char* user) {
    Browser browser(served.server->Port());
    EXPECT_TRUE(browser.LogIn(user, FormEncoded(kChosenPassword)));
    EXPECT_EQ(browser.State().status, 200);
    return browser;
  };
  Browser clerk = logged_in("clerk"), reader = logged_in("reader");
  // A live read says which note the journal starts from, and its version.
  const nlohmann::json state = clerk.State().Json();
  const std::string frame = std::to_string(state.at("frame").at("key").get<int>());
  const auto read = clerk.Post(
      "/api/event",
      {{"seen", state.at("seq")},
       {"kind", "element"},
       {"page", state.at("frame").at("key")},
       {"node", web::testing::NodeOf(state.at("frame"), "cmdReadCNoteNo")},
       {"event", "click"},
       {"values",
        {{frame,
          {{std::to_string(web::testing::NodeOf(state.at("frame"), "txtCoverNoteNumber")),
            "CN24000101"}}}}}});
  const nlohmann::json note = read.Json().at("note");
  ASSERT_EQ(note.at("number"), "CN24000101");
  const auto rebuilt = [](Browser& browser, const nlohmann::json& journal) {
    browser.screen = "rebuilt-tab";
    const auto reply = browser.Post("/api/screen", {{"journal", journal}});
    return reply.status == 200 ? reply.Json().at("status") : reply.Json().at("message");
  };
  const nlohmann::json save = nlohmann::json::array({{{"command", "cmdSave"}}});
  const nlohmann::json other_agents = {{"number", "CN24000109"}, {"key", "9.1"}};
  const nlohmann::json saved_since = {{"number", "CN24000101"}, {"key", "1.0"}};
  const nlohmann::json missing = nlohmann::json::array(
      {{{"on", {{"page", "tab"}, {"id", "txtNoSuchBox"}}}, {"event", "click"}}});
  nlohmann::json too_long = nlohmann::json::array();
  for (int i = 0; i <= 1000; ++i) too_long.push_back({{"tab", "COVCover"}});
  struct Case {
    Browser* browser;
    nlohmann::json journal;
    std::string said;
  };
  const Case cases[] = {
      {&clerk,
       {{"note", note}, {"entries", nlohmann::json::array()}},
       "Reconnected — your unsaved changes were restored."},
      {&clerk,
       {{"note", other_agents}, {"entries", save}},
       "Reconnected, but CN24000109 could not be read again: your unsaved changes were not "
       "applied."},
      {&reader,
       {{"note", note}, {"entries", save}},
       "Reconnected, but your unsaved changes could not be restored (action 1: Shown read-only: "
       "your account may "
       "enquire only; it cannot calculate or save.)."},
      {&clerk,
       {{"note", saved_since}, {"entries", save}},
       "Reconnected, but CN24000101 was saved by someone else since this tab read it: your unsaved "
       "changes were not "
       "applied."},
      {&clerk,
       {{"note", note}, {"entries", missing}},
       "Reconnected, but your unsaved changes could not be restored (action 1: there is no element "
       "\"txtNoSuchBox\" "
       "on the page)."},
      {&clerk, "entries", "The tab's journal cannot be replayed: it is not an object."},
      {&clerk,
       {{"entries", {{{"tab", "COVCover"}, {"command", "cmdSave"}}}}},
       "The tab's journal cannot be replayed: entry 1 is not one action."},
      {&clerk,
       {{"entries", too_long}},
       "The tab's journal cannot be replayed: it holds 1001 actions, more than the 1000 kept."},
  };
  for (const Case& one : cases)
    EXPECT_EQ(rebuilt(*one.browser, one.journal), one.said) << one.journal.dump().substr(0, 200);
}

TEST(Accounts, ANewDatabaseLetsNobodyIn) {
  const cn::testing::TempFolder folder("covernote-accounts");
  components::InitDatabase(folder.path / "covernote.db", false);
  Served served(folder.path);
  for (const char* form : {"user=admin&password=covernote", "user=supervisor&password="})
    EXPECT_EQ(Browser(served.server->Port()).Send("POST", "/login", form, kForm).status, 401) << form;
}

// `covernote user disable` (or passwd, role, mfa-reset) ends the user's sessions on every
// server at its next look; `unlock` lets a locked-out name in again.
TEST(Accounts, AnOperatorsChangeEndsTheSessionsOfTheAccount) {
  const cn::testing::TempFolder folder("covernote-accounts");
  Served served(folder.path);
  served.Add("CLERK", "A1001", backend::accounts::kAmend);
  AccountWatch watch(served.backend, {.changed = [&](const std::string& user) { served.server->EndSessionsOf(user); },
                                      .unlocked = [&](const std::string& user) { served.server->ForgetFailures(user); }},
                     std::chrono::hours(1));
  Browser clerk(served.server->Port());
  ASSERT_TRUE(clerk.LogIn("clerk", FormEncoded(kChosenPassword)));
  for (int i = 0; i < 10; ++i) Browser(served.server->Port()).Send("POST", "/login", "user=clerk&password=x", kForm);
  EXPECT_EQ(Browser(served.server->Port()).Send("POST", "/login", "user=clerk&password=x", kForm).status, 429);
  served.backend->WithDatabase([](backend::Database& db) {
    backend::accounts::Unlock(db, "CLERK");
    backend::accounts::SetRole(db, "CLERK", backend::accounts::kEnquire);
    return 0;
  });
  watch.Look();
  EXPECT_EQ(clerk.State().status, 401);
  Browser again(served.server->Port());
  EXPECT_TRUE(again.LogIn("clerk", FormEncoded(kChosenPassword)));
}

}  // namespace
}  // namespace cn::app

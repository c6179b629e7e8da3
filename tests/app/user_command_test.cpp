// `covernote user`, each sub-command and its refusals in turn, on a SQLite file and (as
// postgres.UserCommand.*) on a PostgreSQL database: what it says, its exit code, and what it
// leaves in the accounts.
#include "app/user_command.h"

#include <gmock/gmock.h>

#include <regex>
#include <sstream>

#include "../backend/backend_fixture.h"
#include "backend/accounts.h"

namespace cn::app {
namespace {

using backend::testing::BackendTest;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kStrong = "winter kettle saffron 19 pagoda\n";

class UserCommandTest : public BackendTest {};

TEST_F(UserCommandTest, EachSubCommandSaysWhatItDidOrWhyNot) {
  struct Step {
    UserCommand command;
    std::string input;  // standard input; the password with --password-stdin
    int exit;
    std::string said;  // a pattern of what it wrote, out and err together
  };
  const auto user = [](std::string action, std::string name = "alice") {
    UserCommand command;
    command.action = std::move(action);
    command.user = std::move(name);
    command.password_stdin = true;
    return command;
  };
  const auto with = [](UserCommand command, auto change) {
    change(command);
    return command;
  };
  const auto agent = [&](std::string action, std::string name, std::string code, std::string role = "") {
    return with(user(std::move(action), std::move(name)), [&](UserCommand& c) {
      c.agent = code;
      c.role = role;
    });
  };
  // clang-format off
  const Step steps[] = {
      {agent("add", "alice", "A1001"), kStrong, 0,
       "^Added ALICE \\(agent A1001, role amend\\): the password is to be changed at the first login\\.\n$"},
      {agent("add", " Alice ", "A1001"), kStrong, 1, "a user ALICE exists already"},
      {agent("add", "bad name", "A1001"), kStrong, 1, "\"bad name\" is not a user name"},
      {agent("add", "bob", "NOPE"), kStrong, 1, "there is no agent \"NOPE\""},
      {agent("add", "bob", "A1001", "boss"), kStrong, 1, "the role must be \"amend\" or \"enquire\", not \"boss\""},
      {agent("add", "bob", "A1001"), "short pass\n", 1, "at least 12 characters"},
      {agent("add", "bob", "A1001"), "password1234\n", 1, "too easy to guess\\. .*Add another word or two"},
      {agent("add", "bob", "A1001"), "bobbobbobbob\n", 1, "too easy to guess"},
      {with(agent("add", "bob", "A1001"), [](UserCommand& c) { c.password_stdin = false; }), "", 1,
       "no terminal to ask the password on: give it on standard input with --password-stdin"},
      {agent("add", "bob", "A1001"), "", 1, "no password on standard input"},
      {user("passwd"), kStrong, 0, "^Set a new password for ALICE: it is to be changed at the next login"},
      {user("passwd", "nobody"), kStrong, 1, "there is no user NOBODY"},
      {user("disable"), "", 0, "^Disabled ALICE: no login, and the user's sessions end\\.\n$"},
      {user("enable"), "", 0, "^Enabled ALICE"},
      {user("unlock"), "", 0, "^Unlocked ALICE: the servers forget the failed logins"},
      {agent("role", "alice", "", "enquire"), "", 0, "^ALICE now has the role enquire \\(was amend\\)"},
      {agent("role", "alice", "", "admin"), "", 1, "the role must be"},
      {with(user("mfa-reset"), [](UserCommand& c) { c.require_mfa = true; }), "", 0,
       "^Removed the second factor of ALICE and its recovery codes; a new one is to be set up"},
      {user("list", ""), "", 0,
       "^user +agent +role +state +last login +MFA\nADMIN +HQ001 +amend +to change password +never +off\n"
       "ALICE +A1001 +enquire +to change password +never +required\n(.*\n)*SUPERVISOR +HQ001 +amend +no password"},
      {user("log"), "", 0,
       "ALICE +user added +command line +agent A1001, role amend \\(by .*\n.*password set.*\n.*disabled.*\n"
       ".*enabled.*\n.*unlocked.*\n.*role changed +command line +amend -> enquire.*\n.*mfa reset.*\n.*mfa required"},
      {with(user("log", ""), [](UserCommand& c) { c.since = "yesterday"; }), "", 1, "--since wants a date"},
      {with(user("log", ""), [](UserCommand& c) { c.since = "2999-01-01"; }), "", 0, "^$"},
  };
  // clang-format on
  for (const Step& step : steps) {
    UserCommand command = step.command;
    command.database = path_;
    std::istringstream input(step.input);
    std::ostringstream out;
    const int exit = RunUserCommand(command, input, out, out, nullptr);
    SCOPED_TRACE(command.action + " " + command.user);
    EXPECT_EQ(exit, step.exit) << out.str();
    EXPECT_THAT(out.str(), ContainsRegex(step.said));
    EXPECT_THAT(out.str(), Not(HasSubstr("$argon2")));
  }
  // The password set for ALICE is kept hashed, to be changed; every change raised the revision
  // the servers watch (password, disable, enable, role, reset) and the unlock its own mark.
  backend_->database().ResetStatements();
  EXPECT_EQ(Query("SELECT substr(password_hash, 1, 10) || ' ' || must_change_password || ' ' || "
                  "revision || ' ' || unlocks || ' ' || require_mfa FROM app_user WHERE user_id = 'ALICE'"),
            "$argon2id$ 1 5 1 1");
}

// Without the database named, nothing is made: the command says how to make one.
TEST_F(UserCommandTest, AMissingDatabaseIsNeverMade) {
  if (OnServer()) GTEST_SKIP() << "a server's database is made by its operator";
  UserCommand command;
  command.action = "list";
  command.database = directory_ / "missing.db";
  std::istringstream input;
  std::ostringstream out;
  EXPECT_EQ(RunUserCommand(command, input, out, out, nullptr), 1);
  EXPECT_THAT(out.str(), HasSubstr("no database here; make one with \"covernote db init --db"));
  EXPECT_FALSE(std::filesystem::exists(command.database));
}

}  // namespace
}  // namespace cn::app

#include "app/user_command.h"

#include <pwd.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "backend/accounts.h"
#include "backend/backend.h"
#include "backend/schema.h"
#include "backend/store_address.h"
#include "base/runtime_failure.h"
#include "components/data_paths.h"
#include "components/database_setup.h"
#include "web/password_hash.h"
#include "web/password_rules.h"
#include "web/user_name.h"

namespace cn::app {
namespace {

namespace accounts = backend::accounts;

// A refusal told to the operator as it is.
struct Refused : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Operator() {
  if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name != nullptr)
    return entry->pw_name;
  return "uid " + std::to_string(::geteuid());
}

// A user name as every part of the product reads it, of letters, digits, '.', '_' and '-'.
std::string UserName(std::string_view typed) {
  static const std::regex kName("[A-Z0-9._-]{1,32}");
  const auto name = web::CanonicalUserName(typed);
  if (!name || !std::regex_match(*name, kName)) {
    throw Refused("\"" + std::string(typed).substr(0, 64) +
                  "\" is not a user name: 1 to 32 letters, digits, '.', '_' or '-'");
  }
  return *name;
}

void RequireRole(std::string_view role) {
  if (!accounts::IsRole(role))
    throw Refused("the role must be \"amend\" or \"enquire\", not \"" + std::string(role) + "\"");
}

accounts::Account Existing(backend::Database& db, const std::string& user) {
  auto account = accounts::Find(db, user);
  if (!account) throw Refused("there is no user " + user);
  return *account;
}

void Note(backend::Database& db, const std::string& user, std::string event,
          std::string detail = "") {
  accounts::Record(db, {accounts::AuditTime(std::chrono::system_clock::now()), user,
                        std::move(event), std::move(detail), "command line", Operator()});
}

// The password for `user`: the first line of standard input, or asked twice on the terminal;
// judged by the rules either way.
std::string NewPassword(const UserCommand& command, const std::string& user,
                        const std::string& agent, std::istream& input,
                        const PasswordPrompt& prompt) {
  std::string password;
  if (command.password_stdin) {
    if (!std::getline(input, password)) throw Refused("no password on standard input");
    if (!password.empty() && password.back() == '\r') password.pop_back();
  } else {
    const auto first = prompt ? prompt("New password for " + user + ": ") : std::nullopt;
    if (!first) {
      throw Refused(
          "no terminal to ask the password on: give it on standard input with "
          "--password-stdin");
    }
    const auto again = prompt("The same password again: ");
    if (!again || *again != *first) throw Refused("the two passwords differ; nothing was changed");
    password = *first;
  }
  const web::PasswordVerdict verdict = web::JudgePassword(password, user, {agent});
  if (!verdict.accepted) {
    std::string message = verdict.message;
    for (const std::string& hint : verdict.hints) message += " " + hint;
    throw Refused(message);
  }
  return password;
}

std::string Hash(const std::string& password) {
  return web::HashPassword(password, web::HashCost::kInteractive);
}

std::string State(const accounts::Account& account) {
  if (account.disabled) return "disabled";
  if (!account.password_hash) return "no password";
  if (account.must_change_password) return "to change password";
  return "active";
}

std::string Mfa(const accounts::Account& account) {
  if (account.totp_confirmed) return "on";
  return account.require_mfa ? "required" : "off";
}

std::string Column(std::string text, std::size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text + "  ";
}

void List(backend::Database& db, std::ostream& out) {
  const auto all = accounts::List(db);
  out << Column("user", 12) << Column("agent", 7) << Column("role", 8) << Column("state", 18)
      << Column("last login", 20) << "MFA\n";
  for (const accounts::Account& account : all) {
    out << Column(account.user_id, 12) << Column(account.agent_code, 7)
        << Column(account.role, 8) << Column(State(account), 18)
        << Column(account.last_login_at.empty() ? "never" : account.last_login_at, 20)
        << Mfa(account) << "\n";
  }
}

void Log(backend::Database& db, const UserCommand& command, std::ostream& out) {
  static const std::regex kSince("[0-9]{4}(-[0-9]{2}(-[0-9]{2}(T[0-9]{2}(:[0-9]{2}(:[0-9]{2}Z?)?)?)?)?)?");
  if (!command.since.empty() && !std::regex_match(command.since, kSince))
    throw Refused("--since wants a date or time in UTC, such as 2026-12-05 or 2026-12-05T10:00");
  const std::string user = command.user.empty() ? std::string() : UserName(command.user);
  for (const accounts::Event& event : accounts::Events(db, user, command.since, 1000)) {
    out << event.at << "  " << Column(event.user_id, 10) << Column(event.event, 20)
        << Column(event.address, 15) << event.detail
        << (event.actor.empty() || event.actor == event.user_id ? "" : " (by " + event.actor + ")")
        << "\n";
  }
}

// Runs the sub-command in one transaction; returns its line.
std::string Run(const UserCommand& command, backend::Database& db, std::istream& input,
                std::ostream& out, const PasswordPrompt& prompt) {
  const std::string& action = command.action;
  if (action == "list") {
    List(db, out);
    return "";
  }
  if (action == "log") {
    Log(db, command, out);
    return "";
  }
  const std::string user = UserName(command.user);
  if (action == "add") {
    const std::string role = command.role.empty() ? std::string(accounts::kAmend) : command.role;
    RequireRole(role);
    if (accounts::Find(db, user)) throw Refused("a user " + user + " exists already");
    if (command.agent.empty() || !accounts::AgentExists(db, command.agent))
      throw Refused("there is no agent \"" + command.agent + "\" (--agent CODE names one)");
    const std::string hash = Hash(NewPassword(command, user, command.agent, input, prompt));
    accounts::Add(db, user, command.name.empty() ? user : command.name, command.agent, role, hash,
                  command.require_mfa);
    Note(db, user, "user added", "agent " + command.agent + ", role " + role +
                                     (command.require_mfa ? ", second factor required" : ""));
    return "Added " + user + " (agent " + command.agent + ", role " + role +
           "): the password is to be changed at the first login" +
           (command.require_mfa ? ", and a second factor set up." : ".");
  }
  const accounts::Account account = Existing(db, user);
  if (action == "passwd") {
    const std::string hash = Hash(NewPassword(command, user, account.agent_code, input, prompt));
    accounts::SetPassword(db, user, hash, /*by_user=*/false);
    Note(db, user, "password set");
    if (command.require_mfa) {
      accounts::SetRequireMfa(db, user, true);
      Note(db, user, "mfa required");
    }
    return "Set a new password for " + user +
           ": it is to be changed at the next login, and the user's sessions end.";
  }
  if (action == "disable" || action == "enable") {
    const bool disable = action == "disable";
    accounts::SetDisabled(db, user, disable);
    Note(db, user, disable ? "disabled" : "enabled");
    return disable ? "Disabled " + user + ": no login, and the user's sessions end."
                   : "Enabled " + user + ": logging in is possible again.";
  }
  if (action == "unlock") {
    accounts::Unlock(db, user);
    Note(db, user, "unlocked");
    return "Unlocked " + user + ": the servers forget the failed logins at this name.";
  }
  if (action == "role") {
    RequireRole(command.role);
    accounts::SetRole(db, user, command.role);
    Note(db, user, "role changed", account.role + " -> " + command.role);
    return user + " now has the role " + command.role + " (was " + account.role +
           "); the user's sessions end.";
  }
  if (action == "mfa-reset") {
    accounts::ResetMfa(db, user);
    Note(db, user, "mfa reset");
    if (command.require_mfa) {
      accounts::SetRequireMfa(db, user, true);
      Note(db, user, "mfa required");
    }
    return "Removed the second factor of " + user + " and its recovery codes" +
           (command.require_mfa ? "; a new one is to be set up at the next login." : ".");
  }
  throw Refused("unknown sub-command \"" + action + "\"");
}

}  // namespace

PasswordPrompt TerminalPasswordPrompt() {
  return [](std::string_view prompt) -> std::optional<std::string> {
    if (::isatty(STDIN_FILENO) == 0) return std::nullopt;
    std::cerr << prompt << std::flush;
    termios before{};
    ::tcgetattr(STDIN_FILENO, &before);
    termios quiet = before;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    ::tcsetattr(STDIN_FILENO, TCSANOW, &before);
    std::cerr << "\n";
    if (!read) return std::nullopt;
    return line;
  };
}

int RunUserCommand(const UserCommand& command, std::istream& input, std::ostream& out,
                   std::ostream& err, const PasswordPrompt& prompt) {
  try {
    const std::filesystem::path path =
        command.database.empty() ? components::DefaultDatabasePath() : command.database;
    components::RequireDatabase(path);
    const auto db = backend::OpenDatabase(path);
    backend::Migrate(*db);
    std::ostringstream listed;
    std::string line;
    {
      backend::Transaction transaction(*db, backend::Transaction::Kind::kImmediate);
      line = Run(command, *db, input, listed, prompt);
      transaction.Commit();
    }
    out << listed.str();
    if (!line.empty()) out << line << "\n";
    return 0;
  } catch (const Refused& refusal) {
    err << "covernote user " << command.action << ": " << refusal.what() << "\n";
  } catch (const RuntimeFailure& failure) {
    err << "covernote user " << command.action << ": " << failure.description() << "\n";
  } catch (const std::exception& failure) {
    err << "covernote user " << command.action << ": " << failure.what() << "\n";
  }
  return 1;
}

}  // namespace cn::app

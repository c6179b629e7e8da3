#pragma once
// `covernote user`: the accounts of the people who log in, on a SQLite file or a PostgreSQL
// database alike (backend/accounts.h). Each sub-command is one transaction, says what it did in
// one line and notes it in the audit trail; a bad name, agent or role, a weak password or a
// store that fails is told in one line on the error stream with exit code 1.
//
//   add NAME --agent CODE [--role amend|enquire] [--name TEXT] [--require-mfa]
//   passwd NAME [--require-mfa]          a password set for him: changed at his next login
//   disable NAME | enable NAME | unlock NAME
//   role NAME amend|enquire
//   mfa-reset NAME [--require-mfa]
//   list                                 name, agent, role, state, last login, MFA; no hash
//   log [NAME] [--since DATE]            the audit trail, oldest first
// A password (add, passwd) is read from the terminal without echo, twice, or from standard
// input with --password-stdin (its first line); never from the command line.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace cn::app {

struct UserCommand {
  std::string action;  // add, passwd, disable, enable, unlock, role, mfa-reset, list, log
  std::string user;
  std::string agent;
  std::string role;  // add: "amend" when not given; role: the new one
  std::string name;  // add: the person's name (default: the user name)
  bool password_stdin = false;
  bool require_mfa = false;
  std::string since;               // log: from this date or time (UTC), "2026-12-05"
  std::filesystem::path database;  // empty: the user's default database
};

// Asks for a password on the terminal without echo, with the prompt given; nothing when there
// is no terminal to ask on.
using PasswordPrompt = std::function<std::optional<std::string>(std::string_view prompt)>;
PasswordPrompt TerminalPasswordPrompt();

// Returns the exit code. `input`: standard input, for --password-stdin.
int RunUserCommand(const UserCommand& command, std::istream& input, std::ostream& out,
                   std::ostream& err, const PasswordPrompt& prompt);

}  // namespace cn::app

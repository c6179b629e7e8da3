// The `covernote` command: the administrator's cover-note amendment screen.
#include <CLI/CLI.hpp>
#include <chrono>
#include <filesystem>
#include <iostream>

#include "app/endorsement_command.h"
#include "app/play_screen.h"
#include "app/serve_command.h"
#include "app/user_command.h"
#include "base/runtime_failure.h"
#include "components/data_paths.h"
#include "components/database_setup.h"
#include "play/play_command.h"
#include "workspace/save_review.h"

namespace {

// `covernote db init|migrate|seed`. Without --db the user's own database is
// used, created and seeded first when it is missing.
int RunDatabaseCommand(const CLI::App& init, const CLI::App& migrate, const std::string& db_path,
                       bool force, bool sample) {
  namespace components = cn::components;
  try {
    std::filesystem::path path = db_path;
    if (path.empty() && init) {
      path = components::DefaultDatabasePath();
      std::filesystem::create_directories(path.parent_path());
    } else if (path.empty()) {
      path = components::EnsureDefaultDatabase();
    }
    std::cout << (init      ? components::InitDatabase(path, force, sample)
                  : migrate ? components::MigrateDatabase(path)
                            : components::SeedDatabase(path))
              << "\n";
    return 0;
  } catch (const cn::RuntimeFailure& failure) {
    std::cerr << "covernote db: " << failure.description() << "\n";
  } catch (const std::exception& failure) {
    std::cerr << "covernote db: " << failure.what() << "\n";
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "covernote - cover note amendment for administrators.\n"
      "Open an issued cover note, amend its premium, recompute and save it."};
  app.set_version_flag("--version", std::string{"covernote "} + COVERNOTE_VERSION);
  app.require_subcommand(0);

  cn::app::ServeCommand serve_command;
  cn::web::ServerOptions& serve_options = serve_command.server;
  serve_options.assets = COVERNOTE_PAGES_DIR;
  auto* serve = app.add_subcommand("serve", "Serve the screen to browsers");
  serve->add_option("--bind", serve_options.bind, "Address to listen on")->capture_default_str();
  serve->add_option("--port", serve_options.port, "Port to listen on")->capture_default_str();
  serve->add_option("--db", serve_command.database,
                    "Database file, made beforehand with `covernote db init` (default: the "
                    "user's own, made with the sample data on first use), or a shared server's "
                    "postgresql://USER@HOST/DB "
                    "address (extra parameters: pool_size, statement_timeout in ms, "
                    "connect_timeout in s)");
  serve->add_option("--server-name", serve_options.server_name,
                    "This server's name in the logs and in /healthz");
  serve->add_option("--metrics", serve_command.metrics,
                    "ADDRESS:PORT to serve /metrics on (Prometheus text), apart from the screen");
  serve->add_option("--pages", serve_options.assets, "Pages folder")->capture_default_str();
  auto* tls_cert = serve->add_option("--tls-cert", serve_options.tls_cert,
                                     "Certificate chain (PEM): serve HTTPS only")->check(CLI::ExistingFile);
  auto* tls_key = serve->add_option("--tls-key", serve_options.tls_key, "Private key of the certificate (PEM)")
                      ->check(CLI::ExistingFile);
  tls_cert->needs(tls_key);
  tls_key->needs(tls_cert);
  serve->add_flag("--tls-at-proxy", serve_options.tls_at_proxy,
                  "Browsers reach the server over HTTPS through a proxy: secure cookie and HSTS");
  serve->add_option("--allowed-origin", serve_options.allowed_origins,
                    "A page that may log in: an origin (https://host:port) or a host name; repeat for more "
                    "(default: the bind address and localhost)");
  serve->add_option("--trusted-proxy", serve_options.trusted_proxies,
                    "Address of a proxy whose X-Forwarded-For names the client; repeat for more");
  serve->add_option("--sessions-per-user", serve_options.sessions.most_per_user,
                    "Sessions one user may have at once; a new login ends his oldest (0: no limit)")
      ->capture_default_str();
  serve
      ->add_option_function<int>(
          "--evict-idle-screens-after",
          [&serve_options](int minutes) {
            serve_options.evict_idle_screens_after = std::chrono::minutes(minutes);
          },
          "Minutes after which a tab's screen not used is let go, to be rebuilt from the tab's "
          "journal at its next action (0: never)")
      ->check(CLI::NonNegativeNumber);
  serve
      ->add_option(
          "--max-connections-per-address", serve_options.most_connections_per_address,
          "Connections one client address may hold open (0: no limit; a trusted proxy has none)")
      ->capture_default_str();
  serve
      ->add_option("--max-connections", serve_options.most_connections,
                   "Connections held open in all; past it the one idle longest is closed "
                   "(default 0: three quarters of the open-file limit)")
      ->capture_default_str();

  std::string db_path;
  bool force = false;
  bool sample = false;
  auto* db = app.add_subcommand("db", "Create, migrate or fill the database");
  db->require_subcommand(1);
  auto* db_init = db->add_subcommand(
      "init", "Create a new database: the schema, code lists and agents, and no user");
  db_init->add_flag("--force", force, "Replace a database that is already there");
  db_init->add_flag("--sample", sample,
                    "Add the sample cover notes and users; the administrator ADMIN has the demo "
                    "password, to be changed at the first login");
  auto* db_migrate = db->add_subcommand("migrate", "Apply the schema steps the database lacks");
  auto* db_seed = db->add_subcommand("seed", "Add the sample data to a database without data");
  for (CLI::App* command : {db_init, db_migrate, db_seed}) {
    command->add_option("--db", db_path,
                        "Database file (default: $XDG_DATA_HOME/covernote/covernote.db or "
                        "~/.local/share/covernote/covernote.db), or a postgresql:// address");
  }

  cn::app::UserCommand user_command;
  auto* user = app.add_subcommand("user", "Add and manage the accounts that log in");
  user->require_subcommand(1);
  const auto user_name = [&](CLI::App* command) {
    command->add_option("name", user_command.user, "User name")->required();
  };
  const auto password_stdin = [&](CLI::App* command) {
    command->add_flag("--password-stdin", user_command.password_stdin,
                      "Read the password from the first line of standard input (else it is "
                      "asked on the terminal)");
  };
  const auto require_mfa = [&](CLI::App* command) {
    command->add_flag("--require-mfa", user_command.require_mfa,
                      "A second factor must be set up at the next login");
  };
  auto* user_add = user->add_subcommand("add", "Add a user, with a password to change at first login");
  user_name(user_add);
  user_add->add_option("--agent", user_command.agent, "The agent's code (HQ001: the head office)")
      ->required();
  user_add->add_option("--role", user_command.role,
                       "amend (reads, calculates and saves; the default) or enquire (reads only)");
  user_add->add_option("--name", user_command.name, "The person's name");
  password_stdin(user_add);
  require_mfa(user_add);
  auto* user_passwd = user->add_subcommand(
      "passwd", "Set a user's password; he changes it at his next login, his sessions end");
  user_name(user_passwd);
  password_stdin(user_passwd);
  require_mfa(user_passwd);
  for (const auto& [verb, help] : std::vector<std::pair<const char*, const char*>>{
           {"disable", "Stop a user logging in; his sessions end"},
           {"enable", "Let a disabled user log in again"},
           {"unlock", "Forget the failed logins that locked a user out"}}) {
    user_name(user->add_subcommand(verb, help));
  }
  auto* user_role = user->add_subcommand("role", "Change a user's role; his sessions end");
  user_name(user_role);
  user_role->add_option("role", user_command.role, "amend or enquire")->required();
  auto* user_mfa_reset =
      user->add_subcommand("mfa-reset", "Remove a user's second factor and recovery codes");
  user_name(user_mfa_reset);
  require_mfa(user_mfa_reset);
  user->add_subcommand("list", "The users: name, agent, role, state, last login, MFA");
  auto* user_log = user->add_subcommand("log", "The audit trail of the accounts, oldest first");
  user_log->add_option("name", user_command.user, "Only this user's events");
  user_log->add_option("--since", user_command.since,
                       "From this date or time in UTC (2026-12-05, 2026-12-05T10:00)");
  for (CLI::App* command : user->get_subcommands({})) {
    command->add_option("--db", user_command.database,
                        "Database file or postgresql:// address (default: the user's own)");
  }

  cn::play::PlayCommand play_command;
  play_command.pages_dir = COVERNOTE_PAGES_DIR;
  auto* play = app.add_subcommand("play", "Run a scenario headless and write its transcript");
  play->add_option("scenario", play_command.scenario, "Scenario file (JSON)")->required();
  play->add_option("--out", play_command.out, "Write the transcript here instead of to stdout");
  play->add_option("--expect", play_command.expect, "Compare with this transcript; exit 4 when it differs");
  play->add_option("--rebaseline", play_command.rebaseline, "Rewrite this expected transcript");
  play->add_option("--pages", play_command.pages_dir, "Pages folder")->capture_default_str();
  play_command.captions = &cn::WritePositionCaption;

  cn::app::EndorsementCommand endorsement_command;
  auto* endorsement = app.add_subcommand(
      "endorsement", "Write the endorsement a saved amendment made, as it was made (PDF)");
  endorsement
      ->add_option("note", endorsement_command.note,
                   "Cover note number (its newest endorsement), or an endorsement number "
                   "such as CN24000101/E2")
      ->required();
  endorsement->add_option("--version", endorsement_command.version,
                          "The endorsement of this version of the cover note");
  endorsement->add_option("--out", endorsement_command.out,
                          "File to write (default: NUMBER.pdf here, e.g. CN24000101-E2.pdf; - "
                          "for stdout)");
  endorsement->add_option("--db", endorsement_command.database,
                          "Database file or postgresql:// address (default: the user's own)");

  CLI11_PARSE(app, argc, argv);
  if (*play) return cn::play::RunPlayCommand(play_command, cn::app::PlayScreenMaker(), std::cout, std::cerr);
  if (*db) return RunDatabaseCommand(*db_init, *db_migrate, db_path, force, sample);
  if (*user) {
    user_command.action = user->get_subcommands().front()->get_name();
    return cn::app::RunUserCommand(user_command, std::cin, std::cout, std::cerr,
                                   cn::app::TerminalPasswordPrompt());
  }
  if (*endorsement)
    return cn::app::RunEndorsementCommand(endorsement_command, std::cout, std::cerr);
  if (*serve) return cn::app::RunServeCommand(std::move(serve_command));
  if (argc == 1) {
    std::cout << app.help();
  }
  return 0;
}

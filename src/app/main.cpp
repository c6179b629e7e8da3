// The `covernote` command: the administrator's cover-note amendment screen.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "app/endorsement_command.h"
#include "app/play_screen.h"
#include "app/serve_command.h"
#include "base/runtime_failure.h"
#include "components/data_paths.h"
#include "components/database_setup.h"
#include "play/play_command.h"
#include "workspace/save_review.h"

namespace {

// `covernote db init|migrate|seed`. Without --db the user's own database is
// used, created and seeded first when it is missing.
int RunDatabaseCommand(const CLI::App& init, const CLI::App& migrate, const std::string& db_path,
                       bool force) {
  namespace components = cn::components;
  try {
    std::filesystem::path path = db_path;
    if (path.empty() && init) {
      path = components::DefaultDatabasePath();
      std::filesystem::create_directories(path.parent_path());
    } else if (path.empty()) {
      path = components::EnsureDefaultDatabase();
    }
    std::cout << (init      ? components::InitDatabase(path, force)
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
                    "Database file, created with the sample data when missing (default: the "
                    "user's own, as for `db`), or a shared server's postgresql://USER@HOST/DB "
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
  auto* db = app.add_subcommand("db", "Create, migrate or fill the database");
  db->require_subcommand(1);
  auto* db_init = db->add_subcommand("init", "Create a new database with the sample data");
  db_init->add_flag("--force", force, "Replace a database that is already there");
  auto* db_migrate = db->add_subcommand("migrate", "Apply the schema steps the database lacks");
  auto* db_seed = db->add_subcommand("seed", "Add the sample data to a database without data");
  for (CLI::App* command : {db_init, db_migrate, db_seed}) {
    command->add_option("--db", db_path,
                        "Database file (default: $XDG_DATA_HOME/covernote/covernote.db or "
                        "~/.local/share/covernote/covernote.db), or a postgresql:// address");
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
  if (*db) return RunDatabaseCommand(*db_init, *db_migrate, db_path, force);
  if (*endorsement)
    return cn::app::RunEndorsementCommand(endorsement_command, std::cout, std::cerr);
  if (*serve) return cn::app::RunServeCommand(std::move(serve_command));
  if (argc == 1) {
    std::cout << app.help();
  }
  return 0;
}

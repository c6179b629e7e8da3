// The `covernote` command: the administrator's cover-note amendment screen.
#include <CLI/CLI.hpp>

#include <iostream>

#include "web/standalone.h"

int main(int argc, char** argv) {
  CLI::App app{
      "covernote - cover note amendment for administrators.\n"
      "Open an issued cover note, amend its premium, recompute and save it."};
  app.set_version_flag("--version", std::string{"covernote "} + COVERNOTE_VERSION);
  app.require_subcommand(0);

  cn::web::ServerOptions serve_options;
  serve_options.assets = COVERNOTE_PAGES_DIR;
  std::string database;
  auto* serve = app.add_subcommand("serve", "Serve the screen to browsers");
  serve->add_option("--bind", serve_options.bind, "Address to listen on")->capture_default_str();
  serve->add_option("--port", serve_options.port, "Port to listen on")->capture_default_str();
  serve->add_option("--db", database, "Database file (not used yet)");
  serve->add_option("--pages", serve_options.assets, "Pages folder")->capture_default_str();

  CLI11_PARSE(app, argc, argv);
  if (*serve) return cn::web::RunStandaloneServer(std::move(serve_options));
  if (argc == 1) {
    std::cout << app.help();
  }
  return 0;
}

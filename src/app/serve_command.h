#pragma once
// `covernote serve`: the screen's page logic on the embedded back end, served to browsers.
// Administrators log in with the back end's users; each session gets its own screen.

#include <filesystem>

#include "web/server.h"

namespace cn::app {

struct ServeCommand {
  web::ServerOptions server;
  std::filesystem::path database;  // empty: the user's default database; or postgresql://...
  std::string metrics;             // "ADDRESS:PORT" for /metrics; empty: none
};

// Serves until SIGINT or SIGTERM; returns the process exit code. Once listening, prints
// "covernote serving on http://ADDRESS:PORT" on stdout (https with a certificate; the port
// chosen when 0 was asked).
int RunServeCommand(ServeCommand command);

}  // namespace cn::app

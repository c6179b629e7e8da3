#pragma once
// The server on its own, before the screen's page logic and user database are wired in: one
// demo administrator held in memory and the shell with the workspace page and no page logic.

#include "web/server.h"

namespace cn::web {

inline constexpr std::string_view kDemoUser = "admin";
inline constexpr std::string_view kDemoPassword = "covernote";

// Serves until SIGINT or SIGTERM; returns the process exit code.
int RunStandaloneServer(ServerOptions options);

}  // namespace cn::web

#include "app/serve_command.h"

#include <spdlog/spdlog.h>

#include <iostream>
#include <system_error>

#include "app/database_user_directory.h"
#include "app/session_screens.h"
#include "base/runtime_failure.h"

namespace cn::app {

int RunServeCommand(ServeCommand command) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(command.server.assets / "app.html", error)) {
    std::cerr << "covernote serve: no pages in " << command.server.assets.string()
              << " (give the pages folder with --pages)\n";
    return 2;
  }
  try {
    auto served = OpenProduct({.database = command.database, .settings = {}});
    auto users = std::make_shared<const DatabaseUserDirectory>(ProductBackend(*served));
    auto screens = SessionScreens(served, command.server.assets);
    web::Server server(command.server, std::move(users), std::move(screens));
    server.Start();
    const bool tls = !command.server.tls_cert.empty();
    std::cout << "covernote serving on " << (tls ? "https://" : "http://") << command.server.bind << ":" << server.Port()
              << std::endl;
    server.RunUntilSignalled();
  } catch (const RuntimeFailure& failure) {
    std::cerr << "covernote serve: " << failure.description() << "\n";
    return 1;
  } catch (const std::exception& failure) {
    std::cerr << "covernote serve: " << failure.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace cn::app

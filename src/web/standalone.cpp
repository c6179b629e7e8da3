#include "web/standalone.h"

#include <spdlog/spdlog.h>

#include "web/memory_user_directory.h"

namespace cn::web {

int RunStandaloneServer(ServerOptions options) {
  auto users = std::make_shared<MemoryUserDirectory>();
  users->Add(kDemoUser, kDemoPassword, Identity{"ADMIN", "A0001", "A"});
  spdlog::warn("No user database yet: log in as '{}' with password '{}'", kDemoUser, kDemoPassword);
  const auto pages = options.assets;
  ScreenFactory screens = [pages](const Identity&, std::shared_ptr<dom::DialogHost> dialogs) {
    shell::HostShell::Options shell_options;
    shell_options.pages_dir = pages;
    shell_options.dialogs = std::move(dialogs);
    return shell::HostShell::Create(std::move(shell_options));
  };
  try {
    Server server(std::move(options), std::move(users), std::move(screens));
    server.Start();
    server.RunUntilSignalled();
  } catch (const std::exception& failure) {
    spdlog::error("{}", failure.what());
    return 1;
  }
  return 0;
}

}  // namespace cn::web

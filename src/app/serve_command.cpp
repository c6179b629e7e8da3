#include "app/serve_command.h"

#include <spdlog/spdlog.h>

#include <iostream>
#include <memory>
#include <system_error>

#include "app/database_user_directory.h"
#include "base/clock.h"
#include "base/runtime_failure.h"
#include "components/data_paths.h"
#include "components/database_setup.h"
#include "components/product_components.h"
#include "components/settings_registry.h"
#include "components/shared_backend.h"
#include "workspace/screen.h"

namespace cn::app {

namespace {

// What every session shares: the clock, the open back end and the settings file's values.
struct ServedProduct {
  SystemClock clock;
  std::shared_ptr<components::SharedBackend> backend;
  std::shared_ptr<const components::Settings> settings;
};

// One administrator's screen: his components, the page logic over them and the shell that
// shows it. Members are destroyed in reverse order, so the shell goes before the logic it
// calls and the logic before its components.
struct SessionScreen {
  SessionScreen(std::shared_ptr<const ServedProduct> served, const web::Identity& identity,
                std::shared_ptr<dom::DialogHost> dialogs)
      : product(std::move(served)),
        components(components::ProductComponents(
            {.backend = product->backend,
             .settings = product->settings,
             .dialogs = dialogs,
             .overrides = components::IdentityOverrides(identity.user_id, identity.agent_code,
                                                        identity.agent_type)},
            product->clock)),
        screen(components, product->clock) {}

  std::shared_ptr<const ServedProduct> product;
  Components components;
  Screen screen;
  std::shared_ptr<shell::HostShell> shell;
};

std::shared_ptr<const ServedProduct> OpenProduct(const std::filesystem::path& database) {
  auto served = std::make_shared<ServedProduct>();
  std::filesystem::path path = database;
  if (path.empty()) path = components::EnsureDefaultDatabase();
  served->backend = components::OpenSharedBackend(path, served->clock);
  served->settings = std::make_shared<const components::Settings>(components::LoadOrCreateSettings(
      components::DefaultSettingsPath(), components::DefaultDataFolder()));
  spdlog::info("Database {}", path.string());
  return served;
}

web::ScreenFactory SessionScreens(std::shared_ptr<const ServedProduct> served,
                                  std::filesystem::path pages) {
  return [served = std::move(served), pages = std::move(pages)](
             const web::Identity& identity, std::shared_ptr<dom::DialogHost> dialogs) {
    auto owner = std::make_shared<SessionScreen>(served, identity, dialogs);
    shell::HostShell::Options options;
    options.pages_dir = pages;
    options.page_factory = owner->screen.PageFactory();
    options.dialogs = std::move(dialogs);
    owner->shell = shell::HostShell::Create(std::move(options));
    // The session holds the shell; through it, everything the shell's pages use.
    return std::shared_ptr<shell::HostShell>(owner, owner->shell.get());
  };
}

}  // namespace

int RunServeCommand(ServeCommand command) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(command.server.assets / "app.html", error)) {
    std::cerr << "covernote serve: no pages in " << command.server.assets.string()
              << " (give the pages folder with --pages)\n";
    return 2;
  }
  try {
    auto served = OpenProduct(command.database);
    auto users = std::make_shared<const DatabaseUserDirectory>(served->backend);
    auto screens = SessionScreens(served, command.server.assets);
    web::Server server(command.server, std::move(users), std::move(screens));
    server.Start();
    std::cout << "covernote serving on http://" << command.server.bind << ":" << server.Port()
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

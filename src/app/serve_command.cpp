#include "app/serve_command.h"

#include <spdlog/spdlog.h>

#include <charconv>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>

#include "app/account_watch.h"
#include "app/database_failure_counts.h"
#include "app/database_session_records.h"
#include "app/database_user_directory.h"
#include "app/endorsement_files.h"
#include "app/server_keys.h"
#include "app/session_screens.h"
#include "base/metrics.h"
#include "base/runtime_failure.h"
#include "components/database_setup.h"
#include "web/device_tokens.h"
#include "web/operations.h"

namespace cn::app {

int RunServeCommand(ServeCommand command) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(command.server.assets / "app.html", error)) {
    std::cerr << "covernote serve: no pages in " << command.server.assets.string()
              << " (give the pages folder with --pages)\n";
    return 2;
  }
  try {
    if (!command.server.server_name.empty()) web::NameTheLogs(command.server.server_name);
    // A database named is used as it is, never made: a missing one is a mistake to be told.
    if (!command.database.empty()) components::RequireDatabase(command.database);
    auto served = OpenProduct({.database = command.database, .settings = {}});
    auto backend = ProductBackend(*served);
    auto users = std::make_shared<const DatabaseUserDirectory>(backend);
    auto screens = SessionScreens(served, command.server.assets);
    command.server.health_check = [backend] { return backend->Health(); };
    command.server.endorsements = ProductEndorsements(backend);
    command.server.device_key = ServerKey(*backend, "device cookies", web::DeviceTokens::kKeyBytes);
    // Logins and lockouts outlive a restart, and every server of the database shares them.
    command.server.session_records = std::make_shared<DatabaseSessionRecords>(backend);
    command.server.failure_counts =
        std::make_shared<DatabaseFailureCounts>(backend, command.server.throttle.forget_after);
    std::unique_ptr<web::MetricsServer> metrics_server;
    if (!command.metrics.empty()) {
      command.server.metrics = std::make_shared<Metrics>();
      backend->CountIn(command.server.metrics);
      const auto colon = command.metrics.rfind(':');
      const std::string_view port_text =
          colon == std::string::npos ? std::string_view{}
                                     : std::string_view(command.metrics).substr(colon + 1);
      unsigned short port = 0;
      const auto [end, error] =
          std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
      if (port_text.empty() || error != std::errc{} || end != port_text.data() + port_text.size()) {
        std::cerr << "covernote serve: --metrics wants ADDRESS:PORT (a port from 0 to 65535)\n";
        return 2;
      }
      metrics_server = std::make_unique<web::MetricsServer>(command.metrics.substr(0, colon), port,
                                                            command.server.metrics);
      spdlog::info("Metrics on http://{}:{}/metrics", command.metrics.substr(0, colon),
                   metrics_server->Port());
    }
    auto metrics = command.server.metrics;
    web::Server server(command.server, std::move(users), std::move(screens));
    if (metrics) {
      metrics->Gauge("covernote_sessions_open", "Screens open in this server",
                     [&server] { return static_cast<double>(server.SessionCount()); });
    }
    // The operator's changes to accounts reach this server's sessions and login counts.
    AccountWatch watch(backend, {.changed = [&server](const std::string& user) { server.EndSessionsOf(user); },
                                 .unlocked = [&server](const std::string& user) { server.ForgetFailures(user); }});
    server.Start();
    const bool tls = !command.server.tls_cert.empty();
    std::cout << "covernote serving on " << (tls ? "https://" : "http://") << command.server.bind
              << ":" << server.Port() << std::endl;
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

// The PostgreSQL server stops under a running `covernote serve`: every login is told to try
// again shortly and the screen's commands that the database is not available, its host and
// port going to the log only; nothing stops, and once the database is back a login works.
#include <cstdio>
#include <cstdlib>

#include "base/clock.h"
#include "base/text.h"
#include "child_process.h"
#include "components/shared_backend.h"
#include "log_capture.h"

namespace cn::app {
namespace {

TEST(StoreDown, AStoppedDatabaseIsToldToEveryoneAndStopsNothing) {
  if (std::getenv("COVERNOTE_TEST_POSTGRES") == nullptr) GTEST_SKIP() << "PostgreSQL half skipped";
  const std::vector<unsigned short> ports = testing::FreePorts(2);  // the database's, the screen's
  const std::string cluster = "/tmp/cn-down-" + std::to_string(::getpid());
  const std::string pg = "COVERNOTE_PG_PORT=" + std::to_string(ports[0]) +
                         " '" COVERNOTE_TEST_DATA "/../../scripts/pg-cluster' ";
  struct Removal {
    std::string command;
    ~Removal() { std::system(command.c_str()); }
  } const removal{pg + "remove " + cluster + " >/dev/null 2>&1"};
  FILE* started = ::popen((pg + "start " + cluster).c_str(), "r");
  char line[512] = {};
  const bool read = std::fgets(line, sizeof line, started) != nullptr;
  ASSERT_TRUE(::pclose(started) == 0 && read) << "no cluster of its own could be started";
  const std::string address = Trim(Replace(line, "\n", ""));
  ASSERT_EQ(
      std::system(("'" COVERNOTE_BINARY "' db init --db '" + address + "' >/dev/null").c_str()), 0);
  testing::Child server({COVERNOTE_BINARY, "serve", "--db", address, "--port",
                         std::to_string(ports[1]), "--pages", COVERNOTE_PAGES_DIR});
  ASSERT_TRUE(testing::Healthy(ports[1]));
  const SystemClock clock;
  const auto screen_backend = components::OpenSharedBackend(address, clock);
  const auto log_in = [&] {
    return web::testing::Browser(ports[1]).Send(
        "POST", "/login", "user=admin&password=covernote",
        {{"Accept", "application/json"}, {"Content-Type", "application/x-www-form-urlencoded"}});
  };

  ASSERT_EQ(std::system((pg + "stop " + cluster).c_str()), 0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const auto refused = log_in();
    EXPECT_EQ(std::to_string(refused.status) + " " + refused.Json().value("message", ""),
              "503 Logging in is not possible at the moment; please try again shortly.");
  }
  EXPECT_EQ(web::testing::Browser(ports[1]).Send("GET", "/healthz").status, 503);
  web::testing::LogCapture log;
  try {
    screen_backend->Execute("KivoGIUWR.CoverNote.ReadAdmin", "CN24000101");
    ADD_FAILURE() << "a stopped database answered";
  } catch (const RuntimeFailure& failure) {
    EXPECT_EQ(
        failure.description(),
        "The database is not available at the moment. Nothing has been written; please try again.");
  }
  EXPECT_NE(log.Text().find("port " + std::to_string(ports[0])), std::string::npos) << log.Text();

  ASSERT_EQ(std::system((pg + "start " + cluster + " >/dev/null").c_str()), 0);
  EXPECT_EQ(log_in().status, 200);
}

}  // namespace
}  // namespace cn::app

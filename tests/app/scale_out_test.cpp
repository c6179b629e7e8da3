// Two `covernote serve` behind HAProxy with cookie stickiness, sharing one PostgreSQL
// database, on loopback: as docs/deploy.md sets them up.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "backend/backend.h"
#include "child_process.h"

namespace cn::app {
namespace {

using testing::Child;
using testing::FreePorts;
using testing::Healthy;

// The server a login through the balancer landed on, by the balancer's cookie.
std::string LoginLandsOn(unsigned short balancer) {
  const auto answer = web::testing::Browser(balancer).Send(
      "POST", "/login", "user=admin&password=" + web::testing::FormEncoded(web::testing::kChosenPassword),
      {{"Accept", "application/json"}, {"Content-Type", "application/x-www-form-urlencoded"}});
  std::smatch server;
  const std::string cookies = answer.Header("set-cookie");
  if (answer.status != 200) return "<refused>";
  return std::regex_search(cookies, server, std::regex("SERVERID=(\\w+)")) ? server[1].str()
                                                                           : "<no balancer cookie>";
}

TEST(ScaleOut, TwoServersBehindABalancerShareOneDatabase) {
  const char* server = std::getenv("COVERNOTE_TEST_POSTGRES");
  if (server == nullptr) GTEST_SKIP() << "PostgreSQL half skipped: COVERNOTE_TEST_POSTGRES unset";
  if (std::system("command -v haproxy >/dev/null") != 0) GTEST_SKIP() << "haproxy is not installed";
  const std::string name = "cn_scale_" + std::to_string(::getpid());
  backend::OpenDatabase(server)->ExecuteScript("CREATE DATABASE " + name);
  const std::string admin(server);
  const std::string address = admin.substr(0, admin.find('/', admin.find("://") + 3)) + "/" + name +
                              admin.substr(admin.find('?'));
  ASSERT_EQ(
      std::system(("'" COVERNOTE_BINARY "' db init --sample --db '" + address + "' >/dev/null").c_str()),
      0);

  const std::vector<unsigned short> ports = FreePorts(3);  // the servers', then the balancer's
  const unsigned short base = ports[2];
  const std::filesystem::path config = std::filesystem::temp_directory_path() / (name + ".cfg");
  std::ofstream(config)
      << "defaults\n  mode http\n  timeout connect 2s\n  timeout client 30s\n"
         "  timeout server 30s\n  retries 2\n  option redispatch\n"
         "frontend screen\n  bind 127.0.0.1:"
      << base
      << "\n  default_backend servers\n"
         "backend servers\n  balance roundrobin\n"
         "  cookie SERVERID insert indirect nocache httponly\n  option httpchk GET /healthz\n"
         "  default-server check inter 300ms fall 1 rise 1\n"
         "  server one 127.0.0.1:"
      << ports[0]
      << " cookie one\n"
         "  server two 127.0.0.1:"
      << ports[1] << " cookie two\n";
  std::vector<std::unique_ptr<Child>> servers;
  for (const std::string server_name : {"one", "two"}) {
    const auto port = ports[servers.size()];
    servers.push_back(std::make_unique<Child>(std::vector<std::string>{
        COVERNOTE_BINARY, "serve", "--db", address, "--port", std::to_string(port), "--server-name",
        server_name, "--pages", COVERNOTE_PAGES_DIR}));
    ASSERT_TRUE(Healthy(port)) << server_name;
  }
  Child balancer({"haproxy", "-db", "-f", config.string()});
  ASSERT_TRUE(Healthy(base));

  // The sample's administrator chooses his own password at his first login (on either server:
  // the balancer keeps the login's steps on one).
  ASSERT_TRUE(web::testing::Browser(base).LogInChoosing("admin", "covernote"));
  // Two browsers land on different servers.
  const std::vector<std::string> landed{LoginLandsOn(base), LoginLandsOn(base)};
  EXPECT_TRUE(landed == (std::vector<std::string>{"one", "two"}) ||
              landed == (std::vector<std::string>{"two", "one"}))
      << landed[0] << " " << landed[1];
  // One server stops: a new login on the balancer still gets in, on the other.
  servers[0]->Stop();
  EXPECT_EQ(LoginLandsOn(base), "two");
  balancer.Stop();
  servers.clear();
  std::filesystem::remove(config);
  backend::OpenDatabase(server)->ExecuteScript("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
}

}  // namespace
}  // namespace cn::app

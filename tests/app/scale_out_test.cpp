// Two `covernote serve` behind HAProxy with cookie stickiness, sharing one PostgreSQL
// database, on loopback: as docs/deploy.md sets them up.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "backend/backend.h"
#include "http_client.h"

namespace cn::app {
namespace {

extern "C" char** environ;

// A child process, stopped (SIGTERM) when it goes out of scope.
class Child {
 public:
  explicit Child(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (::posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = 0;
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Stop(); }
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
};

bool Healthy(unsigned short port) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    try {
      if (web::testing::Browser(port).Send("GET", "/healthz").status == 200) return true;
    } catch (const std::exception&) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// Loopback ports no one listens on now, as the kernel picks them: ports made up from the pid
// can be ones a parallel test's connections hold. All are held until all are picked, so no
// two are the same.
std::vector<unsigned short> FreePorts(int count) {
  std::vector<int> sockets;
  std::vector<unsigned short> ports;
  for (int i = 0; i < count; ++i) {
    sockets.push_back(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{.sin_family = AF_INET, .sin_port = 0, .sin_addr = {htonl(INADDR_LOOPBACK)}, .sin_zero = {}};
    socklen_t length = sizeof address;
    const bool bound = ::bind(sockets.back(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       ::getsockname(sockets.back(), reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ports.push_back(bound ? ntohs(address.sin_port) : 0);
  }
  for (const int socket : sockets) ::close(socket);
  return ports;
}

// The server a login through the balancer landed on, by the balancer's cookie.
std::string LoginLandsOn(unsigned short balancer) {
  const auto answer = web::testing::Browser(balancer).Send(
      "POST", "/login", "user=admin&password=covernote",
      {{"Accept", "application/json"}, {"Content-Type", "application/x-www-form-urlencoded"}});
  std::smatch server;
  const std::string cookies = answer.Header("set-cookie");
  if (answer.status != 200) return "<refused>";
  return std::regex_search(cookies, server, std::regex("SERVERID=(\\w+)")) ? server[1].str() : "<no balancer cookie>";
}

TEST(ScaleOut, TwoServersBehindABalancerShareOneDatabase) {
  const char* server = std::getenv("COVERNOTE_TEST_POSTGRES");
  if (server == nullptr) GTEST_SKIP() << "PostgreSQL half skipped: COVERNOTE_TEST_POSTGRES unset";
  if (std::system("command -v haproxy >/dev/null") != 0) GTEST_SKIP() << "haproxy is not installed";
  const std::string name = "cn_scale_" + std::to_string(::getpid());
  backend::OpenDatabase(server)->ExecuteScript("CREATE DATABASE " + name);
  const std::string admin(server);
  const std::string address =
      admin.substr(0, admin.find('/', admin.find("://") + 3)) + "/" + name + admin.substr(admin.find('?'));
  ASSERT_EQ(std::system(("'" COVERNOTE_BINARY "' db init --db '" + address + "' >/dev/null").c_str()), 0);

  const std::vector<unsigned short> ports = FreePorts(3);  // the servers', then the balancer's
  const unsigned short base = ports[2];
  const std::filesystem::path config = std::filesystem::temp_directory_path() / (name + ".cfg");
  std::ofstream(config) << "defaults\n  mode http\n  timeout connect 2s\n  timeout client 30s\n"
                           "  timeout server 30s\n  retries 2\n  option redispatch\n"
                           "frontend screen\n  bind 127.0.0.1:" << base << "\n  default_backend servers\n"
                           "backend servers\n  balance roundrobin\n"
                           "  cookie SERVERID insert indirect nocache httponly\n  option httpchk GET /healthz\n"
                           "  default-server check inter 300ms fall 1 rise 1\n"
                           "  server one 127.0.0.1:" << ports[0] << " cookie one\n"
                           "  server two 127.0.0.1:" << ports[1] << " cookie two\n";
  std::vector<std::unique_ptr<Child>> servers;
  for (const std::string server_name : {"one", "two"}) {
    const auto port = ports[servers.size()];
    servers.push_back(std::make_unique<Child>(
        std::vector<std::string>{COVERNOTE_BINARY, "serve", "--db", address, "--port", std::to_string(port),
                                 "--server-name", server_name, "--pages", COVERNOTE_PAGES_DIR}));
    ASSERT_TRUE(Healthy(port)) << server_name;
  }
  Child balancer({"haproxy", "-db", "-f", config.string()});
  ASSERT_TRUE(Healthy(base));

  // Two browsers land on different servers.
  const std::vector<std::string> landed{LoginLandsOn(base), LoginLandsOn(base)};
  EXPECT_TRUE(landed == (std::vector<std::string>{"one", "two"}) || landed == (std::vector<std::string>{"two", "one"}))
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

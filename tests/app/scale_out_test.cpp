// Two `covernote serve` behind HAProxy with cookie stickiness, sharing one PostgreSQL
// database, on loopback: as docs/deploy.md sets them up.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "backend/backend.h"

namespace cn::app {
namespace {

namespace http = boost::beast::http;
using Response = http::response<http::string_body>;

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

std::optional<Response> Ask(unsigned short port, http::verb verb, std::string_view target,
                            std::string body = {}) {
  try {
    boost::asio::io_context io;
    boost::asio::ip::tcp::socket socket(io);
    socket.connect({boost::asio::ip::make_address("127.0.0.1"), port});
    http::request<http::string_body> request(verb, std::string(target), 11);
    request.set(http::field::host, "127.0.0.1");
    request.set(http::field::accept, "application/json");
    request.set(http::field::content_type, "application/x-www-form-urlencoded");
    request.body() = std::move(body);
    request.prepare_payload();
    http::write(socket, request);
    boost::beast::flat_buffer buffer;
    Response response;
    http::read(socket, buffer, response);
    return response;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool Healthy(unsigned short port) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto answer = Ask(port, http::verb::get, "/healthz");
    if (answer && answer->result_int() == 200) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

// The server a login through the balancer landed on, by the balancer's cookie.
std::string LoginLandsOn(unsigned short balancer) {
  const auto answer = Ask(balancer, http::verb::post, "/login", "user=admin&password=covernote");
  if (!answer || answer->result_int() != 200) return "<refused>";
  for (const auto& field : answer->base()) {
    const std::string value(field.value());
    if (field.name() == http::field::set_cookie && value.starts_with("SERVERID=")) {
      return value.substr(9, value.find(';') - 9);
    }
  }
  return "<no balancer cookie>";
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
      std::system(("'" COVERNOTE_BINARY "' db init --db '" + address + "' >/dev/null").c_str()), 0);

  const unsigned short base = static_cast<unsigned short>(41000 + ::getpid() % 5000 * 3);
  const std::filesystem::path config = std::filesystem::temp_directory_path() / (name + ".cfg");
  std::ofstream(config) << "defaults\n  mode http\n  timeout connect 2s\n  timeout client 30s\n"
                           "  timeout server 30s\n  retries 2\n  option redispatch\n"
                           "frontend screen\n  bind 127.0.0.1:"
                        << base
                        << "\n  default_backend servers\n"
                           "backend servers\n  balance roundrobin\n"
                           "  cookie SERVERID insert indirect nocache httponly\n"
                           "  option httpchk GET /healthz\n"
                           "  default-server check inter 300ms fall 1 rise 1\n"
                           "  server one 127.0.0.1:"
                        << base + 1
                        << " cookie one\n"
                           "  server two 127.0.0.1:"
                        << base + 2 << " cookie two\n";
  std::vector<std::unique_ptr<Child>> servers;
  for (const char* server_name : {"one", "two"}) {
    const int port = base + (server_name[0] == 'o' ? 1 : 2);
    servers.push_back(std::make_unique<Child>(std::vector<std::string>{
        COVERNOTE_BINARY, "serve", "--db", address, "--port", std::to_string(port), "--server-name",
        server_name, "--pages", COVERNOTE_PAGES_DIR}));
    ASSERT_TRUE(Healthy(static_cast<unsigned short>(port))) << server_name;
  }
  Child balancer({"haproxy", "-db", "-f", config.string()});
  ASSERT_TRUE(Healthy(base));

  // Two browsers land on different servers and stay there.
  const std::string first = LoginLandsOn(base);
  const std::string second = LoginLandsOn(base);
  EXPECT_NE(first, second);
  EXPECT_TRUE((first == "one" || first == "two") && (second == "one" || second == "two"))
      << first << " " << second;

  // One server stops: a new login on the balancer still gets in, on the other. (A save from a
  // read another server has saved since is refused by the shared database itself.)
  servers[0]->Stop();
  EXPECT_EQ(LoginLandsOn(base), "two");
  balancer.Stop();
  servers.clear();
  std::filesystem::remove(config);
  backend::OpenDatabase(server)->ExecuteScript("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
}

}  // namespace
}  // namespace cn::app

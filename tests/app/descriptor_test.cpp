// A server short of file descriptors (a limit of 128, as `ulimit -n 128` sets it) and 150 idle
// connections from three other addresses: the accept loop does not spin, and a logged-in
// administrator's next request is answered at once, the connections idle longest making way.
#include <fstream>
#include <sstream>

#include "../base/temp_folder.h"
#include "child_process.h"

namespace cn::app {
namespace {

// The CPU time the process has used, in clock ticks.
long long CpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  long long user = 0, system = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) user = std::stoll(field);
    if (i == 15) system = std::stoll(field);
  }
  return user + system;
}

// A connection to the server from 127.0.0.`from`, which sends nothing.
int Connect(unsigned short port, int from) {
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in source{.sin_family = AF_INET,
                     .sin_port = 0,
                     .sin_addr = {htonl(INADDR_LOOPBACK + from - 1)},
                     .sin_zero = {}};
  sockaddr_in server{.sin_family = AF_INET,
                     .sin_port = htons(port),
                     .sin_addr = {htonl(INADDR_LOOPBACK)},
                     .sin_zero = {}};
  ::bind(socket, reinterpret_cast<sockaddr*>(&source), sizeof source);
  ::connect(socket, reinterpret_cast<sockaddr*>(&server), sizeof server);
  return socket;
}

TEST(Descriptors, IdleConnectionsPastTheLimitNeitherSpinTheServerNorHoldUpASession) {
  const cn::testing::TempFolder folder("covernote-descriptors");
  const std::string db = (folder.path / "covernote.db").string();
  ASSERT_EQ(std::system(("'" COVERNOTE_BINARY "' db init --db '" + db + "' >/dev/null").c_str()),
            0);
  // With the caps lifted the server runs out of descriptors itself; with them, it never does.
  const std::vector<std::vector<std::string>> settings = {{}, {"--max-connections", "1000"}};
  for (const auto& options : settings) {
    SCOPED_TRACE(options.empty() ? "at most 96 connections" : "out of descriptors");
    const unsigned short port = testing::FreePorts(1)[0];
    std::string command = "ulimit -n 128 && exec '" COVERNOTE_BINARY "' serve --db '" + db +
                          "' --pages '" COVERNOTE_PAGES_DIR "' --port " + std::to_string(port);
    for (const auto& option : options) command += " " + option;
    testing::Child server({"/bin/sh", "-c", command});
    ASSERT_TRUE(testing::Healthy(port));
    web::testing::Browser admin(port);
    ASSERT_TRUE(admin.LogIn("admin", "covernote"));
    std::vector<int> idle;
    for (int i = 0; i < 150; ++i) idle.push_back(Connect(port, 2 + i % 3));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long long before = CpuTicks(server.pid());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_LT(CpuTicks(server.pid()) - before, ::sysconf(_SC_CLK_TCK) / 5)
        << "a fifth of a second of CPU";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(admin.State().status, 200);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    for (const int socket : idle) ::close(socket);
  }
}

}  // namespace
}  // namespace cn::app

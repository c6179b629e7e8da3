#pragma once
// `covernote` and other programs run as children of a test, on loopback ports of their own.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "http_client.h"

extern "C" char** environ;

namespace cn::app::testing {

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
  pid_t pid() const { return pid_; }
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
};

inline bool Healthy(unsigned short port) {
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
inline std::vector<unsigned short> FreePorts(int count) {
  std::vector<int> sockets;
  std::vector<unsigned short> ports;
  for (int i = 0; i < count; ++i) {
    sockets.push_back(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{
        .sin_family = AF_INET, .sin_port = 0, .sin_addr = {htonl(INADDR_LOOPBACK)}, .sin_zero = {}};
    socklen_t length = sizeof address;
    const bool bound =
        ::bind(sockets.back(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(sockets.back(), reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ports.push_back(bound ? ntohs(address.sin_port) : 0);
  }
  for (const int socket : sockets) ::close(socket);
  return ports;
}

}  // namespace cn::app::testing

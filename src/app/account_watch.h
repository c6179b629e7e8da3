#pragma once
// What an operator changes with `covernote user` reaches every running server within seconds:
// a thread reads each account's marks (backend/accounts.h) every few seconds and, for an
// account changed since (a password set, disabled, a new role, a second factor removed), ends
// its sessions; for one unlocked, forgets its failed logins.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "components/shared_backend.h"

namespace cn::app {

class AccountWatch {
 public:
  struct Actions {
    std::function<void(const std::string& user)> changed;
    std::function<void(const std::string& user)> unlocked;
  };

  // Reads the marks once at once (the ones now are no news), then every `interval`.
  AccountWatch(std::shared_ptr<components::SharedBackend> backend, Actions actions,
               std::chrono::milliseconds interval = std::chrono::seconds(5));
  AccountWatch(const AccountWatch&) = delete;
  AccountWatch& operator=(const AccountWatch&) = delete;
  ~AccountWatch();  // stops the thread

  // One look now (the thread does this every interval).
  void Look();

 private:
  std::shared_ptr<components::SharedBackend> backend_;
  Actions actions_;
  std::chrono::milliseconds interval_;
  std::map<std::string, std::pair<std::int64_t, std::int64_t>> known_;
  bool read_once_ = false;
  std::chrono::steady_clock::time_point last_told_{};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace cn::app

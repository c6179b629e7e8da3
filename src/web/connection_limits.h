#pragma once
// How many connections the server keeps open: at most so many from one address (a trusted
// proxy's excepted: every browser behind it shares its address), and so many in all, below
// the process's limit of open files. When all are taken, the connection that has waited
// longest for its next request is closed to make room; only when none waits is the new one
// refused. Safe to use from every I/O thread.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace cn::web {

// Raises the process's soft limit of open files to its hard limit; returns the limit now.
std::size_t RaiseOpenFileLimit();

// What the limits may ask of a connection waiting for its next request, on any thread.
class IdleConnection {
 public:
  virtual ~IdleConnection() = default;
  virtual void CloseIdle() = 0;
};

class ConnectionLimits {
 public:
  ConnectionLimits(std::size_t most_per_address, std::size_t most_in_all,
                   std::vector<std::string> unlimited_addresses);

  // A connection's place, given back when it is destroyed.
  class Place {
   public:
    Place(ConnectionLimits& limits, std::string address, std::uint64_t id)
        : limits_(&limits), address_(std::move(address)), id_(id) {}
    Place(Place&& other) noexcept;
    Place(const Place&) = delete;
    Place& operator=(const Place&) = delete;
    Place& operator=(Place&&) = delete;
    ~Place();
    // Waiting for a request (the first, or the next on a kept connection): may be closed.
    void Idle(std::weak_ptr<IdleConnection> connection);
    // A request came: no longer to be closed for room.
    void Busy();

   private:
    ConnectionLimits* limits_;
    std::string address_;
    std::uint64_t id_;
  };

  // A place for a new connection from `address`; nothing when that address has its most, or
  // when every place is taken by a connection in the middle of a request.
  std::optional<Place> Enter(const std::string& address);
  // Closes the connection that has waited longest, to free its descriptor; false when none waits.
  bool CloseOldestIdle();
  std::size_t open() const;

 private:
  void Leave(const std::string& address, std::uint64_t id);
  std::weak_ptr<IdleConnection> TakeOldestIdle();  // under the lock

  std::size_t most_per_address_;
  std::size_t most_in_all_;
  std::vector<std::string> unlimited_;
  mutable std::mutex mutex_;
  std::uint64_t next_id_ = 0;
  std::size_t open_ = 0;
  struct FromAddress {
    std::size_t open = 0;
    std::size_t refused = 0;  // since the last one let in: only the first is logged
  };
  std::unordered_map<std::string, FromAddress> per_address_;
  // Waiting connections (id, connection) by the order they began to wait: the first waited
  // longest.
  std::uint64_t next_wait_ = 0;
  std::map<std::uint64_t, std::pair<std::uint64_t, std::weak_ptr<IdleConnection>>> idle_;
  std::unordered_map<std::uint64_t, std::uint64_t> wait_of_;  // connection id -> its wait
};

}  // namespace cn::web

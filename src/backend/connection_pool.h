#pragma once
// The connections the back end's commands run on. A SQLite file has one; a
// PostgreSQL server as many as the address's pool_size. A command borrows one for
// its transaction; a connection found lost is dropped and the next borrower opens
// a new one, so the back end recovers by itself when its server is back.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "backend/store.h"

namespace cn::backend {

class ConnectionPool {
 public:
  using Open = std::function<std::unique_ptr<Database>()>;

  // Opens the first connection at once, so a wrong address fails here.
  ConnectionPool(Open open, std::size_t size, std::chrono::milliseconds wait);

  class Lease {
   public:
    Lease(ConnectionPool& pool, std::size_t slot) : pool_(&pool), slot_(slot) {}
    Lease(Lease&& other) noexcept
        : pool_(std::exchange(other.pool_, nullptr)), slot_(other.slot_) {}
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    Lease& operator=(Lease&&) = delete;
    ~Lease() {
      if (pool_ != nullptr) pool_->Release(slot_);
    }
    Database& operator*() const { return *pool_->slots_[slot_]; }
    Database* operator->() const { return pool_->slots_[slot_].get(); }

   private:
    ConnectionPool* pool_;
    std::size_t slot_;
  };

  // Waits for a free connection; StoreFailure kTimeout when none frees in time, or the
  // failure of opening a new one.
  Lease Acquire();
  // The first connection, for setup and tests that run nothing else at the same time.
  Database& First();
  std::size_t size() const { return slots_.size(); }
  std::size_t in_use() const;

 private:
  void Release(std::size_t slot);

  Open open_;
  std::chrono::milliseconds wait_;
  mutable std::mutex mutex_;
  std::condition_variable freed_;
  std::vector<std::unique_ptr<Database>> slots_;
  std::vector<std::size_t> free_;
};

}  // namespace cn::backend

#include "app/account_watch.h"

#include <spdlog/spdlog.h>

#include "backend/accounts.h"

namespace cn::app {

AccountWatch::AccountWatch(std::shared_ptr<components::SharedBackend> backend, Actions actions,
                           std::chrono::milliseconds interval)
    : backend_(std::move(backend)), actions_(std::move(actions)), interval_(interval) {
  Look();
  thread_ = std::thread([this] {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, interval_, [this] { return stopping_; })) {
      lock.unlock();
      Look();
      lock.lock();
    }
  });
}

AccountWatch::~AccountWatch() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void AccountWatch::Look() {
  std::vector<backend::accounts::Marks> marks;
  try {
    marks = backend_->WithDatabase([](backend::Database& db) {
      backend::Transaction reading(db, backend::Transaction::Kind::kDeferred);
      auto all = backend::accounts::AllMarks(db);
      reading.Commit();
      return all;
    });
  } catch (const std::exception& failure) {
    const auto now = std::chrono::steady_clock::now();
    if (now - last_told_ >= std::chrono::minutes(1)) {
      spdlog::warn("The accounts could not be read for changes: {}", failure.what());
      last_told_ = now;
    }
    return;
  }
  for (const auto& mark : marks) {
    const auto known = known_.find(mark.user_id);
    if (read_once_ && known != known_.end()) {
      if (mark.revision != known->second.first && actions_.changed) actions_.changed(mark.user_id);
      if (mark.unlocks != known->second.second && actions_.unlocked)
        actions_.unlocked(mark.user_id);
    }
    known_[mark.user_id] = {mark.revision, mark.unlocks};
  }
  read_once_ = true;
}

}  // namespace cn::app

#pragma once
// The screens one login session has on this server: one per browser tab, under the id the tab
// made for itself when it was loaded. A tab's read, save or reset runs on its own screen only.
// A few are held at most: past that, the one used least recently goes (its tab has its
// journal, and rebuilds it at its next action). Safe to use from every I/O thread.

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace cn::web {

class Session;

// A tab's screen id: 8 to 64 letters, digits and "-", made by the browser.
bool IsScreenId(std::string_view id);

class Screens {
 public:
  using Clock = std::chrono::system_clock;
  using Held = std::vector<std::shared_ptr<Session>>;

  explicit Screens(std::size_t most) : most_(most == 0 ? 1 : most) {}

  // The screen of that tab, its idle time restarted; null when this server holds none.
  std::shared_ptr<Session> Find(std::string_view id, Clock::time_point now);
  // Holds `screen` for the tab; returns the screens that go for it (one the tab had, and the
  // least recently used past the limit), for closing on their own threads.
  Held Hold(std::string id, std::shared_ptr<Session> screen, Clock::time_point now);
  // Takes out the screens not used since `before` (evicted: rebuilt at their tab's next action).
  Held TakeIdle(Clock::time_point before);
  Held TakeAll();
  std::size_t size() const;

 private:
  struct Slot {
    std::shared_ptr<Session> screen;
    Clock::time_point last_used;
  };
  std::size_t most_;
  mutable std::mutex mutex_;
  std::map<std::string, Slot, std::less<>> slots_;
};

}  // namespace cn::web

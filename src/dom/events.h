#pragma once
// Events: the binding of a page's logic to its document, a table (element id, event name)
// → handler, and the current event a handler reads through its window.

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cn::dom {

class Element;
class Window;

using EventHandler = std::function<void()>;

// The event being handled (window.event).
class Event {
 public:
  // `type` is the event name without "on" ("click", "keypress", "blur", "change", ...).
  Event(std::string type, std::shared_ptr<Element> src_element, int key_code = 0);

  const std::string& Type() const { return type_; }
  const std::shared_ptr<Element>& SrcElement() const { return src_element_; }
  // The key of a key event; a handler writing 0 discards the key.
  int KeyCode() const { return key_code_; }
  void SetKeyCode(int key_code) { key_code_ = key_code; }

 private:
  std::string type_;
  std::shared_ptr<Element> src_element_;
  int key_code_;
};

// A row of a page kind's constant table of handlers: `run` runs the handler on the page logic
// it is given. One table serves that page in every session.
struct HandlerRow {
  std::string_view id;
  std::string_view event;  // lower case: "onclick"
  void (*run)(void* page);
};

// The rows in order of id and event, as EventTable::BindRows takes them: a page writes its
// table in the order that reads best and keeps it sorted at compile time with this.
template <std::size_t N>
constexpr std::array<HandlerRow, N> SortedRows(const HandlerRow (&rows)[N]) {
  std::array<HandlerRow, N> sorted{};
  std::copy(rows, rows + N, sorted.begin());
  std::sort(sorted.begin(), sorted.end(), [](const HandlerRow& a, const HandlerRow& b) {
    return std::pair(a.id, a.event) < std::pair(b.id, b.event);
  });
  return sorted;
}

// The handler bound to an element's event; false when none.
class BoundHandler {
 public:
  explicit operator bool() const { return run_ != nullptr || static_cast<bool>(handler_); }
  void operator()() const { run_ != nullptr ? run_(page_) : handler_(); }

 private:
  friend class EventTable;
  EventHandler handler_;          // a handler bound alone, or
  void (*run_)(void*) = nullptr;  // a row of a table and the page it runs on
  void* page_ = nullptr;
};

// The handlers of one document. Element ids are compared exactly, event names ("onclick",
// "OnClick") without regard to case. The latest binding of an element's event holds.
class EventTable {
 public:
  // `owner` (a page's logic, say) can take all its handlers back at once with UnbindOwner.
  void Bind(std::string_view element_id, std::string_view event_name, EventHandler handler,
            const void* owner = nullptr);
  // Binds every row of `rows` with `page`; the table must outlive the binding (a constant) and
  // be in order of id and event (SortedRows).
  void BindRows(std::span<const HandlerRow> rows, void* page, const void* owner);
  void Unbind(std::string_view element_id, std::string_view event_name);
  void UnbindOwner(const void* owner);
  BoundHandler Find(std::string_view element_id, std::string_view event_name) const;
  bool empty() const { return handlers_.empty() && tables_.empty(); }
  // Calls f(element id, lower-case event name) for every bound handler, in order of id.
  template <typename F>
  void ForEachBinding(F&& f) const {
    for (const auto& [id, event] : Keys()) f(id, event);
  }
  // Calls f(element id, lower-case event name) for every handler bound to that element id, as
  // ForEachBinding but without its sort; an event bound again may come twice.
  template <typename F>
  void ForEachEventOf(std::string_view element_id, F&& f) const {
    for (const auto& [key, bound] : handlers_) {
      if (key.first == element_id) f(std::string_view(key.first), std::string_view(key.second));
    }
    for (const Table& table : tables_) {
      for (const HandlerRow& row : table.rows) {
        if (row.id == element_id && !Unbound(row.id, row.event)) f(row.id, row.event);
      }
    }
  }

 private:
  using Key = std::pair<std::string, std::string>;  // element id, lower-case event name
  struct Bound {
    EventHandler handler;
    const void* owner;
  };
  struct Table {
    std::span<const HandlerRow> rows;
    void* page;
    const void* owner;
  };
  // Every bound element id and event, sorted, each once.
  std::vector<std::pair<std::string_view, std::string_view>> Keys() const;
  const HandlerRow* FindRow(std::string_view element_id, std::string_view key, void** page) const;
  bool Unbound(std::string_view element_id, std::string_view key) const;

  std::map<Key, Bound, std::less<>> handlers_;
  std::vector<Table> tables_;      // the latest last
  std::vector<Key> unbound_rows_;  // rows unbound one by one; rows go with their owner otherwise
};

// Makes `event` the current event of `window` for the scope's lifetime; the outer event
// (of a handler that fired this one) comes back when the scope ends.
class CurrentEventScope {
 public:
  CurrentEventScope(Window& window, Event& event);
  ~CurrentEventScope();
  CurrentEventScope(const CurrentEventScope&) = delete;
  CurrentEventScope& operator=(const CurrentEventScope&) = delete;

 private:
  Window& window_;
  Event* outer_;
};

}  // namespace cn::dom

#pragma once
// Events: the binding of a page's logic to its document, a table (element id, event name)
// → handler, and the current event a handler reads through its window.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

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

// The handlers of one document. Element ids are compared exactly, event names ("onclick",
// "OnClick") without regard to case.
class EventTable {
 public:
  // `owner` (a page's logic, say) can take all its handlers back at once with UnbindOwner.
  void Bind(std::string_view element_id, std::string_view event_name, EventHandler handler,
            const void* owner = nullptr);
  void Unbind(std::string_view element_id, std::string_view event_name);
  void UnbindOwner(const void* owner);
  // The bound handler; null when none.
  const EventHandler* Find(std::string_view element_id, std::string_view event_name) const;
  bool empty() const { return handlers_.empty(); }
  // Calls f(element id, lower-case event name) for every bound handler.
  template <typename F>
  void ForEachBinding(F&& f) const {
    for (const auto& [key, handler] : handlers_) f(std::string_view(key.first), std::string_view(key.second));
  }

 private:
  struct Bound {
    EventHandler handler;
    const void* owner;
  };
  // Key: element id and the lower-case event name.
  std::map<std::pair<std::string, std::string>, Bound, std::less<>> handlers_;
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

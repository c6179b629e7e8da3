// Events: the handler table of a page, the current event, firing and clicking.
#include "dom/events.h"

#include <string>
#include <utility>

#include "base/runtime_failure.h"
#include "dom/behaviours.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"
#include "dom/window.h"

namespace cn::dom {
namespace {

using internal::Fail;

// The table's key for an event name: lower case, and it must be an "on..." name, so that a
// handler bound as "click" cannot silently never run.
std::string EventKey(std::string_view event_name) {
  std::string key = internal::AsciiLower(event_name);
  if (key.size() <= 2 || key.compare(0, 2, "on") != 0) {
    Fail(failure::kInvalidArgument,
         "'" + std::string(event_name) +
             "' is not an event name (they read \"onclick\", \"onblur\", ...)");
  }
  return key;
}

}  // namespace

// ---- Event ------------------------------------------------------------------------------

Event::Event(std::string type, std::shared_ptr<Element> src_element, int key_code)
    : type_(std::move(type)), src_element_(std::move(src_element)), key_code_(key_code) {}

// ---- EventTable ---------------------------------------------------------------------------

void EventTable::Bind(std::string_view element_id, std::string_view event_name,
                      EventHandler handler, const void* owner) {
  std::string key = EventKey(event_name);
  if (!handler) {
    Fail(failure::kInvalidArgument,
         "No handler given for " + std::string(element_id) + "_" + std::string(event_name));
  }
  handlers_.insert_or_assign(std::pair{std::string(element_id), std::move(key)},
                             Bound{std::move(handler), owner});
}

void EventTable::UnbindOwner(const void* owner) {
  std::erase_if(handlers_, [owner](const auto& binding) { return binding.second.owner == owner; });
}

void EventTable::Unbind(std::string_view element_id, std::string_view event_name) {
  handlers_.erase(std::pair{std::string(element_id), EventKey(event_name)});
}

const EventHandler* EventTable::Find(std::string_view element_id,
                                     std::string_view event_name) const {
  const auto it = handlers_.find(std::pair{std::string(element_id), EventKey(event_name)});
  return it == handlers_.end() ? nullptr : &it->second.handler;
}

// ---- CurrentEventScope --------------------------------------------------------------------

CurrentEventScope::CurrentEventScope(Window& window, Event& event)
    : window_(window), outer_(window.current_event_) {
  window_.current_event_ = &event;
}

CurrentEventScope::~CurrentEventScope() { window_.current_event_ = outer_; }

// ---- Document and Element ---------------------------------------------------------------

void Document::Bind(std::string_view element_id, std::string_view event_name,
                    EventHandler handler, const void* owner) {
  events_.Bind(element_id, event_name, std::move(handler), owner);
}

bool Element::FireEvent(std::string_view event_name) {
  const std::string key = EventKey(event_name);
  Event event(key.substr(2), SharedThis());
  return FireEvent(event);
}

bool Element::FireEvent(Event& event) {
  // Held for the handler's whole run: a handler may close the page (the shell replaces a tab)
  // or rebind its own event, and must not pull the ground from under itself.
  const std::shared_ptr<Document> document = OwnerDocument();
  if (!document) return false;
  const std::string id = Id();
  if (id.empty()) return false;
  const EventHandler* bound = document->Events().Find(id, "on" + event.Type());
  if (bound == nullptr) return false;
  const EventHandler handler = *bound;
  const std::shared_ptr<Window> window = document->ParentWindow();
  const CurrentEventScope scope(*window, event);
  handler();
  return true;
}

void Element::Click() {
  if (Disabled()) return;
  const std::shared_ptr<Element> self = SharedThis();  // a handler may take it off the page
  // The state changes before the handler runs, so the handler reads the new state.
  const std::string type = Type();
  if (type == "checkbox") {
    SetChecked(!Checked());
  } else if (type == "radio") {
    SetChecked(true);
  }
  FireEvent("onclick");
  RaiseClickBehaviours(*this);
}

}  // namespace cn::dom

// Events: the handler table of a page, the current event, firing and clicking.
#include "dom/events.h"

#include <algorithm>
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
  handlers_.insert_or_assign(Key{std::string(element_id), std::move(key)},
                             Bound{std::move(handler), owner});
}

void EventTable::BindRows(std::span<const HandlerRow> rows, void* page, const void* owner) {
  const auto key = [](const HandlerRow& row) { return std::pair(row.id, row.event); };
  if (!std::is_sorted(rows.begin(), rows.end(),
                      [&](const auto& a, const auto& b) { return key(a) < key(b); })) {
    Fail(failure::kInvalidArgument,
         "A table of handlers must be in order of id and event (SortedRows)");
  }
  for (const HandlerRow& row : rows) {
    if (row.id.empty() || EventKey(row.event) != row.event || row.run == nullptr) {
      Fail(failure::kInvalidArgument, "The handler row " + std::string(row.id) + "_" +
                                          std::string(row.event) +
                                          " needs an id, a lower-case event name and a handler");
    }
    // A table bound later replaces what was bound before it.
    if (!handlers_.empty()) handlers_.erase(Key{std::string(row.id), std::string(row.event)});
    if (!unbound_rows_.empty()) {
      std::erase(unbound_rows_, Key{std::string(row.id), std::string(row.event)});
    }
  }
  tables_.push_back({rows, page, owner});
}

void EventTable::UnbindOwner(const void* owner) {
  std::erase_if(handlers_, [owner](const auto& binding) { return binding.second.owner == owner; });
  std::erase_if(tables_, [owner](const Table& table) { return table.owner == owner; });
}

void EventTable::Unbind(std::string_view element_id, std::string_view event_name) {
  Key key{std::string(element_id), EventKey(event_name)};
  handlers_.erase(key);
  void* page = nullptr;
  if (FindRow(key.first, key.second, &page) != nullptr) unbound_rows_.push_back(std::move(key));
}

BoundHandler EventTable::Find(std::string_view element_id, std::string_view event_name) const {
  BoundHandler found;
  const std::string key = EventKey(event_name);
  const auto it =
      handlers_.empty() ? handlers_.end() : handlers_.find(Key{std::string(element_id), key});
  if (it != handlers_.end()) {
    found.handler_ = it->second.handler;
  } else if (const HandlerRow* row = FindRow(element_id, key, &found.page_)) {
    found.run_ = row->run;
  }
  return found;
}

const HandlerRow* EventTable::FindRow(std::string_view element_id, std::string_view key,
                                      void** page) const {
  for (auto table = tables_.rbegin(); table != tables_.rend(); ++table) {
    for (const HandlerRow& row : table->rows) {
      // Ids of a length mostly differ in their first letter: the whole compare is left for them.
      if (row.id.size() == element_id.size() && row.id[0] == element_id[0] &&
          row.id == element_id && row.event == key) {
        if (Unbound(element_id, key)) return nullptr;
        *page = table->page;
        return &row;
      }
    }
  }
  return nullptr;
}

bool EventTable::Unbound(std::string_view element_id, std::string_view key) const {
  return std::any_of(unbound_rows_.begin(), unbound_rows_.end(), [&](const Key& unbound) {
    return unbound.first == element_id && unbound.second == key;
  });
}

std::vector<std::pair<std::string_view, std::string_view>> EventTable::Keys() const {
  // The map and each table are in order already: merged, not sorted (this runs at every answer).
  std::vector<std::pair<std::string_view, std::string_view>> keys;
  for (const auto& [key, bound] : handlers_) keys.emplace_back(key.first, key.second);
  for (const Table& table : tables_) {
    const auto merged = static_cast<std::ptrdiff_t>(keys.size());
    for (const HandlerRow& row : table.rows) {
      if (!Unbound(row.id, row.event)) keys.emplace_back(row.id, row.event);
    }
    std::inplace_merge(keys.begin(), keys.begin() + merged, keys.end());
  }
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
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
  const BoundHandler handler = document->Events().Find(id, "on" + event.Type());
  if (!handler) return false;
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

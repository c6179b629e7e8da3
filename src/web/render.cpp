#include "web/render.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "dom/behaviours.h"
#include "dom/serialize.h"

namespace cn::web {
namespace {

const dom::SerializeOptions& Options() {
  static const dom::SerializeOptions options{.node_id_attribute = std::string(kNodeIdAttribute),
                                             .attribute_quote = '\''};
  return options;
}

// The browser's name of each event the page logic may bind, with the bound name.
struct EventName {
  std::string_view browser;
  std::string_view bound;
};
constexpr std::array<EventName, 8> kEvents{{
    {"click", "onclick"},
    {"dblclick", "ondblclick"},
    {"change", "onchange"},
    {"blur", "onblur"},
    {"focus", "onfocus"},
    {"keypress", "onkeypress"},
    {"keydown", "onkeydown"},
    {"keyup", "onkeyup"},
}};

// The events each element id has handlers for, one bit per entry of kEvents, read from the
// page's handler table once per rendering rather than once per element and event.
using EventBits = unsigned;
using BoundEvents = std::unordered_map<std::string_view, EventBits>;

constexpr EventBits BitOf(std::string_view browser) {
  for (std::size_t i = 0; i < kEvents.size(); ++i) {
    if (kEvents[i].browser == browser) return EventBits{1} << i;
  }
  return 0;
}

BoundEvents BoundEventsOf(const dom::Element& element) {
  BoundEvents bound;
  const auto document = element.OwnerDocument();
  if (!document) return bound;
  document->Events().ForEachBinding([&](std::string_view id, std::string_view event) {
    for (std::size_t i = 0; i < kEvents.size(); ++i) {
      if (kEvents[i].bound == event) bound[id] |= EventBits{1} << i;
    }
  });
  return bound;
}

// Whether a row (TR) around the element carries the row tables' behaviour: a click anywhere
// inside such a row, nested tables included, is the row's click (dom::RaiseClickBehaviours).
bool RowAboveIsDataEntry(const dom::Element& element) {
  for (auto row = element.Closest("TR"); row; row = row->Closest("TR")) {
    if (dom::HasBehavior(*row, dom::kDataEntryBehavior)) return true;
  }
  return false;
}

// The element's entry; null when it reports nothing. `in_row`: a click on it is a row's click.
nlohmann::json WiringOf(const dom::Element& element, const BoundEvents& bound, bool data_entry, bool in_row,
                        const std::vector<std::string_view>& urls) {
  EventBits bits = 0;
  if (!bound.empty()) {
    if (const std::string_view id = element.IdView(); !id.empty()) {
      if (const auto it = bound.find(id); it != bound.end()) bits = it->second;
    }
  }
  if (in_row) bits |= BitOf("click");
  if (data_entry) bits |= BitOf("change") | BitOf("blur");
  std::vector<std::string_view> filter_files;
  for (const std::string_view url : urls) {
    if (const dom::InputFilter* filter = dom::FindInputFilter(url)) filter_files.push_back(filter->file_name);
  }
  if (bits == 0 && filter_files.empty()) return nullptr;
  // Built member by member: an initializer list would copy every value once more.
  nlohmann::json::array_t events;
  for (std::size_t i = 0; i < kEvents.size(); ++i) {
    if ((bits & (EventBits{1} << i)) != 0) events.emplace_back(std::string(kEvents[i].browser));
  }
  nlohmann::json::array_t filters;
  for (const std::string_view file : filter_files) filters.emplace_back(std::string(file));
  nlohmann::json::object_t entry;
  entry.emplace("events", std::move(events));
  entry.emplace("filters", std::move(filters));
  return nlohmann::json(std::move(entry));
}

bool CarriesDataEntry(const std::vector<std::string_view>& urls) {
  return std::any_of(urls.begin(), urls.end(),
                     [](std::string_view url) { return dom::BehaviorFileIs(url, dom::kDataEntryBehavior); });
}

// The element and its subtree in one walk, whether a row above is a row table's handed down.
void WireTree(const dom::Element& element, const BoundEvents& bound, bool row_above, nlohmann::json& out) {
  const std::vector<std::string_view> urls = element.BehaviorUrls();
  const bool data_entry = CarriesDataEntry(urls);
  const bool in_row = (data_entry && element.Is("TR")) || row_above;
  if (auto wiring = WiringOf(element, bound, data_entry, in_row, urls); !wiring.is_null()) {
    out[std::to_string(element.node_id())] = std::move(wiring);
  }
  for (const auto& child : element.ChildNodes()) {
    if (child->IsElement()) WireTree(static_cast<const dom::Element&>(*child), bound, in_row, out);
  }
}

}  // namespace

std::string RenderMarkup(const dom::Node& node) { return dom::SerializeNode(node, Options()); }

std::string RenderChildren(const dom::Element& element) { return dom::SerializeChildren(element, Options()); }

nlohmann::json ElementWiring(const dom::Element& element) {
  const std::vector<std::string_view> urls = element.BehaviorUrls();
  const bool data_entry = CarriesDataEntry(urls);
  const bool in_row = (element.Is("TR") && data_entry) || RowAboveIsDataEntry(element);
  return WiringOf(element, BoundEventsOf(element), data_entry, in_row, urls);
}

void AddWiring(const dom::Element& root, nlohmann::json& out) {
  WireTree(root, BoundEventsOf(root), RowAboveIsDataEntry(root), out);
}

nlohmann::json RenderDocument(const dom::Document& document, int key) {
  const auto body = document.Body();
  nlohmann::json wiring = nlohmann::json::object();
  AddWiring(*body, wiring);
  return {{"key", key},
          {"body", body->node_id()},
          {"bodyClass", body->ClassName()},
          {"html", RenderChildren(*body)},
          {"wiring", std::move(wiring)}};
}

nlohmann::json RenderInputFilters() {
  const auto has = [](dom::CharacterClass set, dom::CharacterClass one) {
    return (static_cast<unsigned>(set) & static_cast<unsigned>(one)) != 0;
  };
  nlohmann::json filters = nlohmann::json::object();
  for (const dom::InputFilter& filter : dom::InputFilters()) {
    filters[std::string(filter.file_name)] = {
        {"digits", has(filter.classes, dom::CharacterClass::kDigits)},
        {"letters", has(filter.classes, dom::CharacterClass::kLetters)},
        {"printable", has(filter.classes, dom::CharacterClass::kPrintable)},
        {"also", filter.also},
        {"once", filter.once},
        {"onlyFirst", filter.only_first},
        {"neverFirst", filter.never_first},
        {"upper", filter.case_change == dom::CaseChange::kUpper}};
  }
  return filters;
}

nlohmann::json RenderShell(const shell::HostShell& shell) {
  nlohmann::json tabs = nlohmann::json::array();
  for (const auto& tab : shell.Tabs()) {
    if (tab.shown) tabs.push_back({{"id", tab.id}, {"caption", tab.caption}});
  }
  nlohmann::json buttons = nlohmann::json::array();
  for (const auto& button : shell.Buttons()) {
    buttons.push_back(
        {{"id", button.id}, {"caption", button.caption}, {"enabled", button.enabled}, {"shown", button.shown}});
  }
  return {{"title", shell.Title()}, {"tabs", std::move(tabs)}, {"buttons", std::move(buttons)},
          {"shownTab", shell.ShownTabId()}};
}

}  // namespace cn::web

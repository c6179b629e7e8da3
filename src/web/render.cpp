#include "web/render.h"

#include <array>

#include "dom/behaviours.h"
#include "dom/serialize.h"

namespace cn::web {
namespace {

const dom::SerializeOptions& Options() {
  static const dom::SerializeOptions options{std::string(kNodeIdAttribute)};
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

bool InDataEntryRow(const dom::Element& element) {
  if (element.Is("TR") && dom::HasBehavior(element, dom::kDataEntryBehavior)) return true;
  const auto row = element.Closest("TR");
  return row && dom::HasBehavior(*row, dom::kDataEntryBehavior);
}

}  // namespace

std::string RenderMarkup(const dom::Node& node) { return dom::SerializeNode(node, Options()); }

std::string RenderChildren(const dom::Element& element) { return dom::SerializeChildren(element, Options()); }

nlohmann::json ElementWiring(const dom::Element& element) {
  nlohmann::json events = nlohmann::json::array();
  const std::string id = element.Id();
  const auto document = element.OwnerDocument();
  const bool data_entry = dom::HasBehavior(element, dom::kDataEntryBehavior);
  const bool in_row = InDataEntryRow(element);
  for (const EventName& event : kEvents) {
    bool reports = !id.empty() && document && document->Events().Find(id, event.bound) != nullptr;
    if (event.browser == "click" && in_row) reports = true;
    if ((event.browser == "change" || event.browser == "blur") && data_entry) reports = true;
    if (reports) events.push_back(event.browser);
  }
  nlohmann::json filters = nlohmann::json::array();
  for (const std::string& url : element.BehaviorUrls()) {
    if (const dom::InputFilter* filter = dom::FindInputFilter(url)) filters.push_back(filter->file_name);
  }
  if (events.empty() && filters.empty()) return nullptr;
  return {{"events", std::move(events)}, {"filters", std::move(filters)}};
}

void AddWiring(const dom::Element& root, nlohmann::json& out) {
  if (auto wiring = ElementWiring(root); !wiring.is_null()) out[std::to_string(root.node_id())] = std::move(wiring);
  for (const auto& element : root.All()) {
    if (auto wiring = ElementWiring(*element); !wiring.is_null()) {
      out[std::to_string(element->node_id())] = std::move(wiring);
    }
  }
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

#include "web/render.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
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

// Events as bits, one per entry of kEvents.
using EventBits = unsigned;

constexpr EventBits BitOf(std::string_view browser) {
  for (std::size_t i = 0; i < kEvents.size(); ++i) {
    if (kEvents[i].browser == browser) return EventBits{1} << i;
  }
  return 0;
}

// The events each element id has handlers for, read from the page's handler table once per
// rendering rather than once per element and event. The table gives its bindings in order of
// id, so the ids come sorted and are found by halving.
class BoundEvents {
 public:
  // `only_its_own`: of the element's own id alone (a patch wires one element at a time).
  explicit BoundEvents(const dom::Element& element, bool only_its_own = false) {
    const auto document = element.OwnerDocument();
    if (!document) return;
    const auto add = [&](std::string_view id, std::string_view event) {
      EventBits bit = 0;
      for (std::size_t i = 0; i < kEvents.size(); ++i) {
        if (kEvents[i].bound == event) bit = EventBits{1} << i;
      }
      if (bit == 0) return;
      if (by_id_.empty() || by_id_.back().first != id) by_id_.emplace_back(id, 0);
      by_id_.back().second |= bit;
    };
    if (!only_its_own) {
      document->Events().ForEachBinding(add);
    } else if (const std::string id = element.Id(); !id.empty()) {
      document->Events().ForEachEventOf(id, add);
    }
  }

  EventBits Of(std::string_view id) const {
    if (id.empty()) return 0;
    const auto it = std::lower_bound(
        by_id_.begin(), by_id_.end(), id,
        [](const auto& entry, std::string_view wanted) { return entry.first < wanted; });
    return it != by_id_.end() && it->first == id ? it->second : 0;
  }

 private:
  std::vector<std::pair<std::string_view, EventBits>> by_id_;
};

// Whether a row (TR) around the element carries the row tables' behaviour: a click anywhere
// inside such a row, nested tables included, is the row's click (dom::RaiseClickBehaviours).
bool RowAboveIsDataEntry(const dom::Element& element) {
  for (auto row = element.Closest("TR"); row; row = row->Closest("TR")) {
    if (dom::HasBehavior(*row, dom::kDataEntryBehavior)) return true;
  }
  return false;
}

// What an element's behaviours ask of the browser: the input filters among them, and whether
// one is the row tables' data-entry behaviour. Each file is named once.
struct BehaviourWiring {
  std::vector<std::string_view> filter_files;
  bool data_entry = false;
};

BehaviourWiring BehavioursOf(const dom::Element& element) {
  BehaviourWiring wiring;
  for (const std::string_view url : element.BehaviorUrls()) {
    if (const dom::InputFilter* filter = dom::FindInputFilter(url)) {
      wiring.filter_files.push_back(filter->file_name);
    } else if (dom::BehaviorFileIs(url, dom::kDataEntryBehavior)) {
      wiring.data_entry = true;
    }
  }
  return wiring;
}

// Appends the element's entry ("id:events:filters;"); nothing when it reports nothing.
// `in_row`: a click on it is a row's click.
void AppendWiringOf(const dom::Element& element, const BoundEvents& bound,
                    const BehaviourWiring& behaviours, bool in_row, std::string& out) {
  EventBits bits = bound.Of(element.IdView());
  if (in_row) bits |= BitOf("click");
  if (behaviours.data_entry) bits |= BitOf("change") | BitOf("blur");
  if (bits == 0 && behaviours.filter_files.empty()) return;
  out += std::to_string(element.node_id());
  out += ':';
  std::string_view comma;
  for (std::size_t i = 0; i < kEvents.size(); ++i) {
    if ((bits & (EventBits{1} << i)) == 0) continue;
    out += comma;
    out += kEvents[i].browser;
    comma = ",";
  }
  out += ':';
  comma = {};
  for (const std::string_view file : behaviours.filter_files) {
    out += comma;
    out += file;
    comma = ",";
  }
  out += ';';
}

// The element and its subtree in one walk, whether a row above is a row table's handed down.
void WireTree(const dom::Element& element, const BoundEvents& bound, bool row_above,
              std::string& out) {
  const BehaviourWiring behaviours = BehavioursOf(element);
  const bool in_row = (behaviours.data_entry && element.Is("TR")) || row_above;
  AppendWiringOf(element, bound, behaviours, in_row, out);
  // Options kept as data report nothing.
  for (const auto& child : element.HeldChildNodes()) {
    if (child->IsElement()) WireTree(static_cast<const dom::Element&>(*child), bound, in_row, out);
  }
}

// "a,b" as its items; "" as none.
std::vector<std::string> SplitList(std::string_view list) {
  std::vector<std::string> items;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    items.emplace_back(list.substr(0, comma));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return items;
}

}  // namespace

std::string RenderMarkup(const dom::Node& node) { return dom::SerializeNode(node, Options()); }

std::string RenderChildren(const dom::Element& element) { return dom::SerializeChildren(element, Options()); }

std::string ElementWiring(const dom::Element& element) {
  const BehaviourWiring behaviours = BehavioursOf(element);
  const bool in_row = (element.Is("TR") && behaviours.data_entry) || RowAboveIsDataEntry(element);
  std::string entry;
  AppendWiringOf(element, BoundEvents(element, true), behaviours, in_row, entry);
  return entry;
}

void AddWiring(const dom::Element& root, std::string& out) {
  WireTree(root, BoundEvents(root), RowAboveIsDataEntry(root), out);
}

std::map<dom::NodeId, WiringEntry> ReadWiring(std::string_view text) {
  std::map<dom::NodeId, WiringEntry> entries;
  while (!text.empty()) {
    const std::size_t end = text.find(';');
    const std::string_view entry = text.substr(0, end);
    const std::size_t first = entry.find(':');
    const std::size_t second = first == std::string_view::npos ? first : entry.find(':', first + 1);
    dom::NodeId id = 0;
    const auto read =
        std::from_chars(entry.data(), entry.data() + std::min(first, entry.size()), id);
    if (second == std::string_view::npos || read.ec != std::errc() ||
        read.ptr != entry.data() + first) {
      throw std::invalid_argument("Not a wiring entry: " + std::string(entry));
    }
    entries[id] = {SplitList(entry.substr(first + 1, second - first - 1)),
                   SplitList(entry.substr(second + 1))};
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return entries;
}

nlohmann::json RenderDocument(const dom::Document& document, int key) {
  const auto body = document.Body();
  std::string wiring;
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
    if (tab.shown)
      tabs.push_back({{"id", tab.id}, {"caption", tab.caption}, {"page", tab.page_file}});
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

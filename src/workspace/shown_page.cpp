#include "workspace/shown_page.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "dom/element.h"

namespace cn {
namespace {

// What a person reads off an element: a box's text, a check's tick, a list's choice, a
// label's words. Containers show nothing of their own.
std::optional<std::uint64_t> Digest(const dom::Element& element) {
  const std::hash<std::string> hash;
  if (element.Is("INPUT")) {
    const std::string type = element.Type();
    if (type == "checkbox" || type == "radio") return element.Checked() ? 1 : 0;
    return hash(element.Value());
  }
  if (element.Is("TEXTAREA")) return hash(element.Value());
  if (element.Is("SELECT")) {
    return hash(element.Value()) * 31 + static_cast<std::uint64_t>(element.SelectedIndex() + 1);
  }
  const auto& children = element.HeldChildNodes();
  if (std::ranges::any_of(children, [](const auto& child) { return child->IsElement(); })) {
    return std::nullopt;
  }
  return hash(element.InnerText());
}

// Every element with an id and something to show, without making a select's kept options
// into nodes: they carry nothing the page's transfers read.
void Collect(const dom::Element& element,
             std::vector<std::pair<std::uint32_t, std::uint64_t>>& states) {
  if (!element.Id().empty()) {
    if (const std::optional<std::uint64_t> digest = Digest(element)) {
      states.emplace_back(static_cast<std::uint32_t>(element.node_id()), *digest);
    }
  }
  if (element.Is("SELECT")) return;
  for (const auto& child : element.HeldChildNodes()) {
    if (child->IsElement()) Collect(static_cast<const dom::Element&>(*child), states);
  }
}

}  // namespace

ShownPage::HandlerScope::~HandlerScope() {
  if (--shown_.depth_ > 0) return;
  if (const std::shared_ptr<dom::Document> page = shown_.pending_.lock()) shown_.Note(*page);
  shown_.pending_.reset();
}

void ShownPage::Showing(dom::Document& page) {
  if (depth_ > 0) {
    pending_ = page.shared_from_this();
    return;
  }
  Note(page);
}

void ShownPage::Note(const dom::Document& page) {
  std::vector<std::pair<std::uint32_t, std::uint64_t>> states;
  if (const std::shared_ptr<dom::Element> root = page.DocumentElement()) Collect(*root, states);
  std::ranges::sort(states);
  nodes_.clear();
  digests_.clear();
  nodes_.reserve(states.size());
  digests_.reserve(states.size());
  for (const auto& [node, digest] : states) {
    nodes_.push_back(node);
    digests_.push_back(digest);
  }
  noted_ = page.weak_from_this();
}

bool ShownPage::Changed(dom::Document& page, std::string_view element_id) {
  return Changed(page, *page.GetElementById(element_id));
}

bool ShownPage::Changed(dom::Document& page, const dom::Element& element) {
  if (pending_.lock().get() == &page) {
    // Shown by the handler still running: nothing on it is the administrator's yet.
    Note(page);
    pending_.reset();
  }
  if (noted_.lock().get() != &page) return true;
  const auto node = static_cast<std::uint32_t>(element.node_id());
  const auto found = std::ranges::lower_bound(nodes_, node);
  if (found == nodes_.end() || *found != node) return true;
  return Digest(element) != digests_[static_cast<std::size_t>(found - nodes_.begin())];
}

bool ShownPage::AnyChanged(dom::Document& page, std::string_view skipped) {
  if (pending_.lock().get() == &page || noted_.lock().get() != &page) return false;
  std::vector<std::pair<std::uint32_t, std::uint64_t>> states;
  if (const std::shared_ptr<dom::Element> root = page.DocumentElement()) Collect(*root, states);
  std::ranges::sort(states);
  const auto skip = page.FindElementById(skipped);
  const auto skipped_node = skip ? static_cast<std::uint32_t>(skip->node_id()) : 0;
  if (states.size() != nodes_.size()) return true;
  for (std::size_t i = 0; i < states.size(); ++i) {
    if (states[i].first != nodes_[i]) return true;
    if (states[i].second != digests_[i] && states[i].first != skipped_node) return true;
  }
  return false;
}

}  // namespace cn

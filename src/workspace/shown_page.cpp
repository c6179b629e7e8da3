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
  if (!element.Children().empty()) return std::nullopt;
  return hash(element.InnerText());
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
  states_.clear();
  for (const std::shared_ptr<dom::Element>& element : page.All()) {
    if (element->Id().empty()) continue;
    if (const std::optional<std::uint64_t> digest = Digest(*element)) {
      states_.emplace_back(element->node_id(), *digest);
    }
  }
  std::ranges::sort(states_);
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
  const auto found = std::ranges::lower_bound(
      states_, std::pair<std::int64_t, std::uint64_t>(element.node_id(), 0));
  if (found == states_.end() || found->first != element.node_id()) return true;
  return Digest(element) != found->second;
}

}  // namespace cn

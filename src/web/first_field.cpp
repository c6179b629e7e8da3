#include "web/first_field.h"

#include "dom/style.h"

namespace cn::web {
namespace {

bool Hides(const dom::Element& element) {
  return element.HasAttribute("hidden") || element.GetStyle(dom::StyleName::kDisplay) == "none" ||
         element.GetStyle(dom::StyleName::kVisibility) == "hidden";
}

bool IsField(const dom::Element& element) {
  if (element.Is("SELECT") || element.Is("TEXTAREA")) return true;
  return element.Is("INPUT") && element.Type() != "hidden" && element.Type() != "button";
}

struct Found {
  std::shared_ptr<dom::Element> first;
  std::shared_ptr<dom::Element> changeable;
};

// Tree order, skipping what is hidden; stops at the first field that can be changed.
void Walk(const dom::Element& element, Found& found) {
  for (const auto& child : element.HeldChildNodes()) {
    if (found.changeable) return;
    if (!child->IsElement()) continue;
    auto& candidate = static_cast<dom::Element&>(*child);
    if (Hides(candidate)) continue;
    if (IsField(candidate)) {
      if (!found.first) found.first = candidate.SharedThis();
      if (!candidate.Disabled() && !candidate.ReadOnly()) found.changeable = candidate.SharedThis();
      continue;
    }
    Walk(candidate, found);
  }
}

}  // namespace

std::shared_ptr<dom::Element> FirstField(const dom::Document& page) {
  const auto body = page.Body();
  if (!body) return nullptr;
  Found found;
  Walk(*body, found);
  return found.changeable ? found.changeable : found.first;
}

}  // namespace cn::web

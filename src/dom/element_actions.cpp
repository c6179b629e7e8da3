// Element actions: focus, text selection, scrolling, applyElement, behaviours, frames.
#include <algorithm>
#include <string>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/element.h"
#include "dom/internal.h"

namespace cn::dom {
namespace {

using internal::AsciiEqualsIgnoreCase;
using internal::Fail;

bool IsHidden(const Element& element) {
  for (const Element* e = &element; e != nullptr;) {
    if (AsciiEqualsIgnoreCase(e->GetStyle(StyleName::kDisplay), "none") ||
        AsciiEqualsIgnoreCase(e->GetStyle(StyleName::kVisibility), "hidden")) {
      return true;
    }
    const std::shared_ptr<Element> parent = e->ParentElement();
    e = parent.get();  // kept alive by its own parent or by the page
  }
  return false;
}

// The urls named by "url(...)" in a style's behavior value, quotes removed.
void AddUrlsIn(std::string_view value, std::vector<std::string_view>& urls) {
  std::size_t at = 0;
  while (true) {
    std::size_t start = std::string_view::npos;
    for (std::size_t i = at; i + 4 <= value.size(); ++i) {
      if (AsciiEqualsIgnoreCase(value.substr(i, 4), "url(")) {
        start = i + 4;
        break;
      }
    }
    if (start == std::string_view::npos) break;
    const std::size_t end = value.find(')', start);
    if (end == std::string_view::npos) break;
    std::string_view url = value.substr(start, end - start);
    while (!url.empty() && url.front() == ' ') url.remove_prefix(1);
    while (!url.empty() && url.back() == ' ') url.remove_suffix(1);
    if (url.size() >= 2 && (url.front() == '\'' || url.front() == '"') && url.back() == url.front()) {
      url = url.substr(1, url.size() - 2);
    }
    if (!url.empty()) urls.push_back(url);
    at = end + 1;
  }
}

}  // namespace

void Element::Focus() {
  const std::shared_ptr<Document> document = OwnerDocument();
  if (!document || !IsConnected() || Disabled() || IsHidden(*this)) return;
  document->SetActiveElement(std::static_pointer_cast<Element>(shared_from_this()));
  NoteChange(MutationKind::kFocus, "", "");
}

void Element::Select() {
  MutableExtras().all_text_selected = true;
  NoteChange(MutationKind::kSelect, "", "");
}

void Element::ScrollIntoView(bool align_to_top) {
  NoteChange(MutationKind::kScrollIntoView, "", align_to_top ? "true" : "false");
}

void Element::ApplyElement(const std::shared_ptr<Element>& new_element, std::string_view where) {
  if (!new_element) Fail(failure::kObjectRequired, "No element to apply to " + Describe());
  if (new_element->Contains(*this)) {
    Fail(failure::kInvalidArgument, new_element->Describe() + " cannot be applied to " + Describe() +
                                        ", which is inside it (applyElement)");
  }
  if (AsciiEqualsIgnoreCase(where, "inside")) {
    new_element->Remove();
    // Move the content first, so that the new element arrives with it in one insertion.
    MakeOptionNodes();
    const std::vector<std::shared_ptr<Node>> former = children_;
    for (const auto& child : former) new_element->AppendChild(child);
    AppendChild(new_element);
    return;
  }
  if (AsciiEqualsIgnoreCase(where, "outside")) {
    const std::shared_ptr<Element> parent = ParentElement();
    if (!parent) {
      Fail(failure::kInvalidArgument, Describe() + " has no parent to apply " + new_element->Describe() +
                                          " outside it (applyElement)");
    }
    new_element->Remove();
    parent->InsertBefore(new_element, shared_from_this());
    new_element->AppendChild(shared_from_this());
    return;
  }
  Fail(failure::kInvalidArgument, "applyElement on " + Describe() + " with '" + std::string(where) +
                                      "': only \"inside\" or \"outside\"");
}

int Element::AddBehavior(std::string_view url) {
  Extras& extras = MutableExtras();
  const int id = extras.next_behavior_id++;
  extras.behaviors.push_back({id, std::string(url)});
  NoteChange(MutationKind::kBehaviorAdded, url, std::to_string(id));
  return id;
}

bool Element::RemoveBehavior(int behavior_id) {
  if (!extras_) return false;
  auto& behaviors = extras_->behaviors;
  const auto it = std::find_if(behaviors.begin(), behaviors.end(),
                               [&](const Behavior& b) { return b.id == behavior_id; });
  if (it == behaviors.end()) return false;
  const Behavior removed = *it;
  behaviors.erase(it);
  NoteChange(MutationKind::kBehaviorRemoved, removed.url, std::to_string(removed.id));
  return true;
}

std::vector<std::string_view> Element::BehaviorUrls() const {
  std::vector<std::string_view> urls;
  if (!extras_) return urls;  // a plain element has neither style nor behaviours
  const std::string_view behavior = CssName(StyleName::kBehavior);
  for (const auto& declaration : Style().declarations()) {
    if (declaration.name == behavior) {
      AddUrlsIn(declaration.value, urls);
      break;
    }
  }
  for (const Behavior& behavior : extras_->behaviors) urls.push_back(behavior.url);
  return urls;
}

const std::vector<Behavior>& Element::Behaviors() const {
  static const std::vector<Behavior> kNone;
  return extras_ ? extras_->behaviors : kNone;
}

const std::optional<std::string>& Element::ValueAtUserFocus() const {
  static const std::optional<std::string> kNone;
  return extras_ && extras_->rare ? extras_->rare->value_at_user_focus : kNone;
}

void Element::SetValueAtUserFocus(std::optional<std::string> value) {
  if (!value && !(extras_ && extras_->rare)) return;
  MutableRare().value_at_user_focus = std::move(value);
}

std::shared_ptr<Document> Element::ContentDocument() const {
  RequireTag("IFRAME FRAME", "contentDocument");
  return extras_ && extras_->rare ? extras_->rare->content_document : nullptr;
}

void Element::SetContentDocument(std::shared_ptr<Document> document) {
  RequireTag("IFRAME FRAME", "contentDocument");
  if (!document) Fail(failure::kObjectRequired, "No page to show in " + Describe());
  const std::string url = document->Url();
  MutableRare().content_document = std::move(document);
  NoteChange(MutationKind::kProperty, "contentDocument", url);
}

}  // namespace cn::dom

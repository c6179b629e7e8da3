#include "play/page_states.h"

#include <string>

#include "dom/element.h"
#include "dom/style.h"

namespace cn::play {

namespace {

bool IsOneOf(const dom::Element& element, std::initializer_list<std::string_view> tags) {
  for (std::string_view tag : tags) {
    if (element.Is(tag)) return true;
  }
  return false;
}

// The nearest enclosing table row that has an id; null when none.
std::shared_ptr<dom::Element> RowOf(const dom::Element& element) {
  for (auto parent = element.ParentElement(); parent; parent = parent->ParentElement()) {
    if (parent->Is("tr") && !parent->Id().empty()) return parent;
  }
  return nullptr;
}

// The text of a select's selected option; "" when none is selected.
std::string SelectedText(const dom::Element& select) {
  for (const auto& option : select.ElementsByTagName("option")) {
    if (option->Selected()) return option->Text();
  }
  return "";
}

// A select's options in their order, each as [value, caption].
Json Options(const dom::Element& select) {
  Json options = Json::array();
  for (const auto& option : select.ElementsByTagName("option"))
    options.push_back({option->Value(), option->Text()});
  return options;
}

void AddUnique(Json& into, const std::string& id, Json state) {
  std::string key = id;
  for (int n = 2; into.contains(key); ++n) key = id + "#" + std::to_string(n);
  into[key] = std::move(state);
}

}  // namespace

Json ElementState(const dom::Element& element) {
  Json state = {{"tag", element.TagName()}};
  const bool form_control = IsOneOf(element, {"input", "select", "textarea", "button", "option"});
  const std::string type = element.Type();
  if (form_control) state["value"] = element.Value();
  if (element.Is("input") && (type == "checkbox" || type == "radio"))
    state["checked"] = element.Checked();
  state["disabled"] = element.Disabled();
  if (element.Is("textarea") || (element.Is("input") && type != "checkbox" && type != "radio")) {
    state["readOnly"] = element.ReadOnly();
  }
  if (const int limit = element.MaxLength(); limit != dom::kNoMaxLength) state["maxLength"] = limit;
  if (const int place = element.TabIndex(); place != 0) state["tabIndex"] = place;
  state["visibility"] = element.GetStyle(dom::StyleName::kVisibility);
  state["display"] = element.GetStyle(dom::StyleName::kDisplay);
  if (element.Is("select")) {
    state["text"] = SelectedText(element);
    state["options"] = Options(element);
  } else if (element.Children().empty()) {
    state["text"] = element.InnerText();
  }
  state["class"] = element.ClassName();
  return state;
}

Json AbsentState(std::string_view name) { return name == "tabIndex" ? Json(0) : Json(); }

Json PageStates(const dom::Document& document) {
  Json elements = Json::object();
  Json rows = Json::object();
  for (const auto& element : document.All()) {
    const std::string id = element->Id();
    if (id.empty()) continue;
    if (const auto row = element->Is("tr") ? nullptr : RowOf(*element)) {
      Json& row_states = rows[row->Id()];
      if (row_states.is_null()) row_states = Json::object();
      AddUnique(row_states, id, ElementState(*element));
    } else {
      AddUnique(elements, id, ElementState(*element));
    }
  }
  return {{"elements", std::move(elements)}, {"rows", std::move(rows)}};
}

std::shared_ptr<dom::Element> FindControl(const dom::Document& document, std::string_view id,
                                          std::string_view row) {
  if (row.empty()) return document.FindElementById(id);
  for (const auto& candidate : document.AllWithId(row)) {
    if (!candidate->Is("tr")) continue;
    if (auto control = candidate->FindInAll(id)) return control;
  }
  return nullptr;
}

}  // namespace cn::play

#include "dom/shared_content.h"

#include <algorithm>

#include "dom/document.h"
#include "dom/element.h"
#include "dom/html_parse.h"

namespace cn::dom {

std::shared_ptr<Element> NewOption(Document& document, std::string_view value, std::string_view text) {
  const std::shared_ptr<Element> option = document.CreateElement("OPTION");
  option->SetText(text);
  option->SetValue(value);
  return option;
}

template <typename Build>
std::shared_ptr<const std::vector<std::shared_ptr<Node>>> SharedContent::Built(std::string key, Build&& build) {
  const std::lock_guard lock(mutex_);
  if (const auto it = built_.find(key); it != built_.end()) return it->second;
  if (built_.size() >= kMaxEntries) return nullptr;
  if (!owner_) owner_ = Document::CreateEmpty();
  auto nodes = std::make_shared<const std::vector<std::shared_ptr<Node>>>(build(*owner_));
  return built_.try_emplace(std::move(key), std::move(nodes)).first->second;
}

std::vector<std::shared_ptr<Node>> SharedContent::Parse(Document& document, std::string_view html,
                                                        std::string_view context_tag) {
  std::shared_ptr<const std::vector<std::shared_ptr<Node>>> built;
  if (html.size() <= kMaxText) {
    std::string key("<");
    key.append(context_tag).append(">").append(html);
    built = Built(std::move(key), [&](Document& owner) { return ParseFragment(owner, html, context_tag); });
  }
  if (!built) return ParseFragment(document, html, context_tag);
  std::vector<std::shared_ptr<Node>> nodes;
  nodes.reserve(built->size());
  for (const auto& node : *built) nodes.push_back(document.ImportCopy(*node));
  return nodes;
}

std::shared_ptr<Element> SharedContent::Option(Document& document, std::string_view value, std::string_view text) {
  std::shared_ptr<const std::vector<std::shared_ptr<Node>>> built;
  if (value.size() + text.size() <= kMaxText) {
    std::string key("=");
    key.append(value).push_back('\0');
    key.append(text);
    built = Built(std::move(key), [&](Document& owner) {
      return std::vector<std::shared_ptr<Node>>{NewOption(owner, value, text)};
    });
  }
  if (!built) return NewOption(document, value, text);
  return std::static_pointer_cast<Element>(document.ImportCopy(*built->front()));
}

template <typename T>
std::shared_ptr<const T> SharedContent::Interned(
    std::unordered_map<std::string, std::shared_ptr<const T>>& cache, std::string key, T value) {
  if (key.size() > kMaxListText) return std::make_shared<const T>(std::move(value));
  const std::lock_guard lock(mutex_);
  if (const auto it = cache.find(key); it != cache.end()) return it->second;
  auto made = std::make_shared<const T>(std::move(value));
  // A full cache still serves the lists it holds; a list beyond it is the page's own.
  if (cache.size() < kMaxLists) cache.try_emplace(std::move(key), made);
  return made;
}

std::shared_ptr<const OptionData> SharedContent::Options(std::vector<OptionText> options) {
  std::string key;
  for (const OptionText& entry : options) {
    key.append(entry.value).push_back('\0');
    key.append(entry.text).push_back('\0');
  }
  return Interned(option_lists_, std::move(key), OptionData(std::move(options)));
}

std::shared_ptr<const std::vector<std::string>> SharedContent::List(
    std::vector<std::string> entries) {
  std::string key;
  for (const std::string& entry : entries) key.append(entry).push_back('\0');
  return Interned(text_lists_, std::move(key), std::move(entries));
}

std::shared_ptr<const std::string> SharedContent::Text(std::string text) {
  std::string key = text;
  return Interned(texts_, std::move(key), std::move(text));
}

std::shared_ptr<const std::string> Document::SharedText(std::string text) {
  if (shared_) return shared_->Text(std::move(text));
  return std::make_shared<const std::string>(std::move(text));
}

std::shared_ptr<const std::vector<std::string>> Document::SharedList(
    std::vector<std::string> entries) {
  if (shared_) return shared_->List(std::move(entries));
  return std::make_shared<const std::vector<std::string>>(std::move(entries));
}

std::shared_ptr<const OptionData> Document::KeptOptionData(std::vector<OptionText> options) {
  if (shared_) return shared_->Options(std::move(options));
  return std::make_shared<const OptionData>(std::move(options));
}

bool ChangeAttribute(std::vector<Attribute>& attributes, std::string_view lower_name,
                     std::string_view value, bool erase) {
  const auto it = std::find_if(attributes.begin(), attributes.end(),
                               [&](const Attribute& a) { return a.name == lower_name; });
  if (erase) {
    if (it == attributes.end()) return false;
    attributes.erase(it);
  } else if (it != attributes.end()) {
    if (it->value == value) return false;
    it->value = std::string(value);
  } else {
    // Elements gain an attribute or two in their life; doubling the list each time would
    // leave most of every page's lists half empty.
    if (attributes.size() == attributes.capacity()) attributes.reserve(attributes.size() + 1);
    attributes.push_back({std::string(lower_name), std::string(value)});
  }
  return true;
}

std::shared_ptr<const KeptStyle> StyleAfter(const std::shared_ptr<const KeptStyle>& before,
                                            std::string_view css_name, std::string_view value) {
  StyleDeclaration style = before ? before->declaration : StyleDeclaration();
  if (!style.Set(css_name, value) && before) return before;
  if (style.empty()) return nullptr;
  std::string text = style.Serialize();
  return std::make_shared<const KeptStyle>(KeptStyle{std::move(style), std::move(text)});
}

std::shared_ptr<const KeptStyle> SharedContent::StyleChanged(const std::shared_ptr<const KeptStyle>& before,
                                                             std::string_view css_name, std::string_view value) {
  if (css_name.size() + value.size() > kMaxText) return StyleAfter(before, css_name, value);
  const ChangeView key{before.get(), false, css_name, value};
  const std::lock_guard lock(mutex_);
  if (const auto it = style_changes_.find(key); it != style_changes_.end()) return it->second.after;
  auto after = StyleAfter(before, css_name, value);
  if (style_changes_.size() < kMaxEntries) {
    style_changes_.try_emplace(Change{key.before, false, std::string(css_name), std::string(value)},
                               StyleTransition{before, after});
  }
  return after;
}

AttributeList SharedContent::Changed(const AttributeList& before, std::string_view lower_name,
                                     std::string_view value, bool erase) {
  const auto change = [&] {
    std::vector<Attribute> after = before ? *before : std::vector<Attribute>();
    ChangeAttribute(after, lower_name, value, erase);
    return AttributeList(std::move(after));
  };
  if (!before || lower_name.size() + value.size() > kMaxText) return change();
  // An erasure's value plays no part in it.
  const ChangeView key{before.get(), erase, lower_name, erase ? std::string_view() : value};
  const std::lock_guard lock(mutex_);
  if (const auto it = changes_.find(key); it != changes_.end()) return it->second.after;
  AttributeList after = change();
  if (changes_.size() < kMaxEntries) {
    changes_.try_emplace(Change{key.before, erase, std::string(lower_name), std::string(key.value)},
                         Transition{before, after});
  }
  return after;
}

}  // namespace cn::dom

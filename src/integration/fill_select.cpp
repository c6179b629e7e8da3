#include "integration/fill_select.h"

#include <cstddef>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "integration/list_search.h"

namespace cn {

bool FillSelect(const std::shared_ptr<dom::Element>& select, const std::vector<std::string>& list,
                int value_field, int text_field, bool clear_first, bool show_code) {
  if (list.empty() || !select) return false;
  const std::shared_ptr<dom::Document> document = select->OwnerDocument();
  if (!document) {
    throw RuntimeFailure(failure::kObjectRequired,
                         "Object required: " + select->Describe() + " has no document",
                         "FillSelect");
  }
  const bool whole_entry = value_field == -1 || text_field == -1;
  if (!whole_entry && (value_field < 0 || text_field < 0)) {
    throw RuntimeFailure(failure::kSubscriptOutOfRange,
                         "Subscript out of range: field numbers " + std::to_string(value_field) +
                             " and " + std::to_string(text_field),
                         "FillSelect");
  }
  if (clear_first) select->SetInnerHtml("");
  std::vector<dom::OptionText> options;
  options.reserve(list.size());
  for (const std::string& entry : list) {
    if (whole_entry) {
      options.push_back({entry, entry});
    } else {
      const std::string_view value = FieldView(entry, static_cast<std::size_t>(value_field));
      const std::string_view text = FieldView(entry, static_cast<std::size_t>(text_field));
      std::string shown =
          show_code ? std::string(value) + " - " + std::string(text) : std::string(text);
      options.push_back({std::string(value), std::move(shown)});
    }
  }
  select->Options().Fill(std::move(options));
  return true;
}

}  // namespace cn

namespace cn {

void ShowStoredValue(dom::Element& select, std::string_view value) {
  select.SetValue(value);
  if (value.empty() || !select.Is("SELECT") || select.Value() == value) return;
  const std::shared_ptr<dom::Document> document = select.OwnerDocument();
  if (!document) {
    throw RuntimeFailure(failure::kObjectRequired,
                         "Object required: " + select.Describe() + " has no document",
                         "ShowStoredValue");
  }
  select.Options().Add(document->CreateOption(value, value));
  select.SetValue(value);
}

}  // namespace cn

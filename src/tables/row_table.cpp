#include "tables/row_table.h"

#include <charconv>
#include <limits>
#include <vector>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "dom/document.h"
#include "integration/reporting.h"

namespace cn {
namespace {

constexpr std::string_view kSource = "RowTable";

std::shared_ptr<dom::Document> DocumentOf(const std::shared_ptr<dom::Element>& element) {
  std::shared_ptr<dom::Document> document = element ? element->OwnerDocument() : nullptr;
  if (!document) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: the command element",
                         std::string(kSource));
  }
  return document;
}

void RequireElement(const std::shared_ptr<dom::Element>& element, std::string_view what) {
  if (!element) {
    throw RuntimeFailure(failure::kObjectRequired, "Object required: " + std::string(what),
                         std::string(kSource));
  }
}

// The row index a control reported, as the 16-bit number the commands work with.
std::int16_t ReadRowIndex(std::string_view text) {
  const std::string trimmed = Trim(text);
  int value = 0;
  const char* first = trimmed.data();
  const char* last = first + trimmed.size();
  if (first != last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  if (trimmed.empty() || end != last || error == std::errc::invalid_argument) {
    throw RuntimeFailure(failure::kTypeMismatch, "Type mismatch: row index \"" + trimmed + "\"",
                         std::string(kSource));
  }
  if (error == std::errc::result_out_of_range || value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw RuntimeFailure(failure::kOverflow, "Overflow: row index " + trimmed,
                         std::string(kSource));
  }
  return static_cast<std::int16_t>(value);
}

// Empties the container and puts the new table inside it.
void PlaceInside(const std::shared_ptr<dom::Element>& container,
                 const std::shared_ptr<dom::Element>& table) {
  RequireElement(container, "the table's container");
  container->SetInnerText("");
  container->ApplyElement(table, "inside");
}

}  // namespace

std::string CommandScriptText(std::string_view command_element_id, std::string_view command,
                              std::int32_t row_index) {
  std::string script(command_element_id);
  script.append(".innerText='").append(command).append(kArgumentsSeparator);
  script.append("' + event.srcElement.id + '").append(kArgumentSeparator);
  script.append(std::to_string(row_index)).append("';");
  script.append(command_element_id).append(".click();");
  return script;
}

std::string_view RowClass(std::int32_t row_index) {
  return row_index % 2 == 0 ? kOddRowClass : kEvenRowClass;
}

std::shared_ptr<dom::Element> RowControl(const dom::Element& row, std::string_view control_id) {
  return row.GetFromAll(control_id);
}

RowTable::RowTable(std::string_view row_id_prefix, std::int32_t max_row_index)
    : row_id_prefix_(row_id_prefix), max_row_index_(max_row_index) {}

RowTable::~RowTable() = default;

void RowTable::EEC_onclick() {
  IgnoreFailures([this] {
    RequireElement(EEC, "the command element");
    for (const std::string& command_text : Split(EEC->InnerText(), kCommandSeparator)) {
      const std::vector<std::string> pieces = Split(command_text, kArgumentsSeparator);
      if (pieces.empty()) {
        ExecuteTableCommand("", "");
      } else {
        ExecuteTableCommand(pieces[0], pieces.size() > 1 ? pieces[1] : std::string());
      }
    }
  });
}

bool RowTable::ExecuteTableCommand(std::string_view command, std::string_view arguments) {
  bool known = false;
  IgnoreFailures([&] {
    const std::vector<std::string> parts = Split(arguments, kArgumentSeparator);
    if (parts.size() < 2) {
      throw RuntimeFailure(
          failure::kSubscriptOutOfRange,
          "Subscript out of range: no row index in \"" + std::string(arguments) + "\"",
          std::string(kSource));
    }
    // The first piece names the control that fired; the commands work on the whole row.
    const std::int16_t row_index = ReadRowIndex(parts[1]);
    known = RunCommand(command, row_index);
  });
  return known;
}

void RowTable::BuildHeaderTable(const std::shared_ptr<dom::Element>& command_element,
                                const std::shared_ptr<dom::Element>& container,
                                const HeaderLayout& layout) {
  EEC = command_element;
  const std::shared_ptr<dom::Element> table = DocumentOf(EEC)->CreateElement(layout.tag);
  header_container_ = container;
  PlaceInside(container, table);
  table->SetClassName(layout.class_name);
  table->SetId(layout.id);
  table->SetCellSpacing("0");
  table->SetWidth("100%");
  if (layout.fixed_layout) table->SetStyle("tableLayout", "fixed");

  const std::shared_ptr<dom::Element> head_row = table->CreateTHead()->InsertRow();
  head_row->SetClassName("clsNormHeader");
  head_row->SetId("Header");
  for (const HeaderCell& entry : layout.cells) {
    const std::shared_ptr<dom::Element> cell = head_row->InsertCell();
    if (layout.width_as_style) {
      cell->SetStyle("width", entry.width);
    } else {
      cell->SetWidth(entry.width);
    }
    cell->SetInnerText(entry.text);
    if (!entry.padding_left.empty()) cell->SetStyle("paddingLeft", entry.padding_left);
    if (!entry.padding_right.empty()) cell->SetStyle("paddingRight", entry.padding_right);
  }
  last_row_index_ = -1;
  highlighted_row_index_ = 0;
}

void RowTable::BuildBodyTable(const std::shared_ptr<dom::Element>& command_element,
                              const std::shared_ptr<dom::Element>& container,
                              const BodyLayout& layout) {
  EEC = command_element;
  const std::shared_ptr<dom::Element> table = DocumentOf(EEC)->CreateElement(layout.tag);
  PlaceInside(container, table);
  body_table_ = table;
  table->SetRules("rows");
  table->SetStyle("borderCollapse", "collapse");
  if (!layout.id.empty()) table->SetId(layout.id);
  if (layout.fixed_layout) table->SetStyle("tableLayout", "fixed");
  table->SetWidth("100%");
  table->SetCellSpacing("0");
  ui_built_ = true;
}

std::shared_ptr<dom::Element> RowTable::AppendRow(std::span<const RowCell> cells) {
  RequireElement(body_table_, "the body table");
  if (last_row_index_ >= max_row_index_) {
    throw RuntimeFailure(failure::kOverflow, "Overflow: too many rows", std::string(kSource));
  }
  const std::int32_t row_index = last_row_index_ + 1;
  last_row_index_ = row_index;
  const std::shared_ptr<dom::Element> row = body_table_->InsertRow();
  row->SetId(RowId(row_index));
  row->SetClassName(RowClass(row_index));
  for (const RowCell& entry : cells) {
    const std::shared_ptr<dom::Element> cell = row->InsertCell();
    cell->SetWidth(entry.width);
    std::string markup(entry.opening);
    markup.append(entry.control_id).append(entry.closing);
    cell->SetInnerHtml(markup);
    if (!entry.padding_left.empty()) cell->SetStyle("paddingLeft", entry.padding_left);
    if (!entry.padding_right.empty()) cell->SetStyle("paddingRight", entry.padding_right);
  }
  return row;
}

void RowTable::SetRowScript(dom::Element& row, std::string_view command,
                            std::int32_t row_index) const {
  RequireElement(EEC, "the command element");
  row.AddBehavior(kDataEntryBehaviorUrl);
  row.SetAttribute("onClicked", CommandScriptText(EEC->Id(), command, row_index));
}

void RowTable::SetChangeScript(dom::Element& control, std::string_view command,
                               std::int32_t row_index) const {
  RequireElement(EEC, "the command element");
  control.AddBehavior(kDataEntryBehaviorUrl);
  control.SetAttribute("onInpChanged", CommandScriptText(EEC->Id(), command, row_index));
}

std::string RowTable::RowId(std::int32_t row_index) const {
  return row_id_prefix_ + std::to_string(row_index);
}

std::shared_ptr<dom::Element> RowTable::FindRow(std::int32_t row_index) const {
  RequireElement(body_table_, "the body table");
  const std::string id = RowId(row_index);
  for (const std::shared_ptr<dom::Element>& row : body_table_->Rows()) {
    if (row->Id() == id) return row;
  }
  return nullptr;
}

std::shared_ptr<dom::Element> RowTable::RowAt(std::int32_t position) const {
  RequireElement(body_table_, "the body table");
  const std::vector<std::shared_ptr<dom::Element>> rows = body_table_->Rows();
  if (position < 0 || static_cast<std::size_t>(position) >= rows.size()) {
    throw RuntimeFailure(failure::kSubscriptOutOfRange,
                         "Subscript out of range: no row at position " + std::to_string(position),
                         std::string(kSource));
  }
  return rows[static_cast<std::size_t>(position)];
}

std::shared_ptr<dom::Element> RowTable::HighlightRow(std::int32_t position) {
  const std::int32_t previous = highlighted_row_index_;
  if (previous != position && previous <= last_row_index_) {
    RowAt(previous)->SetClassName(RowClass(previous));
  }
  std::shared_ptr<dom::Element> row = RowAt(position);
  row->SetClassName(kHighlightedRowClass);
  highlighted_row_index_ = position;
  return row;
}

std::int32_t RowTable::HighlightedPosition() const {
  for (std::int32_t position = 0; position <= last_row_index_; ++position) {
    if (RowAt(position)->ClassName() == kHighlightedRowClass) return position;
  }
  return 0;
}

void RowTable::ClearRows() {
  if (!ui_built_ || last_row_index_ == -1) return;
  for (std::int32_t i = 0; i <= last_row_index_; ++i) body_table_->DeleteRow(-1);
  last_row_index_ = -1;
  highlighted_row_index_ = 0;
}

}  // namespace cn

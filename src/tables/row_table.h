#pragma once
// The one mechanism behind the screen's editable row tables (named drivers, extended
// covers, claims): a header table and a body table built inside two containers of the
// page, rows appended from a cell layout and removed by rebuilding, the odd/even row
// colouring and the highlighted row, and the command channel through which the controls
// inside the rows report to the table: each control's script writes
// "command{#+#}control id{#,#}row index" into the page's hidden command element and
// clicks it.
//
// Each table class derives from RowTable and supplies its layouts as data and its
// commands through RunCommand.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "dom/element.h"

namespace cn {

// Row classes: the first row is the first odd row.
inline constexpr std::string_view kOddRowClass = "clsOddRow";
inline constexpr std::string_view kEvenRowClass = "clsEvenRow";
inline constexpr std::string_view kHighlightedRowClass = "clsHighliteRow";

// The row tables' behaviours: the data-entry behaviour raises the row and control
// scripts, the date-entry behaviour helps typing a date.
inline constexpr std::string_view kDataEntryBehaviorUrl = "./Behaviors/DataEntry.htc";
inline constexpr std::string_view kDateEntryBehaviorUrl = "./Behaviors/DateEntry.htc";

// The separators of the command element's text.
inline constexpr std::string_view kCommandSeparator = "{#.#}";
inline constexpr std::string_view kArgumentsSeparator = "{#+#}";
inline constexpr std::string_view kArgumentSeparator = "{#,#}";

// One cell of a header row.
struct HeaderCell {
  std::string_view width;
  std::string_view text;
  std::string_view padding_left = "";
  std::string_view padding_right = "";
};

struct HeaderLayout {
  std::string_view tag;  // as the table creates it: "table" or "TABLE"
  std::string_view class_name;
  std::string_view id;
  bool fixed_layout = false;
  bool width_as_style = false;  // the cell width goes into style "Width", not "width"
  std::span<const HeaderCell> cells;
};

struct BodyLayout {
  std::string_view tag;
  std::string_view id;  // "" for none
  bool fixed_layout = false;
};

// One cell of a data row: its width, its markup (opening text, control id and closing
// text joined without spaces) and its padding.
struct RowCell {
  std::string_view width;
  std::string_view opening;
  std::string_view control_id;
  std::string_view closing;
  std::string_view padding_left = "";
  std::string_view padding_right = "";
};

// The script a row or a control runs: it hands `command`, the firing control's id and
// the row index to the command element.
std::string CommandScriptText(std::string_view command_element_id, std::string_view command,
                              std::int32_t row_index);

class RowTable {
 public:
  RowTable(const RowTable&) = delete;
  RowTable& operator=(const RowTable&) = delete;
  virtual ~RowTable();

  // The page's hidden command element ("kvExecuteCommand"), given to the builders.
  std::shared_ptr<dom::Element> EEC;

  // The command element was clicked: every command in its text is run in order.
  // Stops silently at the first failure.
  void EEC_onclick();

  // Runs `command` on the row its arguments ("control id{#,#}row index") name. False for
  // a command the table does not know. Stops silently at the first failure.
  bool ExecuteTableCommand(std::string_view command, std::string_view arguments);

  std::int32_t last_row_index() const { return last_row_index_; }
  std::int32_t highlighted_row_index() const { return highlighted_row_index_; }
  bool ui_built() const { return ui_built_; }

 protected:
  // `row_id_prefix` + index is a row's id; `max_row_index` the largest index the table
  // can count to.
  RowTable(std::string_view row_id_prefix, std::int32_t max_row_index);

  // The table's own commands; false for a command it does not know. A failure ends the
  // command silently.
  virtual bool RunCommand(std::string_view command, std::int16_t row_index) = 0;

  // The header table inside `container`; resets the row indexes. Throws on failure.
  void BuildHeaderTable(const std::shared_ptr<dom::Element>& command_element,
                        const std::shared_ptr<dom::Element>& container, const HeaderLayout& layout);
  // The empty body table inside `container`; the table can take rows from now on.
  void BuildBodyTable(const std::shared_ptr<dom::Element>& command_element,
                      const std::shared_ptr<dom::Element>& container, const BodyLayout& layout);

  // Appends a row of these cells with the next index, its id and its class.
  std::shared_ptr<dom::Element> AppendRow(std::span<const RowCell> cells);
  // Gives the row the data-entry behaviour and the script reporting its click as
  // `command`.
  void SetRowScript(dom::Element& row, std::string_view command, std::int32_t row_index) const;
  // Gives a control the data-entry behaviour and the script reporting its changes.
  void SetChangeScript(dom::Element& control, std::string_view command,
                       std::int32_t row_index) const;

  std::string RowId(std::int32_t row_index) const;
  // The row with the id of that index; null when there is none.
  std::shared_ptr<dom::Element> FindRow(std::int32_t row_index) const;
  // The body table's row at that position; a missing one is a failure.
  std::shared_ptr<dom::Element> RowAt(std::int32_t position) const;

  // Restores the class of the row highlighted so far and highlights the row at
  // `position`; returns it.
  std::shared_ptr<dom::Element> HighlightRow(std::int32_t position);
  // The position of the highlighted row among rows 0 to the last; 0 when none is.
  std::int32_t HighlightedPosition() const;

  // Deletes every row.
  void ClearRows();

 private:
  std::string row_id_prefix_;
  std::int32_t max_row_index_;
  std::shared_ptr<dom::Element> header_container_;
  std::shared_ptr<dom::Element> body_table_;
  bool ui_built_ = false;
  std::int32_t last_row_index_ = -1;
  std::int32_t highlighted_row_index_ = 0;
};

// A control of a row, reached through the row; a missing one is a failure.
std::shared_ptr<dom::Element> RowControl(const dom::Element& row, std::string_view control_id);

// The normal class of the row with that index.
std::string_view RowClass(std::int32_t row_index);

}  // namespace cn

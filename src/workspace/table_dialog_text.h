#pragma once
// The argument of the dialogs that show a table and nothing to choose from (the review
// before a save, the amendment history): a heading record (title, a line above the table),
// the column headings, then one record of cells per row. Records are joined with U+FFFF,
// cells with U+FFFE.

#include <string>
#include <string_view>
#include <vector>

namespace cn {

struct TableDialogText {
  std::string title;
  std::string notice;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;

  std::string Text() const;
};

// A value as a table cell shows it: list elements one after the other, nothing as "(none)".
std::string CellText(std::string_view value);

}  // namespace cn

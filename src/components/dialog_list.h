#pragma once
// What a list dialog shows: column headings, one row of cells per entry, and for each row the
// text the dialog returns when the administrator chooses it.

#include <string>
#include <vector>

namespace cn::components {

struct DialogRow {
  std::vector<std::string> cells;
  std::string value;
};

struct DialogList {
  std::string title;
  std::vector<std::string> columns;
  std::vector<DialogRow> rows;
  std::string notice;  // a line above the list: nothing found, too many, a failed search
};

}  // namespace cn::components

#include "components/table_dialog.h"

#include <string>
#include <vector>

#include "base/separators.h"
#include "base/text.h"

namespace cn::components {

DialogList TableDialogList(std::string_view argument) {
  const std::vector<std::string> records = Split(argument, RecordSeparator);
  DialogList list;
  if (!records.empty()) {
    std::vector<std::string> heading = Split(records[0], FieldSeparator);
    heading.resize(2);
    list.title = heading[0];
    list.notice = heading[1];
  }
  if (records.size() > 1) list.columns = Split(records[1], FieldSeparator);
  for (std::size_t i = 2; i < records.size(); ++i) {
    std::vector<std::string> cells = Split(records[i], FieldSeparator);
    // Every row as wide as the headings, so that no cell lands under the wrong one.
    cells.resize(list.columns.size());
    list.rows.push_back({std::move(cells), {}});
  }
  return list;
}

}  // namespace cn::components

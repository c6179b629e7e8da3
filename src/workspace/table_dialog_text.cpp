#include "workspace/table_dialog_text.h"

#include "base/separators.h"
#include "base/text.h"

namespace cn {

std::string TableDialogText::Text() const {
  std::vector<std::string> records = {Join({title, notice}, FieldSeparator),
                                      Join(columns, FieldSeparator)};
  for (const auto& row : rows) records.push_back(Join(row, FieldSeparator));
  return Join(records, RecordSeparator);
}

std::string CellText(std::string_view value) {
  if (Trim(Replace(value, DialogArgSeparator, "")).empty()) return "(none)";
  return Replace(value, DialogArgSeparator, "; ");
}

}  // namespace cn

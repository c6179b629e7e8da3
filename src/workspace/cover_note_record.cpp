#include "workspace/cover_note_record.h"

#include <algorithm>
#include <iterator>

namespace cn {

void ResetNamedDrivers(CoverNoteFields& fields) {
  for (const TextArray array : kNamedDriverArrays) fields.*array = {""};
}

void ResetAllArrays(CoverNoteFields& fields) {
  ResetNamedDrivers(fields);
  for (const TextArray array : kClaimArrays) fields.*array = {""};
  for (const TextArray array : kExtCoverArrays) fields.*array = {""};
}

void ResizeArrays(CoverNoteFields& fields, const TextArray* arrays, std::size_t count,
                  std::size_t rows) {
  rows = std::max<std::size_t>(rows, 1);
  for (std::size_t i = 0; i < count; ++i) (fields.*arrays[i]).resize(rows);
}

void RemoveExtCoverRow(CoverNoteRecord& record, std::size_t row) {
  CoverNoteFields& current = record.Current;
  if (row >= current.ExtCoverCodes.size()) return;
  for (const TextArray array : kExtCoverArrays) {
    std::vector<std::string>& column = current.*array;
    if (row < column.size()) column.erase(std::next(column.begin(), static_cast<long>(row)));
    if (column.empty()) column.emplace_back();
  }
  std::vector<bool>& marks = record.ExtUserPremiumMarks;
  if (row < marks.size()) marks.erase(std::next(marks.begin(), static_cast<long>(row)));
  if (marks.empty()) marks.push_back(false);
}

}  // namespace cn

#include "workspace/save_review.h"

#include <optional>
#include <vector>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/same_value.h"
#include "base/separators.h"
#include "base/text.h"
#include "workspace/table_dialog_text.h"
#include "workspace/write_admin_record.h"

namespace cn {
namespace {

// A change of an amount is read at a glance by its sign: "+250.00", "-12.50".
std::string Difference(std::string_view before, std::string_view after) {
  const std::optional<Currency> old_amount =
      Trim(before).empty() ? Currency() : Currency::TryParse(before);
  const std::optional<Currency> new_amount =
      Trim(after).empty() ? Currency() : Currency::TryParse(after);
  if (!old_amount || !new_amount) return {};
  const Currency change = *new_amount - *old_amount;
  if (change == Currency()) return {};
  const std::string text = FormatMoney2(change);
  return change > Currency() ? "+" + text : text;
}

// An amount reads the same on both sides of the review, whichever side wrote it.
std::string Cell(int position, std::string_view value) {
  if (IsAmountPosition(position) && Currency::TryParse(value)) return FormatMoney2(value);
  return CellText(value);
}

}  // namespace

std::string WritePositionCaption(int position) {
  const WriteLayout layout = WriteAdminLayout();
  if (position < 0 || position >= static_cast<int>(layout.size())) {
    return "Field " + std::to_string(position);
  }
  return std::string(layout[static_cast<std::size_t>(position)].caption);
}

bool IsAmountPosition(int position) {
  const WriteLayout layout = WriteAdminLayout();
  if (position < 0 || position >= static_cast<int>(layout.size())) return false;
  switch (layout[static_cast<std::size_t>(position)].source) {
    case WriteSource::kMoney2:
    case WriteSource::kMoney2AsBefore:
    case WriteSource::kVehiclePlusTrailer:
    case WriteSource::kByTransactionType:
    case WriteSource::kCommission:
    case WriteSource::kNetPremium:
      return true;
    default:
      return false;
  }
}

TableDialogText ReviewTable(std::string_view cover_note_no, std::string_view as_read,
                            std::string_view to_save) {
  const std::vector<std::string> before = Split(as_read, FieldSeparator);
  const std::vector<std::string> after = Split(to_save, FieldSeparator);
  TableDialogText table{.title = "Review the amendment of " + std::string(cover_note_no),
                        .notice = {},
                        .columns = {"Field", "As read", "To be saved", "Difference"},
                        .rows = {}};
  // The read's reply runs on past the saved record; only the record's positions are saved.
  for (std::size_t i = 0; i < after.size(); ++i) {
    const std::string old_value = i < before.size() ? before[i] : std::string();
    const std::string& new_value = after[i];
    if (SameValue(old_value, new_value)) continue;
    const int position = static_cast<int>(i);
    table.rows.push_back({WritePositionCaption(position), Cell(position, old_value),
                          Cell(position, new_value),
                          IsAmountPosition(position) ? Difference(old_value, new_value) : ""});
  }
  table.notice = table.rows.empty()
                     ? "Nothing differs from the cover note as it was read: there is nothing "
                       "to save."
                     : std::to_string(table.rows.size()) +
                           (table.rows.size() == 1 ? " field differs" : " fields differ") +
                           " from the cover note as it was read.";
  return table;
}

}  // namespace cn

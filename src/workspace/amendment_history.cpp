#include "workspace/amendment_history.h"

#include <charconv>
#include <optional>
#include <vector>

#include "base/number_format.h"
#include "base/same_value.h"
#include "base/separators.h"
#include "base/text.h"
#include "workspace/save_review.h"
#include "workspace/table_dialog_text.h"

namespace cn {
namespace {

enum HistoryField { kVersion, kSavedAt, kUser, kPremiumBefore, kPremiumAfter, kPosition,
                    kBefore, kAfter, kEndorsement, kHistoryFields };

constexpr int kTotalPremiumPosition = 24;

std::optional<int> PositionOf(std::string_view text) {
  int position = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return position;
}

// The audit keeps figures as plain numbers; they are shown as the screen shows amounts.
std::string Shown(int position, const std::string& value) {
  if (!IsAmountPosition(position) || !IsNumeric(value)) return CellText(value);
  return FormatMoney2(value);
}

}  // namespace

std::string HistoryArgument(std::string_view cover_note_no, std::string_view reply) {
  TableDialogText table{.title = "Amendments of " + std::string(cover_note_no),
                        .notice = {},
                        .columns = {"Saved", "By", "Field", "Before", "After", "Endorsement"},
                        .rows = {}};
  std::string version_shown;
  std::size_t amendments = 0;
  for (const std::string& record : Split(reply, RecordSeparator)) {
    if (record.empty()) continue;
    std::vector<std::string> fields = Split(record, FieldSeparator);
    fields.resize(kHistoryFields);
    if (fields[kVersion] != version_shown) {
      // Each amendment opens with its total premium, changed or not.
      version_shown = fields[kVersion];
      ++amendments;
      table.rows.push_back({fields[kSavedAt], fields[kUser], "Total premium",
                            Shown(kTotalPremiumPosition, fields[kPremiumBefore]),
                            Shown(kTotalPremiumPosition, fields[kPremiumAfter]),
                            fields[kEndorsement]});
    }
    const std::optional<int> position = PositionOf(fields[kPosition]);
    if (!position || *position == kTotalPremiumPosition ||
        SameValue(fields[kBefore], fields[kAfter])) {
      continue;
    }
    table.rows.push_back({"", "", WritePositionCaption(*position),
                          Shown(*position, fields[kBefore]), Shown(*position, fields[kAfter]), ""});
  }
  table.notice = amendments == 0 ? "No amendment of this cover note has been saved."
                 : amendments == 1
                     ? "1 saved amendment, the newest first."
                     : std::to_string(amendments) + " saved amendments, the newest first.";
  return table.Text();
}

}  // namespace cn

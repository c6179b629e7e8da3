#pragma once
// What the administrator sees before the save writes: every position of the saved record
// whose value differs from the back end's reply as it was read, old and new under the
// screen's caption, amounts with their difference. The save's own changes (a type "O"
// cover note's zeroed premium, the commission) show like the administrator's.

#include <string>
#include <string_view>

#include "workspace/table_dialog_text.h"

namespace cn {

// The review of `to_save` (the record text the save sends) against `as_read` (the read's
// reply, whose positions mean what the saved record's do). No rows: nothing to write.
TableDialogText ReviewTable(std::string_view cover_note_no, std::string_view as_read,
                            std::string_view to_save);

// The caption of a position of the saved record ("Field N" past its end).
std::string WritePositionCaption(int position);

// Whether a position of the saved record holds an amount with two decimals.
bool IsAmountPosition(int position);

}  // namespace cn

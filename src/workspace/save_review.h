#pragma once
// What the administrator sees before the save writes: every position of the saved record
// whose value differs from the cover note as it was read, old and new under the screen's
// caption, amounts with their difference.

#include <string>
#include <string_view>

#include "base/same_value.h"

namespace cn {

// The review dialog's argument for two record texts of the same layout.
std::string ReviewArgument(std::string_view cover_note_no, std::string_view as_read,
                           std::string_view to_save);

// The caption of a position of the saved record ("Field N" past its end).
std::string WritePositionCaption(int position);

// Whether a position of the saved record holds an amount with two decimals.
bool IsAmountPosition(int position);

}  // namespace cn

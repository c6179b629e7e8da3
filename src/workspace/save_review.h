#pragma once
// What the administrator sees before the save writes: every position of the saved record
// whose value differs from the cover note as it was read, old and new under the screen's
// caption, amounts with their difference.

#include <string>
#include <string_view>

namespace cn {

// The review dialog's argument for two record texts of the same layout.
std::string ReviewArgument(std::string_view cover_note_no, std::string_view as_read,
                           std::string_view to_save);

// The caption of a position of the saved record ("Field N" past its end).
std::string WritePositionCaption(int position);

// "1500" and "1,500.00" are the same sum insured: a figure only written differently is not
// an amendment worth the administrator's attention. Lists compare element by element.
bool SameValue(std::string_view before, std::string_view after);

// Whether a position of the saved record holds an amount with two decimals.
bool IsAmountPosition(int position);

}  // namespace cn

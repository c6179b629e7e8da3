#pragma once
// The saved amendments of a cover note as the history dialog lists them, newest first:
// when and by whom, the total premium before and after, and each field changed.

#include <string>
#include <string_view>

namespace cn {

// The history dialog's argument from the back end's reply: one record per changed field,
// "version, saved at, user, premium before, premium after, position, before, after,
// endorsement"; an amendment that changed nothing has one record with an empty position.
// Each amendment's first row names its endorsement.
std::string HistoryArgument(std::string_view cover_note_no, std::string_view reply);

}  // namespace cn

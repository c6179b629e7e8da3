#pragma once
// The dialogs that show a table and nothing to choose from (the review before a save, the
// amendment history) get their whole content from the page logic's argument: a heading
// record (title, a line above the table), the column headings, then one record per row.

#include <string_view>

#include "components/dialog_list.h"

namespace cn::components {

DialogList TableDialogList(std::string_view argument);

}  // namespace cn::components

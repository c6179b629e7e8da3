#pragma once
// The selection dialog ("dlgSrch.htm"): the list in the selection file, headed for the
// keyword the page opened it with ("SearchModel", "SearchBody", ...). Choosing an entry
// returns "True;<code>;<description>" (fields 0 and 1 of the entry).

#include <string_view>

#include "components/dialog_list.h"

namespace cn::components {

// `file_text` is the selection file's content: entries separated by the record separator,
// fields by the field separator. An empty text gives an empty list with a notice.
DialogList SelectionList(std::string_view keyword, std::string_view file_text);

}  // namespace cn::components

#pragma once
// What the browser is told never names a place on the server: a file or folder path in a
// message is shortened to its last part (the file's own name), and the whole text goes to the
// log for whoever looks after the server.

#include <string>
#include <string_view>

namespace cn::web {

// The text with every absolute path of two or more parts ("/srv/pages/CNAAClm.htm", after a
// space, a quote, a bracket or "=", or at the start) replaced by its last part ("CNAAClm.htm").
// Dates, fractions and "a/b" inside a word are left as they are.
std::string HideServerPaths(std::string_view text);

// HideServerPaths, logging the text as it was when that changed it.
std::string ForTheBrowser(std::string_view text);

}  // namespace cn::web

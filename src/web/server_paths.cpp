#include "web/server_paths.h"

#include <spdlog/spdlog.h>

namespace cn::web {
namespace {

constexpr std::string_view kBeforePath = " \t\r\n'\"([{<=";
constexpr std::string_view kEndsPath = " \t\r\n'\")]}>";
// Punctuation that ends a sentence rather than a path.
constexpr std::string_view kTrailing = ".,;:!?";

bool StartsPath(std::string_view text, std::size_t at) {
  return text[at] == '/' && (at == 0 || kBeforePath.find(text[at - 1]) != std::string_view::npos);
}

}  // namespace

std::string HideServerPaths(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    if (!StartsPath(text, at)) {
      out += text[at++];
      continue;
    }
    std::size_t end = text.find_first_of(kEndsPath, at);
    if (end == std::string_view::npos) end = text.size();
    while (end > at && kTrailing.find(text[end - 1]) != std::string_view::npos) --end;
    std::string_view path = text.substr(at, end - at);
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    const std::size_t last = path.rfind('/');
    if (last == 0 || last + 1 >= path.size()) {  // one part, or no path at all
      out += text.substr(at, end - at);
    } else {
      out += path.substr(last + 1);
    }
    at = end;
  }
  return out;
}

std::string ForTheBrowser(std::string_view text) {
  std::string shown = HideServerPaths(text);
  if (shown != text) spdlog::warn("Shown without its server paths: {}", text);
  return shown;
}

}  // namespace cn::web

#include "web/floor.h"

#include <charconv>
#include <string>

namespace cn::web {

std::optional<std::size_t> FloorBytes(std::string_view target) {
  const std::size_t query = target.find('?');
  if (query == std::string_view::npos) return std::nullopt;
  std::string_view rest = target.substr(query + 1);
  while (!rest.empty()) {
    const std::size_t amp = rest.find('&');
    const std::string_view pair = rest.substr(0, amp);
    rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
    constexpr std::string_view kName = "bytes=";
    if (!pair.starts_with(kName)) continue;
    const std::string_view digits = pair.substr(kName.size());
    std::size_t bytes = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), bytes);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        bytes > kMostFloorBytes) {
      return std::nullopt;
    }
    return bytes;
  }
  return std::nullopt;
}

nlohmann::json FloorFiller(std::size_t bytes) {
  constexpr std::size_t kBare = std::string_view(R"({"floor":""})").size();
  return {{"floor", std::string(bytes > kBare ? bytes - kBare : 0, 'x')}};
}

}  // namespace cn::web

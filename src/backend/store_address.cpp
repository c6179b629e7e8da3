#include "backend/store_address.h"

#include <charconv>
#include <vector>

namespace cn::backend {
namespace {

std::size_t Number(std::string_view name, std::string_view text) {
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw StoreFailure(store_code::kServerError,
                       "The database address has a " + std::string(name) + " that is not a number");
  }
  return value;
}

}  // namespace

bool IsServerAddress(std::string_view address) {
  return address.starts_with("postgresql://") || address.starts_with("postgres://");
}

ServerAddress ParseServerAddress(std::string_view address) {
  ServerAddress parsed;
  const auto query = address.find('?');
  std::string kept(address.substr(0, query));
  std::vector<std::string> passed;
  if (query != std::string_view::npos) {
    std::string_view rest = address.substr(query + 1);
    while (!rest.empty()) {
      const auto amp = rest.find('&');
      const std::string_view pair = rest.substr(0, amp);
      rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
      const auto equals = pair.find('=');
      const std::string_view name = pair.substr(0, equals);
      const std::string_view value =
          equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1);
      if (name == "pool_size") {
        parsed.pool_size = Number(name, value);
      } else if (name == "statement_timeout") {
        parsed.connection.statement_timeout = std::chrono::milliseconds(Number(name, value));
      } else if (name == "connect_timeout") {
        parsed.connection.connect_timeout = std::chrono::seconds(Number(name, value));
      } else if (!pair.empty()) {
        passed.emplace_back(pair);
      }
    }
  }
  for (std::size_t i = 0; i < passed.size(); ++i) kept += (i == 0 ? "?" : "&") + passed[i];
  parsed.connection.conninfo = kept;
  return parsed;
}

std::string DisplayAddress(std::string_view address) {
  std::string shown(address);
  if (!IsServerAddress(address)) return shown;
  const auto scheme_end = shown.find("://") + 3;
  const auto at = shown.find('@', scheme_end);
  const auto colon = shown.find(':', scheme_end);
  if (at != std::string::npos && colon != std::string::npos && colon < at) {
    shown.replace(colon + 1, at - colon - 1, "***");
  }
  // A password given as a parameter is hidden too.
  constexpr std::string_view kPassword = "password=";
  const auto query = shown.find('?');
  if (query == std::string::npos) return shown;
  for (auto key = shown.find(kPassword, query); key != std::string::npos;
       key = shown.find(kPassword, key + 1)) {
    if (shown[key - 1] != '?' && shown[key - 1] != '&') continue;
    const auto value = key + kPassword.size();
    const auto end = shown.find('&', value);
    shown.replace(value, end == std::string::npos ? std::string::npos : end - value, "***");
  }
  return shown;
}

}  // namespace cn::backend

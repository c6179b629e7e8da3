#include "web/origin_check.h"

#include <algorithm>
#include <cctype>

namespace cn::web {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// "https://Host:8443" -> "host"; "" when it is not a plain http(s) origin.
std::string HostOf(std::string_view origin) {
  const std::string text = Lower(origin);
  std::string_view rest(text);
  if (rest.starts_with("https://")) {
    rest.remove_prefix(8);
  } else if (rest.starts_with("http://")) {
    rest.remove_prefix(7);
  } else {
    return "";
  }
  std::string_view host = rest;
  std::string_view port;
  if (rest.starts_with('[')) {  // an IPv6 address
    const auto close = rest.find(']');
    if (close == std::string_view::npos) return "";
    host = rest.substr(0, close + 1);
    port = rest.substr(close + 1);
  } else if (const auto colon = rest.find(':'); colon != std::string_view::npos) {
    host = rest.substr(0, colon);
    port = rest.substr(colon);
  }
  if (!port.empty() &&
      (port.size() < 2 || port.front() != ':' ||
       !std::all_of(port.begin() + 1, port.end(), [](char c) { return c >= '0' && c <= '9'; }))) {
    return "";
  }
  const bool plain = !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '[' ||
           c == ']' || c == ':';
  });
  return plain ? std::string(host) : "";
}

}  // namespace

bool OriginAllowed(std::string_view origin, const std::vector<std::string>& allowed) {
  const std::string host = HostOf(origin);
  if (host.empty()) return false;
  const std::string exact = Lower(origin);
  return std::any_of(allowed.begin(), allowed.end(), [&](const std::string& entry) {
    const std::string wanted = Lower(entry);
    return wanted.find("://") != std::string::npos ? wanted == exact : wanted == host;
  });
}

}  // namespace cn::web

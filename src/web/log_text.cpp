#include "web/log_text.h"

#include <array>
#include <cstdio>

#include "web/utf8.h"

namespace cn::web {

namespace {

std::string Escape(const char* format, unsigned value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), format, value);
  return text.data();
}

}  // namespace

std::string LogText(std::string_view text, std::size_t most_bytes) {
  std::string out;
  out.reserve(text.size() < most_bytes ? text.size() : most_bytes);
  for (std::size_t i = 0; i < text.size();) {
    if (i >= most_bytes) return out + "…";
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = CharacterLength(text, i);
    const auto second = length > 1 ? static_cast<unsigned char>(text[i + 1]) : 0u;
    const auto third = length > 2 ? static_cast<unsigned char>(text[i + 2]) : 0u;
    if (byte == '\\') {
      out += "\\\\";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (length == 0 || byte < 0x20 || byte == 0x7f) {  // controls and invalid bytes
      out += Escape("\\x%02x", byte);
    } else if (byte == 0xc2 && second <= 0x9f) {  // C1 controls
      out += Escape("\\u%04x", second);
    } else if (byte == 0xe2 && second == 0x80 && (third == 0xa8 || third == 0xa9)) {
      out += Escape("\\u%04x", 0x2000u + third - 0x80u);  // U+2028, U+2029
    } else {
      out.append(text.substr(i, length));
    }
    i += length == 0 ? 1 : length;
  }
  return out;
}

}  // namespace cn::web

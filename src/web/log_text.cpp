#include "web/log_text.h"

#include <array>
#include <cstdio>

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
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i >= most_bytes) return out + "…";
    const auto byte = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (byte == '\\') {
      out += "\\\\";
    } else if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7f) {
      out += Escape("\\x%02x", byte);
    } else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f) {  // C1 controls
      out += Escape("\\u%04x", next);
      ++i;
    } else if (byte == 0xe2 && next == 0x80 && i + 2 < text.size() &&
               (text[i + 2] == '\xa8' || text[i + 2] == '\xa9')) {  // U+2028, U+2029
      out += Escape("\\u%04x", 0x2000u + static_cast<unsigned char>(text[i + 2]) - 0x80u);
      i += 2;
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

}  // namespace cn::web

#include "base/text.h"

#include <algorithm>

namespace cn {

namespace {

// Length in bytes of the UTF-8 sequence that starts with `lead`; 1 for a stray byte.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

// Byte offset of the character with 0-based index `index`, or text.size().
std::size_t ByteOffset(std::string_view text, std::size_t index) {
  std::size_t offset = 0;
  while (index > 0 && offset < text.size()) {
    offset += SequenceLength(static_cast<unsigned char>(text[offset]));
    --index;
  }
  return std::min(offset, text.size());
}

char32_t Decode(std::string_view text, std::size_t offset, std::size_t length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[offset + i]); };
  if (length == 1 || offset + length > text.size()) return byte(0);
  char32_t cp = byte(0) & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) cp = (cp << 6) | (byte(i) & 0x3F);
  return cp;
}

template <typename Map>
std::string MapLetters(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
    const char32_t cp = Decode(text, i, n);
    const char32_t mapped = map(cp);
    if (mapped == cp) {
      out.append(text.substr(i, n));
    } else {
      out += Utf8(mapped);
    }
    i += n;
  }
  return out;
}

char32_t Upper(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 32;
  // Latin-1 lower-case letters, except the division sign and ß / ÿ which have no single upper form.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  return c;
}

char32_t Lower(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  return c;
}

}  // namespace

std::size_t Len(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    i += SequenceLength(static_cast<unsigned char>(text[i]));
  }
  return count;
}

std::string Left(std::string_view text, std::size_t n) {
  return std::string(text.substr(0, ByteOffset(text, n)));
}

std::string Right(std::string_view text, std::size_t n) {
  const std::size_t length = Len(text);
  if (n >= length) return std::string(text);
  return std::string(text.substr(ByteOffset(text, length - n)));
}

std::string Mid(std::string_view text, std::size_t start, std::size_t count) {
  if (start == 0) start = 1;
  const std::size_t begin = ByteOffset(text, start - 1);
  if (begin >= text.size()) return {};
  const std::string_view rest = text.substr(begin);
  if (count == std::string_view::npos) return std::string(rest);
  return std::string(rest.substr(0, ByteOffset(rest, count)));
}

std::size_t InStr(std::string_view text, std::string_view find, std::size_t start) {
  if (start == 0) start = 1;
  const std::size_t begin = ByteOffset(text, start - 1);
  if (begin > text.size()) return 0;
  const std::size_t at = text.find(find, begin);
  if (at == std::string_view::npos) return 0;
  return Len(text.substr(0, at)) + 1;
}

std::string LTrim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string{} : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
  const std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string{} : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text) { return LTrim(RTrim(text)); }

std::string UCase(std::string_view text) { return MapLetters(text, Upper); }
std::string LCase(std::string_view text) { return MapLetters(text, Lower); }

std::string Replace(std::string_view text, std::string_view find, std::string_view with) {
  if (find.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(find, from)) != std::string_view::npos; from = at + find.size()) {
    out.append(text.substr(from, at - from));
    out.append(with);
  }
  out.append(text.substr(from));
  return out;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  if (separator.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(separator, from)) != std::string_view::npos; from = at + separator.size()) {
    parts.emplace_back(text.substr(from, at - from));
  }
  parts.emplace_back(text.substr(from));
  return parts;
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out.append(separator);
    out.append(parts[i]);
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.starts_with(prefix); }
bool EndsWith(std::string_view text, std::string_view suffix) { return text.ends_with(suffix); }

std::string Utf8(char32_t cp) {
  std::string out;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

}  // namespace cn

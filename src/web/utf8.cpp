#include "web/utf8.h"

#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cn::web {

// The well-formed sequences: the lead byte's range, then the allowed range of the second byte
// (every later byte is 80..BF).
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  } else {
    return 0;  // a continuation byte, C0/C1 (always overlong) or F5..FF
  }
  if (at + length > text.size() || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsUtf8(std::string_view text) {
  const auto* const start = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = start + text.size();
  for (const unsigned char* at = start; at < end;) {
    // Pages are nearly all ASCII: sixteen or eight bytes at a time while no high bit is set.
#if defined(__SSE2__)
    if (end - at >= 16 &&
        _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))) == 0) {
      at += 16;
      continue;
    }
#endif
    std::uint64_t eight = 0;
    if (end - at >= 8 && (std::memcpy(&eight, at, 8), (eight & 0x8080808080808080ULL) == 0)) {
      at += 8;
      continue;
    }
    const std::size_t length = CharacterLength(text, static_cast<std::size_t>(at - start));
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace cn::web

#include "web/json_text.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

namespace cn::web {
namespace {

using nlohmann::json;
using Writer = rapidjson::Writer<rapidjson::StringBuffer>;

// Writes `value`; false when something in it needs the careful serializer.
bool Write(const json& value, Writer& writer) {
  switch (value.type()) {
    case json::value_t::null: return writer.Null();
    case json::value_t::boolean: return writer.Bool(value.get<bool>());
    case json::value_t::number_integer: return writer.Int64(value.get<std::int64_t>());
    case json::value_t::number_unsigned: return writer.Uint64(value.get<std::uint64_t>());
    case json::value_t::number_float: return writer.Double(value.get<double>());  // false for NaN, infinity
    case json::value_t::string: {
      const auto& text = value.get_ref<const std::string&>();
      return IsUtf8(text) && writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
    }
    case json::value_t::array:
      if (!writer.StartArray()) return false;
      for (const json& item : value.get_ref<const json::array_t&>()) {
        if (!Write(item, writer)) return false;
      }
      return writer.EndArray();
    case json::value_t::object:
      if (!writer.StartObject()) return false;
      for (const auto& [key, item] : value.get_ref<const json::object_t&>()) {
        if (!IsUtf8(key) || !writer.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()))) return false;
        if (!Write(item, writer)) return false;
      }
      return writer.EndObject();
    default:  // binary and discarded values never travel
      return false;
  }
}

}  // namespace

bool IsUtf8(std::string_view text) {
  const auto* at = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = at + text.size();
  while (at < end) {
    // Pages are nearly all ASCII: sixteen or eight bytes at a time while no high bit is set.
#if defined(__SSE2__)
    if (end - at >= 16 && _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at))) == 0) {
      at += 16;
      continue;
    }
#endif
    std::uint64_t eight = 0;
    if (end - at >= 8 && (std::memcpy(&eight, at, 8), (eight & 0x8080808080808080ULL) == 0)) {
      at += 8;
      continue;
    }
    const unsigned char lead = *at;
    if (lead < 0x80) {
      ++at;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
      length = 2, code = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, code = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, code = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (static_cast<std::size_t>(end - at) < length) return false;
    for (std::size_t i = 1; i < length; ++i) {
      if ((at[i] & 0xC0) != 0x80) return false;
      code = (code << 6) | (at[i] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    at += length;
  }
  return true;
}

std::string JsonText(const json& value) {
  rapidjson::StringBuffer buffer;
  Writer writer(buffer);
  if (!Write(value, writer)) return value.dump(-1, ' ', false, json::error_handler_t::replace);
  return {buffer.GetString(), buffer.GetSize()};
}

}  // namespace cn::web

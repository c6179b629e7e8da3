#include "web/json_text.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>

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

std::string JsonText(const json& value) {
  rapidjson::StringBuffer buffer;
  Writer writer(buffer);
  if (!Write(value, writer)) return value.dump(-1, ' ', false, json::error_handler_t::replace);
  return {buffer.GetString(), buffer.GetSize()};
}

}  // namespace cn::web

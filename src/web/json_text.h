#pragma once
// Answers to the browser as JSON text. Most of an answer's bytes are page markup: rapidjson's
// writer copies plain runs of it in blocks, where nlohmann's serializer steps through every
// byte (a tab switch spent a quarter of its time there). An answer holding text that is not
// UTF-8 (a value from the back end, say), or a number JSON cannot carry, is written by
// nlohmann's serializer instead, bad bytes replaced and such numbers as null.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "web/utf8.h"

namespace cn::web {

std::string JsonText(const nlohmann::json& value);

}  // namespace cn::web

#include "play/fixtures.h"

#include <sodium.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <iterator>

namespace cn::play {

namespace {

using nlohmann::json;

[[noreturn]] void Fail(std::string_view where, std::string_view what) {
  throw ScenarioError(std::string(where) + ": " + std::string(what));
}

// A name reaches a file under the fixtures folder and nothing above it.
bool IsFixtureName(std::string_view name) {
  const bool allowed = std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '/';
  });
  return allowed && !name.empty() && name.front() != '/' && name.back() != '/' &&
         name.find("//") == std::string_view::npos;
}

json ReadFixtureFile(const std::string& name, const std::string& at,
                     const std::filesystem::path& fixtures_dir) {
  std::ifstream in(fixtures_dir / (name + ".json"), std::ios::binary);
  if (!in) Fail(at, "no fixture \"" + name + "\" in the fixtures folder");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  json file;
  try {
    file = json::parse(text);
  } catch (const json::exception& error) {
    Fail(at, "fixture \"" + name + "\" is not valid JSON: " + error.what());
  }
  const bool well_formed =
      file.is_object() && file.contains("stub") && file["stub"].is_array() &&
      std::all_of(file.items().begin(), file.items().end(),
                  [](const auto& item) { return item.key() == "about" || item.key() == "stub"; });
  if (!well_formed) Fail(at, "fixture \"" + name + "\" is not {\"about\": ..., \"stub\": [...]}");
  return file;
}

// The item of a reply form at a position such as "2.14": item 14 of the form at item 2.
json& ItemAt(json& reply, std::string_view position, const std::string& at,
             std::string_view fixture) {
  json* node = &reply;
  std::string_view rest = position;
  while (true) {
    const std::size_t dot = rest.find('.');
    const std::string_view part = rest.substr(0, dot);
    std::size_t index = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), index);
    if (part.empty() || error != std::errc{} || end != part.data() + part.size())
      Fail(at, "expected a position such as \"61\" or \"1.14\"");
    json* items = node->is_array() ? node : nullptr;  // a record of a "records" form
    if (node->is_object() && node->size() == 1 && node->begin()->is_array())
      items = &node->begin().value();
    if (items == nullptr || index >= items->size()) {
      Fail(at, "no position " + std::string(position) + " in the reply of \"" +
                   std::string(fixture) + "\"");
    }
    node = &(*items)[index];
    if (dot == std::string_view::npos) return *node;
    rest = rest.substr(dot + 1);
  }
}

// A text, a list of texts (the values held in one field) or a reply form.
json SetValue(const json& value, const std::string& at) {
  if (value.is_string() || value.is_object()) return value;
  if (value.is_array() &&
      std::all_of(value.begin(), value.end(), [](const json& v) { return v.is_string(); }))
    return json{{"values", value}};
  Fail(at, "expected a text, a list of texts or a reply form");
}

}  // namespace

std::vector<StubRule> FixtureRules(const json& entry, std::string_view where,
                                   const std::filesystem::path& fixtures_dir) {
  const std::string at(where);
  constexpr std::array<std::string_view, 4> kOverrides = {"set", "param", "status", "once"};
  for (const auto& [key, value] : entry.items()) {
    if (key != "fixture" &&
        std::find(kOverrides.begin(), kOverrides.end(), key) == kOverrides.end())
      Fail(at + "." + key, "unknown key (a fixture entry takes set, param, status and once)");
  }
  if (!entry["fixture"].is_string() || !IsFixtureName(entry["fixture"].get<std::string>()))
    Fail(at + ".fixture", "expected a fixture's name, such as \"read/referred-personal\"");
  const std::string name = entry["fixture"].get<std::string>();
  const json file = ReadFixtureFile(name, at + ".fixture", fixtures_dir);

  std::vector<StubRule> rules;
  for (std::size_t i = 0; i < file["stub"].size(); ++i) {
    rules.push_back(
        ReadStubRule(file["stub"][i], "fixture \"" + name + "\" stub[" + std::to_string(i) + "]"));
    rules.back().fixture = name;
  }
  const bool overridden = std::any_of(kOverrides.begin(), kOverrides.end(),
                                      [&](std::string_view key) { return entry.contains(key); });
  if (!overridden) return rules;
  if (rules.size() != 1) {
    Fail(at, "fixture \"" + name + "\" holds " + std::to_string(rules.size()) +
                 " rules; set, param, status and once change a fixture of one rule");
  }
  json rule = file["stub"][0];
  for (std::string_view key : {"param", "status", "once"}) {
    if (entry.contains(key)) rule[std::string(key)] = entry[std::string(key)];
  }
  if (entry.contains("set")) {
    const std::string at_set = at + ".set";
    if (!entry["set"].is_object()) Fail(at_set, "expected an object of positions");
    if (!rule.contains("reply")) Fail(at_set, "the fixture \"" + name + "\" has no reply");
    for (const auto& [position, value] : entry["set"].items()) {
      const std::string at_position = at_set + "." + position;
      ItemAt(rule["reply"], position, at_position, name) = SetValue(value, at_position);
    }
  }
  StubRule changed = ReadStubRule(rule, at);
  // A reply changed by position is no longer the fixture's: the transcript shows it whole.
  if (!entry.contains("set")) changed.fixture = name;
  return {std::move(changed)};
}

nlohmann::ordered_json FixtureReply(std::string_view fixture, std::string_view reply) {
  if (sodium_init() < 0) return nlohmann::ordered_json{{"fixture", fixture}};
  std::array<unsigned char, crypto_hash_sha256_BYTES> hash{};
  crypto_hash_sha256(hash.data(), reinterpret_cast<const unsigned char*>(reply.data()),
                     reply.size());
  constexpr std::size_t kDigestBytes = 8;
  std::array<char, kDigestBytes * 2 + 1> hex{};
  sodium_bin2hex(hex.data(), hex.size(), hash.data(), kDigestBytes);
  return {{"fixture", fixture}, {"sha256", hex.data()}};
}

}  // namespace cn::play

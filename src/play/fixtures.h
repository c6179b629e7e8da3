#pragma once
// Sample back-end replies kept once, in the "fixtures" folder beside the scenarios, for every
// scenario that starts from them: a scenario's stub names a fixture and overrides only what it
// is about, so a reader sees the point of the scenario and a changed sample is changed once.
//
// A fixture file (fixtures/read/referred-personal.json for "read/referred-personal") is
// {"about": TEXT, "stub": [rules]}, its rules written as a scenario's. The scenario's entry
//   {"fixture": "read/referred-personal", "set": {"61": ["THE INSURED", "ALI"]}}
// stands for the fixture's rules in its place. "set" replaces items of a fixture reply of one
// rule by position, from 0, "2.14" reaching into a nested form; a text is the item, a list of
// texts a list held in one field. "param", "status" and "once" replace the rule's own.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "play/scenario.h"

namespace cn::play {

// The rules the entry stands for, read from `fixtures_dir`. Throws ScenarioError naming
// `where` (the entry: "stub[3]") for an unknown fixture or position or a malformed override.
std::vector<StubRule> FixtureRules(const nlohmann::json& entry, std::string_view where,
                                   const std::filesystem::path& fixtures_dir);

// What a transcript shows for a long reply a fixture supplied unchanged: the fixture's name
// and the first 16 hex digits of the reply's SHA-256, so that a change of the sample shows.
nlohmann::ordered_json FixtureReply(std::string_view fixture, std::string_view reply);

// Replies this long or longer are shown so; shorter ones read better whole.
inline constexpr std::size_t kShortenedReply = 80;

}  // namespace cn::play

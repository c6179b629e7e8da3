#pragma once
// A scenario file: the clock, settings and cookies the screen opens with, where its back-end
// replies come from, the answers to its prompts and the administrator's steps. Reading one
// checks everything that can be checked before the screen opens; a malformed file is a
// ScenarioError naming the key or the step, and nothing runs.

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/date.h"
#include "components/settings_file.h"

namespace cn::play {

// The scenario cannot run as written; the message says where ("stub[2].status", "step 4").
class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One canned back-end reply: the first rule whose command (and parameter, when given)
// matches answers; a `once` rule answers one call only.
struct StubRule {
  std::string command;
  std::optional<std::string> param;
  std::string reply;
  std::int32_t status = 0;
  bool once = false;
  std::optional<std::string> fail;  // the call itself fails with this description
  std::string fixture;              // the fixture that supplied the reply unchanged, if one did
};

// What a field-rule check answers; "" accepts. `argument` matches the first argument's text.
struct FieldRuleAnswer {
  std::string operation;
  std::optional<std::string> argument;
  std::string answer;
};

// What a format check answers for a text (any text when none is given).
struct InputCheckAnswerRule {
  std::string operation;
  std::optional<std::string> text;
  bool accept = true;
  std::string message;
  std::string title;
  std::optional<std::string> rewrite;  // the text the check gives back
};

// The outside checks and local tables in stub mode; anything not given is accepted or empty.
struct ComponentAnswers {
  std::vector<FieldRuleAnswer> field_rules;
  std::map<std::string, std::int32_t, std::less<>> scope_of_cover;
  std::vector<InputCheckAnswerRule> input_checks;
  std::map<std::int32_t, std::string> local_lists;
  std::map<std::int32_t, std::string> motor_class_lists;
  std::map<std::string, std::string, std::less<>> uom_lists;
};

// A number answers a message box or numbered message, a text a modal dialog.
using Answer = std::variant<std::int32_t, std::string>;

// An answer to every prompt it names, so that a box appearing earlier in a flow does not
// shift the answers meant for later ones. A number in `to` names a numbered message; a text
// names the page of a modal dialog when the answer is a text, the title of a message box (or
// numbered message) when it is a number.
struct NamedAnswer {
  std::variant<std::int32_t, std::string> to;
  Answer answer;
};

// kVisit enters and leaves every box of the page shown, in page order: a look at each.
enum class StepKind { kShell, kType, kKey, kClick, kBlur, kFocus, kChoose, kVisit, kExpect };

struct Step {
  int number = 0;  // from 1, as the file lists them
  StepKind kind = StepKind::kShell;
  std::string id;
  std::string row;       // "in": the table row holding the control
  std::string text;      // typed text, or the chosen value
  bool replace = false;  // typing replaces the whole text, as after selecting it all
  int key_code = 0;
  nlohmann::json expect;  // checked in shape when read, evaluated when the step runs
};

struct EmbeddedBackend {
  // Resolved against the scenario's folder; empty for a database freshly
  // seeded with the scenario's clock; a postgresql:// address as it stands.
  std::filesystem::path database;
};

struct Scenario {
  DateTime clock;
  std::vector<components::SettingValue> settings;
  std::string cookies;
  std::optional<EmbeddedBackend> embedded;  // none: the stub answers
  std::vector<StubRule> stub;
  ComponentAnswers components;
  std::deque<Answer> answers;              // the queue, taken in order
  std::vector<NamedAnswer> named_answers;  // tried before the queue
  std::vector<Step> steps;
};

// The clock a scenario without "clock" runs at.
inline constexpr std::string_view kDefaultClock = "01-Jan-2026 09:00:00 AM";

// Reads a scenario; `base_dir` resolves the embedded database path. Throws ScenarioError.
Scenario ParseScenario(std::string_view json_text, const std::filesystem::path& base_dir);

// One stub rule as a scenario or a fixture writes it. Throws ScenarioError naming `where`.
StubRule ReadStubRule(const nlohmann::json& rule, std::string_view where);

// A canned reply as the file writes it: a text, or {"fields": [...]}, {"records": [[...]]},
// {"parts": [...]} or {"values": [...]} joined with the field, record and field, parameter or
// list separator; the items may be nested forms. Throws ScenarioError naming `where`.
std::string ReplyText(const nlohmann::json& reply, std::string_view where);

}  // namespace cn::play

#include "play/scenario.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <limits>
#include <set>
#include <utility>

#include "backend/store_address.h"
#include "base/date_reader.h"
#include "base/separators.h"
#include "base/text.h"
#include "play/fixtures.h"
#include "play/page_states.h"

namespace cn::play {

namespace {

using nlohmann::json;

[[noreturn]] void Fail(std::string_view where, std::string_view what) {
  throw ScenarioError(std::string(where) + ": " + std::string(what));
}

std::string At(std::string_view where, std::string_view key) {
  return where.empty() ? std::string(key) : std::string(where) + "." + std::string(key);
}

std::string At(std::string_view where, std::size_t index) {
  return std::string(where) + "[" + std::to_string(index) + "]";
}

const json& RequireObject(const json& value, std::string_view where) {
  if (!value.is_object()) Fail(where, "expected an object");
  return value;
}

const json& RequireArray(const json& value, std::string_view where) {
  if (!value.is_array()) Fail(where, "expected a list");
  return value;
}

std::string RequireText(const json& value, std::string_view where) {
  if (!value.is_string()) Fail(where, "expected a text");
  return value.get<std::string>();
}

std::int32_t RequireInteger(const json& value, std::string_view where) {
  if (!value.is_number_integer()) Fail(where, "expected a whole number");
  const auto number = value.get<std::int64_t>();
  if (number < std::numeric_limits<std::int32_t>::min() ||
      number > std::numeric_limits<std::int32_t>::max()) {
    Fail(where, "number out of range");
  }
  return static_cast<std::int32_t>(number);
}

bool RequireFlag(const json& value, std::string_view where) {
  if (!value.is_boolean()) Fail(where, "expected true or false");
  return value.get<bool>();
}

// Every key of the object must be one of `known`.
void OnlyKeys(const json& object, std::string_view where,
              std::initializer_list<std::string_view> known) {
  for (const auto& [key, value] : object.items()) {
    if (std::find(known.begin(), known.end(), key) == known.end())
      Fail(At(where, key), "unknown key");
  }
}

template <typename Read>
auto Optional(const json& object, std::string_view key, std::string_view where, Read read)
    -> std::optional<decltype(read(object, where))> {
  const auto it = object.find(key);
  if (it == object.end()) return std::nullopt;
  return read(*it, At(where, key));
}

// The separator each structured reply form joins its items with.
struct ReplyForm {
  std::string_view key;
  std::string_view separator;
};
constexpr std::array kReplyForms = {
    ReplyForm{"fields", FieldSeparator},
    ReplyForm{"parts", ParamSeparator},
    ReplyForm{"values", DialogArgSeparator},
};

std::vector<components::SettingValue> ReadSettings(const json& value, std::string_view where) {
  std::vector<components::SettingValue> settings;
  for (const auto& [key_path, names] : RequireObject(value, where).items()) {
    const std::string at_key = At(where, key_path);
    for (const auto& [name, text] : RequireObject(names, at_key).items()) {
      settings.push_back({key_path, name, RequireText(text, At(at_key, name))});
    }
  }
  return settings;
}

std::optional<EmbeddedBackend> ReadBackend(const json& value, std::string_view where,
                                           const std::filesystem::path& base_dir) {
  constexpr std::string_view kForms = "expected \"stub\", \"embedded\" or {\"embedded\": DB-PATH}";
  if (value.is_string()) {
    if (value.get<std::string>() == "stub") return std::nullopt;
    if (value.get<std::string>() == "embedded") return EmbeddedBackend{};
    Fail(where, kForms);
  }
  RequireObject(value, where);
  OnlyKeys(value, where, {"embedded"});
  if (!value.contains("embedded")) Fail(where, kForms);
  const std::string path = RequireText(value["embedded"], At(where, "embedded"));
  if (path.empty()) Fail(At(where, "embedded"), "the database path is empty");
  // A server's address stands as it is; a file is found beside the scenario.
  if (backend::IsServerAddress(path)) return EmbeddedBackend{path};
  return EmbeddedBackend{base_dir / path};
}

// A rule, or a fixture named in its place (play/fixtures.h).
std::vector<StubRule> ReadStub(const json& value, std::string_view where,
                               const std::filesystem::path& base_dir) {
  std::vector<StubRule> rules;
  RequireArray(value, where);
  for (std::size_t i = 0; i < value.size(); ++i) {
    const std::string at = At(where, i);
    if (value[i].is_object() && value[i].contains("fixture")) {
      std::ranges::move(FixtureRules(value[i], at, base_dir / "fixtures"),
                        std::back_inserter(rules));
    } else {
      rules.push_back(ReadStubRule(value[i], at));
    }
  }
  return rules;
}

// A map keyed by whole numbers written as texts ("5": reply).
std::map<std::int32_t, std::string> ReadNumberedReplies(const json& value, std::string_view where) {
  std::map<std::int32_t, std::string> replies;
  for (const auto& [key, reply] : RequireObject(value, where).items()) {
    std::int32_t number = 0;
    const auto end = key.data() + key.size();
    const auto [last, error] = std::from_chars(key.data(), end, number);
    if (key.empty() || error != std::errc{} || last != end)
      Fail(At(where, key), "expected a number as the key");
    replies[number] = ReplyText(reply, At(where, key));
  }
  return replies;
}

ComponentAnswers ReadComponents(const json& value, std::string_view where) {
  RequireObject(value, where);
  OnlyKeys(
      value, where,
      {"fieldRules", "scopeOfCover", "inputChecks", "localLists", "motorClassLists", "uomLists"});
  ComponentAnswers answers;
  if (const auto it = value.find("fieldRules"); it != value.end()) {
    const std::string at = At(where, "fieldRules");
    for (std::size_t i = 0; i < RequireArray(*it, at).size(); ++i) {
      const std::string at_rule = At(at, i);
      const json& rule = RequireObject((*it)[i], at_rule);
      OnlyKeys(rule, at_rule, {"operation", "argument", "answer"});
      if (!rule.contains("operation")) Fail(At(at_rule, "operation"), "missing");
      answers.field_rules.push_back({
          .operation = RequireText(rule["operation"], At(at_rule, "operation")),
          .argument = Optional(rule, "argument", at_rule, RequireText),
          .answer = Optional(rule, "answer", at_rule, RequireText).value_or(""),
      });
    }
  }
  if (const auto it = value.find("scopeOfCover"); it != value.end()) {
    const std::string at = At(where, "scopeOfCover");
    for (const auto& [code, scope] : RequireObject(*it, at).items()) {
      answers.scope_of_cover[code] = RequireInteger(scope, At(at, code));
    }
  }
  if (const auto it = value.find("inputChecks"); it != value.end()) {
    const std::string at = At(where, "inputChecks");
    for (std::size_t i = 0; i < RequireArray(*it, at).size(); ++i) {
      const std::string at_rule = At(at, i);
      const json& rule = RequireObject((*it)[i], at_rule);
      OnlyKeys(rule, at_rule, {"operation", "text", "accept", "message", "title", "rewrite"});
      if (!rule.contains("operation")) Fail(At(at_rule, "operation"), "missing");
      answers.input_checks.push_back({
          .operation = RequireText(rule["operation"], At(at_rule, "operation")),
          .text = Optional(rule, "text", at_rule, RequireText),
          .accept = Optional(rule, "accept", at_rule, RequireFlag).value_or(true),
          .message = Optional(rule, "message", at_rule, RequireText).value_or(""),
          .title = Optional(rule, "title", at_rule, RequireText).value_or(""),
          .rewrite = Optional(rule, "rewrite", at_rule, RequireText),
      });
    }
  }
  if (const auto it = value.find("localLists"); it != value.end()) {
    answers.local_lists = ReadNumberedReplies(*it, At(where, "localLists"));
  }
  if (const auto it = value.find("motorClassLists"); it != value.end()) {
    answers.motor_class_lists = ReadNumberedReplies(*it, At(where, "motorClassLists"));
  }
  if (const auto it = value.find("uomLists"); it != value.end()) {
    const std::string at = At(where, "uomLists");
    for (const auto& [class_code, reply] : RequireObject(*it, at).items()) {
      answers.uom_lists[class_code] = ReplyText(reply, At(at, class_code));
    }
  }
  return answers;
}

// A dialog's page is named by its file; a number answer for one would never be used.
bool NamesAPage(std::string_view to) {
  return EndsWith(LCase(to), ".htm") || EndsWith(LCase(to), ".html");
}

NamedAnswer ReadNamedAnswer(const json& value, std::string_view where) {
  OnlyKeys(value, where, {"to", "answer"});
  for (std::string_view key : {"to", "answer"}) {
    if (!value.contains(key)) Fail(At(where, key), "missing");
  }
  const std::string at_to = At(where, "to");
  const std::string at_answer = At(where, "answer");
  const json& to = value["to"];
  const json& answer = value["answer"];
  if (to.is_number_integer()) {
    return {RequireInteger(to, at_to), RequireInteger(answer, at_answer)};
  }
  if (!to.is_string()) Fail(at_to, "expected a message number, a page or a title");
  const std::string name = to.get<std::string>();
  if (name.empty()) Fail(at_to, "the page or title is empty");
  if (answer.is_string()) return {name, answer.get<std::string>()};
  if (NamesAPage(name)) Fail(at_answer, "a dialog page takes a text answer");
  if (!answer.is_number_integer())
    Fail(at_answer, "expected a number (message box) or a text (dialog)");
  return {name, RequireInteger(answer, at_answer)};
}

void ReadAnswers(const json& value, std::string_view where, Scenario& scenario) {
  RequireArray(value, where);
  for (std::size_t i = 0; i < value.size(); ++i) {
    const std::string at = At(where, i);
    if (value[i].is_string()) {
      scenario.answers.emplace_back(value[i].get<std::string>());
    } else if (value[i].is_object()) {
      scenario.named_answers.push_back(ReadNamedAnswer(value[i], at));
    } else if (value[i].is_number_integer()) {
      scenario.answers.emplace_back(RequireInteger(value[i], at));
    } else {
      Fail(at, "expected a number, a text or {\"to\": ..., \"answer\": ...}");
    }
  }
}

// ---- Steps -----------------------------------------------------------------------------

// Each step is one object whose leading key says what it does; `extra` is the one further
// key it needs ("" none), `flag` an optional true/false key, and `element` whether it acts
// on an element (and so takes "in").
struct StepShape {
  std::string_view key;
  StepKind kind;
  std::string_view extra;
  std::string_view flag;
  bool element;
};
constexpr std::array kStepShapes = {
    StepShape{"shell", StepKind::kShell, "", "", false},
    StepShape{"type", StepKind::kType, "text", "replace", true},
    StepShape{"key", StepKind::kKey, "keyCode", "", true},
    StepShape{"click", StepKind::kClick, "", "", true},
    StepShape{"blur", StepKind::kBlur, "", "", true},
    StepShape{"focus", StepKind::kFocus, "", "", true},
    StepShape{"choose", StepKind::kChoose, "value", "", true},
    StepShape{"visit", StepKind::kVisit, "", "", false},
    StepShape{"expect", StepKind::kExpect, "", "", false},
};

// An expected option list: [value, caption] pairs of texts.
void CheckOptions(const json& options, const std::string& where) {
  RequireArray(options, where);
  for (std::size_t i = 0; i < options.size(); ++i) {
    const std::string at = At(where, i);
    if (!options[i].is_array() || options[i].size() != 2) Fail(at, "expected [value, caption]");
    RequireText(options[i][0], At(at, 0));
    RequireText(options[i][1], At(at, 1));
  }
}

void CheckStateValue(StateValue kind, const json& expected, const std::string& where) {
  switch (kind) {
    case StateValue::kText:
      RequireText(expected, where);
      return;
    case StateValue::kFlag:
      RequireFlag(expected, where);
      return;
    case StateValue::kNumber:
      // null: the element has none (no length limit).
      if (!expected.is_null()) RequireInteger(expected, where);
      return;
    case StateValue::kOptions:
      CheckOptions(expected, where);
      return;
  }
}

void CheckElementExpectations(const json& elements, const std::string& where) {
  for (const auto& [id, states] : RequireObject(elements, where).items()) {
    const std::string at = At(where, id);
    for (const auto& [state, expected] : RequireObject(states, at).items()) {
      const auto known =
          std::find_if(kElementStateNames.begin(), kElementStateNames.end(),
                       [&state = state](const ElementStateName& s) { return s.name == state; });
      if (known == kElementStateNames.end()) Fail(At(at, state), "unknown element state");
      CheckStateValue(known->value, expected, At(at, state));
    }
  }
}

void CheckTextMap(const json& texts, const std::string& where) {
  for (const auto& [name, text] : RequireObject(texts, where).items())
    RequireText(text, At(where, name));
}

void CheckShellExpectations(const json& shell, const std::string& where) {
  RequireObject(shell, where);
  OnlyKeys(shell, where, {"title", "shownTab", "status", "buttons", "tabs"});
  for (std::string_view key : {"title", "shownTab", "status"}) {
    if (shell.contains(key)) RequireText(shell[std::string(key)], At(where, key));
  }
  for (std::string_view key : {"buttons", "tabs"}) {
    if (!shell.contains(key)) continue;
    const std::string at = At(where, key);
    for (const auto& [id, states] : RequireObject(shell[std::string(key)], at).items()) {
      const std::string at_id = At(at, id);
      RequireObject(states, at_id);
      if (key == "buttons") {
        OnlyKeys(states, at_id, {"caption", "enabled", "shown"});
      } else {
        OnlyKeys(states, at_id, {"caption", "shown"});
      }
    }
  }
}

void CheckExpectation(const json& expect, const std::string& where) {
  RequireObject(expect, where);
  OnlyKeys(expect, where, {"elements", "rows", "record", "workspace", "shell"});
  if (expect.contains("elements"))
    CheckElementExpectations(expect["elements"], At(where, "elements"));
  if (expect.contains("rows")) {
    const std::string at = At(where, "rows");
    for (const auto& [row, elements] : RequireObject(expect["rows"], at).items()) {
      CheckElementExpectations(elements, At(at, row));
    }
  }
  if (expect.contains("record")) {
    const std::string at = At(where, "record");
    RequireObject(expect["record"], at);
    OnlyKeys(expect["record"], at, {"Current", "Previous"});
    for (const auto& [instance, fields] : expect["record"].items())
      CheckTextMap(fields, At(at, instance));
  }
  if (expect.contains("workspace")) CheckTextMap(expect["workspace"], At(where, "workspace"));
  if (expect.contains("shell")) CheckShellExpectations(expect["shell"], At(where, "shell"));
}

Step ReadStep(const json& value, int number) {
  const std::string where = "step " + std::to_string(number);
  if (!value.is_object()) Fail(where, "expected an object");
  const auto shape = std::find_if(kStepShapes.begin(), kStepShapes.end(),
                                  [&](const StepShape& s) { return value.contains(s.key); });
  if (shape == kStepShapes.end())
    Fail(where,
         "unknown step (expected one of shell, type, key, click, blur, focus, choose, visit, "
         "expect)");
  for (const auto& [key, item] : value.items()) {
    const bool known = key == shape->key || (!shape->extra.empty() && key == shape->extra) ||
                       (!shape->flag.empty() && key == shape->flag) ||
                       (shape->element && key == "in");
    if (!known)
      Fail(where, "unexpected key \"" + key + "\" in a \"" + std::string(shape->key) + "\" step");
  }
  Step step;
  step.number = number;
  step.kind = shape->kind;
  if (shape->kind == StepKind::kExpect) {
    step.expect = value["expect"];
    CheckExpectation(step.expect, where + " expect");
    return step;
  }
  step.id = RequireText(value[std::string(shape->key)], where + " " + std::string(shape->key));
  if (step.id.empty()) Fail(where, "the element or button id is empty");
  if (shape->kind == StepKind::kVisit && step.id != "boxes") {
    Fail(where + " visit", "expected \"boxes\"");
  }
  if (!shape->extra.empty()) {
    const std::string extra(shape->extra);
    if (!value.contains(extra)) Fail(where, "missing \"" + extra + "\"");
    if (shape->kind == StepKind::kKey) {
      step.key_code = RequireInteger(value[extra], where + " " + extra);
    } else {
      step.text = RequireText(value[extra], where + " " + extra);
    }
  }
  if (!shape->flag.empty() && value.contains(shape->flag)) {
    step.replace =
        RequireFlag(value[std::string(shape->flag)], where + " " + std::string(shape->flag));
  }
  if (value.contains("in")) step.row = RequireText(value["in"], where + " in");
  return step;
}

std::vector<Step> ReadSteps(const json& value, std::string_view where) {
  RequireArray(value, where);
  std::vector<Step> steps;
  for (std::size_t i = 0; i < value.size(); ++i)
    steps.push_back(ReadStep(value[i], static_cast<int>(i) + 1));
  return steps;
}

}  // namespace

namespace {

// Replies nest only as deep as a reply's layout goes; anything deeper is a mistake.
constexpr int kDeepestReply = 8;

std::string NestedReply(const json& reply, std::string_view where, int depth);

std::string JoinReplies(const json& items, std::string_view separator, std::string_view where,
                        int depth) {
  RequireArray(items, where);
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += separator;
    text += NestedReply(items[i], At(where, i), depth + 1);
  }
  return text;
}

std::string NestedReply(const json& reply, std::string_view where, int depth) {
  if (reply.is_string()) return reply.get<std::string>();
  if (!reply.is_object() || reply.size() != 1) {
    Fail(where, "expected a text or one of {\"fields\"|\"records\"|\"parts\"|\"values\": [...]}");
  }
  if (depth >= kDeepestReply) Fail(where, "reply forms nested too deep");
  const std::string key = reply.begin().key();
  const json& items = reply.begin().value();
  if (key == "records") {
    const std::string at = At(where, "records");
    std::string text;
    RequireArray(items, at);
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i > 0) text += RecordSeparator;
      text += JoinReplies(items[i], FieldSeparator, At(at, i), depth);
    }
    return text;
  }
  for (const ReplyForm& form : kReplyForms) {
    if (key == form.key) return JoinReplies(items, form.separator, At(where, key), depth);
  }
  Fail(At(where, key), "unknown reply form");
}

}  // namespace

StubRule ReadStubRule(const json& value, std::string_view where) {
  const json& rule = RequireObject(value, where);
  OnlyKeys(rule, where, {"command", "param", "reply", "status", "once", "fail"});
  if (!rule.contains("command")) Fail(At(where, "command"), "missing");
  return {
      .command = RequireText(rule["command"], At(where, "command")),
      .param = Optional(rule, "param", where, RequireText),
      .reply = Optional(rule, "reply", where, ReplyText).value_or(""),
      .status = Optional(rule, "status", where, RequireInteger).value_or(0),
      .once = Optional(rule, "once", where, RequireFlag).value_or(false),
      .fail = Optional(rule, "fail", where, RequireText),
      .fixture = {},
  };
}

std::string ReplyText(const json& reply, std::string_view where) {
  return NestedReply(reply, where, 0);
}

Scenario ParseScenario(std::string_view json_text, const std::filesystem::path& base_dir) {
  json root;
  try {
    root = json::parse(json_text);
  } catch (const json::exception& error) {  // a syntax error, or a number too large to hold
    throw ScenarioError(std::string("not valid JSON: ") + error.what());
  }
  RequireObject(root, "scenario");
  OnlyKeys(root, "",
           {"clock", "settings", "cookies", "backend", "stub", "components", "answers", "steps"});

  Scenario scenario;
  const std::string clock =
      Optional(root, "clock", "", RequireText).value_or(std::string(kDefaultClock));
  const auto now = ReadDateTime(clock);
  if (!now) Fail("clock", "not a date and time (\"dd-MMM-yyyy hh:mm:ss AM/PM\")");
  scenario.clock = *now;
  scenario.settings = Optional(root, "settings", "", ReadSettings)
                          .value_or(std::vector<components::SettingValue>{});
  scenario.cookies = Optional(root, "cookies", "", RequireText).value_or("");
  if (root.contains("backend"))
    scenario.embedded = ReadBackend(root["backend"], "backend", base_dir);
  if (root.contains("stub")) scenario.stub = ReadStub(root["stub"], "stub", base_dir);
  if (scenario.embedded && !scenario.stub.empty())
    Fail("stub", "stub rules need the stub back end");
  scenario.components =
      Optional(root, "components", "", ReadComponents).value_or(ComponentAnswers{});
  if (root.contains("answers")) ReadAnswers(root["answers"], "answers", scenario);
  scenario.steps = Optional(root, "steps", "", ReadSteps).value_or(std::vector<Step>{});
  return scenario;
}

}  // namespace cn::play

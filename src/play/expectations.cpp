#include "play/expectations.h"

#include <algorithm>
#include <string>

#include "play/final_state.h"
#include "play/page_states.h"

namespace cn::play {

namespace {

class Checker {
 public:
  explicit Checker(const Step& step) : step_(step) {}

  void Compare(const std::string& what, const Json& expected, const Json& actual) {
    if (expected == actual) return;
    failures_.push_back(
        {{"step", step_.number}, {"what", what}, {"expected", expected}, {"actual", actual}});
  }

  [[noreturn]] void Unknown(const std::string& what) const {
    throw ScenarioError("step " + std::to_string(step_.number) + ": " + what);
  }

  Json TakeFailures() { return std::move(failures_); }

 private:
  const Step& step_;
  Json failures_ = Json::array();
};

void CheckElements(Checker& checker, const nlohmann::json& expected, const shell::HostShell& shell,
                   const std::string& row) {
  const auto page = shell.TabDocument();
  if (!page) checker.Unknown("no tab page is shown");
  for (const auto& [id, states] : expected.items()) {
    const auto element = FindControl(*page, id, row);
    const std::string name = row.empty() ? id : row + "/" + id;
    if (!element) checker.Unknown("no element \"" + name + "\" on the shown page");
    const Json actual = ElementState(*element);
    for (const auto& [state, value] : states.items()) {
      checker.Compare("element " + name + " " + state, Json(value),
                      actual.contains(state) ? actual[state] : AbsentState(state));
    }
  }
}

void CheckRecord(Checker& checker, const nlohmann::json& expected, const ScreenInspector& screen) {
  const auto names = screen.FieldNames();
  for (const auto& [instance, fields] : expected.items()) {
    const RecordCopy copy = instance == "Previous" ? RecordCopy::kPrevious : RecordCopy::kCurrent;
    for (const auto& [name, value] : fields.items()) {
      if (std::find(names.begin(), names.end(), name) == names.end()) {
        checker.Unknown("the record has no field \"" + name + "\"");
      }
      checker.Compare("record " + instance + "." + name, Json(value),
                      Json(screen.Field(copy, name).value_or("")));
    }
  }
}

void CheckWorkspace(Checker& checker, const nlohmann::json& expected,
                    const ScreenInspector& screen) {
  const auto names = screen.WorkspaceItemNames();
  for (const auto& [name, value] : expected.items()) {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      checker.Unknown("no workspace item \"" + name + "\"");
    }
    checker.Compare("workspace " + name, Json(value),
                    Json(screen.WorkspaceItem(name).value_or("")));
  }
}

// Buttons and tabs are listed by id in the shell's state.
const Json& ShellEntry(Checker& checker, const Json& list, const std::string& kind,
                       const std::string& id) {
  const auto it =
      std::find_if(list.begin(), list.end(), [&](const Json& entry) { return entry["id"] == id; });
  if (it == list.end()) checker.Unknown("no " + kind + " \"" + id + "\" in the shell");
  return *it;
}

void CheckShell(Checker& checker, const nlohmann::json& expected, const shell::HostShell& shell) {
  const Json actual = ShellState(shell);
  for (const std::string key : {"title", "shownTab", "status"}) {
    if (expected.contains(key)) checker.Compare("shell " + key, Json(expected[key]), actual[key]);
  }
  for (const auto& [list, kind] : {std::pair{"buttons", "button"}, std::pair{"tabs", "tab"}}) {
    if (!expected.contains(list)) continue;
    for (const auto& [id, states] : expected[list].items()) {
      const Json& entry = ShellEntry(checker, actual[list], kind, id);
      for (const auto& [state, value] : states.items()) {
        checker.Compare("shell " + std::string(kind) + " " + id + " " + state, Json(value),
                        entry[state]);
      }
    }
  }
}

}  // namespace

Json CheckExpectations(const Step& step, const shell::HostShell& shell,
                       const ScreenInspector& screen) {
  Checker checker(step);
  const nlohmann::json& expect = step.expect;
  if (expect.contains("elements")) CheckElements(checker, expect["elements"], shell, "");
  if (expect.contains("rows")) {
    for (const auto& [row, elements] : expect["rows"].items())
      CheckElements(checker, elements, shell, row);
  }
  if ((expect.contains("record") || expect.contains("workspace")) && !screen.IsOpen()) {
    checker.Unknown("the screen holds no record yet");
  }
  if (expect.contains("record")) CheckRecord(checker, expect["record"], screen);
  if (expect.contains("workspace")) CheckWorkspace(checker, expect["workspace"], screen);
  if (expect.contains("shell")) CheckShell(checker, expect["shell"], shell);
  return checker.TakeFailures();
}

}  // namespace cn::play

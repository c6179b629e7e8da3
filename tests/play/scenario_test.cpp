// Reading scenario files: what a malformed file is told, where an embedded database is
// found, and the settings a run starts from. Every section and reply form a well-formed
// file may hold is used by a golden scenario, whose transcript pins what it read.
#include "play/scenario.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "../base/temp_folder.h"
#include "base/separators.h"
#include "play/run_settings.h"

namespace cn::play {
namespace {

using ::testing::HasSubstr;

std::string Message(std::string_view json_text) {
  try {
    ParseScenario(json_text, "/scenarios");
  } catch (const ScenarioError& error) {
    return error.what();
  }
  return "(read without complaint)";
}

TEST(ScenarioFile, MalformedFilesNameTheKeyOrTheStep) {
  std::string deep = R"("deep")";  // replies nested beyond any layout
  for (int i = 0; i < 9; ++i) deep = R"({"parts": [)" + deep + "]}";
  // clang-format off
  const std::pair<std::string, std::string_view> cases[] = {
      {R"({"clock": )", "not valid JSON"}, {R"([1, 2])", "scenario: expected an object"},
      {R"({"clok": "01-Jan-2026"})", "clok: unknown key"}, {R"({"clock": 5})", "clock: expected a text"},
      {R"({"clock": "yesterday"})", "clock: not a date and time"},
      {R"({"backend": "remote"})", "backend: expected \"stub\", \"embedded\" or {\"embedded\": DB-PATH}"},
      {R"({"backend": {"embedded": ""}})", "backend.embedded: the database path is empty"},
      {R"({"stub": {"command": "A.B.C"}})", "stub: expected a list"},
      {R"({"stub": [{"param": "1"}]})", "stub[0].command: missing"},
      {R"({"stub": [{"command": "A.B.C", "status": "0"}]})", "stub[0].status: expected a whole number"},
      {R"({"stub": [{"command": "A.B.C", "status": 5000000000}]})", "stub[0].status: number out of range"},
      {R"({"stub": [{"command": "A.B.C", "reply": {"rows": []}}]})", "stub[0].reply.rows: unknown reply form"},
      {R"({"stub": [{"command": "A.B.C", "reply": 5}]})", "stub[0].reply: expected a text or one of"},
      {R"({"stub": [{"command": "A.B.C", "once": "yes"}]})", "stub[0].once: expected true or false"},
      {R"({"components": {"localLists": {"five": ""}}})", "components.localLists.five: expected a number as the key"},
      {R"({"answers": {"to": 1}})", "answers: expected a list"},
      {R"({"answers": [1, true]})", "answers[1]: expected a number, a text or {\"to\""},
      {R"({"answers": [2, {"answer": 1}]})", "answers[1].to: missing"},
      {R"({"answers": [{"to": 1010003, "answer": "yes"}]})", "answers[0].answer: expected a whole"},
      {R"({"answers": [{"to": "dlgReview.htm", "answer": 1}]})",
       "answers[0].answer: a dialog page takes a text answer"},
      {R"({"steps": [{"click": "cmdGo"}, {"tap": "cmdGo"}]})", "step 2: unknown step"},
      {R"({"steps": [{"type": "txtName"}]})", "step 1: missing \"text\""},
      {R"({"steps": [{"click": "cmdGo", "text": "x"}]})", "step 1: unexpected key \"text\" in a \"click\" step"},
      {R"({"steps": [{"shell": "cmdSave", "in": "row1"}]})", "step 1: unexpected key \"in\""},
      {R"({"steps": [{"click": ""}]})", "step 1: the element or button id is empty"},
      {R"({"steps": [{"expect": {"elements": {"txtName": {"colour": "red"}}}}]})",
       "step 1 expect.elements.txtName.colour: unknown element state"},
      {R"({"steps": [{"expect": {"elements": {"txtName": {"disabled": "yes"}}}}]})",
       "step 1 expect.elements.txtName.disabled: expected true or false"},
      {R"({"steps": [{"expect": {"elements": {"cboKind": {"options": [["01"]]}}}}]})",
       "step 1 expect.elements.cboKind.options[0]: expected [value, caption]"},
      {R"({"stub": [{"command": "A.B.C", "reply": )" + deep + "}]}", "reply forms nested too deep"},
      {R"({"backend": {"embedded": "a.db"}, "stub": [{"command": "A.B.C"}]})",
       "stub: stub rules need the stub back end"}};
  // clang-format on
  for (const auto& [json, message] : cases) EXPECT_THAT(Message(json), HasSubstr(message)) << json;
}

// A fixture stands for its rules in place; an override changes only what it names, and a
// reply it changed is no longer shown as the fixture's. Mistakes name the entry.
TEST(ScenarioFile, FixturesStandForTheirRulesWithOverrides) {
  const cn::testing::TempFolder folder("covernote-fixture-test");
  std::filesystem::create_directories(folder.path / "fixtures" / "read");
  std::ofstream(folder.path / "fixtures" / "read" / "note.json")
      << R"({"about": "a note", "stub": [{"command": "R", "param": "1", "reply": {"parts": ["A", {"fields": ["x", "y"]}]}}]})";
  std::ofstream(folder.path / "fixtures" / "lists.json")
      << R"({"stub": [{"command": "L", "reply": "1"}, {"command": "M", "reply": "2"}]})";
  const Scenario scenario =
      ParseScenario(R"({"stub": [{"command": "L", "reply": "0"}, {"fixture": "lists"},
      {"fixture": "read/note", "param": "2", "once": true, "set": {"0": ["B", "C"], "1.1": "z"}},
      {"fixture": "read/note"}]})",
                    folder.path);
  std::vector<std::string> rules;
  for (const StubRule& r : scenario.stub)
    rules.push_back(r.command + r.param.value_or("*") + r.reply + (r.once ? "!" : "") + "@" +
                    r.fixture);
  const std::string c(DialogArgSeparator), p(ParamSeparator), f(FieldSeparator);
  EXPECT_EQ(rules, (std::vector<std::string>{"L*0@", "L*1@lists", "M*2@lists",
                                             "R2B" + c + "C" + p + "x" + f + "z!@",
                                             "R1A" + p + "x" + f + "y@read/note"}));
  // clang-format off
  const std::pair<std::string_view, std::string_view> cases[] = {
      {R"({"fixture": "read/none"})", "stub[0].fixture: no fixture \"read/none\""},
      {R"({"fixture": "../secret"})", "stub[0].fixture: expected a fixture's name"},
      {R"({"fixture": "lists", "set": {"0": "x"}})", "stub[0]: fixture \"lists\" holds 2 rules"},
      {R"({"fixture": "read/note", "set": {"5": "x"}})", "stub[0].set.5: no position 5 in the reply of \"read/note\""},
      {R"({"fixture": "read/note", "set": {"0.1": "x"}})", "stub[0].set.0.1: no position 0.1"},
      {R"({"fixture": "read/note", "set": {"first": "x"}})", "stub[0].set.first: expected a position"},
      {R"({"fixture": "read/note", "set": {"0": 5}})", "stub[0].set.0: expected a text, a list of texts"},
      {R"({"fixture": "read/note", "reply": ""})", "stub[0].reply: unknown key"}};
  // clang-format on
  for (const auto& [entry, message] : cases) {
    try {
      ParseScenario(R"({"stub": [)" + std::string(entry) + "]}", folder.path);
      ADD_FAILURE() << entry << " was read without complaint";
    } catch (const ScenarioError& error) {
      EXPECT_THAT(error.what(), HasSubstr(message)) << entry;
    }
  }
}

// An embedded database is found beside the scenario; without one, a fresh one is asked for.
TEST(ScenarioFile, EmbeddedDatabaseIsFoundBesideTheScenario) {
  const auto database = [](std::string_view json) {
    const Scenario scenario = ParseScenario(json, "/scenarios");
    return scenario.embedded ? scenario.embedded->database.string() : "(not embedded)";
  };
  EXPECT_EQ(database(R"({"backend": {"embedded": "data/sample.db"}})"), "/scenarios/data/sample.db");
  EXPECT_EQ(database(R"({"backend": "embedded"})"), "");
}

// Embedded runs start from a new installation's settings, stub runs from the installation
// folder alone; the scenario's settings go on top, named in any letter case.
TEST(RunSettings, ScenarioSettingsGoOverTheStartingOnes) {
  const std::string ui(components::kUiKeyPath), product(components::kProductKeyPath);
  const std::tuple<std::string_view, std::string, std::optional<std::string>> cases[] = {
      {R"({"backend": "embedded", "settings": {"SOFTWARE\\Brindle\\Kivo\\Zelkor\\ui":
           {"USE LOCAL TABLE": "1"}}})",
       ui, "1"},
      {R"({})", ui, std::nullopt},
      {R"({})", product, "/run"},
      {R"({"settings": {"Software\\Brindle\\Kivo\\Zelkor": {"Installation Path": "/i"}}})", product,
       "/i"},
  };
  for (const auto& [scenario, key_path, value] : cases) {
    const components::Settings settings(RunSettings(ParseScenario(scenario, "/s"), "/run"));
    EXPECT_EQ(settings.Find(key_path, key_path == ui ? "Use Local Table" : components::kInstallationPathName), value)
        << scenario;
  }
}

}  // namespace
}  // namespace cn::play

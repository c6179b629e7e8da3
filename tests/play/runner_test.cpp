// A whole run through the real shell, with a small screen of its own: the transcript's
// events and final state, expectations, and the faults that stop a run.
#include "play/runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "../base/temp_folder.h"
#include "base/separators.h"
#include "components/database_setup.h"
#include "dom/document.h"
#include "dom/element.h"
#include "function_page.h"
#include "integration/selection_file.h"
#include "play/play_command.h"
#include "play/transcript_changes.h"

namespace cn::play {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr std::string_view kWorkspacePage = R"(<html><body>
<div id="UIF_ID_Msg" style="display: none"></div>
<iframe id="UIF_ID_UserEx" name="UIF_ID_UserEx"></iframe></body></html>)";

constexpr std::string_view kTabPage = R"(<html><body>
<input id="txtNo" type="text" maxlength="10"><input id="chkNew" type="checkbox" checked>
<select id="cboKind" tabindex="-1"><option value="">(none)</option><option value="01" selected>ONE</option></select>
<button id="cmdGo">Go</button><button id="cmdSearch">Search</button><span id="lblOut" class="clsLabel">none</span>
<table id="tblRows"><tr id="row1"><td><input id="txtAmount" value="1.00"></td></tr>
<tr id="row2"><td><input id="txtAmount" value="2.00" disabled></td></tr></table>
</body></html>)";

// The workspace page sets up one tab and one button, sending `startup_command` first when
// given; the tab's Go button sends a command with the typed number, shows the reply, asks a
// numbered question and opens a dialog; its Search button writes a selection file and opens
// the selection dialog.
class TestScreen final : public ScreenInspector {
 public:
  TestScreen(const Components& components, std::string startup_command)
      : components_(components), startup_command_(std::move(startup_command)) {}
  dom::PageFactory PageFactory() override {
    return [this](std::string_view file, const std::shared_ptr<dom::Document>& document) {
      dom::Document* const page = document.get();  // handlers live in the document's own table
      if (file == "CNAAMain.htm") {
        return std::make_unique<cn::testing::FunctionPage>([this, page] {
          if (!startup_command_.empty()) Send(startup_command_, "");
          const auto window = page->ParentWindow();
          window->SetStatus("Loading page...");
          for (const char* statement :
               {"InsertTabButton('TabA','A','Tab.htm')", "InsertCmdButton('cmdHello','Hello','')", "TabFocus('TabA')"}) {
            window->ExecScript(statement);
          }
        });
      }
      page->Bind("cmdSearch", "onclick", [this, page] {
        WriteSelectionFile(components_, "HTB" + std::string(FieldSeparator) + "HATCHBACK");
        page->ParentWindow()->ShowModalDialog("dlgSrch.htm", "SearchBody", "");
      });
      page->Bind("cmdGo", "onclick", [this, page] {
        const std::string reply = Send("Test.Page.Go", page->GetElementById("txtNo")->Value());
        page->GetElementById("lblOut")->SetInnerText(reply);
        vehicle_no_ = reply;
        const auto answer = components_.NewMessageService()->ShowMessage(1210001, "Reset", "", "", "", "", "");
        const std::string chosen = page->ParentWindow()->ShowModalDialog("dlgEnq.htm", "arg", "features");
        page->ParentWindow()->MessageBox("Chose " + chosen + " after " + std::to_string(answer),
                                         dom::message_box::kOkCancel, "Done");
      });
      return std::make_unique<cn::testing::FunctionPage>([] {});
    };
  }
  bool IsOpen() const override { return true; }
  std::vector<std::string> FieldNames() const override { return {"VehicleNo"}; }
  std::optional<std::string> Field(RecordCopy copy, std::string_view name) const override {
    if (name != "VehicleNo") return std::nullopt;
    return copy == RecordCopy::kPrevious ? "" : vehicle_no_;
  }
  std::vector<std::string> WorkspaceItemNames() const override { return {"Item"}; }
  std::optional<std::string> WorkspaceItem(std::string_view name) const override {
    return name == "Item" ? std::optional<std::string>("value") : std::nullopt;
  }

 private:
  std::string Send(std::string_view command, std::string_view parameters) const {
    std::string reply;
    std::int32_t status = 0;
    components_.NewBackendCommandService()->ExecuteCommand(command, parameters, reply, status);
    return reply;
  }

  const Components& components_;
  std::string startup_command_;
  std::string vehicle_no_;
};

class PlayRun : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(pages_ / "CNAAMain.htm") << kWorkspacePage;
    std::ofstream(pages_ / "Tab.htm") << kTabPage;
  }

  // `startup_command`: a command the workspace page sends as it loads ("" none).
  PlayOutcome Run(std::string_view scenario_json, std::string startup_command = "") {
    const Scenario scenario = ParseScenario(scenario_json, pages_);
    return Play(scenario,
                {.pages_dir = pages_,
                 .make_screen = [startup_command](const Components& components, const Clock&) {
                   return std::make_unique<TestScreen>(components, startup_command);
                 }});
  }

  const cn::testing::TempFolder folder_{"covernote-play-test"};
  const std::filesystem::path& pages_ = folder_.path;
};

TEST_F(PlayRun, SelectionFileIsRecordedBeforeItsDialog) {
  const PlayOutcome outcome = Run(R"({"answers": ["HTB"], "steps": [{"click": "cmdSearch"}]})");
  ASSERT_EQ(outcome.status, exit_status::kRan) << outcome.error;
  const Json& events = outcome.transcript["events"];
  ASSERT_GE(events.size(), 2u);
  const Json& file = events[events.size() - 2];
  EXPECT_EQ(Json({file["event"], file["text"], events.back()["event"], events.back()["result"]}),
            Json({"selectionFile", "HTB" + std::string(FieldSeparator) + "HATCHBACK", "dialog", "HTB"}));
}

TEST_F(PlayRun, ExpectationsThatDoNotHoldAreListedAndExitThree) {
  const PlayOutcome outcome = Run(R"({"steps": [
      {"expect": {"elements": {"txtNo": {"value": ""}}, "rows": {"row2": {"txtAmount": {"value": "9.99"}}},
                  "record": {"Current": {"VehicleNo": ""}}, "workspace": {"Item": "other"},
                  "shell": {"shownTab": "TabA", "buttons": {"cmdHello": {"enabled": false}}}}}]})");
  ASSERT_EQ(outcome.status, exit_status::kExpectFailed) << outcome.error;
  const Json& failures = outcome.transcript["failures"];
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0], Json({{"step", 1}, {"what", "element row2/txtAmount value"}, {"expected", "9.99"}, {"actual", "2.00"}}));
  EXPECT_EQ(Json({failures[1]["what"], failures[2]["what"]}),
            Json({"workspace Item", "shell button cmdHello enabled"}));
}

// A fault found while running names the step; a missing embedded database is named too.
TEST_F(PlayRun, FaultsFoundWhileRunningNameTheStep) {
  // clang-format off
  const std::pair<std::string_view, std::string_view> cases[] = {
      {R"({"steps": [{"click": "cmdGo"}, {"click": "cmdStop"}]})", "step 2: no element \"cmdStop\" on the shown page"},
      {R"({"steps": [{"click": "txtAmount", "in": "row7"}]})", "step 1: no element \"txtAmount\" in row \"row7\""},
      {R"({"steps": [{"shell": "cmdSave"}]})", "step 1: the shell has no command button or tab \"cmdSave\""},
      {R"({"steps": [{"choose": "txtNo", "value": "1"}]})", "step 1: the choose cannot be done"},
      {R"({"answers": ["CN1"], "steps": [{"click": "cmdGo"}]})",
       "step 1: the numbered message shown here needs a number"},
      {R"({"steps": [{"expect": {"elements": {"txtNone": {"value": ""}}}}]})",
       "step 1: no element \"txtNone\" on the shown page"},
      {R"({"steps": [{"expect": {"record": {"Current": {"Colour": ""}}}}]})",
       "step 1: the record has no field \"Colour\""},
      {R"({"steps": [{"expect": {"shell": {"tabs": {"TabZ": {"shown": true}}}}}]})", "step 1: no tab \"TabZ\""},
      {R"({"backend": {"embedded": "missing.db"}})", "backend.embedded: no database at"}};
  // clang-format on
  for (const auto& [scenario, message] : cases) {
    const PlayOutcome outcome = Run(scenario);
    EXPECT_EQ(outcome.status, exit_status::kMalformed) << scenario;
    EXPECT_THAT(outcome.error, HasSubstr(message)) << scenario;
  }
}

TEST_F(PlayRun, EmbeddedBackEndAnswersOnACopyWithTheScenarioClock) {
  components::InitDatabase(pages_ / "sample.db", false);
  const auto written = std::filesystem::last_write_time(pages_ / "sample.db");
  const PlayOutcome outcome =
      Run(R"({"clock": "05-Mar-2026 02:30:00 PM", "backend": {"embedded": "sample.db"}})",
          "KivoInsurance.Find.FindSystemDateTime");
  ASSERT_EQ(outcome.status, exit_status::kRan) << outcome.error;
  const Json& command = outcome.transcript["events"][0];
  EXPECT_EQ(Json({command["event"], command["reply"], command["status"], command.contains("unmatched")}),
            Json({"command", "05-Mar-2026 02:30:00 PM", 0, false}));
  EXPECT_EQ(std::filesystem::last_write_time(pages_ / "sample.db"), written);
}

// The product shows a numbered message as a message box: the box is answered as the message,
// and the queue is left for the prompts no answer names.
TEST_F(PlayRun, EmbeddedNumberedMessageTakesTheAnswerNamingIt) {
  const PlayOutcome outcome = Run(R"({"backend": "embedded",
      "answers": [{"to": 1210001, "answer": 2}, 5, {"to": "dlgEnq.htm", "answer": "CN9"}],
      "steps": [{"click": "cmdGo"}]})");
  ASSERT_EQ(outcome.status, exit_status::kRan) << outcome.error;
  const Json& box = outcome.transcript["events"].back();
  EXPECT_EQ(Json({box["event"], box["prompt"], box["answer"]}), Json({"msgbox", "Chose CN9 after 2", 5}));
}

// The command as ctest runs it: a transcript that differs fails; a rebaseline says what changed
// and makes it the expected one.
TEST_F(PlayRun, ExpectFailsOnADifferenceAndARebaselineSaysWhatChanged) {
  std::ofstream(pages_ / "s.json") << R"({"stub": [{"command": "Test.Page.Go", "reply": "WQK 1"}],
      "steps": [{"click": "cmdGo"}]})";
  std::ofstream(pages_ / "s.expected.json") << R"({"events": [], "final": {}, "failures": []})";
  const auto run = [this](PlayCommand command) {
    std::ostringstream out, err;
    command.scenario = pages_ / "s.json";
    command.pages_dir = pages_;
    const int status = RunPlayCommand(command, [](const Components& components, const Clock&) {
      return std::make_unique<TestScreen>(components, "");
    }, out, err);
    return std::to_string(status) + " " + out.str() + err.str();
  };
  const std::filesystem::path expected = pages_ / "s.expected.json";
  EXPECT_THAT(run({.expect = expected}), StartsWith("4 covernote play: the transcript differs"));
  EXPECT_EQ(run({.rebaseline = expected}),
            "0 s.expected.json: start-up and step 1: 0 events out, 9 in (status, script, step, command "
            "Test.Page.Go, message 1210001, dialog dlgEnq.htm and 1 more); final: shell, workspace, record, page\n");
  EXPECT_EQ(run({.expect = expected}), "0 ");
}

TEST(TranscriptText, AnEventALineAndSeparatorsEscaped) {
  const Json transcript = Json::parse(R"({"events": [{"event": "command", "reply": "a\uffffb"}], "failures": []})");
  EXPECT_EQ(TranscriptText(transcript),
            "{\n  \"events\": [\n    {\"event\": \"command\", \"reply\": \"a\\uffffb\"}\n  ],\n  \"failures\": []\n}\n");
}

// The rebaseline line: the steps whose events changed and what about, the final state's parts.
TEST(TranscriptChanges, StepsEventsAndFinalPartsThatChanged) {
  const Json before =
      Json::parse(R"({"events": [{"event": "status", "text": "x"}, {"event": "step", "step": 1},
      {"event": "command", "name": "A", "reply": "1"}, {"event": "msgbox", "title": "T"}, {"event": "script"},
      {"event": "dialog", "url": "d.htm"}, {"event": "fieldRule", "operation": "F"}, {"event": "message", "number": 9}],
      "final": {"record": {"Current": {"VehicleNo": "A", "Make": "M"}}, "page": {"rows": {"row1": {"txtName": {"value": "x"}}}}},
      "failures": []})");
  Json after = before;
  after["events"][2]["reply"] = "2";
  after["events"].erase(after["events"].begin() + 3, after["events"].end());
  after["final"]["record"]["Current"]["VehicleNo"] = "B";
  after["final"]["page"]["rows"]["row1"]["txtName"]["value"] = "y";
  EXPECT_EQ(TranscriptChanges(before, before), "unchanged");
  EXPECT_EQ(TranscriptChanges(before, after),
            "step 1: 6 events out, 1 in (command A, box \"T\", script, dialog d.htm, fieldRule F, message 9); "
            "final: record Current.VehicleNo, page row1.txtName");
}

TEST(TranscriptDifferences, OneLinePerDifferenceWithItsPath) {
  EXPECT_EQ(TranscriptDifferences(R"({"a": 1, "b": [1, 2]})", R"({"a": 1, "b": [1, 2]})"), "");
  EXPECT_EQ(TranscriptDifferences(R"({"a": 1, "b": [1]})", R"({"a": 2, "b": [1, 3]})"),
            "~ /a: expected 1, got 2\n+ /b/-: 3\n");
  EXPECT_EQ(TranscriptDifferences(R"({"a": 1, "c": "x"})", R"({"a": 1})"), "- /c: \"x\"\n");
}

}  // namespace
}  // namespace cn::play

// A whole run through the real shell, with a small screen of its own: the transcript's
// events and final state, expectations, and the faults that stop a run.
#include "play/runner.h"

#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "base/separators.h"
#include "components/database_setup.h"
#include "dom/document.h"
#include "dom/element.h"
#include "integration/selection_file.h"
#include "play/play_command.h"

namespace cn::play {
namespace {

using ::testing::HasSubstr;

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

// The workspace page sets up one tab and one button; the tab's Go button sends a command
// with the typed number, shows the reply, asks a numbered question and opens a dialog.
class TestPage final : public dom::PageLogic {
 public:
  TestPage(std::string_view file, std::shared_ptr<dom::Document> document,
           const Components& components, std::map<std::string, std::string>& record,
           std::string_view startup_command)
      : file_(file),
        document_(std::move(document)),
        components_(components),
        record_(record),
        startup_command_(startup_command) {}

  void Load() override {
    auto window = document_->ParentWindow();
    if (file_ == "CNAAMain.htm") {
      if (!startup_command_.empty()) {
        std::string reply;
        std::int32_t status = 0;
        components_.NewBackendCommandService()->ExecuteCommand(startup_command_, "", reply, status);
      }
      window->SetStatus("Loading page...");
      window->ExecScript("InsertTabButton('TabA','A','Tab.htm')");
      window->ExecScript("InsertCmdButton('cmdHello','Hello','')");
      window->ExecScript("TabFocus('TabA')");
      return;
    }
    document_->Bind("cmdSearch", "onclick", [this, window] {
      WriteSelectionFile(components_, "HTB" + std::string(FieldSeparator) + "HATCHBACK");
      window->ShowModalDialog("dlgSrch.htm", "SearchBody", "");
    });
    document_->Bind("cmdGo", "onclick", [this, window] {
      const auto number = document_->GetElementById("txtNo");
      std::string reply;
      std::int32_t status = 0;
      components_.NewBackendCommandService()->ExecuteCommand("Test.Page.Go", number->Value(), reply,
                                                             status);
      document_->GetElementById("lblOut")->SetInnerText(reply);
      record_["VehicleNo"] = reply;
      const auto answer =
          components_.NewMessageService()->ShowMessage(1210001, "Reset", "", "", "", "", "");
      const std::string chosen = window->ShowModalDialog("dlgEnq.htm", "arg", "features");
      window->MessageBox("Chose " + chosen + " after " + std::to_string(answer),
                         dom::message_box::kOkCancel, "Done");
    });
  }
  void Unload() override {}

 private:
  std::string file_;
  std::shared_ptr<dom::Document> document_;
  const Components& components_;
  std::map<std::string, std::string>& record_;
  std::string startup_command_;
};

class TestScreen final : public ScreenInspector {
 public:
  TestScreen(const Components& components, std::string startup_command)
      : components_(components), startup_command_(std::move(startup_command)) {}
  dom::PageFactory PageFactory() override {
    return [this](std::string_view file, const std::shared_ptr<dom::Document>& document) {
      return std::make_unique<TestPage>(file, document, components_, record_, startup_command_);
    };
  }
  bool IsOpen() const override { return true; }
  std::vector<std::string> FieldNames() const override { return {"VehicleNo"}; }
  std::optional<std::string> Field(RecordCopy copy, std::string_view name) const override {
    if (name != "VehicleNo") return std::nullopt;
    if (copy == RecordCopy::kPrevious) return "";
    const auto it = record_.find("VehicleNo");
    return it == record_.end() ? "" : it->second;
  }
  std::vector<std::string> WorkspaceItemNames() const override { return {"Item"}; }
  std::optional<std::string> WorkspaceItem(std::string_view name) const override {
    return name == "Item" ? std::optional<std::string>("value") : std::nullopt;
  }

 private:
  const Components& components_;
  std::string startup_command_;
  std::map<std::string, std::string> record_;
};

class PlayRun : public ::testing::Test {
 protected:
  void SetUp() override {
    pages_ = std::filesystem::temp_directory_path() /
             ("covernote-play-test-" +
              std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(pages_);
    std::ofstream(pages_ / "CNAAMain.htm") << kWorkspacePage;
    std::ofstream(pages_ / "Tab.htm") << kTabPage;
  }
  void TearDown() override { std::filesystem::remove_all(pages_); }

  // `startup_command`: a command the workspace page sends as it loads ("" none).
  PlayOutcome Run(std::string_view scenario_json, std::string startup_command = "") {
    const Scenario scenario = ParseScenario(scenario_json, pages_);
    return Play(scenario,
                {.pages_dir = pages_,
                 .make_screen = [startup_command](const Components& components, const Clock&) {
                   return std::make_unique<TestScreen>(components, startup_command);
                 }});
  }

  static std::vector<std::string> Kinds(const Json& events) {
    std::vector<std::string> kinds;
    for (const auto& event : events) kinds.push_back(event["event"]);
    return kinds;
  }

  std::filesystem::path pages_;
};

TEST_F(PlayRun, SelectionFileIsRecordedBeforeItsDialog) {
  const PlayOutcome outcome = Run(R"({"answers": ["HTB"], "steps": [{"click": "cmdSearch"}]})");
  ASSERT_EQ(outcome.status, exit_status::kRan) << outcome.error;
  const Json& events = outcome.transcript["events"];
  ASSERT_EQ(Kinds(events).back(), "dialog");
  const Json& file = events[events.size() - 2];
  EXPECT_EQ(file["event"], "selectionFile");
  EXPECT_EQ(file["text"], "HTB" + std::string(FieldSeparator) + "HATCHBACK");
  EXPECT_EQ(events.back()["result"], "HTB");
}

TEST_F(PlayRun, ExpectationsThatDoNotHoldAreListedAndExitThree) {
  const PlayOutcome outcome = Run(R"({"steps": [
      {"expect": {"elements": {"txtNo": {"value": ""}}, "rows": {"row2": {"txtAmount": {"value": "9.99"}}},
                  "record": {"Current": {"VehicleNo": ""}}, "workspace": {"Item": "other"},
                  "shell": {"shownTab": "TabA", "buttons": {"cmdHello": {"enabled": false}}}}}]})");
  ASSERT_EQ(outcome.status, exit_status::kExpectFailed) << outcome.error;
  const Json& failures = outcome.transcript["failures"];
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0], Json({{"step", 1},
                               {"what", "element row2/txtAmount value"},
                               {"expected", "9.99"},
                               {"actual", "2.00"}}));
  EXPECT_EQ(failures[1]["what"], "workspace Item");
  EXPECT_EQ(failures[2]["what"], "shell button cmdHello enabled");
}

TEST_F(PlayRun, FaultsFoundWhileRunningNameTheStep) {
  struct Case {
    std::string_view scenario;
    std::string_view message;
  };
  const Case cases[] = {
      {R"({"steps": [{"click": "cmdGo"}, {"click": "cmdStop"}]})",
       "step 2: no element \"cmdStop\" on the shown page"},
      {R"({"steps": [{"click": "txtAmount", "in": "row7"}]})",
       "step 1: no element \"txtAmount\" in row \"row7\""},
      {R"({"steps": [{"shell": "cmdSave"}]})",
       "step 1: the shell has no command button or tab \"cmdSave\""},
      {R"({"steps": [{"choose": "txtNo", "value": "1"}]})", "step 1: the choose cannot be done"},
      {R"({"answers": ["CN1"], "steps": [{"click": "cmdGo"}]})",
       "step 1: the numbered message shown here needs a number"},
      {R"({"steps": [{"expect": {"elements": {"txtNone": {"value": ""}}}}]})",
       "step 1: no element \"txtNone\" on the shown page"},
      {R"({"steps": [{"expect": {"record": {"Current": {"Colour": ""}}}}]})",
       "step 1: the record has no field \"Colour\""},
      {R"({"steps": [{"expect": {"shell": {"tabs": {"TabZ": {"shown": true}}}}}]})",
       "step 1: no tab \"TabZ\""},
  };
  for (const Case& c : cases) {
    const PlayOutcome outcome = Run(c.scenario);
    EXPECT_EQ(outcome.status, exit_status::kMalformed) << c.scenario;
    EXPECT_THAT(outcome.error, HasSubstr(c.message)) << c.scenario;
  }
}

TEST_F(PlayRun, MissingEmbeddedDatabaseIsNamed) {
  const PlayOutcome outcome = Run(R"({"backend": {"embedded": "missing.db"}})");
  EXPECT_EQ(outcome.status, exit_status::kMalformed);
  EXPECT_THAT(outcome.error, HasSubstr("backend.embedded: no database at"));
}

TEST_F(PlayRun, EmbeddedBackEndAnswersOnACopyWithTheScenarioClock) {
  components::InitDatabase(pages_ / "sample.db", false);
  const auto written = std::filesystem::last_write_time(pages_ / "sample.db");
  const PlayOutcome outcome =
      Run(R"({"clock": "05-Mar-2026 02:30:00 PM", "backend": {"embedded": "sample.db"}})",
          "KivoInsurance.Find.FindSystemDateTime");
  ASSERT_EQ(outcome.status, exit_status::kRan) << outcome.error;
  const Json& command = outcome.transcript["events"][0];
  EXPECT_EQ(command["event"], "command");
  EXPECT_EQ(command["reply"], "05-Mar-2026 02:30:00 PM");
  EXPECT_EQ(command["status"], 0);
  EXPECT_FALSE(command.contains("unmatched"));
  EXPECT_EQ(std::filesystem::last_write_time(pages_ / "sample.db"), written);
}

// The product shows a numbered message as a message box: the box is answered as the message,
// and the queue is left for the prompts no answer names.
TEST_F(PlayRun, EmbeddedNumberedMessageTakesTheAnswerNamingIt) {
  const PlayOutcome outcome = Run(R"({"backend": "embedded",
      "answers": [{"to": 1210001, "answer": 2}, 5, {"to": "dlgEnq.htm", "answer": "CN9"}],
      "steps": [{"click": "cmdGo"}]})");
  ASSERT_EQ(outcome.status, exit_status::kRan) << outcome.error;
  const Json& events = outcome.transcript["events"];
  ASSERT_EQ(Kinds(events).back(), "msgbox");
  EXPECT_EQ(events.back()["prompt"], "Chose CN9 after 2");
  EXPECT_EQ(events.back()["answer"], 5);
}

TEST(TranscriptText, SeparatorsAreWrittenAsEscapes) {
  const Json transcript = {
      {"reply", "a" + std::string(RecordSeparator) + "b" + std::string(ParamSeparator)}};
  EXPECT_EQ(TranscriptText(transcript), "{\n  \"reply\": \"a\\uffffb\\ufffb\"\n}\n");
}

TEST(TranscriptDifferences, OneLinePerDifferenceWithItsPath) {
  EXPECT_EQ(TranscriptDifferences(R"({"a": 1, "b": [1, 2]})", R"({"a": 1, "b": [1, 2]})"), "");
  EXPECT_EQ(TranscriptDifferences(R"({"a": 1, "b": [1]})", R"({"a": 2, "b": [1, 3]})"),
            "~ /a: expected 1, got 2\n+ /b/-: 3\n");
  EXPECT_EQ(TranscriptDifferences(R"({"a": 1, "c": "x"})", R"({"a": 1})"), "- /c: \"x\"\n");
}

}  // namespace
}  // namespace cn::play

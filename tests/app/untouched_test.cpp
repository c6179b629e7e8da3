// A cover note the administrator did not change stays as it was read. Every sample note is read,
// shown on every tab and back with every box entered and left, and saved: nothing is written and
// the review lists nothing. Calculated on its own engine, it gives back every figure it carries.
// The screen runs whole, through the scenario runner, on the sample database.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "../base/temp_folder.h"
#include "app/play_screen.h"
#include "backend/backend.h"
#include "base/clock.h"
#include "base/date_reader.h"
#include "play/runner.h"
#include "play/scenario.h"
#include "base/same_value.h"

namespace cn::app {
namespace {

using json = play::Json;

// Fields that are the screen's own working values, never written with the cover note.
const std::map<std::string, std::string_view> kNotWritten = {
    {"ScopeOfCover", "looked up from the motor cover when the Cover tab is left"},
    {"StateName", "the state's name, shown only"},
    {"ExtCoverMethods", "the extended covers' methods, looked up for a computation"},
    {"ExtCoverMinPremiums", "the extended covers' minimums, looked up for a computation"},
};

// The sample database as `db init` makes it on 5 December 2026, and a copy whose new tariff
// lies ahead, where the notes issued before it are rated on their own engine.
class SampleNotes {
 public:
  SampleNotes() {
    const FixedClock clock{{*Date::FromYmd(2026, 12, 5), *Time::FromHms(10, 0, 0)}};
    for (const bool current_engine : {false, true}) {
      backend::Backend backend(Database(current_engine), clock);
      backend::Database& db = backend.database();
      if (current_engine) {
        db.Prepare("UPDATE system_parameter SET value = '01-Jan-2099' WHERE code = 1127").Run();
        continue;
      }
      backend::Statement& tariff =
          db.Prepare("SELECT value FROM system_parameter WHERE code = 1127");
      if (tariff.Step()) new_tariff_ = *ReadDate(tariff.Text(0));
      backend::Statement& notes = db.Prepare("SELECT cover_note_no FROM cover_note ORDER BY 1");
      while (notes.Step()) numbers_.emplace_back(notes.Text(0));
    }
  }

  const std::vector<std::string>& numbers() const { return numbers_; }
  std::filesystem::path Database(bool current_engine) const {
    return folder_.path / (current_engine ? "current-engine.db" : "sample.db");
  }
  // The engine in force when the note's cover began.
  bool OnCurrentEngine(const json& record) const {
    return *ReadDate(record["EffectiveDate"].get<std::string>()) < new_tariff_;
  }

 private:
  const testing::TempFolder folder_{"untouched"};
  std::vector<std::string> numbers_;
  Date new_tariff_;
};

// The administrator's steps after reading `number`, and the transcript.
json Play(const std::filesystem::path& database, const std::string& number, json steps) {
  json scenario = {{"clock", "05-Dec-2026 10:00:00 AM"},
                   {"backend", {{"embedded", database.string()}}},
                   {"answers", {{{"to", "dlgReview.htm"}, {"answer", "save"}}}}};
  scenario["steps"] =
      json::array({{{"type", "txtCoverNoteNumber"}, {"text", number}, {"replace", true}},
                   {{"click", "cmdReadCNoteNo"}}});
  for (json& step : steps) scenario["steps"].push_back(std::move(step));
  const play::PlayOutcome outcome =
      play::Play(play::ParseScenario(scenario.dump(), {}),
                 {.pages_dir = COVERNOTE_PAGES_DIR, .make_screen = PlayScreenMaker()});
  EXPECT_EQ(outcome.status, play::exit_status::kRan) << outcome.error;
  return outcome.transcript;
}

// The fields of `after` that say something else than `before` does ("1500" and "1,500.00"
// say the same).
std::vector<std::string> Changed(const json& before, const json& after) {
  std::vector<std::string> changed;
  for (const auto& [name, value] : after.items()) {
    if (kNotWritten.contains(name) ||
        SameValue(before[name].get<std::string>(), value.get<std::string>()))
      continue;
    changed.push_back(name + ": " + before[name].get<std::string>() + " -> " +
                      value.get<std::string>());
  }
  return changed;
}

std::vector<std::string> Sent(const json& transcript, std::string_view part) {
  std::vector<std::string> names;
  for (const json& event : transcript["events"]) {
    if (event["event"] == "command" &&
        event["name"].get<std::string>().find(part) != std::string::npos)
      names.push_back(event["name"]);
  }
  return names;
}

TEST(Untouched, ACoverNoteOnlyLookedAtIsNeitherChangedNorWritten) {
  const SampleNotes sample;
  json tour = json::array();
  for (const char* tab : {"COVVeh", "COVNCD", "COVNPrem", "COVPrem", "COVOPrem", "COVCover",
                          "COVNCD", "COVVeh", "COVCover"}) {
    tour.push_back({{"shell", tab}});
    tour.push_back({{"visit", "boxes"}});
  }
  tour.push_back({{"shell", "cmdSave"}});
  for (const std::string& number : sample.numbers()) {
    SCOPED_TRACE(number);
    const json read = Play(sample.Database(false), number, json::array());
    const json toured = Play(sample.Database(false), number, tour);
    EXPECT_THAT(Sent(toured, "Write"), ::testing::IsEmpty());
    EXPECT_THAT(Changed(read["final"]["record"]["Current"], toured["final"]["record"]["Current"]),
                ::testing::IsEmpty());
    int step = 0;
    for (const json& event : toured["events"]) {
      if (event["event"] == "step") step = event["step"];
      if (event["event"] == "dialog" && event["url"] == "dlgReview.htm") {
        EXPECT_THAT(event["argument"].get<std::string>(), ::testing::HasSubstr("Nothing differs"));
      }
      // Boxes entered and left say nothing: only a refused read speaks.
      if (event["event"] == "msgbox" || event["event"] == "message") {
        EXPECT_EQ(step, 2) << event.dump();
      }
    }
  }
}

TEST(Untouched, CalculatedOnItsOwnEngineEveryFigureStaysAsStored) {
  const SampleNotes sample;
  const json calculate = {
      {{"shell", "COVNPrem"}}, {{"shell", "COVPrem"}}, {{"shell", "cmdCalculate"}}};
  for (const std::string& number : sample.numbers()) {
    SCOPED_TRACE(number);
    const json read = Play(sample.Database(false), number, json::array());
    const bool current_engine = sample.OnCurrentEngine(read["final"]["record"]["Current"]);
    const json calculated = Play(sample.Database(current_engine), number, calculate);
    EXPECT_THAT(
        Changed(read["final"]["record"]["Current"], calculated["final"]["record"]["Current"]),
        ::testing::IsEmpty());
  }
}

}  // namespace
}  // namespace cn::app

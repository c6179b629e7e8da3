// The workspace page driven through the real shell: start-up, the shell's messages, reset,
// the enquiry dialog and unload, as the administrator and the back end see them.

#include "workspace/cnaa_main.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "base/text.h"
#include "dom/element.h"
#include "screen_harness.h"

namespace cn::workspace_testing {
namespace {

using ::testing::ElementsAre;
using testing::Entry;
using ::testing::IsEmpty;
using testing::Journal;
using testing::ScreenHarness;

// Every start-up list, from the back end and the local table, with one entry whose code is
// its text as well.
void FillLists(ScreenHarness& screen) {
  // clang-format off
  screen.SetSystemCodes({{"1011", "PC01"}, {"1025", "6"}, {"1026", "10.00"}, {"1031", "TBA"}, {"1030", "INSURED"},
                         {"1062", "62"}, {"1034", "34"}});
  struct List { std::string_view command, parameters, code; };
  constexpr List kBackEnd[] = {
      {"Tarvin.Find.FindMotorClass", "0", "P1"}, {"Tarvin.Find.Browse", "3", "PC01"},
      {"KivoInsurance.Find.Browse", "3", "01"},  {"Tarvin.Find.Browse", "1", "SAL"},
      {"Tarvin.Find.Browse", "0", "TOY"},        {"KivoInsurance.Find.Browse", "0", "CLK"},
      {"Tarvin.Find.Browse", "7", "W"},          {"KivoInsurance.Find.Browse", "7", "IMM"},
      {"KivoGlobal.Client.Find", "1", "MAL"},    {"KivoGlobal.Client.Find", "2", "ENG"},
      {"KivoGlobal.Client.Find", "3", "RET"},    {"KivoInsurance.Find.Browse", "13", "KL"},
      {"Tarvin.Premium.GetMotorTariffRegionByAgentCode", "AG100", ""}};
  constexpr std::pair<std::int16_t, std::string_view> kLocal[] = {
      {5, "PC01"}, {8, "01"}, {3, "SAL"}, {2, "TOY"}, {0, "CLK"}, {9, "W"}};
  // clang-format on
  for (const auto& [command, parameters, code] : kBackEnd)
    screen.fakes.backend.Answer(std::string(command), std::string(parameters), code.empty() ? "W" : Entry(code, code));
  for (const auto& [list, code] : kLocal) screen.fakes.local_table.lists[list] = Entry(code, code);
  screen.fakes.local_table.motor_classes[0] = Entry("P1", "P1");
}

// A screen opened on the Cover tab, `prepare` changing the fakes first, with the journal of
// its start-up taken.
struct Opened {
  explicit Opened(std::string cookies = "", bool local_tables = false,
                  const std::function<void(ScreenHarness&)>& prepare = {})
      : screen(local_tables) {
    FillLists(screen);
    if (prepare) prepare(screen);
    screen.Start(std::move(cookies));
    started = screen.Take();
  }
  Workspace& workspace() const { return screen.workspace(); }
  ScreenHarness screen;
  Journal started;
};

// The order of commands and shell statements at start-up is pinned by the golden start-up
// scenarios; their transcripts do not show the settings and local-table reads. Local tables
// keep no security devices; the rest comes from them.
TEST(CNAAMainStartUp, ReadsTheSettingsFirstAndTheBaseListsFromTheTableTheSettingNames) {
  for (const bool local_tables : {false, true}) {
    SCOPED_TRACE(local_tables);
    Journal reads = Opened("", local_tables).started;
    std::erase_if(reads, [](const std::string& l) { return !l.starts_with("setting ") && !l.starts_with("local "); });
    EXPECT_EQ(Join(reads, ", "),
              "setting _CurrentUserID, setting _CurrentAgentType, setting _CurrentAgentCode, "
              "setting _CurrentRole, "
              "setting Use Local Table, " +
                  std::string(local_tables ? "local GetList 6, local GetMotorClassList 0, setting Use Local Table, "
                                             "local GetList 5, local GetList 8, local GetList 3, local GetList 2, "
                                             "local GetList 0, local GetList 9"
                                           : "setting Use Local Table"));
  }
  const Opened opened("", /*local_tables=*/true);
  const StartupLists& lists = opened.workspace().lists;
  EXPECT_EQ(Join(lists.SecurityDeviceList, ",") + Join(lists.MotorCoverCodeList, ",") + "," + lists.BodyTypeListText,
            Entry("PC01", "PC01") + "," + Entry("SAL", "SAL"));
}

// The tabs read these lookups from the workspace; the minimum driving ages default when the
// back end gives none and follow it when it does.
TEST(CNAAMainStartUp, KeepsTheLookupsForTheTabs) {
  const Opened opened;
  const auto& codes = opened.workspace().startup.SystemCodes;
  EXPECT_EQ(codes.at(1098) + codes.at(1097), "1716");
  EXPECT_THAT(opened.workspace().lists.SecurityDeviceList.entries(),
              ElementsAre(Entry("IMM", "IMM")));
  // The cleared record fetched the first class's cover list; the cache starts afresh.
  EXPECT_THAT(opened.workspace().lookup.MotorCoverListCache, ElementsAre("P1|~|"));
  const Opened given("", false, [](ScreenHarness& screen) { screen.SetSystemCodes({{"1098", "18"}, {"1097", "21"}}); });
  const auto& given_codes = given.workspace().startup.SystemCodes;
  EXPECT_EQ(given_codes.at(1098) + given_codes.at(1097), "1821");
}

TEST(CNAAMainStartUp, ASettingThatIsNoNumberStopsStartUp) {
  const Opened opened("", false, [](ScreenHarness& screen) {
    screen.fakes.registry.values[{"Software\\Brindle\\Kivo\\Zelkor\\UI", "Use Local Table"}] = "";
  });
  EXPECT_THAT(opened.started.back(), ::testing::StartsWith("box 48 '' 13: "));
  EXPECT_THAT(opened.screen.shell().Tabs(), IsEmpty());
}

// The enquiry screen's cookies become a command for the Cover tab, and every cookie read is
// gone, so a later screen does not open the document again. A policy stands in when no cover
// note number was left; without a number or without CNote nothing is handed over.
TEST(CNAAMainStartUp, TurnsEnquiryCookiesIntoACommandForTheCoverTab) {
  // clang-format off
  const std::pair<std::string, std::string> cases[] = {
      {"CNote=0; CoverNoteNumber=CN001; VehicleNumber=WXY123", "R;CN001;WXY123;"},
      {"CNote=0; PolicyNumber=POL9", "R;POL9;;"},
      {"CNote=0; CoverNoteNumber=CN001; PolicyNumber=POL9", "R;CN001;;"},
      {"CNote=0; VehicleNumber=WXY123", ""}, {"XCNote=0; CoverNoteNumber=CN001", ""}};
  // clang-format on
  for (const auto& [cookies, read] : cases) {
    SCOPED_TRACE(cookies);
    const Opened opened(cookies);
    EXPECT_EQ(opened.started.back(),
              "load COVCover pending=" + (read.empty() ? "" : "COVCover;ReadDocumentFromEnquiryScreen;" + read));
    for (const std::string& pair : Split(opened.screen.workspace_page().Cookie(), "; "))
      EXPECT_THAT(pair.substr(0, pair.find('=')), ::testing::AnyOf("XCNote", "PolicyNumber"));
  }
}

TEST(CNAAMainDispatch, IgnoresAnythingButTheExactMessages) {
  Opened opened;
  for (const std::string_view message :
       {" cmdReset", "cmdreset", "cmdCalc", "COVVeh ", "covcover", "", "cmdReset;cmdSave"}) {
    SCOPED_TRACE("'" + std::string(message) + "'");
    opened.workspace().page.TabSwitchInProgress = false;
    opened.screen.Post(message);
    EXPECT_THAT(opened.screen.Take(), IsEmpty());
    EXPECT_FALSE(opened.workspace().page.TabSwitchInProgress);
    EXPECT_FALSE(opened.workspace().page.ResetInProgress);
  }
}

// A tab id copies nothing before any tab is loaded or while a page fills.
TEST(CNAAMainDispatch, ATabIdCopiesNothingBeforeAnyTabOrWhileAPageFills) {
  for (const auto& [current_tab, page_filling] : {std::pair<std::string_view, bool>{"", false}, {"COVCover", true}}) {
    Opened opened;
    opened.screen.tab_page().GetElementById("txtCoverNoteNumber")->SetValue("CN777");
    opened.workspace().page.CurrentTabId = current_tab;
    opened.workspace().page.PageFilling = page_filling;
    opened.screen.Post("COVVeh");
    EXPECT_EQ(opened.workspace().record.Current.CoverNoteNo, "") << current_tab;
    EXPECT_TRUE(opened.workspace().page.TabSwitchInProgress) << current_tab;
  }
}

// Calculate on a cover note without class or cover reads no extended-cover details and asks
// for the vehicle details on the Vehicle tab. A stale list read before the vehicle check is
// in the golden premium scenarios, a fresh one kept in the golden vehicle-details scenario.
TEST(CNAAMainDispatch, CalculateReadsNoExtendedCoverDetailsWithoutClassAndCover) {
  for (const auto& [class_code, motor_cover_code] :
       {std::pair<std::string_view, std::string_view>{"", "PC01"}, {"P1", ""}}) {
    SCOPED_TRACE(std::string(class_code) + "/" + std::string(motor_cover_code));
    Opened opened;
    Workspace& workspace = opened.workspace();
    workspace.page.ExtendedCoverDetailsStale = true;
    workspace.page.ExtendedCoverDetails = {"kept"};
    workspace.record.Current.ClassCode = class_code;
    workspace.record.Current.MotorCoverCode = motor_cover_code;
    opened.screen.Post("cmdCalculate");
    EXPECT_THAT(opened.screen.Take(),
                ElementsAre("command Tarvin.Find.GetScopeOfCover ",
                            "message 1210009 'Incomplete Data' [[Vehicle],,,,]", "script TabFocus('COVVeh')",
                            "command Tarvin.Find.GetScopeOfCover ", "load COVVeh pending="));
    EXPECT_EQ(workspace.page.ExtendedCoverDetails, std::vector<std::string>{""});
    EXPECT_TRUE(workspace.page.ExtendedCoverDetailsStale);
  }
}

// A failed message is reported; the flag set before the failure stays as it was.
TEST(CNAAMainDispatch, AFailedMessageIsReportedAndTheNextOneStillRuns) {
  Opened opened;
  opened.screen.fakes.backend.Fail("TarvinBS.Find.FindExtendedCoverDetails");
  opened.workspace().page.ExtendedCoverDetailsStale = true;
  opened.workspace().record.Current.ClassCode = "P1";
  opened.workspace().record.Current.MotorCoverCode = "PC01";
  opened.screen.Post("cmdCalculate");
  EXPECT_THAT(opened.screen.Take(),
              ElementsAre("command TarvinBS.Find.FindExtendedCoverDetails P1^PC01",
                          "box 48 '' 440: The back end is not reachable [FakeBackend]"));
  EXPECT_FALSE(opened.workspace().page.TabSwitchInProgress);
}

// Missing data is asked for on its tab; what leaving the NCD tab asks of the back end belongs
// to that tab.
TEST(CNAAMainIncompleteData, AsksForTheMissingDataOnItsTab) {
  for (const auto& [tab, seen, shown] : {std::tuple<std::int16_t, std::string_view, std::string_view>{
           0, "message 1210009 'Incomplete Data' [[Cover],,,,], script TabFocus('COVCover'), load COVCover pending=",
           "COVCover"}, {2, "", "COVNCD"}}) {
    SCOPED_TRACE(tab);
    Opened opened;
    opened.screen.ClickTab("COVNCD");
    opened.screen.Take();
    opened.screen.shell().RunUserAction([&, tab = tab] {
      ShowIncompleteData(opened.workspace(), *opened.screen.workspace_page().ParentWindow(), tab);
    });
    Journal journal = opened.screen.Take();
    std::erase_if(journal, [](const std::string& line) { return line.starts_with("command "); });
    EXPECT_EQ(Join(journal, ", "), seen);
    EXPECT_EQ(opened.screen.shell().ShownTabId(), shown);
  }
}

// Stand-ins for the two table objects: their owners are watched, not the objects.
TEST(CNAAMainUnload, ForgetsTheTabAndReleasesTheTables) {
  Opened opened;
  auto extended_covers = std::make_shared<int>(0);
  auto named_drivers = std::make_shared<int>(0);
  const std::weak_ptr<int> watches[] = {extended_covers, named_drivers};
  opened.workspace().row_tables.ResetExtendedCoverTable = [kept = std::move(extended_covers)] {};
  opened.workspace().vehicle.DriverTable = std::shared_ptr<Driver>(std::move(named_drivers), nullptr);
  opened.workspace().page.NamedDriverCountSeen = 4;
  opened.screen.shell().Close();
  EXPECT_EQ(opened.workspace().page.CurrentTabId, "");
  EXPECT_EQ(opened.workspace().page.NamedDriverCountSeen, 1);
  EXPECT_TRUE(watches[0].expired() && watches[1].expired());
}

}  // namespace
}  // namespace cn::workspace_testing

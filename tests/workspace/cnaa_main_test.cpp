// The workspace page driven through the real shell: start-up, the shell's messages, reset,
// the enquiry dialog and unload, as the administrator and the back end see them.

#include "workspace/cnaa_main.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/separators.h"
#include "base/text.h"
#include "dom/element.h"
#include "screen_harness.h"

namespace cn::workspace_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using testing::Entry;
using testing::FakeBackend;
using testing::Journal;
using testing::ScreenHarness;
constexpr auto List = testing::Records;

// A back end (or local table) with every start-up list filled.
void FillLists(ScreenHarness& screen) {
  screen.SetSystemCodes({{"1011", "PC01"}, {"1025", "6"}, {"1026", "10.00"}, {"1031", "TBA"},
                         {"1030", "INSURED"}, {"1062", "62"}, {"1034", "34"}});
  FakeBackend& backend = screen.fakes.backend;
  backend.Answer("Tarvin.Find.FindMotorClass", "0", List({Entry("P1", "Private car")}));
  backend.Answer("Tarvin.Find.Browse", "3", List({Entry("PC01", "Comprehensive"), Entry("PC02", "Third party")}));
  backend.Answer("KivoInsurance.Find.Browse", "3", List({Entry("01", "Johor")}));
  backend.Answer("Tarvin.Find.Browse", "1", List({Entry("SAL", "Saloon"), Entry("HB", "Hatchback")}));
  backend.Answer("Tarvin.Find.Browse", "0", List({Entry("TOY", "Toyota")}));
  backend.Answer("KivoInsurance.Find.Browse", "0", List({Entry("CLK", "Clerk")}));
  backend.Answer("Tarvin.Find.Browse", "7", List({Entry("W", "West"), Entry("E", "East")}));
  backend.Answer("KivoInsurance.Find.Browse", "7", List({Entry("IMM", "Immobiliser")}));
  backend.Answer("KivoGlobal.Client.Find", "1", List({Entry("MAL", "Malaysian")}));
  backend.Answer("KivoGlobal.Client.Find", "2", List({Entry("ENG", "Engineer")}));
  backend.Answer("KivoGlobal.Client.Find", "3", List({Entry("RET", "Retail")}));
  backend.Answer("KivoInsurance.Find.Browse", "13", List({Entry("KL", "Kuala Lumpur")}));
  backend.Answer("Tarvin.Premium.GetMotorTariffRegionByAgentCode", "AG100", "W");
  screen.fakes.local_table.motor_classes[0] = List({Entry("P1", "Private car")});
  screen.fakes.local_table.lists[5] = List({Entry("PC01", "Comprehensive")});
  screen.fakes.local_table.lists[8] = List({Entry("01", "Johor")});
  screen.fakes.local_table.lists[3] = List({Entry("SAL", "Saloon")});
  screen.fakes.local_table.lists[2] = List({Entry("TOY", "Toyota")});
  screen.fakes.local_table.lists[0] = List({Entry("CLK", "Clerk")});
  screen.fakes.local_table.lists[9] = List({Entry("W", "West")});
}

// A screen opened on the Cover tab, with the journal of its start-up taken.
struct Opened {
  explicit Opened(std::string cookies = "", bool local_tables = false) : screen(local_tables) {
    FillLists(screen);
    screen.Start(std::move(cookies));
    screen.Take();
  }
  ScreenHarness screen;
};

// ---- Start-up ----------------------------------------------------------------------------

// The order of commands and shell statements at start-up is pinned by the golden start-up
// scenarios; their transcripts do not show the settings and local-table reads.
TEST(CNAAMainStartUp, ReadsTheSettingsFirstAndTheBaseListsFromTheTableTheSettingNames) {
  struct Case {
    bool local_tables;
    std::vector<std::string> reads;
  };
  const std::vector<std::string> identity = {"setting _CurrentUserID", "setting _CurrentAgentType",
                                             "setting _CurrentAgentCode", "setting Use Local Table"};
  const Case cases[] = {
      {false, {"setting Use Local Table"}},
      {true,
       {"local GetList 6", "local GetMotorClassList 0", "setting Use Local Table",
        "local GetList 5", "local GetList 8", "local GetList 3", "local GetList 2",
        "local GetList 0", "local GetList 9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.local_tables ? "local tables" : "back end");
    ScreenHarness screen(c.local_tables);
    FillLists(screen);
    screen.Start();
    Journal reads;
    for (const std::string& line : screen.Take()) {
      if (line.starts_with("setting ") || line.starts_with("local ")) reads.push_back(line);
    }
    Journal expected = identity;
    expected.insert(expected.end(), c.reads.begin(), c.reads.end());
    EXPECT_THAT(reads, ElementsAreArray(expected));
  }
  // Local tables keep no security devices; the rest comes from them.
  Opened opened("", /*local_tables=*/true);
  const StartupLists& lists = opened.screen.workspace().lists;
  EXPECT_THAT(lists.SecurityDeviceList, IsEmpty());
  EXPECT_THAT(lists.MotorCoverCodeList, ElementsAre(Entry("PC01", "Comprehensive")));
  EXPECT_EQ(lists.BodyTypeListText, Entry("SAL", "Saloon"));
}

// The tabs read these lookups from the workspace; the minimum driving ages default when the
// back end gives none and follow it when it does.
TEST(CNAAMainStartUp, KeepsTheLookupsForTheTabs) {
  Opened opened;
  const Workspace& workspace = opened.screen.workspace();
  EXPECT_EQ(workspace.startup.SystemCodes.at(1098) + workspace.startup.SystemCodes.at(1097), "1716");
  EXPECT_THAT(workspace.lists.SecurityDeviceList, ElementsAre(Entry("IMM", "Immobiliser")));
  // The cleared record fetched the first class's cover list; the cache starts afresh.
  EXPECT_THAT(workspace.lookup.MotorCoverListCache, ElementsAre("P1|~|"));

  ScreenHarness screen;
  FillLists(screen);
  screen.SetSystemCodes({{"1098", "18"}, {"1097", "21"}});
  screen.Start();
  const auto& codes = screen.workspace().startup.SystemCodes;
  EXPECT_EQ(codes.at(1098) + codes.at(1097), "1821");
}

TEST(CNAAMainStartUp, ASettingThatIsNoNumberStopsStartUp) {
  ScreenHarness screen;
  FillLists(screen);
  screen.fakes.registry.values[{"Software\\Brindle\\Kivo\\Zelkor\\UI", "Use Local Table"}] = "";
  screen.Start();
  const Journal journal = screen.Take();
  ASSERT_FALSE(journal.empty());
  EXPECT_THAT(journal.back(), ::testing::StartsWith("box 48 '' 13: "));
  EXPECT_THAT(screen.shell().Tabs(), IsEmpty());
}

// ---- Hand-over from the enquiry screen -------------------------------------------------

TEST(CNAAMainStartUp, TurnsEnquiryCookiesIntoACommandForTheCoverTab) {
  struct Case {
    std::string cookies;
    std::string pending;
  };
  const Case cases[] = {
      {"CNote=0; CoverNoteNumber=CN001; VehicleNumber=WXY123",
       "COVCover;ReadDocumentFromEnquiryScreen;R;CN001;WXY123;"},
      // A policy stands in when no cover note number was left.
      {"CNote=0; PolicyNumber=POL9", "COVCover;ReadDocumentFromEnquiryScreen;R;POL9;;"},
      {"CNote=0; CoverNoteNumber=CN001; PolicyNumber=POL9",
       "COVCover;ReadDocumentFromEnquiryScreen;R;CN001;;"},
      // Without a number or without CNote nothing is handed over.
      {"CNote=0; VehicleNumber=WXY123", ""},
      {"XCNote=0; CoverNoteNumber=CN001", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cookies);
    ScreenHarness screen;
    FillLists(screen);
    screen.Start(c.cookies);
    const Journal journal = screen.Take();
    EXPECT_EQ(journal.back(), "load COVCover pending=" + c.pending);
    // Every cookie read is gone, so a later screen does not open the document again.
    for (const std::string& pair : Split(screen.workspace_page().Cookie(), "; ")) {
      const std::string name = pair.substr(0, pair.find('='));
      EXPECT_THAT(name, ::testing::AnyOf("XCNote", "PolicyNumber")) << pair;
    }
  }
}

// ---- The dispatcher ------------------------------------------------------------------------

TEST(CNAAMainDispatch, IgnoresAnythingButTheExactMessages) {
  Opened opened;
  ScreenHarness& screen = opened.screen;
  for (const std::string_view message :
       {" cmdReset", "cmdreset", "cmdCalc", "COVVeh ", "covcover", "", "cmdReset;cmdSave"}) {
    SCOPED_TRACE("'" + std::string(message) + "'");
    screen.workspace().page.TabSwitchInProgress = false;
    screen.Post(message);
    EXPECT_THAT(screen.Take(), IsEmpty());
    EXPECT_FALSE(screen.workspace().page.TabSwitchInProgress);
    EXPECT_FALSE(screen.workspace().page.ResetInProgress);
  }
}

TEST(CNAAMainDispatch, ATabIdCopiesNothingBeforeAnyTabOrWhileAPageFills) {
  struct Case {
    std::string_view why;
    std::string_view current_tab;
    bool page_filling;
  };
  const Case cases[] = {{"no tab loaded yet", "", false}, {"a page is filling", "COVCover", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Opened opened;
    ScreenHarness& screen = opened.screen;
    screen.tab_page().GetElementById("txtCoverNoteNumber")->SetValue("CN777");
    screen.workspace().page.CurrentTabId = c.current_tab;
    screen.workspace().page.PageFilling = c.page_filling;
    screen.Post("COVVeh");
    EXPECT_EQ(screen.workspace().record.Current.CoverNoteNo, "");
    EXPECT_TRUE(screen.workspace().page.TabSwitchInProgress);
  }
}

// Calculate on a cover note without its vehicle details asks for them on the Vehicle tab.
const Journal kVehicleDetailsAskedFor = {
    "command Tarvin.Find.GetScopeOfCover ", "message 1210009 'Incomplete Data' [[Vehicle],,,,]",
    "script TabFocus('COVVeh')", "command Tarvin.Find.GetScopeOfCover ", "load COVVeh pending="};

// A stale list read before the vehicle check is in the golden premium scenarios, a fresh
// one kept in the golden vehicle-details scenario.
TEST(CNAAMainDispatch, CalculateReadsNoExtendedCoverDetailsWithoutClassAndCover) {
  for (const auto& [class_code, motor_cover_code] :
       {std::pair<std::string_view, std::string_view>{"", "PC01"}, {"P1", ""}}) {
    SCOPED_TRACE(std::string(class_code) + "/" + std::string(motor_cover_code));
    Opened opened;
    ScreenHarness& screen = opened.screen;
    Workspace& workspace = screen.workspace();
    workspace.page.ExtendedCoverDetailsStale = true;
    workspace.page.ExtendedCoverDetails = {"kept"};
    workspace.record.Current.ClassCode = class_code;
    workspace.record.Current.MotorCoverCode = motor_cover_code;
    screen.Post("cmdCalculate");
    EXPECT_THAT(screen.Take(), ElementsAreArray(kVehicleDetailsAskedFor));
    EXPECT_TRUE(screen.fakes.backend.ParametersSent("Tarvin.Premium.ComputeV10").empty());
    EXPECT_EQ(workspace.page.ExtendedCoverDetails, std::vector<std::string>{""});
    EXPECT_TRUE(workspace.page.ExtendedCoverDetailsStale);
  }
}

TEST(CNAAMainDispatch, AFailedMessageIsReportedAndTheNextOneStillRuns) {
  Opened opened;
  ScreenHarness& screen = opened.screen;
  screen.fakes.backend.Fail("TarvinBS.Find.FindExtendedCoverDetails");
  screen.workspace().page.ExtendedCoverDetailsStale = true;
  screen.workspace().record.Current.ClassCode = "P1";
  screen.workspace().record.Current.MotorCoverCode = "PC01";
  screen.Post("cmdCalculate");
  EXPECT_THAT(screen.Take(),
              ElementsAre("command TarvinBS.Find.FindExtendedCoverDetails P1^PC01",
                          "box 48 '' 440: The back end is not reachable [FakeBackend]"));
  // The flag set before the failure stays as it was.
  EXPECT_FALSE(screen.workspace().page.TabSwitchInProgress);
}

// ---- Incomplete data and unload ----------------------------------------------------------

TEST(CNAAMainIncompleteData, AsksForTheMissingDataOnItsTab) {
  struct Case {
    std::int16_t tab;
    std::vector<std::string> journal;
    std::string_view shown;
  };
  const Case cases[] = {
      {0,
       {"message 1210009 'Incomplete Data' [[Cover],,,,]", "script TabFocus('COVCover')",
        "load COVCover pending="},
       "COVCover"},
      {2, {}, "COVNCD"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    Opened opened;
    ScreenHarness& screen = opened.screen;
    screen.ClickTab("COVNCD");
    screen.Take();
    screen.shell().RunUserAction([&] {
      ShowIncompleteData(screen.workspace(), *screen.workspace_page().ParentWindow(), c.tab);
    });
    // What leaving the NCD tab asks of the back end belongs to that tab.
    Journal seen = screen.Take();
    std::erase_if(seen, [](const std::string& line) { return line.starts_with("command "); });
    EXPECT_THAT(seen, ElementsAreArray(c.journal));
    EXPECT_EQ(screen.shell().ShownTabId(), c.shown);
  }
}

TEST(CNAAMainUnload, ForgetsTheTabAndReleasesTheTables) {
  Opened opened;
  ScreenHarness& screen = opened.screen;
  // Stand-ins for the two table objects: their owners are watched, not the objects.
  auto extended_covers = std::make_shared<int>(0);
  auto named_drivers = std::make_shared<int>(0);
  const std::weak_ptr<int> watches[] = {extended_covers, named_drivers};
  screen.workspace().row_tables.ResetExtendedCoverTable = [kept = std::move(extended_covers)] {};
  screen.workspace().vehicle.DriverTable = std::shared_ptr<Driver>(std::move(named_drivers), nullptr);
  screen.workspace().page.NamedDriverCountSeen = 4;

  screen.shell().Close();
  EXPECT_EQ(screen.workspace().page.CurrentTabId, "");
  EXPECT_EQ(screen.workspace().page.NamedDriverCountSeen, 1);
  EXPECT_TRUE(watches[0].expired());
  EXPECT_TRUE(watches[1].expired());
}

}  // namespace
}  // namespace cn::workspace_testing

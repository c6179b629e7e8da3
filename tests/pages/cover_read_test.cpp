// Reading a cover note on the Cover tab: a read left for the tab as it opens. What each
// answer of the back end shows is pinned by the read scenarios.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/separators.h"
#include "cover_tab_harness.h"

namespace cn::cover_testing {
namespace {

const std::string kAgent = "AG001";

std::string Params(std::string_view number, std::string_view mode) {
  return std::string(number) + std::string(ParamSeparator) + kAgent +
         std::string(ParamSeparator) + std::string(mode);
}

TEST(CoverTabLoad, APendingReadOfThisTabRunsAsItOpens) {
  CoverTabHarness tab;
  tab.SetSystemCodes({{"1031", "TBA"}});
  tab.world.backend.Answer(
      "KivoGIUWR.CoverNote.ReadAdmin", Params("CN777", "0"),
      ReadAdminReply({{"CoverNoteStatus", "R"}, {"VehicleNo", "WXY1"}, {"ClientName", "LIM"}}));
  tab.workspace.page.PendingTabCommand = "COVCover;ReadCoverNote;CN777";
  tab.Start();
  EXPECT_EQ(tab.element("txtName").Value(), "LIM");
  EXPECT_EQ(tab.shell().Title(), std::string(kScreenTitleText) + " : CN777");
  EXPECT_TRUE(tab.SaveEnabled());
  EXPECT_TRUE(tab.workspace.premium.FactorsChangedNewTariff);
  EXPECT_EQ(tab.workspace.page.PendingTabCommand, "");
  // The read does not keep the tab from locking.
  EXPECT_TRUE(tab.element("txtName").ReadOnly());
}

TEST(CoverTabLoad, APendingCommandForAnotherTabOrAnotherActionIsDropped) {
  for (const char* command :
       {"COVVeh;ReadCoverNote;CN777", "COVCover;Something;CN777", "COVCover;ReadCoverNote"}) {
    SCOPED_TRACE(command);
    CoverTabHarness tab;
    tab.workspace.page.PendingTabCommand = command;
    tab.Start();
    EXPECT_TRUE(tab.SentParameters("KivoGIUWR.CoverNote.ReadAdmin").empty());
    EXPECT_EQ(tab.workspace.page.PendingTabCommand, "");
    EXPECT_EQ(tab.element("txtCoverNoteNumber").Value(), "");
  }
}

// The other flags are in the golden new-tariff typing scenario.
TEST(CoverTabLoad, ShowingTheRecordLeavesATypedTariffPremiumAsTyped) {
  CoverTabHarness tab;
  tab.workspace.premium.TariffPremiumEntered = true;
  tab.Start();
  EXPECT_TRUE(tab.workspace.premium.TariffPremiumEntered);
}

}  // namespace
}  // namespace cn::cover_testing

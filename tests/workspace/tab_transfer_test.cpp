// An id that names no tab reaches no transfer and changes neither the record nor the page;
// a motorcycle's excess code taken back from the premium tab.
#include "workspace/tab_transfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "replies.h"
#include "tables/ext_cover.h"
#include "workspace_fixture.h"

namespace cn {
namespace {

using WorkspaceWorld = workspace_testing::CoverCornerWorld;

TEST(TabTransfer, AnyOtherIdChangesNothing) {
  WorkspaceWorld world;
  world.workspace.record.Current.ClientName = "TAN";
  const CoverNoteRecord before = world.workspace.record;
  const std::string page_before = world.page->DocumentElement()->OuterHtml();
  for (const std::string_view id : {"", "covcover", "COVCover ", "cmdSave", "COVClaims"}) {
    EXPECT_EQ(FindTabTransfer(id), nullptr) << id;
    ShowRecordOnPage(world.workspace, id, *world.page);
    SavePageToRecord(world.workspace, id, *world.page);
  }
  EXPECT_EQ(world.workspace.record, before);
  EXPECT_EQ(world.page->DocumentElement()->OuterHtml(), page_before);
  EXPECT_TRUE(world.fakes.backend.sent().empty());
}

}  // namespace
}  // namespace cn

namespace cn::testing {
namespace {

// Taking the premium tab back: the excess code of the cover type, the sums, the NCD of the
// chosen year and the short-period mark. Showing it is in the golden premium scenarios.
TEST(PremiumTransfer, PageToRecordTakesTheTextsAndDerivedFields) {
  // A private cover's excess code, the NCD, sums and short-period mark are pinned by the golden
  // premium-transfer scenario; a motorcycle's excess code is only here.
  WorkspaceWorld world(dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAPrm.htm"),
                       At(2014, 3, 5, 12));
  world.fakes.backend.Answer("Tarvin.Find.FindNCD", "A1",
                             CodeList({{"0", "0"}, {"1", "25"}, {"2", "30"}}));
  Workspace& ws = world.workspace;
  CoverNoteFields& f = ws.record.Current;
  f = {};
  f.ClassCode = "A1";
  f.CoverType = "MOTORCYCLE";
  f.ClientType = "P";
  f.TransactionType = "N";
  f.VehicleSumInsured = "30000";
  f.NCDYear = "2";
  f.ShortCalculation = "S";
  f.DriverNames = {""};
  for (const TextArray column : kExtCoverArrays) f.*column = {""};
  f.ExtCoverCodes = {"WS"};
  f.ExtCoverPremiums = {"300"};
  ws.record.ExtUserPremiumMarks = {false};
  auto table = std::make_shared<ExtCover>(ws);
  ws.premium_tab.ExtCoverTable = table;
  const auto command = world.page->GetElementById("kvExecuteCommand");
  table->BuildHeader(command, world.page->GetElementById("divExtCoverHeader"));
  table->BuildUI(command, world.page->GetElementById("divExtCover"), {Entry("WS", "WINDSCREEN")});

  ShowRecordOnPage(ws, "COVPrem", *world.page);
  world.Get("txtExcessAmount1").SetValue("50");
  world.Get("txtTrailerSumInsured").SetValue("5,000.50");
  world.Get("cboNCDYear").SetValue("1");
  world.Get("chkShortCal").SetChecked(false);
  SavePageToRecord(ws, "COVPrem", *world.page);
  EXPECT_EQ((std::vector<std::string>{f.ExcessCode, f.TotalSumInsured, f.NCDPercentage,
                                      f.ShortCalculation}),
            (std::vector<std::string>{"MC", "35,000.50", "25", "P"}));
  EXPECT_EQ(f.ExtCoverCodes, std::vector<std::string>{"WS"});
  EXPECT_TRUE(ws.premium.PremiumChangedV10);
}

}  // namespace
}  // namespace cn::testing

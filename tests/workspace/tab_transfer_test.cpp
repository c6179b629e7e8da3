// An id that names no tab reaches no transfer and changes neither the record nor the page;
// the premium tab's figures taken back into the record.
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
  struct Case {
    std::string_view cover_type, excess, code;
  };
  for (const Case c :
       {Case{"PRIVATE", "500", "DC"}, Case{"MOTORCYCLE", "50", "MC"}, Case{"PRIVATE", "0", ""}}) {
    SCOPED_TRACE(std::string(c.cover_type) + " " + std::string(c.excess));
    WorkspaceWorld world(dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAPrm.htm"),
                         At(2014, 3, 5, 12));
    world.fakes.backend.Answer("Tarvin.Find.FindNCD", "A1",
                               CodeList({{"0", "0"}, {"1", "25"}, {"2", "30"}}));
    Workspace& ws = world.workspace;
    CoverNoteFields& f = ws.record.Current;
    f = {};
    f.ClassCode = "A1";
    f.CoverType = c.cover_type;
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
    world.Get("txtExcessAmount1").SetValue(c.excess);
    world.Get("txtTrailerSumInsured").SetValue("5,000.50");
    world.Get("cboNCDYear").SetValue("1");
    world.Get("chkShortCal").SetChecked(false);
    SavePageToRecord(ws, "COVPrem", *world.page);
    EXPECT_EQ(f.ExcessCode, c.code);
    EXPECT_EQ(f.TotalSumInsured, "35,000.50");
    EXPECT_EQ(f.NCDPercentage, "25");
    EXPECT_EQ(f.ShortCalculation, "P");
    EXPECT_EQ(f.ExtCoverCodes, std::vector<std::string>{"WS"});
    EXPECT_TRUE(ws.premium.PremiumChangedV10);
  }
}

// The other-premium tab has no covers and no NCD: its five fields go back as typed.
TEST(PremiumTransfer, OtherPremiumTabShowsAndTakesBackItsFiveFields) {
  WorkspaceWorld world(dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/CNAAOPrm.htm"),
                       At(2014, 3, 5, 12));
  CoverNoteFields& f = world.workspace.record.Current;
  f.GrossPremium = "1200";
  f.TotalPremium = "1385.5";
  f.Remark = "AGREED RATE";
  f.ServiceTaxPercentage = "6";
  ShowRecordOnPage(world.workspace, "COVOPrem", *world.page);
  EXPECT_EQ(world.Get("txtGrossPremium").Value(), "1,200.00");
  EXPECT_EQ(world.Get("txtTotalPremium").Value(), "1,385.50");
  EXPECT_EQ(world.Get("txtRemark").Value(), "AGREED RATE");
  world.Get("txtGrossPremium").SetValue("1,000.00");
  world.Get("txtServiceTaxAmount").SetValue("60.00");
  SavePageToRecord(world.workspace, "COVOPrem", *world.page);
  EXPECT_EQ(f.GrossPremium, "1,000.00");
  EXPECT_EQ(f.ServiceTaxAmount, "60.00");
  EXPECT_EQ(f.ServiceTaxPercentage, "6");
  EXPECT_TRUE(world.fakes.backend.ParametersSent("Tarvin.Find.FindNCD").empty());
}

}  // namespace
}  // namespace cn::testing

// An id that names no tab reaches no transfer and changes neither the record nor the page;
// the premium tabs' figures and extended covers both ways.
#include "workspace/tab_transfer.h"

#include <gtest/gtest.h>

#include <memory>
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

using Texts = std::vector<std::string>;

// A premium tab's page file with its extended-cover table built, on 5 March 2014.
class PremiumTransfer : public ::testing::Test {
 protected:
  void Open(std::string_view file) {
    world_ = std::make_unique<WorkspaceWorld>(
        dom::Document::Load(std::string(COVERNOTE_PAGES_DIR) + "/" + std::string(file)),
        At(2014, 3, 5, 12));
    world_->SetSystemCodes({{"1008", "ND"}, {"1021", "AD"}});
    world_->fakes.backend.Answer("Tarvin.Find.FindNCD", "A1",
                                 CodeList({{"0", "0"}, {"1", "25"}, {"2", "30"}}));
    Workspace& ws = world_->workspace;
    ws.page.ExtendedCoverDetails = {Entry("ND", "NAMED DRIVER"), Entry("WS", "WINDSCREEN")};
    CoverNoteFields& f = ws.record.Current;
    f = {};
    f.ClassCode = "A1";
    f.CoverType = "PRIVATE";
    f.ClientType = "P";
    f.TransactionType = "N";
    f.VehicleSumInsured = "30000";
    f.TrailerSumInsured = "0";
    f.LoadPercentage = "12.5";
    f.NCDYear = "2";
    f.NCDPercentage = "30";
    f.GrossPremium = "1200";
    f.AltGrossPremium = "300";
    f.TotalPremium = "1385.5";
    f.ShortCalculation = "S";
    f.ExcessAmount = "0";
    f.DriverNames = {""};
    f.ExtCoverCodes = {"WS", "ND"};
    f.ExtCoverSumInsured = {"2000", "0"};
    f.ExtCoverPercentages = {"15", "0"};
    f.ExtCoverPremiums = {"300", "20"};
    ws.record.ExtUserPremiumMarks = {false, true};
    if (file == "CNAAOPrm.htm") return;
    table_ = std::make_shared<ExtCover>(ws);
    ws.premium_tab.ExtCoverTable = table_;
    const auto command = world_->page->GetElementById("kvExecuteCommand");
    table_->BuildHeader(command, world_->page->GetElementById("divExtCoverHeader"));
    table_->BuildUI(command, world_->page->GetElementById("divExtCover"),
                    ws.page.ExtendedCoverDetails);
  }
  CoverNoteFields& Current() { return world_->workspace.record.Current; }
  dom::Element& Get(std::string_view id) { return world_->Get(id); }

  std::unique_ptr<WorkspaceWorld> world_;
  std::shared_ptr<ExtCover> table_;
};

TEST_F(PremiumTransfer, FiguresAreShownFormattedAndTheCoversReadOnlyOnce) {
  Open("CNAAPrm.htm");
  Current().TransactionType = "T";
  ShowRecordOnPage(world_->workspace, "COVPrem", *world_->page);
  ShowRecordOnPage(world_->workspace, "COVPrem", *world_->page);
  EXPECT_EQ(Get("txtVehicleSumInsured").Value(), "30,000.00");
  EXPECT_EQ(Get("txtLoadPercentage").Value(), "13");
  EXPECT_EQ(Get("lblGrossPremium").InnerText(), "300.00");  // a transfer shows the other gross
  EXPECT_EQ(Get("lblTotalPremium").InnerText(), "1,385.50");
  EXPECT_TRUE(Get("chkShortCal").Checked());
  // The NCD choices of the record's class, without losing the record's NCD.
  EXPECT_EQ(world_->workspace.premium.NCDListClassCode, "A1");
  EXPECT_EQ(Get("cboNCDYear").Value(), "2");
  EXPECT_EQ(Current().NCDPercentage, "30");
  // A redraw shows each stored cover once, read-only.
  EXPECT_EQ(table_->last_row_index(), 1);
  EXPECT_TRUE(world_->page->GetElementById("ExtendedCover1")
                  ->GetFromAll("cboExtendedCoverType")
                  ->Disabled());
}

TEST_F(PremiumTransfer, PageToRecordTakesTheTextsAndDerivedFields) {
  struct Case {
    std::string_view cover_type, excess, code;
  };
  for (const Case c :
       {Case{"PRIVATE", "500", "DC"}, Case{"MOTORCYCLE", "50", "MC"}, Case{"PRIVATE", "0", ""}}) {
    Open("CNAAPrm.htm");
    Current().CoverType = c.cover_type;
    ShowRecordOnPage(world_->workspace, "COVPrem", *world_->page);
    Get("txtExcessAmount1").SetValue(c.excess);
    Get("txtTrailerSumInsured").SetValue("5,000.50");
    Get("cboNCDYear").SetValue("1");
    Get("chkShortCal").SetChecked(false);
    SavePageToRecord(world_->workspace, "COVPrem", *world_->page);
    EXPECT_EQ(Current().ExcessCode, c.code);
    EXPECT_EQ(Current().TrailerSumInsured, "5,000.50");
    EXPECT_EQ(Current().TotalSumInsured, "35,000.50");
    EXPECT_EQ(Current().NCDPercentage, "25");
    EXPECT_EQ(Current().ShortCalculation, "P");
    EXPECT_TRUE(world_->workspace.premium.PremiumChangedV10);
  }
}

TEST_F(PremiumTransfer, CoversAreReadBackBeforeTheDriverCheckRemovesThoseOfACommercialCover) {
  Open("CNAAPrm.htm");
  ShowRecordOnPage(world_->workspace, "COVPrem", *world_->page);
  Current().CoverType = "COMMERCIAL";
  SavePageToRecord(world_->workspace, "COVPrem", *world_->page);
  EXPECT_EQ(Current().ExtCoverCodes, (Texts{"WS"}));
  EXPECT_EQ(Current().ExtCoverPremiums, (Texts{"300"}));
  // Nothing typed and nothing repriced: the figures stand.
  EXPECT_FALSE(world_->workspace.premium.PremiumChangedV10);
}

TEST_F(PremiumTransfer, OtherPremiumTabShowsAndTakesBackItsFiveFields) {
  Open("CNAAOPrm.htm");
  Current().Remark = "AGREED RATE";
  Current().ServiceTaxPercentage = "6";
  ShowRecordOnPage(world_->workspace, "COVOPrem", *world_->page);
  EXPECT_EQ(Get("txtGrossPremium").Value(), "1,200.00");
  EXPECT_EQ(Get("txtTotalPremium").Value(), "1,385.50");
  EXPECT_EQ(Get("txtRemark").Value(), "AGREED RATE");
  Get("txtGrossPremium").SetValue("1,000.00");
  Get("txtServiceTaxAmount").SetValue("60.00");
  SavePageToRecord(world_->workspace, "COVOPrem", *world_->page);
  EXPECT_EQ(Current().GrossPremium, "1,000.00");
  EXPECT_EQ(Current().ServiceTaxAmount, "60.00");
  EXPECT_EQ(Current().ServiceTaxPercentage, "6");
  EXPECT_TRUE(world_->fakes.backend.ParametersSent("Tarvin.Find.FindNCD").empty());
}

}  // namespace
}  // namespace cn::testing

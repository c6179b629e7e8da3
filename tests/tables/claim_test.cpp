// The claims table: an accident date opens or closes the rest of its row, amounts that are
// not amounts fall back to 0, and a removal brings the kept rows back editable.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tables/claim.h"
#include "workspace_world.h"

namespace cn::testing {
namespace {

constexpr std::string_view kClaimPage =
    "<html><body><div id=AccHeaderTbl></div><div id=AccTbl></div>"
    "<a id=lnkAccDelete>Remove</a><span id=kvExecuteCommand></span></body></html>";

class ClaimTableTest : public ::testing::Test {
 protected:
  ClaimTableTest() {
    world.workspace.claims.AccDeleteLink = world.page->GetElementById("lnkAccDelete");
    const auto command = world.page->GetElementById("kvExecuteCommand");
    EXPECT_TRUE(table.BuildHeader(command, world.page->GetElementById("AccHeaderTbl")));
    EXPECT_TRUE(table.BuildUI(command, world.page->GetElementById("AccTbl")));
  }
  dom::Element& Cell(int row, std::string_view control) const {
    return *world.page->FindElementById("ACCLOGROW" + std::to_string(row))->GetFromAll(control);
  }
  void DateTyped(int row, std::string_view text) {
    Cell(row, "txtACCDATE").SetValue(text);
    table.ExecuteTableCommand("cmdUpdateUI", "x{#,#}" + std::to_string(row));
  }
  WorkspaceWorld world{dom::Document::Parse(kClaimPage), At(2026, 6, 15, 10)};
  Claim table{world.workspace};
};

TEST_F(ClaimTableTest, TheAccidentDateOpensOrClosesItsRowAndARefusedOneGivesWay) {
  world.workspace.record.Current.YearMade = "2020";
  table.Add("", "", "", "", "");
  EXPECT_EQ(Cell(0, "txtCLAIM").Value(), "0");

  DateTyped(0, "2/3/2025");
  EXPECT_EQ(Cell(0, "txtACCDATE").Value(), "02-Mar-2025");
  EXPECT_FALSE(Cell(0, "txtVEHNO").ReadOnly());
  EXPECT_TRUE(world.dialogs->boxes.empty());

  // Refused, the row keeps the date it had.
  DateTyped(0, "last spring");
  DateTyped(0, "01-Jun-2019");
  EXPECT_EQ(world.dialogs->boxes,
            (std::vector<ShownBox>{
                {"Value must be date!", 48, "Invalid Format"},
                {"The accident date lies before the vehicle was made (2020).", 48, "Invalid Data"}}));
  EXPECT_EQ(Cell(0, "txtACCDATE").Value(), "02-Mar-2025");
  EXPECT_FALSE(Cell(0, "txtVEHNO").ReadOnly());

  world.fakes.input_checks.amount.answer = {"Invalid amount.", "Invalid Format", false};
  Cell(0, "txtCLAIM").SetValue("12x");
  table.ExecuteTableCommand("cmdValidAmount", "x{#,#}0");
  EXPECT_EQ(Cell(0, "txtCLAIM").Value(), "0");

  // Without a date the rest of the row closes.
  DateTyped(0, "");
  EXPECT_TRUE(Cell(0, "txtVEHNO").ReadOnly());
  EXPECT_EQ(Cell(0, "txtCLAIM").Value(), "0.00");
  EXPECT_EQ(table.GetNoOfClaims(), 0);
}

TEST_F(ClaimTableTest, ARemovalBringsTheKeptRowsBackEditable) {
  table.AddDisplayClaim("01-Jan-2025", "WXY 1", "A", "OWN DAMAGE", "100.00");
  table.AddDisplayClaim("01-Feb-2025", "WXY 1", "B", "THEFT", "200.00");
  table.ExecuteTableCommand("cmdHighliteRow", "x{#,#}0");
  table.RemoveRow();
  ASSERT_EQ(table.GetNoOfClaims(), 1);
  EXPECT_EQ(Cell(0, "txtINSURER").Value(), "B");
  EXPECT_FALSE(Cell(0, "txtACCDATE").ReadOnly());

  std::vector<std::string> dates(1), vehicles(1), insurers(1), natures(1), amounts(1);
  table.GetClaims(dates, vehicles, insurers, natures, amounts);
  EXPECT_EQ(dates, std::vector<std::string>{"01-Feb-2025"});
  EXPECT_EQ(amounts, std::vector<std::string>{"200.00"});
}

}  // namespace
}  // namespace cn::testing

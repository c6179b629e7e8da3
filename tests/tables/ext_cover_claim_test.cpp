// The extended-cover table (where a choice leaves the cursor, the refused figures that leave the
// price alone, the read-out to the record) and the claims table (an accident date opens or closes
// the rest of its row, amounts that are not amounts fall back to 0, and a removal brings the
// kept rows back editable).

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "tables/claim.h"
#include "tables/ext_cover.h"
#include "workspace_world.h"

namespace cn::testing {
namespace {

using Texts = std::vector<std::string>;

constexpr std::string_view kPage =
    "<html><body>"
    "<div id=divExtCoverHeader></div><div id=divExtCover></div>"
    "<span id=kvExecuteCommand style=\"display:none\"></span>"
    "</body></html>";

std::string Entry(std::vector<std::string> fields) { return Join(fields, FieldSeparator); }

class ExtCoverTest : public ::testing::Test {
 protected:
  ExtCoverTest() : world_(dom::Document::Parse(kPage), At(2026, 6, 15, 10)) {
    world_.SetSystemCodes({{"1069", "NR"}});
    table_ = std::make_shared<ExtCover>(world_.workspace);
    world_.page->Bind("kvExecuteCommand", "onclick", [this] { table_->EEC_onclick(); });
    const auto command = world_.page->GetElementById("kvExecuteCommand");
    EXPECT_TRUE(table_->BuildHeader(command, world_.page->GetElementById("divExtCoverHeader")));
    EXPECT_TRUE(table_->BuildUI(command, world_.page->GetElementById("divExtCover"),
                                {
                                    Entry({"WS", "WINDSCREEN", "15", "50", "100", "W"}),
                                    Entry({"AD", "ALL DRIVER", "0", "100", "90", "F"}),
                                    Entry({"SR", "STRIKE RIOT", "0.3", "", "", "S"}),
                                    Entry({"NR", "NCD RELIEF", "", "", "", "E"}),
                                }));
  }

  dom::Element& Cell(int row, std::string_view control) const {
    return *world_.page->GetElementById("ExtendedCover" + std::to_string(row))->GetFromAll(control);
  }
  void Type(int row, std::string_view control, std::string_view command, std::string_view text) {
    Cell(row, control).SetValue(text);
    table_->ExecuteTableCommand(command, "x{#,#}" + std::to_string(row));
  }
  bool Recalculate() const {
    Texts a(5), b(5), c(5), d(5), e(5), f(5);
    std::vector<bool> flags(5);
    bool recalculate = false;
    table_->GetExtCover(a, b, c, d, e, f, flags, recalculate);
    return recalculate;
  }

  WorkspaceWorld world_;
  std::shared_ptr<ExtCover> table_;
};

// A choice leaves the cursor in the figure the cover is priced on, and asks for a new price.
TEST_F(ExtCoverTest, AChosenCoverPutsTheCursorInItsFigure) {
  for (const auto& [code, focused] :
       {std::pair{"WS", "txtSumInsured"}, {"AD", "txtPremium"}, {"SR", "txtPercentage"}}) {
    table_->ClearTable();
    table_->Add("", "0", "0", "0", "", false);
    Type(0, "cboExtendedCoverType", "cmdRefreshExtCover", code);
    EXPECT_EQ(world_.page->ActiveElement().get(), &Cell(0, focused)) << code;
  }
  EXPECT_TRUE(Recalculate());
  table_->Reset();
  EXPECT_FALSE(Recalculate());
}

// The premium box is read-only on the page, but a premium put there is checked as well.
TEST_F(ExtCoverTest, RefusedFiguresAreReplacedAndNothingIsRepriced) {
  struct Case {
    std::string_view control, command, typed;
    std::string FakeFieldRules::*message;
    std::string_view shown;
  };
  // clang-format off
  const Case kCases[] = {
      {"txtPremium", "cmdCheckPrem", "5", &FakeFieldRules::extended_premium_message, "100.00"},
      {"txtSumInsured", "cmdCheckSumInsured", "999999999",
       &FakeFieldRules::extended_sum_insured_message, "1"},
      {"txtPercentage", "cmdCheckPercentage", "250", &FakeFieldRules::percentage_message, "0.00"}};
  // clang-format on
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.command));
    table_->ClearTable();
    table_->Reset();
    table_->Add("WS", "0", "15", "50", "E", false);
    world_.fakes.field_rules.*c.message = "Out of range";
    Type(0, c.control, c.command, c.typed);
    EXPECT_EQ(Cell(0, c.control).Value(), c.shown);
    EXPECT_FALSE(Recalculate());
    world_.fakes.field_rules.*c.message = "";
    Type(0, c.control, c.command, "12");
    EXPECT_TRUE(Recalculate());
  }
}

TEST_F(ExtCoverTest, ReadOutSkipsRowsWithoutACoverAndPacksTheRest) {
  table_->Add("", "0", "0", "0", "", false);
  table_->Add("WS", "12345.6", "15", "1234.5", "W", false);
  table_->Add("", "0", "0", "0", "", false);
  table_->AddDisplayExtCover("SR", "0", "0.3", "80", true);
  Type(1, "txtPremium", "cmdCheckPrem", "400");
  ASSERT_EQ(table_->GetNoOfExtCover(), 2);
  std::array<Texts, 6> read;  // codes, methods, percentages, premiums, minimums, sums
  read.fill(Texts(2));
  std::vector<bool> user(2);
  bool recalculate = false;
  table_->GetExtCover(read[0], read[1], read[2], read[3], read[4], read[5], user, recalculate);
  std::string joined;
  for (const std::size_t column : {0, 2, 3, 4, 5}) joined += Join(read[column], ",") + " ";
  EXPECT_EQ(joined, "WS,SR 15.00,0.30 400,80 100, 12346,0 ");
  EXPECT_EQ(Cell(1, "txtSumInsured").Value(), "12,346");  // shown whole
  EXPECT_TRUE(user[0] && user[1] && recalculate);
  EXPECT_FALSE(table_->CheckNCDReliefExtendedCoverage());
  table_->AddDisplayExtCover("NR", "0", "0", "25", false);
  EXPECT_TRUE(table_->CheckNCDReliefExtendedCoverage());
}

// A failing document call reaches the page's handler, which reports it; a removal that cannot
// read every row loses none.
TEST_F(ExtCoverTest, AFailureReachesTheCallerAndARemovalLosesNoRow) {
  table_->Add("WS", "1000", "15", "150", "W", false);
  table_->Add("AD", "0", "0", "100", "F", false);
  table_->ExecuteTableCommand("cmsHighliteRow", "x{#,#}1");
  Cell(0, "txtPremium").Remove();  // the first row can no longer be read
  EXPECT_THROW(table_->RemoveRow(), RuntimeFailure);
  EXPECT_EQ(Cell(1, "cboExtendedCoverType").Value(), "AD");
  table_->EEC.reset();  // the page's command element is gone
  EXPECT_THROW(table_->Add("", "0", "0", "0", "", false), RuntimeFailure);
}

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

  DateTyped(0, "15/7/2020");
  EXPECT_TRUE(world.dialogs->boxes.empty());
  EXPECT_EQ(world.fakes.field_rules.accident_year_made, 2020);  // the rules know the vehicle's age
  // Refused, the row keeps the date it had.
  DateTyped(0, "last spring");
  world.fakes.field_rules.accident_date_message = "The accident date lies before the vehicle was made (2020).";
  DateTyped(0, "01-Jun-2019");
  EXPECT_EQ(world.dialogs->boxes,
            (std::vector<ShownBox>{{"Value must be date!", 48, "Invalid Format"},
                                   {"The accident date lies before the vehicle was made (2020).",
                                    48, "Invalid Data"}}));
  EXPECT_EQ(Cell(0, "txtACCDATE").Value(), "15-Jul-2020");
  EXPECT_FALSE(Cell(0, "txtVEHNO").ReadOnly());
  world.fakes.input_checks.amount.answer = {"Invalid amount.", "Invalid Format", false};
  Cell(0, "txtCLAIM").SetValue("12x");
  table.ExecuteTableCommand("cmdValidAmount", "x{#,#}0");
  EXPECT_EQ(Cell(0, "txtCLAIM").Value(), "0");

  // Without a date (blanks are none) the rest of the row closes.
  DateTyped(0, "  ");
  EXPECT_TRUE(Cell(0, "txtVEHNO").ReadOnly());
  EXPECT_EQ(Cell(0, "txtCLAIM").Value() + std::to_string(table.GetNoOfClaims()), "0.000");
}

TEST_F(ClaimTableTest, ARemovalBringsTheKeptRowsBackEditable) {
  table.AddDisplayClaim("01-Jan-2025", "WXY 1", "A", "OWN DAMAGE", "100.00");
  table.AddDisplayClaim("01-Feb-2025", "WXY 1", "B", "THEFT", "200.00");
  table.ExecuteTableCommand("cmdHighliteRow", "x{#,#}0");
  table.RemoveRow();
  ASSERT_EQ(table.GetNoOfClaims(), 1);
  EXPECT_FALSE(Cell(0, "txtACCDATE").ReadOnly());
  std::vector<std::string> dates(1), vehicles(1), insurers(1), natures(1), amounts(1);
  table.GetClaims(dates, vehicles, insurers, natures, amounts);
  EXPECT_EQ(dates[0] + insurers[0] + amounts[0], "01-Feb-2025B200.00");
  table.EEC.reset();  // a failure while adding reaches the caller
  EXPECT_THROW(table.Add("", "", "", "", ""), RuntimeFailure);
}

}  // namespace
}  // namespace cn::testing

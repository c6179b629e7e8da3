// The extended-cover table: where a choice leaves the cursor, the refused figures that leave
// the price alone, and the read-out to the record.
#include "tables/ext_cover.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/separators.h"
#include "base/text.h"
#include "driver_world.h"
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
  const std::pair<std::string_view, std::string_view> kCases[] = {
      {"WS", "txtSumInsured"}, {"AD", "txtPremium"}, {"SR", "txtPercentage"}};
  for (const auto& [code, focused] : kCases) {
    SCOPED_TRACE(std::string(code));
    table_->ClearTable();
    table_->Add("", "0", "0", "0", "", false);
    Type(0, "cboExtendedCoverType", "cmdRefreshExtCover", code);
    EXPECT_EQ(world_.page->ActiveElement().get(), &Cell(0, focused));
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
  const Case kCases[] = {
      {"txtPremium", "cmdCheckPrem", "5", &FakeFieldRules::extended_premium_message, "100.00"},
      {"txtSumInsured", "cmdCheckSumInsured", "999999999",
       &FakeFieldRules::extended_sum_insured_message, "1"},
      {"txtPercentage", "cmdCheckPercentage", "250", &FakeFieldRules::percentage_message, "0.00"},
  };
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
  Texts codes(2), methods(2), percentages(2), premiums(2), minimums(2), sums(2);
  std::vector<bool> user(2);
  bool recalculate = false;
  table_->GetExtCover(codes, methods, percentages, premiums, minimums, sums, user, recalculate);
  EXPECT_EQ(codes, (Texts{"WS", "SR"}));
  EXPECT_EQ(percentages, (Texts{"15.00", "0.30"}));
  EXPECT_EQ(premiums, (Texts{"400", "80"}));
  EXPECT_EQ(minimums, (Texts{"100", ""}));
  EXPECT_EQ(Cell(1, "txtSumInsured").Value(), "12,346");  // shown whole
  EXPECT_EQ(sums, (Texts{"12346", "0"}));
  EXPECT_EQ(user, (std::vector<bool>{true, true}));
  EXPECT_TRUE(recalculate);
  EXPECT_FALSE(table_->CheckNCDReliefExtendedCoverage());
  table_->AddDisplayExtCover("NR", "0", "0", "25", false);
  EXPECT_TRUE(table_->CheckNCDReliefExtendedCoverage());
}

}  // namespace
}  // namespace cn::testing

// The extended-cover table: the calculation-method matrix, the choice of a cover, the
// checks of typed figures, read-out and removal.
#include "tables/ext_cover.h"

#include <gtest/gtest.h>

#include <string>
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
    "<a id=lnkExtDelete>Remove</a>"
    "<span id=kvExecuteCommand style=\"display:none\"></span>"
    "</body></html>";

std::string Entry(std::vector<std::string> fields) { return Join(fields, FieldSeparator); }

class ExtCoverTest : public ::testing::Test {
 protected:
  ExtCoverTest() : world_(dom::Document::Parse(kPage), At(2026, 6, 15, 10)) {
    world_.SetSystemCodes({{"1008", "ND"}, {"1021", "AD"}, {"1069", "NR"}});
    table_ = std::make_shared<ExtCover>(world_.workspace);
    world_.page->Bind("kvExecuteCommand", "onclick", [this] { table_->EEC_onclick(); });
    const auto command = world_.page->GetElementById("kvExecuteCommand");
    EXPECT_TRUE(table_->BuildHeader(command, world_.page->GetElementById("divExtCoverHeader")));
    EXPECT_TRUE(table_->BuildUI(command, world_.page->GetElementById("divExtCover"),
                                {
                                    Entry({"WS", "WINDSCREEN", "15", "50", "100", "W"}),
                                    Entry({"ND", "NAMED DRIVER", "0", "20", "10", "F"}),
                                    Entry({"AD", "ALL DRIVER", "0", "100", "90", "F"}),
                                    Entry({"SR", "STRIKE RIOT", "0.3", "", "", "S"}),
                                    Entry({"NR", "NCD RELIEF", "", "", "", "E"}),
                                }));
  }

  dom::Element& Cell(int row, std::string_view control) const {
    return *world_.page->GetElementById("ExtendedCover" + std::to_string(row))->GetFromAll(control);
  }
  void Choose(int row, std::string_view code) {
    Cell(row, "cboExtendedCoverType").SetValue(code);
    table_->ExecuteTableCommand("cmdRefreshExtCover", "x{#,#}" + std::to_string(row));
  }
  void Type(int row, std::string_view control, std::string_view command, std::string_view text) {
    Cell(row, control).SetValue(text);
    table_->ExecuteTableCommand(command, "x{#,#}" + std::to_string(row));
  }
  Texts Figures(int row) const {
    return {Cell(row, "cboExtendedCoverType").Value(), Cell(row, "txtSumInsured").Value(),
            Cell(row, "txtPercentage").Value(), Cell(row, "txtPremium").Value()};
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

TEST_F(ExtCoverTest, MethodOpensTheFiguresItPricesOnAndThePremiumIsNeverTyped) {
  struct Case {
    std::string_view method;
    bool sum_insured_open, percentage_open, premium_enabled;
  };
  constexpr Case kCases[] = {
      {"S", false, true, true},  {"Q", false, true, true},  {"E", true, true, true},
      {"F", false, false, true}, {"C", false, false, true}, {"W", true, false, true},
      {"", false, false, false},
  };
  int row = 0;
  for (const Case& c : kCases) {
    table_->Add("", "0", "0", "0", c.method, false);
    SCOPED_TRACE(std::string(c.method));
    EXPECT_EQ(!Cell(row, "txtSumInsured").Disabled(), c.sum_insured_open);
    EXPECT_EQ(!Cell(row, "txtPercentage").Disabled(), c.percentage_open);
    EXPECT_EQ(!Cell(row, "txtPremium").Disabled(), c.premium_enabled);
    EXPECT_TRUE(Cell(row, "txtPremium").ReadOnly());
    ++row;
  }
}

TEST_F(ExtCoverTest, ChoosingACoverTakesTheCatalogueDefaults) {
  struct Case {
    std::string_view code;
    Texts figures;
    std::string_view focused;
  };
  // Default and minimum premium are compared as text: "50" is not below "100", so the
  // default stands; "100" is below "90", so the minimum is taken.
  const Case kCases[] = {
      {"WS", {"WS", "0.00", "15.00", "50.00"}, "txtSumInsured"},
      {"AD", {"AD", "0.00", "0.00", "90.00"}, "txtPremium"},
      {"SR", {"SR", "0.00", "0.30", "0.00"}, "txtPercentage"},
      {"", {"", "0.00", "0.00", "0.00"}, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.code));
    table_->ClearTable();
    table_->Add("", "0", "0", "0", "", false);
    Choose(0, c.code);
    EXPECT_EQ(Figures(0), c.figures);
    if (!c.focused.empty()) {
      EXPECT_EQ(world_.page->ActiveElement().get(), &Cell(0, c.focused));
    }
  }
  EXPECT_TRUE(Recalculate());
  table_->Reset();
  EXPECT_FALSE(Recalculate());
}

TEST_F(ExtCoverTest, ACoverTwiceOrBothDriverCoversIsRefusedAndTheRowEmptied) {
  struct Case {
    std::string_view held, chosen, message;
  };
  constexpr Case kCases[] = {
      {"WS", "WS", "This Extended Cover had been selected!"},
      {"AD", "ND", "All Driver has been selected!"},
      {"ND", "AD", "Add Named Driver has been selected!"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.chosen));
    table_->ClearTable();
    world_.dialogs->boxes.clear();
    table_->AddDisplayExtCover(c.held, "0", "0", "10", false);
    table_->Add("", "0", "0", "0", "", false);
    Choose(1, c.chosen);
    ASSERT_EQ(world_.dialogs->boxes.size(), 1u);
    EXPECT_EQ(world_.dialogs->boxes[0],
              (ShownBox{std::string(c.message), dom::message_box::kExclamation, "Extended Cover"}));
    EXPECT_EQ(Figures(1), (Texts{"", "0.00", "0.00", "0.00"}));
    EXPECT_TRUE(Cell(1, "txtSumInsured").Disabled());
  }
}

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
    world_.dialogs->boxes.clear();
    table_->Add("WS", "0", "15", "50", "E", false);
    world_.fakes.field_rules.*c.message = "Out of range";
    Type(0, c.control, c.command, c.typed);
    EXPECT_EQ(Cell(0, c.control).Value(), c.shown);
    ASSERT_EQ(world_.dialogs->boxes.size(), 1u);
    EXPECT_EQ(world_.dialogs->boxes[0].title, "Invalid Data");
    EXPECT_FALSE(Recalculate());
    world_.fakes.field_rules.*c.message = "";
    Type(0, c.control, c.command, "12");
    EXPECT_TRUE(Recalculate());
  }
  // A text the amount check refuses never reaches the rule service.
  world_.fakes.input_checks.amount.answer = {"Not an amount", "Invalid Data", false};
  Type(0, "txtSumInsured", "cmdCheckSumInsured", "abc");
  EXPECT_EQ(Cell(0, "txtSumInsured").Value(), "1");
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
  EXPECT_TRUE(table_->CheckNCDReliefExtendedCoverage() == false);
}

TEST_F(ExtCoverTest, RemovalKeepsStoredRowsAndReopensTypedOnesByTheirClosedFigures) {
  table_->AddDisplayExtCover("NR", "0", "0", "25", false);
  table_->Add("SR", "0", "0.3", "10", "S", false);
  table_->Add("WS", "900", "15", "100", "E", true);
  table_->Add("ND", "0", "0", "20", "F", false);
  dom::Element& link = world_.Get("lnkExtDelete");
  table_->ExecuteTableCommand("cmsHighliteRow", "x{#,#}0");
  EXPECT_EQ(link.GetStyle("visibility"), "hidden");
  table_->ExecuteTableCommand("cmsHighliteRow", "x{#,#}2");
  EXPECT_EQ(link.GetStyle("visibility"), "visible");
  table_->RemoveRow();
  EXPECT_EQ(table_->last_row_index(), 2);
  EXPECT_EQ(Figures(0), (Texts{"NR", "0", "0.00", "25.00"}));
  EXPECT_TRUE(Cell(0, "cboExtendedCoverType").Disabled());
  EXPECT_FALSE(Cell(1, "txtPercentage").Disabled());
  EXPECT_EQ(Figures(2)[0], "ND");
  EXPECT_TRUE(Cell(2, "txtPercentage").Disabled());
  EXPECT_TRUE(table_->CheckNCDReliefExtendedCoverage());
  // Without a highlighted row the first goes.
  table_->RemoveRow();
  EXPECT_EQ(Figures(0)[0], "SR");
}

}  // namespace
}  // namespace cn::testing

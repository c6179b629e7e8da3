// The row mechanics as the named-driver table shows them: stored and typed rows, the
// command channel, removal without a highlighted row and read-out.
#include "tables/row_table.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "dom/behaviours.h"
#include "driver_test_support.h"

namespace cn::testing {
namespace {

using Texts = std::vector<std::string>;

TEST_F(DriverTableTest, EditableAndReadOnlyRowsDifferAsStoredDriversMustNotBeTyped) {
  table_->Add("ALI", "800111-01-1123", "11-Jan-1980", "", "M", "", "SELF");
  table_->AddDisplayDriver("BALA", "123456789012345", "", "", "F", "", "");
  EXPECT_EQ(Cell(0, "txtICNo").MaxLength(), 14);
  EXPECT_FALSE(Cell(0, "txtDrv").ReadOnly());
  EXPECT_TRUE(dom::HasBehavior(Cell(0, "txtDOB"), "DateEntry.htc"));
  EXPECT_FALSE(Cell(0, "txtICNo").GetAttribute("onInpChanged").empty());

  EXPECT_TRUE(Cell(1, "txtDrv").ReadOnly());
  EXPECT_EQ(Cell(1, "txtICNo").Value(), "123456789012345");  // no length limit when shown
  EXPECT_TRUE(Cell(1, "txtGender").Disabled());
  EXPECT_TRUE(Cell(1, "txtICNo").GetAttribute("onInpChanged").empty());
}

TEST_F(DriverTableTest, CompanyRowCannotBeHighlighted) {
  table_->AddDisplayCompany("ACME SDN BHD", "123456-X", "01-Jan-1990", "x", "C", "99", "x");
  EXPECT_EQ(Cell(0, "txtDrv").Value(), "ACME SDN BHD");
  EXPECT_EQ(Cell(0, "txtDOB").Value(), "");
  EXPECT_EQ(Cell(0, "txtRelationship").GetStyle("backgroundColor"), "buttonface");
  EXPECT_TRUE(Row(0)->GetAttribute("onClicked").empty());
}

TEST_F(DriverTableTest, CommandChannelSplitsCommandsAndArguments) {
  AddNamed("ALI");
  AddNamed("BALA");
  dom::Element& command = world_.Get("kvExecuteCommand");
  command.SetInnerText("cmdHighliteRow{#+#}txtDrv{#,#}1{#.#}cmdHighliteRow{#+#}txtDrv{#,#}0");
  command.Click();
  EXPECT_EQ(Row(1)->ClassName(), "clsEvenRow");
  EXPECT_EQ(Row(0)->ClassName(), "clsHighliteRow");

  EXPECT_FALSE(table_->ExecuteTableCommand("cmdUnknown", "txtDrv{#,#}0"));
  EXPECT_FALSE(table_->ExecuteTableCommand("cmdHighliteRow", "no index"));
  EXPECT_FALSE(table_->ExecuteTableCommand("cmdHighliteRow", "txtDrv{#,#}99999"));
  EXPECT_TRUE(table_->ExecuteTableCommand("cmdHighliteRow", "txtDrv{#,#}1"));
  EXPECT_EQ(Row(1)->ClassName(), "clsHighliteRow");
  // Commands are compared exactly.
  EXPECT_FALSE(table_->ExecuteTableCommand("CMDHIGHLITEROW", "txtDrv{#,#}0"));
}

TEST_F(DriverTableTest, RemoveWithoutHighlightRemovesRowZeroAndKeepsReadOnlyRows) {
  table_->Add("FIRST", "", "", "", "M", "", "");
  table_->AddDisplayDriver("STORED", "", "", "", "F", "", "");
  table_->Add("TYPED", "", "", "", "M", "", "");
  table_->RemoveRow();
  ASSERT_TRUE(Row(0) && Row(1));
  EXPECT_FALSE(Row(2));
  EXPECT_TRUE(Cell(0, "txtDrv").ReadOnly());
  EXPECT_FALSE(Cell(1, "txtDrv").ReadOnly());
  EXPECT_EQ(Row(1)->ClassName(), "clsEvenRow");
  EXPECT_EQ(table_->last_row_index(), 1);
}

TEST_F(DriverTableTest, NamedDriversArePackedWithEmptyLicenceNumbers) {
  table_->Add("A", "111", "01-Jan-1980", "01-Jan-2000", "M", "", "SELF");
  table_->Add("", "", "", "", "", "", "");
  table_->AddDisplayDriver("B", "222", "02-Feb-1981", "", "F", "", "WIFE");
  EXPECT_EQ(table_->GetNoOfDrivers(), 2);
  EXPECT_EQ(table_->GetNoOfDriversRow(), 3);
  std::array<std::vector<std::string>, 8> a;
  for (auto& array : a) array.assign(3, "untouched");
  table_->GetNamedDrivers(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
  EXPECT_EQ(a[0], (Texts{"A", "B", "untouched"}));
  EXPECT_EQ(a[3], (Texts{"01-Jan-2000", "", "untouched"}));
  EXPECT_EQ(a[4], (Texts{"", "", "untouched"}));
  EXPECT_EQ(a[7], (Texts{"SELF", "WIFE", "untouched"}));

  std::array<std::vector<std::string>, 8> small;
  for (auto& array : small) array.assign(1, "");
  EXPECT_THROW(table_->GetNamedDrivers(small[0], small[1], small[2], small[3], small[4], small[5],
                                       small[6], small[7]),
               RuntimeFailure);
}

TEST_F(DriverTableTest, ClearTableEmptiesAndRestartsNumbering) {
  AddNamed("A");
  AddNamed("B");
  table_->ClearTable();
  EXPECT_FALSE(Row(0));
  EXPECT_EQ(table_->last_row_index(), -1);
  AddNamed("C");
  EXPECT_EQ(Cell(0, "txtDrv").Value(), "C");
}

TEST(DriverBeforeBuild, AppendsNothingUntilTheBodyExists) {
  DriverWorld world(kDriverPage);
  Driver table(world.workspace);
  EXPECT_FALSE(table.Add("A", "", "", "", "", "", ""));
  EXPECT_FALSE(table.AddDisplayDriver("A", "", "", "", "", "", ""));
  table.ClearTable();
  EXPECT_EQ(table.last_row_index(), -1);
  // A missing container ends the build quietly.
  EXPECT_FALSE(table.BuildUI(world.page->GetElementById("kvExecuteCommand"), nullptr));
}

TEST_F(DriverTableTest, StoredNoOccupationCodeShowsNoChoice) {
  world_.workspace.lists.OccupationList = {
      "01\xEF\xBF\xBE"
      "CLERK",
      "99\xEF\xBF\xBE"
      "NONE"};
  table_->AddDisplayDriver("A", "", "", "", "M", "99", "");
  table_->AddDisplayDriver("B", "", "", "", "M", "01", "");
  EXPECT_EQ(Cell(0, "cboOccupation").Value(), "");
  EXPECT_EQ(Cell(1, "cboOccupation").Value(), "01");
  EXPECT_EQ(Cell(1, "txtGender").Options().Length(), 3);
}

}  // namespace
}  // namespace cn::testing

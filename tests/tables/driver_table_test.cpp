// A named-driver table built on the test page, wired as the Vehicle tab wires it: the row
// mechanics (stored and typed rows, the command channel, removal and read-out) and the checks
// of a driver's values as a person types them.

#include <gtest/gtest.h>

#include <array>

#include "base/runtime_failure.h"
#include "base/text.h"
#include "dom/behaviours.h"
#include "tables/driver.h"
#include "tables/row_table.h"
#include "workspace_world.h"

namespace cn::testing {
namespace {

// The named-driver table's corner of the Vehicle tab.
constexpr std::string_view kDriverPage =
    "<html><body><div id=divNPersonHeader></div><div id=divNPerson></div>"
    "<a id=lnkDeleteNPerson>Remove</a><span id=kvExecuteCommand style=\"display:none\"></span>"
    "</body></html>";

class DriverTableTest : public ::testing::Test {
 protected:
  DriverTableTest() : world_(kDriverPage) {
    world_.workspace.vehicle.DeleteNPersonLink = world_.page->GetElementById("lnkDeleteNPerson");
    table_ = std::make_shared<Driver>(world_.workspace);
    world_.page->Bind("kvExecuteCommand", "onclick", [this] { table_->EEC_onclick(); });
    const auto command = world_.page->GetElementById("kvExecuteCommand");
    EXPECT_TRUE(table_->BuildHeader(command, world_.page->GetElementById("divNPersonHeader")));
    EXPECT_TRUE(table_->BuildUI(command, world_.page->GetElementById("divNPerson")));
  }

  std::shared_ptr<dom::Element> Row(int i) const {
    return world_.page->FindElementById("rowDrv" + std::to_string(i));
  }
  dom::Element& Cell(int row, std::string_view control) const { return *Row(row)->GetFromAll(control); }
  void AddNamed(std::string_view name) { table_->Add(name, "", "", "", "M", "", ""); }
  // What a control's change script would send.
  void Changed(std::string_view command, int row) {
    table_->ExecuteTableCommand(command, "x{#,#}" + std::to_string(row));
  }

  DriverWorld world_;
  std::shared_ptr<Driver> table_;
};

using Texts = std::vector<std::string>;

TEST_F(DriverTableTest, EditableAndReadOnlyRowsDifferAsStoredDriversMustNotBeTyped) {
  table_->Add("ALI", "800111-01-1123", "11-Jan-1980", "", "M", "", "SELF");
  table_->AddDisplayDriver("BALA", "123456789012345", "", "", "F", "", "");
  EXPECT_EQ(Cell(0, "txtICNo").MaxLength(), 14);
  EXPECT_EQ(Cell(1, "txtICNo").Value(), "123456789012345");  // no length limit when shown
  EXPECT_NE(world_.page->GetElementById("divNPersonHeader")->InnerText().find("Named Person"), std::string::npos);
  for (const int row : {0, 1}) {
    EXPECT_EQ((std::vector<bool>{Cell(row, "txtDrv").ReadOnly(), Cell(row, "txtGender").Disabled(),
                                 Cell(row, "txtICNo").GetAttribute("onInpChanged").empty(),
                                 dom::HasBehavior(Cell(row, "txtDOB"), "DateEntry.htc")}),
              (std::vector<bool>{row == 1, row == 1, row == 1, row == 0})) << row;
  }
}

TEST_F(DriverTableTest, CompanyRowCannotBeHighlighted) {
  table_->AddDisplayCompany("ACME SDN BHD", "123456-X", "01-Jan-1990", "x", "C", "99", "x");
  EXPECT_EQ((Texts{Cell(0, "txtDrv").Value(), Cell(0, "txtDOB").Value(),
                   Cell(0, "txtRelationship").GetStyle("backgroundColor")}),
            (Texts{"ACME SDN BHD", "", "buttonface"}));
  EXPECT_TRUE(Row(0)->GetAttribute("onClicked").empty());
}

TEST_F(DriverTableTest, CommandChannelSplitsCommandsAndArguments) {
  for (const char* name : {"ALI", "BALA"}) AddNamed(name);
  dom::Element& command = world_.Get("kvExecuteCommand");
  command.SetInnerText("cmdHighliteRow{#+#}txtDrv{#,#}1{#.#}cmdHighliteRow{#+#}txtDrv{#,#}0");
  command.Click();
  EXPECT_EQ(Row(0)->ClassName() + " " + Row(1)->ClassName(), "clsHighliteRow clsEvenRow");
  // Commands are compared exactly; an index must be there and name a row.
  std::vector<bool> done;
  // clang-format off
  for (const auto& [command, argument] : {std::pair{"cmdUnknown", "txtDrv{#,#}0"}, {"cmdHighliteRow", "no index"},
       {"cmdHighliteRow", "txtDrv{#,#}99999"}, {"CMDHIGHLITEROW", "txtDrv{#,#}1"}, {"cmdHighliteRow", "txtDrv{#,#}1"}})
    done.push_back(table_->ExecuteTableCommand(command, argument));
  // clang-format on
  EXPECT_EQ(done, (std::vector<bool>{false, false, false, false, true}));
  EXPECT_EQ(Row(1)->ClassName(), "clsHighliteRow");
}

TEST_F(DriverTableTest, RemoveWithoutHighlightRemovesRowZeroAndKeepsReadOnlyRows) {
  table_->Add("FIRST", "", "", "", "M", "", "");
  table_->AddDisplayDriver("STORED", "", "", "", "F", "", "");
  table_->Add("TYPED", "", "", "", "M", "", "");
  table_->RemoveRow();
  ASSERT_EQ(table_->last_row_index(), 1);
  EXPECT_FALSE(Row(2));
  EXPECT_TRUE(Cell(0, "txtDrv").ReadOnly() && !Cell(1, "txtDrv").ReadOnly());
  EXPECT_EQ(Cell(0, "txtDrv").Value() + " " + Cell(1, "txtDrv").Value(), "STORED TYPED");
  EXPECT_EQ(Row(1)->ClassName(), "clsEvenRow");
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
  EXPECT_EQ(Join(a[0], ",") + " " + Join(a[3], ",") + " " + Join(a[4], ",") + " " + Join(a[7], ","),
            "A,B,untouched 01-Jan-2000,,untouched ,,untouched SELF,WIFE,untouched");

  for (auto& array : a) array.assign(1, "");
  EXPECT_THROW(table_->GetNamedDrivers(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]), RuntimeFailure);
}

// Clearing empties the table and restarts the numbering; before the build nothing is added,
// and a missing container ends the build quietly.
TEST_F(DriverTableTest, ClearTableEmptiesAndRestartsNumbering) {
  for (const char* name : {"A", "B"}) AddNamed(name);
  table_->ClearTable();
  EXPECT_FALSE(Row(0));
  EXPECT_EQ(table_->last_row_index(), -1);
  AddNamed("C");
  EXPECT_EQ(Cell(0, "txtDrv").Value(), "C");

  Driver unbuilt(world_.workspace);
  EXPECT_FALSE(unbuilt.Add("A", "", "", "", "", "", "") ||
               unbuilt.AddDisplayDriver("A", "", "", "", "", "", ""));
  unbuilt.ClearTable();
  EXPECT_EQ(unbuilt.last_row_index(), -1);
  EXPECT_FALSE(unbuilt.BuildUI(world_.page->GetElementById("kvExecuteCommand"), nullptr));
}

TEST_F(DriverTableTest, StoredNoOccupationCodeShowsNoChoice) {
  world_.workspace.lists.OccupationList = {Entry("01", "CLERK"), Entry("99", "NONE")};
  table_->AddDisplayDriver("A", "", "", "", "M", "99", "");
  table_->AddDisplayDriver("B", "", "", "", "M", "01", "");
  EXPECT_EQ(Cell(0, "cboOccupation").Value() + "/" + Cell(1, "cboOccupation").Value(), "/01");
  EXPECT_EQ(Cell(1, "txtGender").Options().Length(), 3);
}

TEST_F(DriverTableTest, RenamingTheFirstDriverClearsHisDetailsUnlessHeIsTheInsured) {
  world_.workspace.record.Current.ClientName = "TAN AH KOW";
  // The insured (system code 1030) and the client keep them; no name at all is the insured.
  // clang-format off
  const struct { const char *typed, *shown; bool cleared; } cases[] = {
      {"SOMEONE ELSE", "SOMEONE ELSE", true}, {"INSURED", "INSURED", false}, {"TAN AH KOW", "TAN AH KOW", false},
      {"  ", "INSURED", true}};
  // clang-format on
  for (const auto& c : cases) {
    table_->ClearTable();
    table_->Add("TAN AH KOW", "800111-01-1123", "11-Jan-1980", "01-Jan-2000", "M", "", "SELF");
    table_->Add("SECOND", "", "", "", "F", "", "WIFE");
    Cell(0, "txtDrv").SetValue(c.typed);
    Changed("DriverNameChanged", 0);
    EXPECT_EQ(Cell(0, "txtDrv").Value() + "/" + Cell(0, "txtICNo").Value() + "/" + Cell(0, "txtRelationship").Value(),
              std::string(c.shown) + (c.cleared ? "//" : "/800111-01-1123/SELF"));
    // Other rows are never touched.
    Cell(1, "txtDrv").SetValue("RENAMED");
    Changed("DriverNameChanged", 1);
    EXPECT_EQ(Cell(1, "txtRelationship").Value(), "WIFE");
  }
}

TEST_F(DriverTableTest, ICNumbersAreWrittenInTheirFormAndANewOneGivesTheBirthDate) {
  // clang-format off
  const struct { const char *typed, *shown, *dob; bool new_number; } cases[] = {
      {"-800111-01-1123", "800111-01-1123", "11-Jan-1980", true},
      {"800111--01-1123", "800111-01-1123", "11-Jan-1980", true},
      {"800111011123", "800111-01-1123", "11-Jan-1980", true}, {"A1234567", "A1234567", "", false}};
  // clang-format on
  for (const auto& c : cases) {
    table_->ClearTable();
    world_.workspace.transfer.NRICGiven = false;
    table_->Add("ALI", c.typed, "", "", "M", "", "");
    Changed("DriverICChanged", 0);
    EXPECT_EQ(Cell(0, "txtICNo").Value() + "/" + Cell(0, "txtDOB").Value(), std::string(c.shown) + "/" + c.dob);
    EXPECT_EQ(world_.workspace.transfer.NRICGiven, c.new_number) << c.typed;
  }
  EXPECT_TRUE(world_.fakes.messages.shown.empty());

  table_->Add("BALA", "ABCDEFGHIJKLMNOP", "", "", "M", "", "");
  Changed("DriverICChanged", 1);
  EXPECT_EQ(Cell(1, "txtICNo").Value(), "");
  EXPECT_EQ(world_.fakes.messages.shown,
            (std::vector<ShownMessage>{{2210008, "Invalid Data", {"IC Number!", "", "", "", ""}}}));
  EXPECT_TRUE(world_.workspace.transfer.NRICGiven);
}

TEST_F(DriverTableTest, TooYoungADriverIsRefusedUnlessAnyDriver) {
  AddNamed("ALI");
  std::string kept;
  for (const char* name : {"ALI", "ANY DRIVER"}) {  // system code 1062
    Cell(0, "txtDrv").SetValue(name);
    Cell(0, "txtDOB").SetValue("01-Jan-2015");
    Changed("DOBChanged", 0);
    kept += "/" + Cell(0, "txtDOB").Value();
  }
  EXPECT_EQ(kept, "//01-Jan-2015");
  ASSERT_EQ(world_.fakes.messages.shown.size(), 1u);
  EXPECT_EQ(std::to_string(world_.fakes.messages.shown[0].number) + world_.fakes.messages.shown[0].title,
            "1210040Invalid Age");
}

// Years of driving plus the minimum driving age may not exceed the driver's age at the start
// of cover, whichever of the two dates is typed last; the refusal shows the sums. A birth
// before 1900, a licence date that is no date and one the field rules refuse give way too.
TEST_F(DriverTableTest, RefusedDatesGiveWayWithTheirReason) {
  // `minimum_age` set by the cover type ("" leaves system code 1098); `column` the one typed; `message` "" when
  // accepted.
  struct Case { std::string_view minimum_age, dob, licence, column, typed, kept; std::string message;
                std::string_view rule_message = ""; };
  const std::string plus = "Invalid driving license date. Years of Driving plus ";
  const std::string age = " (minimum driving age) must not exceed Driver's age. \r\n";
  // Born 25 years before the cover starts.
  // clang-format off
  const Case cases[] = {
      {"", "15-Jun-2001", "", "txtLicenceDate", "1/6/2016", "", plus + "17" + age + "[27 > 25]"},
      {"", "15-Jun-2001", "", "txtLicenceDate", "1/6/2018", "01-Jun-2018", ""},
      {"16", "15-Jun-2001", "", "txtLicenceDate", "01-Jan-2016", "", plus + "16" + age + "[26 > 25]"},
      {"", "", "01-Jan-2013", "txtDOB", "15-Jun-2001", "", plus + "17" + age + "[30 > 25]"},
      {"", "", "", "txtDOB", "05-Mar-1899", "", "Minimum year of the date must greater than 1900!"},
      {"", "", "", "txtLicenceDate", "not a date", "", ""},
      {"", "", "", "txtLicenceDate", "01-Jan-2030", "", "Licence date cannot be in the future",
       "Licence date cannot be in the future"}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.column) + " " + std::string(c.typed));
    table_->ClearTable();
    world_.dialogs->boxes.clear();
    world_.workspace.cover_rules.MinimumDrivingAge = c.minimum_age;
    world_.fakes.field_rules.licence_date_message = c.rule_message;
    table_->Add("ALI", "", c.dob, c.licence, "M", "", "");
    Cell(0, c.column).SetValue(c.typed);
    Changed(c.column == "txtDOB" ? "DOBChanged" : "DriverLicenceDateChanged", 0);
    EXPECT_EQ(Cell(0, c.column).Value(), c.kept);
    std::vector<ShownBox> refused;
    if (!c.message.empty()) refused.push_back({c.message, 48, "Invalid Data"});
    EXPECT_EQ(world_.dialogs->boxes, refused);
  }
}

TEST_F(DriverTableTest, CheckDOBDrivingLicenseEmptiesFailingDatesWithoutMessages) {
  table_->Add("OK", "", "01-Jan-1980", "01-Jan-2000", "M", "", "");
  EXPECT_TRUE(table_->CheckDOBDrivingLicense());
  table_->Add("OLD", "", "01-Jan-1899", "", "M", "", "");
  table_->Add("NEW", "", "15-Jun-2001", "01-Jan-2016", "M", "", "");
  EXPECT_FALSE(table_->CheckDOBDrivingLicense());
  EXPECT_EQ(Cell(1, "txtDOB").Value() + "/" + Cell(2, "txtLicenceDate").Value() + "/" +
                Cell(0, "txtLicenceDate").Value(),
            "//01-Jan-2000");
  EXPECT_TRUE(world_.dialogs->boxes.empty());
}

}  // namespace
}  // namespace cn::testing

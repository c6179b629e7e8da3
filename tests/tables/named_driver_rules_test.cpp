// The checks of a named driver's values as a person types them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_test_support.h"

namespace cn::testing {
namespace {

TEST_F(DriverTableTest, RenamingTheFirstDriverClearsHisDetailsUnlessHeIsTheInsured) {
  world_.workspace.record.Current.ClientName = "TAN AH KOW";
  const struct {
    const char* typed;
    const char* shown;
    bool cleared;
  } cases[] = {
      {"SOMEONE ELSE", "SOMEONE ELSE", true},
      {"INSURED", "INSURED", false},        // system code 1030
      {"TAN AH KOW", "TAN AH KOW", false},  // the client
      {"  ", "INSURED", true},              // no name at all is the insured
  };
  for (const auto& c : cases) {
    table_->ClearTable();
    table_->Add("TAN AH KOW", "800111-01-1123", "11-Jan-1980", "01-Jan-2000", "M", "", "SELF");
    table_->Add("SECOND", "", "", "", "F", "", "WIFE");
    Cell(0, "txtDrv").SetValue(c.typed);
    Changed("DriverNameChanged", 0);
    EXPECT_EQ(Cell(0, "txtDrv").Value(), c.shown);
    EXPECT_EQ(Cell(0, "txtICNo").Value().empty(), c.cleared) << c.typed;
    EXPECT_EQ(Cell(0, "txtRelationship").Value().empty(), c.cleared) << c.typed;
    // Other rows are never touched.
    Cell(1, "txtDrv").SetValue("RENAMED");
    Changed("DriverNameChanged", 1);
    EXPECT_EQ(Cell(1, "txtRelationship").Value(), "WIFE");
  }
}

TEST_F(DriverTableTest, ICNumbersAreWrittenInTheirFormAndANewOneGivesTheBirthDate) {
  const struct {
    const char *typed, *shown, *dob;
    bool new_number;
  } cases[] = {
      {"-800111-01-1123", "800111-01-1123", "11-Jan-1980", true},
      {"800111--01-1123", "800111-01-1123", "11-Jan-1980", true},
      {"800111011123", "800111-01-1123", "11-Jan-1980", true},
      {"A1234567", "A1234567", "", false},
  };
  for (const auto& c : cases) {
    table_->ClearTable();
    world_.workspace.transfer.NRICGiven = false;
    table_->Add("ALI", c.typed, "", "", "M", "", "");
    Changed("DriverICChanged", 0);
    EXPECT_EQ(Cell(0, "txtICNo").Value(), c.shown) << c.typed;
    EXPECT_EQ(Cell(0, "txtDOB").Value(), c.dob) << c.typed;
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
  Cell(0, "txtDOB").SetValue("01-Jan-2015");
  Changed("DOBChanged", 0);
  EXPECT_EQ(Cell(0, "txtDOB").Value(), "");
  ASSERT_EQ(world_.fakes.messages.shown.size(), 1u);
  EXPECT_EQ(world_.fakes.messages.shown[0].number, 1210040);
  EXPECT_EQ(world_.fakes.messages.shown[0].title, "Invalid Age");

  Cell(0, "txtDrv").SetValue("ANY DRIVER");  // system code 1062
  Cell(0, "txtDOB").SetValue("01-Jan-2015");
  Changed("DOBChanged", 0);
  EXPECT_EQ(Cell(0, "txtDOB").Value(), "01-Jan-2015");
}

// Years of driving plus the minimum driving age may not exceed the driver's age at the start
// of cover, whichever of the two dates is typed last; the refusal shows the sums. A birth
// before 1900, a licence date that is no date and one the field rules refuse give way too.
TEST_F(DriverTableTest, RefusedDatesGiveWayWithTheirReason) {
  struct Case {
    std::string_view minimum_age;  // set by the cover type; "" leaves system code 1098
    std::string_view dob, licence;
    std::string_view column;  // the one typed
    std::string_view typed, kept;
    std::string message;  // "" when accepted
    std::string_view rule_message = "";
  };
  const std::string plus = "Invalid driving license date. Years of Driving plus ";
  const std::string age = " (minimum driving age) must not exceed Driver's age. \r\n";
  // Born 25 years before the cover starts.
  const Case cases[] = {
      {"", "15-Jun-2001", "", "txtLicenceDate", "1/6/2016", "", plus + "17" + age + "[27 > 25]"},
      {"", "15-Jun-2001", "", "txtLicenceDate", "1/6/2018", "01-Jun-2018", ""},
      {"16", "15-Jun-2001", "", "txtLicenceDate", "01-Jan-2016", "", plus + "16" + age + "[26 > 25]"},
      {"", "", "01-Jan-2013", "txtDOB", "15-Jun-2001", "", plus + "17" + age + "[30 > 25]"},
      {"", "", "", "txtDOB", "05-Mar-1899", "", "Minimum year of the date must greater than 1900!"},
      {"", "", "", "txtLicenceDate", "not a date", "", ""},
      {"", "", "", "txtLicenceDate", "01-Jan-2030", "", "Licence date cannot be in the future",
       "Licence date cannot be in the future"},
  };
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
  EXPECT_EQ((std::vector<std::string>{Cell(1, "txtDOB").Value(),
                                      Cell(2, "txtLicenceDate").Value(),
                                      Cell(0, "txtLicenceDate").Value()}),
            (std::vector<std::string>{"", "", "01-Jan-2000"}));
  EXPECT_TRUE(world_.dialogs->boxes.empty());
}

}  // namespace
}  // namespace cn::testing

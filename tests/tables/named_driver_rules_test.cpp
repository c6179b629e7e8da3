// The checks of a named driver's values as a person types them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver_test_support.h"

namespace cn::testing {
namespace {

constexpr std::string_view kLicenceMessage =
    "Invalid driving license date. Years of Driving plus 17 (minimum driving age) must not "
    "exceed Driver's age. \r\n";

TEST_F(DriverTableTest, RenamingTheFirstDriverClearsHisDetailsUnlessHeIsTheInsured) {
  world_.workspace.record.Current.ClientName = "TAN AH KOW";
  const struct {
    const char* typed;
    bool cleared;
  } cases[] = {
      {"SOMEONE ELSE", true},
      {"INSURED", false},     // system code 1030
      {"TAN AH KOW", false},  // the client
  };
  for (const auto& c : cases) {
    table_->ClearTable();
    table_->Add("TAN AH KOW", "800111-01-1123", "11-Jan-1980", "01-Jan-2000", "M", "", "SELF");
    table_->Add("SECOND", "", "", "", "F", "", "WIFE");
    Cell(0, "txtDrv").SetValue(c.typed);
    Changed("DriverNameChanged", 0);
    EXPECT_EQ(Cell(0, "txtICNo").Value().empty(), c.cleared) << c.typed;
    EXPECT_EQ(Cell(0, "txtRelationship").Value().empty(), c.cleared) << c.typed;
    // Other rows are never touched.
    Cell(1, "txtDrv").SetValue("RENAMED");
    Changed("DriverNameChanged", 1);
    EXPECT_EQ(Cell(1, "txtRelationship").Value(), "WIFE");
  }
}

TEST_F(DriverTableTest, EmptyFirstNameBecomesTheInsured) {
  table_->Add("X", "A123", "", "", "M", "", "SELF");
  Cell(0, "txtDrv").SetValue("  ");
  Changed("DriverNameChanged", 0);
  EXPECT_EQ(Cell(0, "txtDrv").Value(), "INSURED");
  EXPECT_EQ(Cell(0, "txtICNo").Value(), "");
}

TEST_F(DriverTableTest, ICNumbersLoseLeadingAndDoubledDashesAndGiveTheBirthDate) {
  const struct {
    const char* typed;
    const char* shown;
  } cases[] = {
      {"-800111-01-1123", "800111-01-1123"},
      {"800111--01-1123", "800111-01-1123"},
      {"800111011123", "800111-01-1123"},
  };
  for (const auto& c : cases) {
    table_->ClearTable();
    AddNamed("ALI");
    Cell(0, "txtICNo").SetValue(c.typed);
    Changed("DriverICChanged", 0);
    EXPECT_EQ(Cell(0, "txtICNo").Value(), c.shown) << c.typed;
    EXPECT_EQ(Cell(0, "txtDOB").Value(), "11-Jan-1980") << c.typed;
    EXPECT_TRUE(world_.workspace.transfer.NRICGiven);
  }
  EXPECT_TRUE(world_.fakes.messages.shown.empty());
}

TEST_F(DriverTableTest, OldAndOverlongICNumbers) {
  table_->Add("ALI", "A1234567", "", "", "M", "", "");
  Changed("DriverICChanged", 0);
  EXPECT_EQ(Cell(0, "txtICNo").Value(), "A1234567");
  EXPECT_FALSE(world_.workspace.transfer.NRICGiven);

  table_->Add("BALA", "ABCDEFGHIJKLMNOP", "", "", "M", "", "");
  Changed("DriverICChanged", 1);
  EXPECT_EQ(Cell(1, "txtICNo").Value(), "");
  ASSERT_EQ(world_.fakes.messages.shown.size(), 1u);
  EXPECT_EQ(world_.fakes.messages.shown[0],
            (ShownMessage{2210008, "Invalid Data", {"IC Number!", "", "", "", ""}}));
  EXPECT_TRUE(world_.workspace.transfer.NRICGiven);
}

TEST_F(DriverTableTest, DateOfBirthBefore1900IsRefused) {
  AddNamed("ALI");
  Cell(0, "txtDOB").SetValue("05-Mar-1899");
  Changed("DOBChanged", 0);
  EXPECT_EQ(Cell(0, "txtDOB").Value(), "");
  ASSERT_FALSE(world_.dialogs->boxes.empty());
  EXPECT_EQ(world_.dialogs->boxes[0],
            (ShownBox{"Minimum year of the date must greater than 1900!", 48, "Invalid Data"}));
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
// of cover, whichever of the two dates is typed last; the refusal shows the sums.
TEST_F(DriverTableTest, ALicenceLongerThanTheAgeAllowsIsRefusedWithTheSums) {
  struct Case {
    std::string_view minimum_age;  // set by the cover type; "" leaves system code 1098
    std::string_view dob;
    std::string_view licence;
    std::string_view column;  // the one typed
    std::string_view typed;
    std::string_view kept;
    std::string message;  // "" when accepted
  };
  const std::string plus_17 = std::string(kLicenceMessage);
  const std::string plus_16 =
      "Invalid driving license date. Years of Driving plus 16 (minimum driving age) must not "
      "exceed Driver's age. \r\n";
  // Born 25 years before the cover starts.
  const Case cases[] = {
      {"", "15-Jun-2001", "", "txtLicenceDate", "1/6/2016", "", plus_17 + "[27 > 25]"},
      {"", "15-Jun-2001", "", "txtLicenceDate", "1/6/2018", "01-Jun-2018", ""},
      {"16", "15-Jun-2001", "", "txtLicenceDate", "01-Jan-2016", "", plus_16 + "[26 > 25]"},
      {"", "", "01-Jan-2013", "txtDOB", "15-Jun-2001", "", plus_17 + "[30 > 25]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.column) + " " + std::string(c.typed));
    table_->ClearTable();
    world_.dialogs->boxes.clear();
    world_.workspace.cover_rules.MinimumDrivingAge = c.minimum_age;
    table_->Add("ALI", "", c.dob, c.licence, "M", "", "");
    Cell(0, c.column).SetValue(c.typed);
    Changed(c.column == "txtDOB" ? "DOBChanged" : "DriverLicenceDateChanged", 0);
    EXPECT_EQ(Cell(0, c.column).Value(), c.kept);
    if (c.message.empty()) {
      EXPECT_TRUE(world_.dialogs->boxes.empty());
    } else {
      EXPECT_EQ(world_.dialogs->boxes, (std::vector<ShownBox>{{c.message, 48,
                                                                "Invalid Data"}}));
    }
  }
}

TEST_F(DriverTableTest, LicenceDateChecks) {
  AddNamed("ALI");
  Cell(0, "txtLicenceDate").SetValue("not a date");
  Changed("DriverLicenceDateChanged", 0);
  EXPECT_EQ(Cell(0, "txtLicenceDate").Value(), "");
  EXPECT_TRUE(world_.dialogs->boxes.empty());

  world_.fakes.field_rules.licence_date_message = "Licence date cannot be in the future";
  Cell(0, "txtLicenceDate").SetValue("01-Jan-2030");
  Changed("DriverLicenceDateChanged", 0);
  EXPECT_EQ(Cell(0, "txtLicenceDate").Value(), "");
  ASSERT_EQ(world_.dialogs->boxes.size(), 1u);
  EXPECT_EQ(world_.dialogs->boxes[0].prompt, "Licence date cannot be in the future");
}

TEST_F(DriverTableTest, CheckDOBDrivingLicenseEmptiesFailingDatesWithoutMessages) {
  table_->Add("OK", "", "01-Jan-1980", "01-Jan-2000", "M", "", "");
  EXPECT_TRUE(table_->CheckDOBDrivingLicense());
  table_->Add("OLD", "", "01-Jan-1899", "", "M", "", "");
  table_->Add("NEW", "", "15-Jun-2001", "01-Jan-2016", "M", "", "");
  EXPECT_FALSE(table_->CheckDOBDrivingLicense());
  EXPECT_EQ(Cell(1, "txtDOB").Value(), "");
  EXPECT_EQ(Cell(2, "txtLicenceDate").Value(), "");
  EXPECT_EQ(Cell(0, "txtLicenceDate").Value(), "01-Jan-2000");
  EXPECT_TRUE(world_.dialogs->boxes.empty());
}

}  // namespace
}  // namespace cn::testing

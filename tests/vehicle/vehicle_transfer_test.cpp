// The Vehicle tab and the record: fields both ways, the insured's own details from the
// first row, and the driver count.
#include <gtest/gtest.h>

#include <vector>

#include "vehicle_tab_fixture.h"
#include "workspace/tab_transfer.h"

namespace cn::testing {
namespace {

class VehicleTransferTest : public VehicleTabTest {
 protected:
  VehicleTransferTest() {
    CoverNoteFields& r = world_.workspace.record.Current;
    r.ClientType = "P";
    r.ClientName = "TAN AH KOW";
    r.DriverNames = {"TAN AH KOW", "LIM MEI LING", "RAJ KUMAR"};
    r.DriverICNos = {"800111-01-1123", "820202-02-2222", "A1234567"};
    r.DriverDOBs = {"11-Jan-1980", "02-Feb-1982", "03-Mar-1975"};
    r.DriverLicenceDates = {"01-Jan-2000", "01-Jan-2004", "01-Jan-1995"};
    r.DriverLicenceNos = {"", "", ""};
    r.DriverGenders = {"M", "F", "M"};
    r.DriverOccupations = {"", "", ""};
    r.DriverRelationships = {"SELF", "WIFE", "FRIEND"};
    r.Color = "red";
    r.Hazard = "0";
    r.GSLock = "1";
    r.MaintenanceFrom = "1/2/2026";
  }
};

// The insured is the first driver: his own details come from that row; someone else first
// leaves them alone.
TEST_F(VehicleTransferTest, TheInsuredFirstGivesHisOwnDetails) {
  for (const auto& [first, dob, gender] : {std::tuple{"TAN AH KOW", "11-Jan-1980", "M"},
                                           std::tuple{"STRANGER", "05-May-1970", ""}}) {
    CoverNoteFields& r = world_.workspace.record.Current;
    r.DriverNames[0] = first;
    r.DateOfBirth = "05-May-1970";
    r.Gender = "";
    LoadPage();
    SavePageToRecord(world_.workspace, "COVVeh", *document_);
    EXPECT_EQ(r.DateOfBirth + "/" + r.Gender, std::string(dob) + "/" + gender) << first;
  }
}

TEST_F(VehicleTransferTest, VehicleFieldsBothWays) {
  LoadPage();
  EXPECT_EQ(Find("txtColor").Value(), "red");
  EXPECT_TRUE(Find("chkGSLock").Checked());
  EXPECT_TRUE(Find("optHazardNo").Checked());
  Find("txtEngineNumber").SetValue("eng123");
  Find("optHRYes").SetChecked(true);
  SavePageToRecord(world_.workspace, "COVVeh", *document_);
  const CoverNoteFields& r = world_.workspace.record.Current;
  EXPECT_EQ((std::vector<std::string>{r.Color, r.EngineNo, r.GSLock, r.HRFlag, r.MaintenanceFrom}),
            (std::vector<std::string>{"RED", "ENG123", "1", "1", "01-Feb-2026"}));
}

TEST_F(VehicleTransferTest, ChangedDriverCountMarksThePremiumExceptForTransfers) {
  const struct {
    const char* transaction;
    bool marked;
  } cases[] = {{"N", true}, {"T", false}, {"E", false}};
  for (const auto& c : cases) {
    world_.workspace.record.Current.TransactionType = c.transaction;
    world_.workspace.premium = {};
    world_.workspace.premium.BasicPremiumEntered = true;
    LoadPage();
    SavePageToRecord(world_.workspace, "COVVeh", *document_);
    EXPECT_EQ(world_.workspace.premium.FactorsChangedNewTariff, c.marked) << c.transaction;
    EXPECT_EQ(world_.workspace.premium.BasicPremiumEntered, !c.marked) << c.transaction;
    EXPECT_EQ(world_.workspace.page.NamedDriverCountSeen, c.marked ? 3 : 1) << c.transaction;
  }
}

}  // namespace
}  // namespace cn::testing

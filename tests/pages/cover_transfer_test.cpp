// The Cover tab and the record: address lines, the period of cover of a vehicle not yet
// registered, the licence, and the client type with its free-trade-zone service tax.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cover_tab_harness.h"
#include "workspace/tab_transfer.h"

namespace cn::cover_testing {
namespace {

class CoverTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tab.SetSystemCodes({{"1031", "TBA"}, {"1025", "6"}, {"1001", "NOSI"}});
    tab.Start();
  }
  CoverNoteFields& current() { return tab.workspace.record.Current; }
  void Show() { ShowRecordOnPage(tab.workspace, "COVCover", tab.page()); }
  void Save() { SavePageToRecord(tab.workspace, "COVCover", tab.page()); }
  std::vector<std::string> AddressBoxes() {
    std::vector<std::string> boxes;
    for (const char* id : {"txtAddress", "txtAddress2", "txtAddress3", "txtAddress4"}) {
      boxes.push_back(tab.element(id).Value());
    }
    return boxes;
  }
  CoverTabHarness tab;
};

TEST_F(CoverTransferTest, AddressLinesFillTheFourBoxes) {
  struct Case {
    std::string address;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"", {"", "", "", ""}},
      {"L1\nL2\nL3", {"L1", "L2", "L3", ""}},  // stored with LF alone
      {"L1\r\nL2\r\nL3\r\nL4", {"L1", "L2", "L3", "L4"}},
      {"L1\r\nL2\r\nL3\r\nL4\r\nL5",
       {"L1", "L2", "L3", ""}},  // five lines: the fourth box stays empty
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    current().Address = c.address;
    Show();
    EXPECT_EQ(AddressBoxes(), c.boxes);
  }
}

TEST_F(CoverTransferTest, SavedAddressIsTrimmedUpperCasedAndJoinedWithCrLf) {
  current().Address = "1 jalan aman\ntaman  indah \n";
  Show();
  tab.element("txtAddress4").SetValue("  ");
  tab.element("txtAddress3").SetValue(" kluang ");
  Save();
  EXPECT_EQ(current().Address, "1 JALAN AMAN\r\nTAMAN  INDAH\r\nKLUANG");
  EXPECT_EQ(tab.workspace.transfer.ClientCopy.Address, current().Address);
}

TEST_F(CoverTransferTest, AVehicleNotYetRegisteredShowsNoPeriodAndKeepsTheRecordsOwn) {
  current().VehicleNo = "tba";
  current().EffectiveDate = "01-Mar-2014";
  current().ExpiryDate = "28-Feb-2015";
  Show();
  EXPECT_EQ(tab.element("txtEffectiveDate").Value(), "");
  EXPECT_EQ(tab.element("txtExpiryDate").Value(), "");
  Save();
  EXPECT_EQ(current().EffectiveDate, "01-Mar-2014");
  EXPECT_EQ(current().ExpiryDate, "28-Feb-2015");
  EXPECT_EQ(current().VehicleNo, "TBA");

  current().VehicleNo = "WXY1234";
  Show();
  EXPECT_EQ(tab.element("txtEffectiveDate").Value(), "01-Mar-2014");
  tab.element("txtEffectiveDate").SetValue("02-Mar-2014");
  Save();
  EXPECT_EQ(current().EffectiveDate, "02-Mar-2014");
}

TEST_F(CoverTransferTest, TheLicenceIsADateForANewCoverNoteAndYearsOtherwise) {
  current().TransactionType = "R";
  current().LicenseDate = "15-Jun-2004";
  Show();
  EXPECT_EQ(tab.element("txtLicenseDate").Value(), "10");  // 2014 - 2004
  tab.element("txtLicenseDate").SetValue("5");
  Save();
  EXPECT_EQ(current().LicenseDate, "01-Jan-2009");

  current().TransactionType = "N";
  current().LicenseDate = "15-Jun-2004";
  Show();
  EXPECT_EQ(tab.element("txtLicenseDate").Value(), "15-Jun-2004");
}

TEST_F(CoverTransferTest, ACompanyInAFreeTradeZonePaysNoServiceTax) {
  struct Case {
    bool ftz;
    std::string_view record_ftz;
    std::string_view service_tax;
  };
  for (const Case c : {Case{true, "1", "0"}, Case{false, "0", "6"}}) {
    SCOPED_TRACE(c.ftz);
    current().ServiceTaxPercentage = "9";
    tab.element("optCompanyType").SetChecked(true);
    tab.element(c.ftz ? "optFTZYes" : "optFTZNo").SetChecked(true);
    Save();
    EXPECT_EQ(current().ClientType, "C");
    EXPECT_EQ(current().FTZ, c.record_ftz);
    EXPECT_EQ(current().ServiceTaxPercentage, c.service_tax);
    EXPECT_EQ(current().MaritalStatus, "3");
    EXPECT_EQ(current().Gender, "");
  }
}

TEST_F(CoverTransferTest, APersonIsNeverInAFreeTradeZone) {
  tab.element("optPersonalType").SetChecked(true);
  tab.element("optFTZYes").SetChecked(true);
  tab.element("cboMaritalStat").SetValue("M");
  Save();
  EXPECT_EQ(current().ClientType, "P");
  EXPECT_EQ(current().FTZ, "0");
  EXPECT_EQ(current().MaritalStatus, "M");
}

TEST_F(CoverTransferTest, TelephonesLoseTheirDashesBothWays) {
  current().HouseTel = "03-1234-5678";
  current().ClientCode = "C001";
  Show();
  EXPECT_EQ(tab.element("txtHouseTel").Value(), "0312345678");
  tab.element("txtMobileTel").SetValue("012-345 6789");
  Save();
  EXPECT_EQ(current().MobileTel, "012345 6789");
  EXPECT_EQ(tab.workspace.transfer.ClientCopy.MobileTel, "012345 6789");
  EXPECT_EQ(tab.workspace.transfer.ClientCopy.ClientCode, "C001");
}

TEST_F(CoverTransferTest, GstOptionsFollowOnlyAKnownAnswer) {
  current().GSTRegistered = "1";
  current().GSTVehicleBizUse = "0";
  Show();
  EXPECT_FALSE(tab.element("optGSTVehBizUseYes").Checked());
  EXPECT_TRUE(tab.element("optGSTVehBizUseNo").Checked());

  current().GSTRegistered = "";
  Show();
  EXPECT_TRUE(tab.element("optGSTRegisteredYes").Checked());
}

TEST_F(CoverTransferTest, AMotorCoverWithoutSumInsuredZeroesTheSumsInsured) {
  tab.element("cboMotorCoverCode").SetInnerHtml("<option value=NOSI>NO SI</option>");
  tab.element("cboMotorCoverCode").SetValue("NOSI");
  current().VehicleSumInsured = "30,000.00";
  current().TrailerSumInsured = "5,000.00";
  Save();
  EXPECT_EQ(current().VehicleSumInsured, "0");
  EXPECT_EQ(current().TrailerSumInsured, "0");
  EXPECT_EQ(current().TotalSumInsured, "0.00");
}

// A new class is rated afresh: its NCD choices and extended covers replace the record's.
TEST_F(CoverTransferTest, AnotherClassLooksUpItsNcdAndExtendedCoversAnew) {
  tab.element("cboClassCode").SetInnerHtml("<option value=PC1>CAR</option>");
  tab.element("cboClassCode").SetValue("PC1");
  tab.element("cboMotorCoverCode").SetInnerHtml("<option value=01>COMP</option>");
  tab.element("cboMotorCoverCode").SetValue("01");
  tab.element("optPrivateCover").SetChecked(true);
  current().CoverType = "PRIVATE";
  current().ClassCode = "PC1";
  current().MotorCoverCode = "01";
  current().NCDPercentage = "25.00";
  Save();
  EXPECT_TRUE(tab.SentParameters("Tarvin.Find.FindNCD").empty());

  current().ClassCode = "PC2";
  Save();
  EXPECT_EQ(tab.SentParameters("Tarvin.Find.FindNCD"), (std::vector<std::string>{"PC1"}));
  EXPECT_EQ(tab.SentParameters("Tarvin.Find.FindExtendedCoverDetails").size(), 1u);
  EXPECT_EQ(current().NCDPercentage, "0");
}

}  // namespace
}  // namespace cn::cover_testing

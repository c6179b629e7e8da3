// The Cover tab taken back into the record: the client type with its free-trade-zone service
// tax, a cover without sums insured and another class. What a read shows is pinned by the
// read scenarios.

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
  CoverTabHarness tab;
};

// Years typed for a renewal's licence go back as the first of January of that year.
TEST_F(CoverTransferTest, LicenceYearsTypedGoBackAsADate) {
  current().TransactionType = "R";
  Show();
  tab.element("txtLicenseDate").SetValue("5");
  Save();
  EXPECT_EQ(current().LicenseDate, "01-Jan-2009");
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

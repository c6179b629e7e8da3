// The Cover tab taken back into the record: the client type with its free-trade-zone service
// tax, a cover without sums insured and another class. What a read shows is pinned by the
// read scenarios.

#include <gtest/gtest.h>

#include "cover_fields_fixture.h"
#include "workspace/tab_transfer.h"

namespace cn::cover_testing {
namespace {

class CoverTransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.SetSystemCodes({{"1031", "TBA"}, {"1025", "6"}, {"1001", "NOSI"}});
    world.cover->Load();
  }
  CoverNoteFields& current() { return world.workspace.record.Current; }
  void Save() { SavePageToRecord(world.workspace, "COVCover", *world.page); }
  // A select holding just `value`, chosen.
  void Only(std::string_view select, std::string_view value) {
    world.Get(select).SetInnerHtml("<option value=" + std::string(value) + ">X</option>");
    world.Get(select).SetValue(value);
  }
  CoverTabWorld world;
};

// Years typed for a renewal's licence go back as the first of January of that year.
TEST_F(CoverTransferTest, LicenceYearsTypedGoBackAsADate) {
  current().TransactionType = "R";
  ShowRecordOnPage(world.workspace, "COVCover", *world.page);
  world.Get("txtLicenseDate").SetValue("5");
  Save();
  EXPECT_EQ(current().LicenseDate, "01-Jan-2009");
}

// Client type, free trade zone, service tax, marital status and gender as saved.
TEST_F(CoverTransferTest, ACompanyInAFreeTradeZonePaysNoServiceTaxAndAPersonIsNeverInOne) {
  struct Case {
    std::string_view type, ftz;
    Texts saved;
  };
  const Case cases[] = {{"optCompanyType", "optFTZYes", {"C", "1", "0", "3", ""}},
                        {"optCompanyType", "optFTZNo", {"C", "0", "6", "3", ""}},
                        {"optPersonalType", "optFTZYes", {"P", "0", "9", "M", "M"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + std::string(c.ftz));
    current().ServiceTaxPercentage = "9";
    world.Get(c.type).SetChecked(true);
    world.Get(c.ftz).SetChecked(true);
    world.Get("cboMaritalStat").SetValue("M");
    world.Get("cboGender").SetValue("M");
    Save();
    EXPECT_EQ((Texts{current().ClientType, current().FTZ, current().ServiceTaxPercentage,
                     current().MaritalStatus, current().Gender}),
              c.saved);
  }
}

TEST_F(CoverTransferTest, AMotorCoverWithoutSumInsuredZeroesTheSumsInsured) {
  Only("cboMotorCoverCode", "NOSI");
  current().VehicleSumInsured = "30,000.00";
  current().TrailerSumInsured = "5,000.00";
  Save();
  EXPECT_EQ((Texts{current().VehicleSumInsured, current().TrailerSumInsured,
                   current().TotalSumInsured}),
            (Texts{"0", "0", "0.00"}));
}

// A new class is rated afresh: its NCD choices and extended covers replace the record's.
TEST_F(CoverTransferTest, AnotherClassLooksUpItsNcdAndExtendedCoversAnew) {
  Only("cboClassCode", "PC1");
  Only("cboMotorCoverCode", "01");
  world.Get("optPrivateCover").SetChecked(true);
  current().CoverType = "PRIVATE";
  current().ClassCode = "PC1";
  current().MotorCoverCode = "01";
  current().NCDPercentage = "25.00";
  Save();
  EXPECT_TRUE(world.ParametersSent("Tarvin.Find.FindNCD").empty());

  current().ClassCode = "PC2";
  Save();
  EXPECT_EQ(world.ParametersSent("Tarvin.Find.FindNCD"), Texts{"PC1"});
  EXPECT_EQ(world.ParametersSent("Tarvin.Find.FindExtendedCoverDetails").size(), 1u);
  EXPECT_EQ(current().NCDPercentage, "0");
}

}  // namespace
}  // namespace cn::cover_testing

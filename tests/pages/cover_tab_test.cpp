// The Cover tab as it opens (a read left for it runs, anything else left is dropped, and the tab
// locks) and taken back into the record: the client type with its free-trade-zone service tax, a
// cover without sums insured and another class. What a read shows is pinned by the read scenarios.

#include <gtest/gtest.h>

#include "base/separators.h"
#include "base/text.h"
#include "cover_fields_fixture.h"
#include "workspace/read_layouts.h"
#include "workspace/tab_transfer.h"

namespace cn::cover_testing {
namespace {

// A full-length ReadAdmin reply, empty except for the named record fields.
std::string ReadAdminReply(
    std::initializer_list<std::pair<std::string_view, std::string_view>> values) {
  Texts fields(178);
  for (const auto& [name, value] : values) {
    bool found = false;
    for (const LayoutRow& row : ReadAdminLayout()) {
      if (row.field->name != name) continue;
      fields[static_cast<std::size_t>(row.position)] = std::string(value);
      found = true;
    }
    EXPECT_TRUE(found) << name << " is not in the ReadAdmin reply";
  }
  return Join(fields, FieldSeparator);
}

TEST(CoverTabLoad, APendingReadOfThisTabRunsAsItOpensAndTheTabStillLocks) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1031", "TBA"}});
  world.fakes.backend.Answer(
      "KivoGIUWR.CoverNote.ReadAdmin",
      "CN777" + std::string(ParamSeparator) + "AG001" + std::string(ParamSeparator) + "0",
      ReadAdminReply({{"CoverNoteStatus", "R"}, {"VehicleNo", "WXY1"}, {"ClientName", "LIM"}}));
  world.workspace.page.PendingTabCommand = "COVCover;ReadCoverNote;CN777";
  world.workspace.page.SaveButtonId = "cmdSave";
  world.cover->Load();
  EXPECT_EQ(world.Get("txtName").Value(), "LIM");
  EXPECT_TRUE(world.Ran("ShowTitle('Cover Note Amendment - Administrator : CN777')"));
  EXPECT_TRUE(world.Ran("EnableCmdButton('cmdSave', true)"));
  // Read, nothing has changed yet: a save would recompute nothing.
  EXPECT_FALSE(world.workspace.premium.FactorsChangedNewTariff);
  EXPECT_EQ(world.workspace.page.PendingTabCommand, "");
  EXPECT_TRUE(world.Get("txtName").ReadOnly());
}

TEST(CoverTabLoad, APendingCommandForAnotherTabOrAnotherActionIsDropped) {
  for (const char* command :
       {"COVVeh;ReadCoverNote;CN777", "COVCover;Something;CN777", "COVCover;ReadCoverNote"}) {
    SCOPED_TRACE(command);
    CoverTabWorld world;
    world.workspace.page.PendingTabCommand = command;
    world.workspace.premium.TariffPremiumEntered = true;
    world.cover->Load();
    // Showing the record leaves a typed tariff premium as typed.
    EXPECT_TRUE(world.workspace.premium.TariffPremiumEntered);
    EXPECT_TRUE(world.ParametersSent("KivoGIUWR.CoverNote.ReadAdmin").empty());
    EXPECT_EQ(world.workspace.page.PendingTabCommand, "");
    EXPECT_EQ(world.Get("txtCoverNoteNumber").Value(), "");
  }
}

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
  EXPECT_EQ(
      (Texts{current().VehicleSumInsured, current().TrailerSumInsured, current().TotalSumInsured}),
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

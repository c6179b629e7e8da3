// Opening the Cover tab: the tab is locked except for the cover note number and its read
// button, the lists are filled, and a read left for the tab runs as it opens.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/separators.h"
#include "cover_tab_harness.h"
#include "dom/style.h"

namespace cn::cover_testing {
namespace {

std::string Params(std::string_view number) {
  return std::string(number) + std::string(ParamSeparator) + "AG001" +
         std::string(ParamSeparator) + "0";
}

std::vector<std::string> OptionValues(dom::Element& select) {
  std::vector<std::string> values;
  for (const auto& option : select.Options().ToVector()) values.push_back(option->Value());
  return values;
}

enum class State { kUsable, kDisabled, kReadOnly, kHidden };

TEST(CoverTabLoad, LocksEverythingButTheCoverNoteNumber) {
  CoverTabHarness tab;
  tab.Start();
  EXPECT_EQ(tab.dialogs->boxes, std::vector<testing::ShownBox>{});
  struct Expected {
    std::string_view id;
    State state;
  };
  const Expected expected[] = {
      {"txtCoverNoteNumber", State::kUsable},   {"cmdReadCNoteNo", State::kUsable},
      {"cboClassCode", State::kDisabled},       {"cboClassUse", State::kDisabled},
      {"cboCNStatus", State::kDisabled},        {"cboGender", State::kDisabled},
      {"cboMaritalStat", State::kDisabled},     {"cboMotorCoverCode", State::kDisabled},
      {"cboTransactionType", State::kDisabled}, {"cboVehGar", State::kDisabled},
      {"cboInsOcc", State::kDisabled},          {"cboNatBiz", State::kDisabled},
      {"chkNewAdd", State::kDisabled},          {"cboTown", State::kDisabled},
      {"cboNationality", State::kDisabled},     {"cboState", State::kDisabled},
      {"cmdReadClientCode", State::kHidden},    {"cmdSearchClientCode", State::kHidden},
      {"cmdSelectMortgagee", State::kHidden},   {"txtTown", State::kHidden},
      {"optPrivateCover", State::kReadOnly},    {"optCommercialCover", State::kReadOnly},
      {"optMotorcycleCover", State::kReadOnly}, {"optPersonalType", State::kReadOnly},
      {"optCompanyType", State::kReadOnly},     {"optFTZYes", State::kReadOnly},
      {"optFTZNo", State::kReadOnly},           {"optGSTRegisteredYes", State::kReadOnly},
      {"optGSTRegisteredNo", State::kReadOnly}, {"optGSTVehBizUseYes", State::kReadOnly},
      {"optGSTVehBizUseNo", State::kReadOnly},  {"txtGSTRegNo", State::kReadOnly},
      {"txtAddress", State::kReadOnly},         {"txtAddress4", State::kReadOnly},
      {"txtClientCode", State::kReadOnly},      {"txtName", State::kReadOnly},
      {"txtNRIC", State::kReadOnly},            {"txtOldNRIC", State::kReadOnly},
      {"txtBusinessRegistration", State::kReadOnly}, {"txtDOB", State::kReadOnly},
      {"txtDateOfIssue", State::kReadOnly},     {"txtTimeOfIssue", State::kReadOnly},
      {"txtEffectiveDate", State::kReadOnly},   {"txtExpiryDate", State::kReadOnly},
      {"txtLicenseDate", State::kReadOnly},     {"txtDrivingLicenseNumber", State::kReadOnly},
      {"txtDrivingLicenseClass", State::kReadOnly}, {"txtHouseTel", State::kReadOnly},
      {"txtBizTel", State::kReadOnly},          {"txtMobileTel", State::kReadOnly},
      {"txtEmail", State::kReadOnly},           {"txtPostal", State::kReadOnly},
      {"txtMortgagee", State::kReadOnly},       {"txtEmpName", State::kReadOnly},
      {"txtOldPolicy", State::kReadOnly},       {"txtVehicleNumber", State::kReadOnly},
      {"txtTrailerNumber", State::kReadOnly},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    dom::Element& element = tab.element(e.id);
    const bool hidden = element.GetStyle(dom::StyleName::kVisibility) == "hidden";
    // Read-only boxes may also be disabled by the rules of the client type or cover type.
    if (e.state != State::kReadOnly) {
      EXPECT_EQ(element.Disabled(), e.state == State::kDisabled);
    }
    EXPECT_EQ(hidden, e.state == State::kHidden || e.id == "cboState");
    if (e.state == State::kReadOnly) {
      EXPECT_TRUE(element.ReadOnly());
      EXPECT_EQ(element.GetStyle(dom::StyleName::kBackgroundColor), "buttonface");
      EXPECT_EQ(element.TabIndex(), -1);
    }
    if (e.state == State::kUsable) {
      EXPECT_FALSE(element.ReadOnly());
    }
  }
  EXPECT_EQ(tab.page().ActiveElement().get(), &tab.element("txtCoverNoteNumber"));
  EXPECT_FALSE(tab.shell().FindButton("cmdCalculate")->enabled);
  EXPECT_EQ(tab.workspace.page.CurrentTabId, "COVCover");
  EXPECT_FALSE(tab.workspace.page.PageFilling);
}

TEST(CoverTabLoad, FillsTheListsAndStartsTheOptionalOnesEmpty) {
  CoverTabHarness tab;
  tab.workspace.lists.StateList = {"01" + std::string(FieldSeparator) + "JOHOR"};
  tab.workspace.lists.NationalityList = {"MYS" + std::string(FieldSeparator) + "MALAYSIAN"};
  tab.workspace.lists.TownList = {"T1" + std::string(FieldSeparator) + "KLUANG"};
  tab.Start();
  EXPECT_EQ(OptionValues(tab.element("cboState")), (std::vector<std::string>{"01"}));
  EXPECT_EQ(OptionValues(tab.element("cboNationality")), (std::vector<std::string>{"", "MYS"}));
  EXPECT_EQ(OptionValues(tab.element("cboTown")), (std::vector<std::string>{"", "T1"}));
  EXPECT_EQ(OptionValues(tab.element("cboInsOcc")), (std::vector<std::string>{""}));
  EXPECT_EQ(OptionValues(tab.element("cboTransactionType")),
            (std::vector<std::string>{"N", "B", "R", "T", "E", "D", "S", "F", "M", "I"}));
  EXPECT_EQ(OptionValues(tab.element("cboVehGar")),
            (std::vector<std::string>{"03", "02", "11", "12", "01"}));
  EXPECT_EQ(tab.element("cboCNStatus").Options().Item(4)->Text(), "REFERRED RISK");
}

TEST(CoverTabLoad, APendingReadOfThisTabRunsAsItOpens) {
  CoverTabHarness tab;
  tab.SetSystemCodes({{"1031", "TBA"}});
  tab.world.backend.Answer("KivoGIUWR.CoverNote.ReadAdmin", Params("CN777"),
                           ReadAdminReply({{"CoverNoteStatus", "R"}, {"VehicleNo", "WXY1"},
                                           {"ClientName", "LIM"}}));
  tab.workspace.page.PendingTabCommand = "COVCover;ReadCoverNote;CN777";
  tab.Start();
  EXPECT_EQ(tab.element("txtName").Value(), "LIM");
  EXPECT_EQ(tab.shell().Title(), std::string(kScreenTitleText) + " : CN777");
  EXPECT_TRUE(tab.SaveEnabled());
  EXPECT_TRUE(tab.workspace.premium.FactorsChangedNewTariff);
  EXPECT_EQ(tab.workspace.page.PendingTabCommand, "");
  // The read does not keep the tab from locking.
  EXPECT_TRUE(tab.element("txtName").ReadOnly());
}

TEST(CoverTabLoad, APendingCommandForAnotherTabOrAnotherActionIsDropped) {
  for (const char* command : {"COVVeh;ReadCoverNote;CN777", "COVCover;Something;CN777",
                              "COVCover;ReadCoverNote"}) {
    SCOPED_TRACE(command);
    CoverTabHarness tab;
    tab.workspace.page.PendingTabCommand = command;
    tab.Start();
    EXPECT_TRUE(tab.SentParameters("KivoGIUWR.CoverNote.ReadAdmin").empty());
    EXPECT_EQ(tab.workspace.page.PendingTabCommand, "");
    EXPECT_EQ(tab.element("txtCoverNoteNumber").Value(), "");
  }
}

TEST(CoverTabLoad, ShowingTheRecordLeavesThePremiumFlagsAsTheyWere) {
  CoverTabHarness tab;
  tab.workspace.premium.FactorsChangedNewTariff = true;
  tab.workspace.premium.BasicPremiumEntered = true;
  tab.workspace.premium.TariffPremiumEntered = true;
  tab.workspace.page.ExtendedCoverDetailsStale = false;
  tab.workspace.transfer.ClassOrCoverChanged = false;
  tab.Start();
  EXPECT_TRUE(tab.workspace.premium.FactorsChangedNewTariff);
  EXPECT_TRUE(tab.workspace.premium.BasicPremiumEntered);
  EXPECT_TRUE(tab.workspace.premium.TariffPremiumEntered);
  EXPECT_FALSE(tab.workspace.page.ExtendedCoverDetailsStale);
  EXPECT_FALSE(tab.workspace.transfer.ClassOrCoverChanged);
}

TEST(CoverTabLoad, ARecordCarryingAnExcessOrLoadingCountsThemAsEntered) {
  CoverTabHarness tab;
  tab.workspace.record.Current.ExcessAmount = "250.00";
  tab.workspace.record.Current.LoadPercentage = "0";
  tab.Start();
  EXPECT_TRUE(tab.workspace.premium.ExcessEntered);
  EXPECT_FALSE(tab.workspace.premium.LoadPercentageEntered);
}

}  // namespace
}  // namespace cn::cover_testing

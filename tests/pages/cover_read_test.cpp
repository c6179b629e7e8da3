// Reading a cover note on the Cover tab: what each answer of the back end tells the
// administrator, the title, the Save button, the previous document of a transfer or an
// extension, and a read left for the tab as it opens.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/separators.h"
#include "cover_tab_harness.h"
#include "dom/user_actions.h"
#include "workspace/tab_transfer.h"

namespace cn::cover_testing {
namespace {

using testing::ShownBox;
using testing::ShownMessage;

const std::string kAgent = "AG001";

std::string Params(std::string_view number, std::string_view mode) {
  return std::string(number) + std::string(ParamSeparator) + kAgent +
         std::string(ParamSeparator) + std::string(mode);
}

class CoverReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tab.SetSystemCodes({{"1031", "TBA"}, {"1025", "6"}});
    tab.Start();
  }
  void Answer(std::string_view number, std::string reply, std::int32_t status) {
    tab.world.backend.Answer("KivoGIUWR.CoverNote.ReadAdmin", Params(number, "0"),
                             std::move(reply), status);
  }
  CoverTabHarness tab;
};

// ---- A cover note open for amendment --------------------------------------------------------

TEST_F(CoverReadTest, SaveOpensOnlyForAReferredRiskOnARegisteredVehicle) {
  struct Case {
    std::string_view status;
    std::string_view vehicle;
    std::string_view trailer;
    bool save;
    std::string_view status_bar;
  };
  const Case cases[] = {
      {"C", "WXY1234", "", false,
       "Shown read-only: this cover note is cancelled; only a referred risk can be amended."},
      // the placeholder number on the trailer, whatever its case
      {"R", "WXY1234", "Tba", false,
       "Shown read-only: the trailer is not registered yet, so its cover cannot be amended."},
      {"R", "WXY1234", "TR99", true, "Referred risk: amend the premium, calculate and save."},
      // a status the list does not know is shown by its code
      {"Z", "WXY1234", "", false,
       "Shown read-only: this cover note is z; only a referred risk can be amended."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.status) + " " + std::string(c.vehicle) + " " +
                 std::string(c.trailer));
    Answer("CN100", ReadAdminReply({{"CoverNoteStatus", c.status}, {"VehicleNo", c.vehicle},
                                    {"TrailerNo", c.trailer}}),
           0);
    tab.ReadCoverNote("CN100");
    EXPECT_EQ(tab.SaveEnabled(), c.save);
    EXPECT_EQ(tab.shell().Status(), c.status_bar);
  }
}

// Showing is not amending: a record shown and taken back from the tab is the record read,
// codes the fixed lists lack included.
TEST_F(CoverReadTest, ShowingAndTakingBackTheTabLeavesTheRecordAsRead) {
  tab.SetSystemCodes({{"1031", "TBA"}, {"1025", "6"}, {"1030", "THE INSURED"}, {"1061", "01"}});
  Answer("CN100", ReadAdminReply({{"TransactionType", "P"}, {"CoverNoteStatus", "R"},
                                  {"ClientType", "P"}, {"MotorCoverCode", "01"},
                                  {"VehicleNo", "WXY1234"}, {"Hazard", "1"},
                                  {"ServiceTaxPercentage", "8"}, {"Gender", "F"},
                                  {"DriverNames", "THE INSURED"}, {"DriverICNos", "800101-01-1234"}}),
         0);
  tab.ReadCoverNote("CN100");
  const CoverNoteFields read = tab.workspace.record.Current;
  EXPECT_EQ(tab.element("cboTransactionType").Value(), "P");
  ASSERT_EQ(read.DriverICNos, (std::vector<std::string>{"800101-01-1234"}));
  EXPECT_EQ(read.Hazard, "1");
  EXPECT_EQ(read.ServiceTaxPercentage, "8.00");

  SavePageToRecord(tab.workspace, kCoverTabId, tab.page());
  EXPECT_EQ(tab.workspace.record.Current.TransactionType, "P");
  EXPECT_EQ(tab.workspace.record.Current.DriverICNos, read.DriverICNos);
  EXPECT_EQ(tab.workspace.record.Current.Hazard, "1");
  EXPECT_EQ(tab.workspace.record.Current.ServiceTaxPercentage, "8.00");
  EXPECT_EQ(tab.workspace.record.Current.Gender, "F");
  // Shown, the client's boxes stay locked.
  EXPECT_TRUE(tab.element("cboGender").Disabled());
  EXPECT_TRUE(tab.element("cboMaritalStat").Disabled());
}

// ---- What is sent ---------------------------------------------------------------------------

TEST_F(CoverReadTest, AnEmptyNumberAsksForOneAndSendsNothing) {
  tab.RunUserAction([&] { dom::UserClick(tab.element("cmdReadCNoteNo")); });
  EXPECT_EQ(tab.world.messages.shown,
            (std::vector<ShownMessage>{{1010001, "Get Cover Note", {"", "", "", "", ""}}}));
  EXPECT_TRUE(tab.SentParameters("KivoGIUWR.CoverNote.ReadAdmin").empty());
}

TEST_F(CoverReadTest, ARefusedNumberIsClearedAndNotSent) {
  tab.RefuseNumber("CN1??");
  tab.ReadCoverNote("CN1??");
  EXPECT_EQ(tab.dialogs->boxes,
            (std::vector<ShownBox>{{"Invalid cover note number.", 48, "Invalid Format"}}));
  EXPECT_EQ(tab.element("txtCoverNoteNumber").Value(), "");
  EXPECT_TRUE(tab.SentParameters("KivoGIUWR.CoverNote.ReadAdmin").empty());
}

TEST_F(CoverReadTest, EnterInTheNumberOrOnTheButtonReadsAsAClickDoes) {
  Answer("CN100", ReadAdminReply({{"CoverNoteStatus", "R"}, {"VehicleNo", "WXY1234"}}), 0);
  tab.RunUserAction([&] {
    dom::TypeText(tab.element("txtCoverNoteNumber"), "CN100");
    dom::PressKey(tab.element("txtCoverNoteNumber"), 13);
  });
  EXPECT_EQ(tab.SentParameters("KivoGIUWR.CoverNote.ReadAdmin"),
            (std::vector<std::string>{Params("CN100", "0")}));
  EXPECT_TRUE(tab.SaveEnabled());

  tab.RunUserAction([&] { dom::PressKey(tab.element("cmdReadCNoteNo"), 13); });
  EXPECT_EQ(tab.SentParameters("KivoGIUWR.CoverNote.ReadAdmin").size(), 2u);

  tab.RunUserAction([&] { dom::PressKey(tab.element("txtCoverNoteNumber"), 27); });
  EXPECT_EQ(tab.SentParameters("KivoGIUWR.CoverNote.ReadAdmin").size(), 2u);
}

// ---- The previous document of a transfer or an extension ------------------------------------

// Reading one is in the golden transfer and extension scenarios; a policy the back end cannot
// read leaves the previous copy as defaulted.
TEST_F(CoverReadTest, APreviousPolicyTheBackEndCannotReadLeavesThePreviousCopyEmpty) {
  tab.RefuseNumber("P/99/0001");
  tab.world.backend.AnswerAny("Tarvin.Policy.Read", "", 1);
  Answer("CN100",
         ReadAdminReply({{"TransactionType", "E"},
                         {"PreviousDocumentNo", "P/99/0001"},
                         {"CoverNoteStatus", "R"},
                         {"ClientName", "TAN AH KOW"}}),
         0);
  tab.ReadCoverNote("CN100");
  EXPECT_EQ(tab.SentParameters("Tarvin.Policy.Read"),
            std::vector<std::string>{Params("P/99/0001", "1")});
  EXPECT_EQ(tab.workspace.record.Previous.ClientName, "");
  EXPECT_EQ(tab.workspace.record.Current.ClientName, "TAN AH KOW");
}

// ---- Opening the tab ------------------------------------------------------------------------

TEST(CoverTabLoad, APendingReadOfThisTabRunsAsItOpens) {
  CoverTabHarness tab;
  tab.SetSystemCodes({{"1031", "TBA"}});
  tab.world.backend.Answer(
      "KivoGIUWR.CoverNote.ReadAdmin", Params("CN777", "0"),
      ReadAdminReply({{"CoverNoteStatus", "R"}, {"VehicleNo", "WXY1"}, {"ClientName", "LIM"}}));
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
  for (const char* command :
       {"COVVeh;ReadCoverNote;CN777", "COVCover;Something;CN777", "COVCover;ReadCoverNote"}) {
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

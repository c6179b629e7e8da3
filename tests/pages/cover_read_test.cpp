// Reading a cover note on the Cover tab: what each answer of the back end tells the
// administrator, the title, the Save button, and the previous document of a transfer or an
// extension.

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

// ---- Answers that refuse the amendment ------------------------------------------------------

struct Refusal {
  std::int32_t code;
  std::int32_t message;
  std::vector<std::string> parameters;
};

TEST_F(CoverReadTest, EachRefusalShowsItsNumberedMessageAndLeavesSaveOff) {
  const Refusal refusals[] = {
      {1, 1010001, {"", "", "", "", ""}},
      {2, 1210029, {"This cover note", "", "", "", ""}},
      {3, 1210030, {"", "", "", "", ""}},
      {4, 2010010, {"Cover note", "submitted", "Amendments", "", ""}},
      {5, 2010010, {"Cover note", "determined Unused", "Amendments", "", ""}},
      {8, 1319999, {"", "", "", "", ""}},
      {-3, 1319999, {"", "", "", "", ""}},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.code);
    tab.world.messages.shown.clear();
    Answer("CN100", "", refusal.code);
    tab.ReadCoverNote("CN100");
    EXPECT_EQ(tab.world.messages.shown,
              (std::vector<ShownMessage>{{refusal.message, "Get Cover Note", refusal.parameters}}));
    // Nothing read stands beside the refused number, which waits selected for a correction.
    EXPECT_EQ(tab.element("txtName").Value(), "");
    EXPECT_EQ(tab.element("txtCoverNoteNumber").Value(), "CN100");
    EXPECT_EQ(tab.workspace.read.LoadedCoverNoteNo, "");
    EXPECT_EQ(tab.shell().Title(), kScreenTitleText);
    EXPECT_FALSE(tab.SaveEnabled());
    EXPECT_FALSE(tab.workspace.premium.FactorsChangedNewTariff);
    EXPECT_TRUE(tab.dialogs->boxes.empty());
  }
}

TEST_F(CoverReadTest, AVoidedCoverNoteIsToldInAnInformationBox) {
  Answer("CN100", "", 7);
  tab.ReadCoverNote("CN100");
  EXPECT_EQ(tab.dialogs->boxes,
            (std::vector<ShownBox>{{"This cover note has been voided.", 64, "Get Cover Note"}}));
  EXPECT_TRUE(tab.world.messages.shown.empty());
  EXPECT_FALSE(tab.SaveEnabled());
}

TEST_F(CoverReadTest, AnUploadedCoverNoteEmptiesTheTab) {
  Answer("CN100", ReadAdminReply({{"ClientName", "TAN AH KOW"}, {"CoverNoteStatus", "R"},
                                  {"VehicleNo", "WXY1234"}}),
         0);
  tab.ReadCoverNote("CN100");
  ASSERT_EQ(tab.element("txtName").Value(), "TAN AH KOW");

  Answer("CN200", "", 6);
  tab.ReadCoverNote("CN200");
  EXPECT_EQ(tab.dialogs->boxes,
            (std::vector<ShownBox>{{"Record has been uploaded to host. No amendment allowed.", 64,
                                    "Get Cover Note"}}));
  EXPECT_EQ(tab.element("txtName").Value(), "");
  EXPECT_EQ(tab.element("txtVehicleNumber").Value(), "");
  EXPECT_EQ(tab.workspace.record.Current.ClientName, "");
  EXPECT_EQ(tab.shell().Title(), kScreenTitleText);
  EXPECT_FALSE(tab.SaveEnabled());
}

// ---- A cover note open for amendment --------------------------------------------------------

TEST_F(CoverReadTest, AReadCoverNoteIsShownWithItsNumberInTheTitle) {
  Answer("cn100", ReadAdminReply({{"ClientName", "TAN AH KOW"}, {"CoverNoteStatus", "R"},
                                  {"VehicleNo", "wxy1234"}}),
         0);
  tab.ReadCoverNote("cn100");
  EXPECT_EQ(tab.shell().Title(), std::string(kScreenTitleText) + " : CN100");
  EXPECT_EQ(tab.element("txtName").Value(), "TAN AH KOW");
  EXPECT_EQ(tab.element("txtVehicleNumber").Value(), "WXY1234");
  EXPECT_EQ(tab.element("cboCNStatus").Value(), "R");
  EXPECT_TRUE(tab.workspace.read.RecordShown);
  EXPECT_EQ(tab.workspace.read.LoadedCoverNoteNo, "cn100");
  EXPECT_TRUE(tab.workspace.premium.FactorsChangedNewTariff);
  EXPECT_TRUE(tab.world.messages.shown.empty());
  EXPECT_TRUE(tab.dialogs->boxes.empty());
}

TEST_F(CoverReadTest, SaveOpensOnlyForAReferredRiskOnARegisteredVehicle) {
  struct Case {
    std::string_view status;
    std::string_view vehicle;
    std::string_view trailer;
    bool save;
    std::string_view status_bar;
  };
  const Case cases[] = {
      {"R", "WXY1234", "", true, "Referred risk: amend the premium, calculate and save."},
      {"I", "WXY1234", "", false,
       "Shown read-only: this cover note is issued; only a referred risk can be amended."},
      {"C", "WXY1234", "", false,
       "Shown read-only: this cover note is cancelled; only a referred risk can be amended."},
      // the placeholder number, whatever its case
      {"R", "tba", "", false,
       "Shown read-only: the vehicle is not registered yet, so its cover cannot be amended."},
      // on the trailer too
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

TEST_F(CoverReadTest, AFailedReadAfterAGoodOneTurnsSaveOffAgain) {
  Answer("CN100", ReadAdminReply({{"CoverNoteStatus", "R"}, {"VehicleNo", "WXY1234"}}), 0);
  tab.ReadCoverNote("CN100");
  ASSERT_TRUE(tab.SaveEnabled());
  Answer("CN200", "", 3);
  tab.ReadCoverNote("CN200");
  EXPECT_FALSE(tab.SaveEnabled());
  EXPECT_EQ(tab.shell().Title(), kScreenTitleText);
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

TEST(CoverReadPrevious, ATransferOrAnExtensionReadsItsPreviousDocument) {
  struct Case {
    std::string_view type;
    std::string_view previous;
    bool policy;                 // the number is no cover note number
    std::int32_t policy_status;  // the back end's answer to the policy read
  };
  const Case cases[] = {
      {"E", "P/99/0001", true, 0},
      {"T", "CN050", false, 0},
      // A policy the back end cannot read leaves the previous copy as defaulted.
      {"E", "P/99/0001", true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + std::string(c.previous));
    CoverTabHarness tab;
    tab.SetSystemCodes({{"1031", "TBA"}, {"1025", "6"}});
    tab.Start();
    if (c.policy) tab.RefuseNumber(std::string(c.previous));
    tab.world.backend.AnswerAny("Tarvin.Policy.Read", "", c.policy_status);
    tab.world.backend.Answer("KivoGIUWR.CoverNote.ReadAdmin", Params("CN100", "0"),
                             ReadAdminReply({{"TransactionType", c.type},
                                             {"PreviousDocumentNo", c.previous},
                                             {"CoverNoteStatus", "R"},
                                             {"ClientName", "TAN AH KOW"}}));
    tab.ReadCoverNote("CN100");
    const std::vector<std::string> read = {Params(c.previous, "1")};
    EXPECT_EQ(tab.SentParameters("Tarvin.Policy.Read"),
              c.policy ? read : std::vector<std::string>{});
    EXPECT_EQ(tab.SentParameters("KivoGIUWR.CoverNote.Read"),
              c.policy ? std::vector<std::string>{} : read);
    EXPECT_EQ(tab.workspace.record.Previous.ClientName, "");
    EXPECT_EQ(tab.workspace.record.Current.ClientName, "TAN AH KOW");
  }
}

}  // namespace
}  // namespace cn::cover_testing

// The Cover tab's client block: reading and finding clients, the personal and company types,
// the identity numbers and the contact fields, as the administrator sees them and as the back
// end and the save receive them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/separators.h"
#include "cover_fields_fixture.h"
#include "dom/user_actions.h"
#include "dom/window.h"

namespace cn::cover_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kExclamation = dom::message_box::kExclamation;

// A person as the client master replies it, with dashed telephones and an LF address.
std::string PersonalClient(std::string_view code = "C001", std::string_view name = "o'brien ali") {
  return Fields({code, name, "a1234567", "800111-01-1123", "", "M", "11-Jan-1980", "M", "MAL",
                 "12 jalan satu\nTaman Dua\nKuala Lumpur", "KUALA LUMPUR", "50000", "14", "0",
                 "03-1234-5678", "", "012-345 6789", "Ali@Example.com", "K77"});
}

std::string CompanyClient() {
  return Fields({"C900", "syarikat maju", "", "", "123456-x", "", "", "", "", "Lot 5", "IPOH",
                 "30000", "10", "0", "05-111", "05-222", "", "info@maju.com", "K90"});
}

void ReadClientCode(CoverTabWorld& world, std::string_view code) {
  world.Get("txtClientCode").SetValue(code);
  dom::UserClick(world.Get("cmdReadClientCode"));
}

TEST(ClientRead, ShowsAPersonAndKeepsTheClientAsRead) {
  CoverTabWorld world;
  world.fakes.backend.Answer("KivoGlobal.Client.Read", "C001", PersonalClient());
  world.Get("chkNewAdd").SetChecked(true);

  ReadClientCode(world, " C001 ");

  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Read"), ElementsAre("C001"));
  const std::pair<std::string_view, std::string_view> shown[] = {
      {"txtClientCode", "C001"},       {"txtName", "o'brien ali"},
      {"txtNRIC", "800111-01-1123"},   {"txtOldNRIC", "a1234567"},
      {"txtDOB", "11-Jan-1980"},       {"cboGender", "M"},
      {"cboMaritalStat", "M"},         {"cboNationality", "MAL"},
      {"txtAddress", "12 jalan satu"}, {"txtAddress2", "Taman Dua"},
      {"txtAddress3", "Kuala Lumpur"}, {"txtAddress4", ""},
      {"txtPostal", "50000"},          {"cboState", "14"},
      {"txtHouseTel", "0312345678"},   {"txtMobileTel", "012345 6789"},
      {"txtEmail", "Ali@Example.com"},
  };
  for (const auto& [box, value] : shown) EXPECT_EQ(world.Get(box).Value(), value) << box;
  EXPECT_TRUE(world.Get("optPersonalType").Checked());
  EXPECT_FALSE(world.Get("optCompanyType").Checked());
  EXPECT_TRUE(world.Get("txtBusinessRegistration").Disabled());
  EXPECT_TRUE(world.Get("optFTZYes").Disabled());
  EXPECT_FALSE(world.Get("chkNewAdd").Checked());

  EXPECT_EQ(world.workspace.record.Current.Address, "12 jalan satu\nTaman Dua\nKuala Lumpur");
  // The client as read is what a later save compares with: names upper-cased, the e-mail not.
  const ClientDetails& as_read = world.workspace.client.ClientAsRead;
  EXPECT_EQ(as_read.Key, "K77");
  EXPECT_EQ(as_read.ClientName, "O'BRIEN ALI");
  EXPECT_EQ(as_read.Address, "12 JALAN SATU\nTAMAN DUA\nKUALA LUMPUR");
  EXPECT_EQ(as_read.Email, "Ali@Example.com");
  EXPECT_EQ(world.workspace.transfer.ClientCopy.ClientCode, "C001");
}

TEST(ClientRead, ACompanyHidesThePersonalDetails) {
  CoverTabWorld world;
  world.fakes.backend.Answer("KivoGlobal.Client.Read", "C900", CompanyClient());
  world.Get("txtNRIC").SetValue("800111-01-1123");
  world.Get("txtDOB").SetValue("11-Jan-1980");
  world.workspace.record.Current.DriverNames = {"ALI", "AHMAD"};
  world.workspace.premium.BasicPremiumEntered = true;

  ReadClientCode(world, "C900");

  EXPECT_TRUE(world.Get("optCompanyType").Checked());
  EXPECT_FALSE(world.Get("optPersonalType").Checked());
  EXPECT_EQ(world.Get("txtBusinessRegistration").Value(), "123456-x");
  for (const std::string_view box :
       {"txtOldNRIC", "txtNRIC", "txtDrivingLicenseNumber", "txtLicenseDate", "txtDOB"}) {
    SCOPED_TRACE(std::string(box));
    EXPECT_EQ(world.Get(box).Value(), "");
    EXPECT_TRUE(world.Get(box).Disabled());
  }
  for (const std::string_view select : {"cboGender", "cboMaritalStat"}) {
    SCOPED_TRACE(std::string(select));
    EXPECT_EQ(world.Get(select).SelectedIndex(), -1);
    EXPECT_TRUE(world.Get(select).Disabled());
    EXPECT_EQ(world.Get(select).GetStyle(dom::StyleName::kBackgroundColor), "#BFBFBF");
  }
  EXPECT_FALSE(world.Get("optFTZYes").Disabled());

  const Workspace& ws = world.workspace;
  EXPECT_EQ(ws.record.Current.ClientType, "C");
  EXPECT_TRUE(ws.client.ClientTypeIsCompany);
  EXPECT_THAT(ws.record.Current.DriverNames, ElementsAre(""));
  EXPECT_TRUE(ws.premium.FactorsChangedNewTariff);
  EXPECT_FALSE(ws.premium.BasicPremiumEntered);
  EXPECT_EQ(ws.client.ClientAsRead.BusinessRegistrationNo, "123456-X");
}

TEST(ClientRead, APersonAfterACompanyGetsThePersonalBoxesBack) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1025", "6"}});
  world.fakes.backend.Answer("KivoGlobal.Client.Read", "C900", CompanyClient());
  world.fakes.backend.Answer("KivoGlobal.Client.Read", "C001", PersonalClient());
  ReadClientCode(world, "C900");
  world.workspace.record.Current.ServiceTaxPercentage = "0";

  ReadClientCode(world, "C001");

  EXPECT_FALSE(world.Get("txtNRIC").Disabled());
  EXPECT_EQ(world.Get("txtNRIC").Value(), "800111-01-1123");
  EXPECT_FALSE(world.Get("cboGender").Disabled());
  EXPECT_EQ(world.Get("cboGender").GetStyle(dom::StyleName::kBackgroundColor), "");
  EXPECT_EQ(world.Get("txtBusinessRegistration").Value(), "");
  EXPECT_EQ(world.workspace.record.Current.ServiceTaxPercentage, "6");
  EXPECT_FALSE(world.workspace.client.ClientTypeIsCompany);
}

TEST(ClientRead, FailuresSayWhyAndKeepTheFocusOnTheCode) {
  struct Case {
    std::int32_t status;
    std::string_view message;
  };
  for (const Case& expected :
       {Case{1, "Record Not Found."},
        Case{7,
             "An unknown error has occurred. Please consult your system administrator "
             "immediately."}}) {
    SCOPED_TRACE(expected.status);
    CoverTabWorld world;
    world.fakes.backend.Answer("KivoGlobal.Client.Read", "C404", "", expected.status);
    world.Get("txtName").SetValue("KEPT");

    ReadClientCode(world, "C404");

    EXPECT_THAT(world.dialogs->boxes, ElementsAre(testing::ShownBox{std::string(expected.message),
                                                                    kExclamation, "Get Client"}));
    EXPECT_EQ(world.page->ActiveElement()->Id(), "txtClientCode");
    EXPECT_EQ(world.Get("txtName").Value(), "KEPT");
  }
}

TEST(ClientRead, EnterInTheCodeBoxReadsLikeTheButton) {
  CoverTabWorld world;
  world.fakes.backend.Answer("KivoGlobal.Client.Read", "C001", PersonalClient());
  dom::TypeText(world.Get("txtClientCode"), "C001");
  dom::PressKey(world.Get("txtClientCode"), 9);
  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Read"), IsEmpty());
  dom::PressKey(world.Get("txtClientCode"), 13);
  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Read"), ElementsAre("C001"));
  EXPECT_EQ(world.Get("txtName").Value(), "o'brien ali");
}

TEST(ClientSearch, TheEnquiryDialogChoosesTheClientToRead) {
  CoverTabWorld world;
  world.fakes.backend.Answer("KivoGlobal.Client.Read", "C001", PersonalClient());
  world.dialogs->dialog_result = " C001 ";

  dom::UserClick(world.Get("cmdSearchClientCode"));

  ASSERT_EQ(world.dialogs->dialogs.size(), 1u);
  EXPECT_EQ(world.dialogs->dialogs[0].url, "dlgEnq.htm");
  EXPECT_EQ(world.dialogs->dialogs[0].argument, "Client Enquiry" + std::string(DialogArgSeparator) +
                                                    "AG001" + std::string(DialogArgSeparator) +
                                                    "ADMIN1");
  EXPECT_EQ(world.Get("txtClientCode").Value(), "C001");
  EXPECT_EQ(world.Get("txtName").Value(), "o'brien ali");

  world.dialogs->dialog_result = "";
  dom::UserClick(world.Get("cmdSearchClientCode"));
  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Read"), ElementsAre("C001"));
}

std::string ValidateParameters(std::string_view name, std::string_view number) {
  return std::string(name) + std::string(ParamSeparator) + std::string(number);
}

void TypeNameAndNRIC(CoverTabWorld& world, std::string_view name, std::string_view nric) {
  world.Get("txtName").SetValue(name);
  dom::TypeText(world.Get("txtNRIC"), nric);
  dom::UserBlur(world.Get("txtNRIC"));
}

TEST(ClientValidate, OneMatchIsReadAndShownWithTheApostropheDoubled) {
  CoverTabWorld world;
  world.fakes.backend.AnswerAny("KivoGlobal.Client.Validate", PersonalClient());
  world.fakes.backend.Answer("KivoGlobal.Client.Read", "C001", PersonalClient());

  TypeNameAndNRIC(world, " O'Brien Ali ", "800111011123");

  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Validate"),
              ElementsAre(ValidateParameters("O''Brien Ali", "800111-01-1123")));
  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Read"), ElementsAre("C001"));
  EXPECT_EQ(world.Get("txtClientCode").Value(), "C001");
  EXPECT_THAT(world.dialogs->dialogs, IsEmpty());
}

TEST(ClientValidate, SeveralMatchesAreOfferedToChooseFrom) {
  CoverTabWorld world;
  world.fakes.backend.AnswerAny(
      "KivoGlobal.Client.Validate",
      Records({PersonalClient("C001", "ALI ONE"), PersonalClient("C002", "ALI TWO")}));
  world.dialogs->dialog_result = "C002";

  TypeNameAndNRIC(world, "ALI", "800111-01-1123");

  ASSERT_EQ(world.dialogs->dialogs.size(), 1u);
  EXPECT_EQ(world.dialogs->dialogs[0].url, "dlgEnq.htm");
  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Read"), IsEmpty());
  EXPECT_EQ(world.Get("txtClientCode").Value(), "C002");
  EXPECT_EQ(world.Get("txtName").Value(), "ALI TWO");
  EXPECT_EQ(world.workspace.client.ClientAsRead.ClientCode, "C002");
}

TEST(ClientValidate, NoMatchOrAKnownClientChangesNothing) {
  struct Case {
    std::string_view label;
    std::string_view client_code;
    std::string_view record_nric;
    std::string_view typed;
    bool sent;
  };
  for (const Case& expected :
       {Case{"no match", "", "", "800111-01-1123", true},
        Case{"client shown", "C001", "", "800111-01-1123", false},
        Case{"number of the record", "", "800111-01-1123", "800111011123", false},
        Case{"nil", "", "", "NA", false}}) {
    SCOPED_TRACE(std::string(expected.label));
    CoverTabWorld world;
    world.Get("txtClientCode").SetValue(expected.client_code);
    world.workspace.record.Current.NRIC = expected.record_nric;

    TypeNameAndNRIC(world, "ALI", expected.typed);

    EXPECT_EQ(world.ParametersSent("KivoGlobal.Client.Validate").size(), expected.sent ? 1u : 0u);
    EXPECT_EQ(world.Get("txtName").Value(), "ALI");
    EXPECT_THAT(world.dialogs->dialogs, IsEmpty());
  }
}

TEST(ClientValidate, ACompanyIsLookedForByItsRegistration) {
  CoverTabWorld world;
  world.Get("txtName").SetValue("MAJU'S");
  dom::TypeText(world.Get("txtBusinessRegistration"), "--123456-x");
  dom::UserBlur(world.Get("txtBusinessRegistration"));
  EXPECT_EQ(world.Get("txtBusinessRegistration").Value(), "123456-X");
  EXPECT_EQ(world.workspace.transfer.ClientCopy.BusinessRegistrationNo, "123456-X");
  EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Validate"),
              ElementsAre(ValidateParameters("MAJU''S", "123456-X")));
}

// The identity numbers as they are left, with a client shown.
struct IdentityCase {
  std::string_view box;
  std::string_view typed;
  std::string_view shown;
  std::string_view kept;             // in the client the save writes
  std::vector<std::string> message;  // 2310003's parameters; none when the number is valid
};

TEST(ClientIdentityNumbers, AreCheckedAndWrittenInTheirForm) {
  const std::vector<IdentityCase> cases = {
      {"txtNRIC", "--800111--01-1123", "800111-01-1123", "800111-01-1123", {}},
      {"txtNRIC", "800111/01/1123", "", "", {"New", "800111-01-1123", "", "", ""}},
      {"txtOldNRIC", "a1234567", "a1234567", "A1234567", {}},
      {"txtOldNRIC", "A12345678", "", "", {"Old", "A1234567", "", "", ""}},
  };
  for (const IdentityCase& expected : cases) {
    SCOPED_TRACE(std::string(expected.box) + " " + std::string(expected.typed));
    CoverTabWorld world;
    world.Get("txtClientCode").SetValue("C001");
    dom::TypeText(world.Get(expected.box), expected.typed);
    dom::UserBlur(world.Get(expected.box));

    EXPECT_EQ(world.Get(expected.box).Value(), expected.shown);
    const ClientDetails& copy = world.workspace.transfer.ClientCopy;
    EXPECT_EQ(expected.box == "txtNRIC" ? copy.NRIC : copy.OldNRIC, expected.kept);
    if (expected.message.empty()) {
      EXPECT_THAT(world.fakes.messages.shown, IsEmpty());
    } else {
      EXPECT_THAT(world.fakes.messages.shown, ElementsAre(testing::ShownMessage{
                                                  2310003, "Invalid IC Number", expected.message}));
    }
    EXPECT_THAT(world.ParametersSent("KivoGlobal.Client.Validate"), IsEmpty());
  }
}

TEST(ClientIdentityNumbers, AnOldNumberClickedIsKeptOnlyWithAClientShown) {
  CoverTabWorld world;
  world.Get("txtOldNRIC").SetValue("b7654321");
  dom::UserClick(world.Get("txtOldNRIC"));
  EXPECT_EQ(world.workspace.transfer.ClientCopy.OldNRIC, "");
  world.Get("txtClientCode").SetValue("C001");
  dom::UserClick(world.Get("txtOldNRIC"));
  EXPECT_EQ(world.workspace.transfer.ClientCopy.OldNRIC, "B7654321");
}

TEST(ClientAddress, AFirstLineOfFewerThanTwoCharactersIsRefused) {
  for (const std::string_view typed : {"", "A", "AB"}) {
    SCOPED_TRACE(std::string(typed));
    CoverTabWorld world;
    world.Get("txtAddress").SetValue(typed);
    dom::UserFocus(world.Get("txtAddress"));
    dom::UserBlur(world.Get("txtAddress"));
    if (typed.size() < 2) {
      EXPECT_THAT(world.dialogs->boxes,
                  ElementsAre(testing::ShownBox{
                      "Invalid address!\r\nAddress must be at least 2 characters long.",
                      dom::message_box::kCritical, "Invalid Data"}));
    } else {
      EXPECT_THAT(world.dialogs->boxes, IsEmpty());
    }
  }
}

TEST(ClientPostcode, AValidPostcodeBringsItsTownAndState) {
  CoverTabWorld world;
  world.fakes.backend.Answer("KivoInsurance.Find.FindPostCodeDetails", "30000",
                             Fields({"IPOH", "10"}));
  dom::TypeText(world.Get("txtPostal"), "30000");
  dom::UserBlur(world.Get("txtPostal"));
  EXPECT_EQ(world.Get("txtTown").Value(), "IPOH");
  EXPECT_EQ(world.Get("cboState").Value(), "10");
  EXPECT_THAT(world.dialogs->boxes, IsEmpty());
}

TEST(ClientPostcode, ARejectedPostcodeTakesTownAndStateAwayAndKeepsTheFocus) {
  CoverTabWorld world;
  world.Get("txtTown").SetValue("IPOH");
  world.Get("cboState").SetValue("14");
  dom::TypeText(world.Get("txtPostal"), "3000");
  dom::UserClick(world.Get("txtEmail"));

  EXPECT_THAT(world.dialogs->boxes,
              ElementsAre(testing::ShownBox{"Invalid postcode", kExclamation, "Invalid Data"}));
  EXPECT_EQ(world.Get("txtPostal").Value(), "");
  EXPECT_EQ(world.Get("txtTown").Value(), "");
  EXPECT_EQ(world.Get("cboState").SelectedIndex(), 0);
  EXPECT_EQ(world.page->ActiveElement()->Id(), "txtPostal");
  EXPECT_THAT(world.ParametersSent("KivoInsurance.Find.FindPostCodeDetails"), IsEmpty());
}

// Contact details left with a client shown go into the client the save writes.
struct ContactCase {
  std::string_view box;
  std::string_view typed;
  std::string ClientDetails::*field;
  std::string_view kept;
};
const ContactCase kContactCases[] = {
    {"txtName", " tan ah kow ", &ClientDetails::ClientName, "TAN AH KOW"},
    {"txtHouseTel", " 03-1234 ", &ClientDetails::HouseTel, "03-1234"},
    {"txtBizTel", "05-777", &ClientDetails::BizTel, "05-777"},
    {"txtMobileTel", "012-3456789", &ClientDetails::MobileTel, "012-3456789"},
    {"txtEmail", "Tan@Example.com", &ClientDetails::Email, "Tan@Example.com"},
};

TEST(ClientContact, IsKeptForTheSaveOnlyWhileAClientIsShown) {
  for (const ContactCase& expected : kContactCases) {
    SCOPED_TRACE(std::string(expected.box));
    for (const bool client_shown : {false, true}) {
      CoverTabWorld world;
      world.Get("txtClientCode").SetValue(client_shown ? "C001" : "");
      world.Get(expected.box).SetValue(expected.typed);
      dom::UserFocus(world.Get(expected.box));
      dom::UserBlur(world.Get(expected.box));
      EXPECT_EQ(world.workspace.transfer.ClientCopy.*expected.field,
                client_shown ? expected.kept : "");
    }
  }
}

TEST(ClientContact, AnEmailAddressTakesNoSpaces) {
  CoverTabWorld world;
  dom::TypeText(world.Get("txtEmail"), "tan @example .com");
  EXPECT_EQ(world.Get("txtEmail").Value(), "tan@example.com");
}

TEST(ClientNewAddress, EmptiesTheAddressAndTakingItBackRestoresTheClientsAddress) {
  CoverTabWorld world;
  ClientDetails& as_read = world.workspace.client.ClientAsRead;
  as_read.ClientCode = "C001";
  as_read.Address = "12 JALAN SATU\r\nTAMAN DUA";
  as_read.PostalCode = "50000";
  as_read.Town = "KUALA LUMPUR";
  as_read.StateCode = "14";
  world.Get("txtClientCode").SetValue("C001");
  world.Get("txtAddress").SetValue("12 JALAN SATU");

  dom::UserClick(world.Get("chkNewAdd"));

  EXPECT_TRUE(world.workspace.client.NewAddress);
  for (const std::string_view box : {"txtClientCode", "txtAddress", "txtAddress2", "txtAddress3",
                                     "txtAddress4", "txtPostal", "txtTown"}) {
    EXPECT_EQ(world.Get(box).Value(), "") << box;
  }
  EXPECT_EQ(world.Get("cboState").SelectedIndex(), -1);

  dom::UserClick(world.Get("chkNewAdd"));

  EXPECT_FALSE(world.workspace.client.NewAddress);
  EXPECT_EQ(world.Get("txtClientCode").Value(), "C001");
  EXPECT_EQ(world.Get("txtAddress").Value(), "12 JALAN SATU");
  EXPECT_EQ(world.Get("txtAddress2").Value(), "TAMAN DUA");
  EXPECT_EQ(world.Get("txtAddress3").Value(), "");
  EXPECT_EQ(world.Get("txtPostal").Value(), "50000");
  EXPECT_EQ(world.Get("cboState").Value(), "14");
}

}  // namespace
}  // namespace cn::cover_testing

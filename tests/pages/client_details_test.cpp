// The Cover tab's client block: reading and finding clients, the personal and company types,
// the identity numbers and the contact fields, as the administrator sees them and as the back
// end and the save receive them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/separators.h"
#include "cover_fields_fixture.h"
#include "dom/window.h"

namespace cn::cover_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::ShownBox;
using Bools = std::vector<bool>;

constexpr int kExclamation = dom::message_box::kExclamation;
constexpr std::string_view kRead = "KivoGlobal.Client.Read";
constexpr std::string_view kValidate = "KivoGlobal.Client.Validate";

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
  world.Click("cmdReadClientCode");
}

TEST(ClientRead, ShowsAPersonAndKeepsTheClientAsRead) {
  CoverTabWorld world;
  world.fakes.backend.Answer(std::string(kRead), "C001", PersonalClient());
  world.Get("chkNewAdd").SetChecked(true);

  ReadClientCode(world, " C001 ");

  EXPECT_THAT(world.ParametersSent(kRead), ElementsAre("C001"));
  EXPECT_EQ(world.Values({"txtClientCode", "txtName", "txtNRIC", "txtOldNRIC", "txtDOB", "cboGender",
                          "cboMaritalStat", "cboNationality", "txtAddress", "txtAddress2", "txtAddress3",
                          "txtAddress4", "txtPostal", "cboState", "txtHouseTel", "txtMobileTel", "txtEmail"}),
            (Texts{"C001", "o'brien ali", "800111-01-1123", "a1234567", "11-Jan-1980", "M", "M", "MAL",
                   "12 jalan satu", "Taman Dua", "Kuala Lumpur", "", "50000", "14", "0312345678", "012345 6789",
                   "Ali@Example.com"}));
  EXPECT_EQ(world.States({"optPersonalType", "optCompanyType", "txtBusinessRegistration",
                          "optFTZYes", "chkNewAdd"}),
            (Texts{"checked", "", "disabled", "disabled", ""}));
  // The client as read is what a later save compares with: names upper-cased, the e-mail not.
  const ClientDetails& as_read = world.workspace.client.ClientAsRead;
  EXPECT_EQ((Texts{world.workspace.record.Current.Address, as_read.Key, as_read.ClientName,
                   as_read.Address, as_read.Email, world.workspace.transfer.ClientCopy.ClientCode}),
            (Texts{"12 jalan satu\nTaman Dua\nKuala Lumpur", "K77", "O'BRIEN ALI",
                   "12 JALAN SATU\nTAMAN DUA\nKUALA LUMPUR", "Ali@Example.com", "C001"}));
}

TEST(ClientRead, ACompanyHidesThePersonalDetailsAndAPersonAfterItGetsThemBack) {
  CoverTabWorld world;
  world.SetSystemCodes({{"1025", "6"}});
  world.fakes.backend.Answer(std::string(kRead), "C900", CompanyClient());
  world.fakes.backend.Answer(std::string(kRead), "C001", PersonalClient());
  world.Get("txtNRIC").SetValue("800111-01-1123");
  world.Get("txtDOB").SetValue("11-Jan-1980");
  Workspace& ws = world.workspace;
  ws.record.Current.DriverNames = {"ALI", "AHMAD"};
  ws.premium.BasicPremiumEntered = true;

  ReadClientCode(world, "C900");

  const Ids personal = {"txtOldNRIC", "txtNRIC",   "txtDrivingLicenseNumber", "txtLicenseDate",
                        "txtDOB",     "cboGender", "cboMaritalStat"};
  EXPECT_EQ(world.States({"optCompanyType", "optPersonalType", "optFTZYes"}), (Texts{"checked", "", ""}));
  EXPECT_EQ(world.Values(personal), Texts(7));
  EXPECT_EQ(world.States(personal), Texts(7, "disabled"));
  for (const std::string_view select : {"cboGender", "cboMaritalStat"}) {
    EXPECT_EQ(world.Get(select).GetStyle(dom::StyleName::kBackgroundColor) +
                  std::to_string(world.Get(select).SelectedIndex()),
              "#BFBFBF-1");
  }
  EXPECT_EQ((Texts{world.Get("txtBusinessRegistration").Value(), ws.record.Current.ClientType,
                   ws.client.ClientAsRead.BusinessRegistrationNo}),
            (Texts{"123456-x", "C", "123456-X"}));
  EXPECT_THAT(ws.record.Current.DriverNames, ElementsAre(""));
  EXPECT_EQ((Bools{ws.client.ClientTypeIsCompany, ws.premium.FactorsChangedNewTariff,
                   ws.premium.BasicPremiumEntered}),
            (Bools{true, true, false}));

  ws.record.Current.ServiceTaxPercentage = "0";
  ReadClientCode(world, "C001");

  EXPECT_EQ(world.Values({"txtNRIC", "txtBusinessRegistration"}), (Texts{"800111-01-1123", ""}));
  EXPECT_EQ(world.States({"txtNRIC", "cboGender"}), Texts(2));
  EXPECT_EQ(world.Get("cboGender").GetStyle(dom::StyleName::kBackgroundColor) +
                ws.record.Current.ServiceTaxPercentage + (ws.client.ClientTypeIsCompany ? "C" : ""),
            "6");
}

TEST(ClientRead, FailuresSayWhyAndKeepTheFocusOnTheCode) {
  const std::string unknown =
      "An unknown error has occurred. Please consult your system administrator immediately.";
  for (const auto& [status, message] : {std::pair{1, std::string("Record Not Found.")}, {7, unknown}}) {
    CoverTabWorld world;
    world.fakes.backend.Answer(std::string(kRead), "C404", "", status);
    world.Get("txtName").SetValue("KEPT");
    ReadClientCode(world, "C404");
    EXPECT_THAT(world.dialogs->boxes, ElementsAre(ShownBox{message, kExclamation, "Get Client"}));
    EXPECT_EQ(world.page->ActiveElement()->Id() + world.Get("txtName").Value(), "txtClientCodeKEPT");
  }
}

TEST(ClientRead, EnterInTheCodeBoxOrAChoiceInTheEnquiryDialogReadsTheClient) {
  CoverTabWorld world;
  world.fakes.backend.Answer(std::string(kRead), "C001", PersonalClient());
  dom::TypeText(world.Get("txtClientCode"), "C001");
  dom::PressKey(world.Get("txtClientCode"), 9);
  EXPECT_THAT(world.ParametersSent(kRead), IsEmpty());
  dom::PressKey(world.Get("txtClientCode"), 13);
  EXPECT_THAT(world.ParametersSent(kRead), ElementsAre("C001"));
  EXPECT_EQ(world.Get("txtName").Value(), "o'brien ali");

  world.Get("txtClientCode").SetValue("");
  world.Get("txtName").SetValue("");
  world.dialogs->dialog_result = " C001 ";
  world.Click("cmdSearchClientCode");
  EXPECT_EQ(world.Values({"txtClientCode", "txtName"}), (Texts{"C001", "o'brien ali"}));
  world.dialogs->dialog_result = "";
  world.Click("cmdSearchClientCode");
  EXPECT_THAT(world.dialogs->Opened(), ElementsAre("dlgEnq.htm Client Enquiry#AG001#ADMIN1",
                                                   "dlgEnq.htm Client Enquiry#AG001#ADMIN1"));
  EXPECT_THAT(world.ParametersSent(kRead), ElementsAre("C001", "C001"));
}

std::string ValidateParameters(std::string_view name, std::string_view number) {
  return std::string(name) + std::string(ParamSeparator) + std::string(number);
}

TEST(ClientValidate, OneMatchIsReadAndSeveralAreOfferedToChooseFrom) {
  CoverTabWorld world;
  world.fakes.backend.AnswerAny(std::string(kValidate), PersonalClient());
  world.fakes.backend.Answer(std::string(kRead), "C001", PersonalClient());
  world.Get("txtName").SetValue(" O'Brien Ali ");
  world.Leave("txtNRIC", "800111011123");
  // The apostrophe doubled for the back end.
  EXPECT_THAT(world.ParametersSent(kValidate),
              ElementsAre(ValidateParameters("O''Brien Ali", "800111-01-1123")));
  EXPECT_THAT(world.ParametersSent(kRead), ElementsAre("C001"));
  EXPECT_EQ(world.Get("txtClientCode").Value(), "C001");
  EXPECT_THAT(world.dialogs->dialogs, IsEmpty());

  CoverTabWorld several;
  several.fakes.backend.AnswerAny(std::string(kValidate),
                                  Records({PersonalClient("C001", "ALI ONE"), PersonalClient("C002", "ALI TWO")}));
  several.dialogs->dialog_result = "C002";
  several.Get("txtName").SetValue("ALI");
  several.Leave("txtNRIC", "800111-01-1123");
  EXPECT_EQ(several.dialogs->dialogs.size(), 1u);
  EXPECT_THAT(several.ParametersSent(kRead), IsEmpty());
  EXPECT_EQ(several.Values({"txtClientCode", "txtName"}), (Texts{"C002", "ALI TWO"}));
  EXPECT_EQ(several.workspace.client.ClientAsRead.ClientCode, "C002");
}

TEST(ClientValidate, NoMatchOrAKnownClientChangesNothing) {
  // No match is asked for; a client shown, the record's own number and "NA" ask nothing.
  // clang-format off
  struct Case { std::string_view client_code, record_nric, typed; std::size_t sent; };
  for (const Case& c : {Case{"", "", "800111-01-1123", 1}, Case{"C001", "", "800111-01-1123", 0},
                        Case{"", "800111-01-1123", "800111011123", 0}, Case{"", "", "NA", 0}}) {
    // clang-format on
    SCOPED_TRACE(std::string(c.client_code) + std::string(c.record_nric) + std::string(c.typed));
    CoverTabWorld world;
    world.Get("txtClientCode").SetValue(c.client_code);
    world.workspace.record.Current.NRIC = c.record_nric;
    world.Get("txtName").SetValue("ALI");
    world.Leave("txtNRIC", c.typed);
    EXPECT_EQ(world.ParametersSent(kValidate).size(), c.sent);
    EXPECT_EQ(world.Get("txtName").Value(), "ALI");
    EXPECT_THAT(world.dialogs->dialogs, IsEmpty());
  }
}

TEST(ClientValidate, ACompanyIsLookedForByItsRegistration) {
  CoverTabWorld world;
  world.Get("txtName").SetValue("MAJU'S");
  world.Leave("txtBusinessRegistration", "--123456-x");
  EXPECT_EQ(world.Get("txtBusinessRegistration").Value(), "123456-X");
  EXPECT_EQ(world.workspace.transfer.ClientCopy.BusinessRegistrationNo, "123456-X");
  EXPECT_THAT(world.ParametersSent(kValidate), ElementsAre(ValidateParameters("MAJU''S", "123456-X")));
}

// The identity numbers as they are left, with a client shown.
TEST(ClientIdentityNumbers, AreCheckedAndWrittenInTheirForm) {
  // `kept` in the client the save writes; `message` 2310003's parameters, none when the number is valid.
  struct Case { std::string_view box, typed, shown, kept; Texts message; };
  // clang-format off
  const Case cases[] = {
      {"txtNRIC", "--800111--01-1123", "800111-01-1123", "800111-01-1123", {}},
      {"txtNRIC", "800111/01/1123", "", "", {"New", "800111-01-1123", "", "", ""}},
      {"txtOldNRIC", "a1234567", "a1234567", "A1234567", {}},
      {"txtOldNRIC", "A12345678", "", "", {"Old", "A1234567", "", "", ""}}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.box) + " " + std::string(c.typed));
    CoverTabWorld world;
    world.Get("txtClientCode").SetValue("C001");
    world.Leave(c.box, c.typed);
    EXPECT_EQ(world.Get(c.box).Value(), c.shown);
    const ClientDetails& copy = world.workspace.transfer.ClientCopy;
    EXPECT_EQ(c.box == "txtNRIC" ? copy.NRIC : copy.OldNRIC, c.kept);
    std::vector<testing::ShownMessage> shown;
    if (!c.message.empty()) shown.push_back({2310003, "Invalid IC Number", c.message});
    EXPECT_EQ(world.fakes.messages.shown, shown);
    EXPECT_THAT(world.ParametersSent(kValidate), IsEmpty());
  }
  // An old number clicked is kept only with a client shown.
  CoverTabWorld world;
  world.Get("txtOldNRIC").SetValue("b7654321");
  world.Click("txtOldNRIC");
  const std::string before = world.workspace.transfer.ClientCopy.OldNRIC;
  world.Get("txtClientCode").SetValue("C001");
  world.Click("txtOldNRIC");
  EXPECT_EQ(before + "/" + world.workspace.transfer.ClientCopy.OldNRIC, "/B7654321");
}

TEST(ClientAddress, AFirstLineOfFewerThanTwoCharactersIsRefused) {
  const ShownBox refused{"Invalid address!\r\nAddress must be at least 2 characters long.",
                         dom::message_box::kCritical, "Invalid Data"};
  for (const std::string_view typed : {"", "A", "AB"}) {
    CoverTabWorld world;
    world.Visit("txtAddress", typed);
    EXPECT_EQ(world.dialogs->boxes, typed.size() < 2 ? std::vector{refused} : std::vector<ShownBox>{}) << typed;
  }
}

TEST(ClientPostcode, AValidOneBringsItsTownAndStateAndARejectedOneTakesThemAway) {
  CoverTabWorld world;
  world.fakes.backend.Answer("KivoInsurance.Find.FindPostCodeDetails", "30000", Fields({"IPOH", "10"}));
  world.Leave("txtPostal", "30000");
  EXPECT_EQ(world.Values({"txtTown", "cboState"}), (Texts{"IPOH", "10"}));
  EXPECT_THAT(world.dialogs->boxes, IsEmpty());

  CoverTabWorld rejected;
  rejected.Get("txtTown").SetValue("IPOH");
  rejected.Get("cboState").SetValue("14");
  dom::TypeText(rejected.Get("txtPostal"), "3000");
  rejected.Click("txtEmail");
  EXPECT_THAT(rejected.dialogs->boxes,
              ElementsAre(ShownBox{"Invalid postcode", kExclamation, "Invalid Data"}));
  EXPECT_EQ(rejected.Values({"txtPostal", "txtTown"}), Texts(2));
  EXPECT_EQ(rejected.page->ActiveElement()->Id() + std::to_string(rejected.Get("cboState").SelectedIndex()),
            "txtPostal0");
  EXPECT_THAT(rejected.ParametersSent("KivoInsurance.Find.FindPostCodeDetails"), IsEmpty());
}

// Contact details left with a client shown go into the client the save writes.
TEST(ClientContact, IsKeptForTheSaveOnlyWhileAClientIsShown) {
  // clang-format off
  struct Case { std::string_view box, typed; std::string ClientDetails::*field; std::string_view kept; };
  const Case cases[] = {
      {"txtName", " tan ah kow ", &ClientDetails::ClientName, "TAN AH KOW"},
      {"txtHouseTel", " 03-1234 ", &ClientDetails::HouseTel, "03-1234"},
      {"txtBizTel", "05-777", &ClientDetails::BizTel, "05-777"},
      {"txtMobileTel", "012-3456789", &ClientDetails::MobileTel, "012-3456789"},
      {"txtEmail", "Tan@Example.com", &ClientDetails::Email, "Tan@Example.com"}};
  // clang-format on
  for (const Case& c : cases) {
    for (const bool client_shown : {false, true}) {
      CoverTabWorld world;
      world.Get("txtClientCode").SetValue(client_shown ? "C001" : "");
      world.Visit(c.box, c.typed);
      EXPECT_EQ(world.workspace.transfer.ClientCopy.*c.field, client_shown ? c.kept : "")
          << c.box << (client_shown ? " with a client" : "");
    }
  }
  // An e-mail address takes no spaces.
  CoverTabWorld world;
  dom::TypeText(world.Get("txtEmail"), "tan @example .com");
  EXPECT_EQ(world.Get("txtEmail").Value(), "tan@example.com");
}

TEST(ClientNewAddress, EmptiesTheAddressAndTakingItBackRestoresTheClientsAddress) {
  CoverTabWorld world;
  ClientDetails& as_read = world.workspace.client.ClientAsRead;
  std::tie(as_read.ClientCode, as_read.Address, as_read.PostalCode, as_read.Town, as_read.StateCode) =
      std::tuple("C001", "12 JALAN SATU\r\nTAMAN DUA", "50000", "KL", "14");
  world.Get("txtClientCode").SetValue("C001");
  world.Get("txtAddress").SetValue("12 JALAN SATU");
  const Ids boxes = {"txtClientCode", "txtAddress",  "txtAddress2", "txtAddress3",
                     "txtPostal",     "txtAddress4", "txtTown",     "cboState"};

  world.Click("chkNewAdd");
  EXPECT_TRUE(world.workspace.client.NewAddress);
  EXPECT_EQ(world.Values(boxes), Texts(8));
  EXPECT_EQ(world.Get("cboState").SelectedIndex(), -1);
  world.Click("chkNewAdd");
  EXPECT_FALSE(world.workspace.client.NewAddress);
  EXPECT_EQ(world.Values(boxes),
            (Texts{"C001", "12 JALAN SATU", "TAMAN DUA", "", "50000", "", "KL", "14"}));
}

}  // namespace
}  // namespace cn::cover_testing

// The Cover tab's client block: reading a client from the client master by code or through
// the client enquiry, showing it, keeping it as read for the save, the personal and company
// types and the new-address box.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/separators.h"
#include "base/text.h"
#include "dom/events.h"
#include "dom/style.h"
#include "integration/fill_select.h"
#include "integration/list_search.h"
#include "integration/locking.h"
#include "integration/service_gateway.h"
#include "integration/system_codes.h"
#include "pages/cover/cnaa_cov.h"
#include "workspace/cover_tab_transfer.h"
#include "workspace/field_catalogue.h"
#include "workspace/licence.h"

namespace cn {
namespace {

constexpr int kEnterKey = 13;
constexpr std::int32_t kClientNotFound = 1;
constexpr std::int32_t kDefaultServiceTaxRate = 1025;
constexpr std::string_view kClientReadCommand = "KivoGlobal.Client.Read";
constexpr std::string_view kGetClientTitle = "Get Client";

constexpr std::string_view kClientEnquiryFeatures =
    "status=no; dialogwidth=700px; dialogheight=400px; help: no; resizable: no; center: yes';";

// How a position of the client master's reply is shown.
enum class Shown {
  kValue,
  kWithoutDashes,  // telephones: the record and the screen keep digits only
  kAddressLines,   // one line per address box
  kChecked,
};
// Whose details a position shows: identity documents differ for persons and companies.
enum class ShownFor { kEveryClient, kPersonal, kCompany };
// How the client as read keeps a position: it is compared with the edited client at the save.
enum class AsRead { kUpperCase, kAsIs, kWithoutDashes };

struct ClientReplyPosition {
  std::size_t position;
  std::string_view element_id;
  Shown shown;
  ShownFor shown_for;
  std::string CoverNoteFields::*record_field;  // null: the record does not keep it
  std::string ClientDetails::*as_read_field;   // null: the client as read does not keep it
  AsRead as_read;
};

// The "KivoGlobal.Client.Read" reply, position by position.
constexpr ClientReplyPosition kClientReply[] = {
    {0, "txtClientCode", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::ClientCode,
     &ClientDetails::ClientCode, AsRead::kUpperCase},
    {1, "txtName", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::ClientName,
     &ClientDetails::ClientName, AsRead::kUpperCase},
    {2, "txtOldNRIC", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::OldNRIC,
     &ClientDetails::OldNRIC, AsRead::kUpperCase},
    {3, "txtNRIC", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::NRIC,
     &ClientDetails::NRIC, AsRead::kUpperCase},
    {4, "txtBusinessRegistration", Shown::kValue, ShownFor::kCompany,
     &CoverNoteFields::BusinessRegistrationNo, &ClientDetails::BusinessRegistrationNo,
     AsRead::kUpperCase},
    {5, "cboGender", Shown::kValue, ShownFor::kPersonal, &CoverNoteFields::Gender,
     &ClientDetails::Gender, AsRead::kUpperCase},
    {6, "txtDOB", Shown::kValue, ShownFor::kPersonal, &CoverNoteFields::DateOfBirth,
     &ClientDetails::DateOfBirth, AsRead::kAsIs},
    {7, "cboMaritalStat", Shown::kValue, ShownFor::kPersonal, &CoverNoteFields::MaritalStatus,
     &ClientDetails::MaritalStatus, AsRead::kUpperCase},
    {8, "cboNationality", Shown::kValue, ShownFor::kPersonal, &CoverNoteFields::Nationality,
     &ClientDetails::Nationality, AsRead::kUpperCase},
    {9, "txtAddress", Shown::kAddressLines, ShownFor::kEveryClient, &CoverNoteFields::Address,
     &ClientDetails::Address, AsRead::kUpperCase},
    {10, "txtTown", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::Town,
     &ClientDetails::Town, AsRead::kUpperCase},
    {11, "txtPostal", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::PostalCode,
     &ClientDetails::PostalCode, AsRead::kUpperCase},
    {12, "cboState", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::StateCode,
     &ClientDetails::StateCode, AsRead::kUpperCase},
    {13, "chkNewAdd", Shown::kChecked, ShownFor::kEveryClient, nullptr, nullptr, AsRead::kAsIs},
    {14, "txtHouseTel", Shown::kWithoutDashes, ShownFor::kEveryClient, &CoverNoteFields::HouseTel,
     &ClientDetails::HouseTel, AsRead::kWithoutDashes},
    {15, "txtBizTel", Shown::kWithoutDashes, ShownFor::kEveryClient, &CoverNoteFields::BizTel,
     &ClientDetails::BizTel, AsRead::kWithoutDashes},
    {16, "txtMobileTel", Shown::kWithoutDashes, ShownFor::kEveryClient,
     &CoverNoteFields::MobileTel, &ClientDetails::MobileTel, AsRead::kWithoutDashes},
    {17, "txtEmail", Shown::kValue, ShownFor::kEveryClient, &CoverNoteFields::Email,
     &ClientDetails::Email, AsRead::kAsIs},
};
// The client master's own key, which the client write sends back.
constexpr std::size_t kClientKeyPosition = 18;

// A business registration number makes the client a company.
constexpr std::size_t kBusinessRegistrationPosition = 4;

constexpr std::string_view kAddressBoxes[] = {"txtAddress", "txtAddress2", "txtAddress3",
                                              "txtAddress4"};

// The boxes that belong to a person, emptied for a company (and its licence details with them).
constexpr std::string_view kPersonalBoxes[] = {"txtOldNRIC", "txtNRIC", "txtDrivingLicenseNumber",
                                               "txtLicenseDate", "txtDOB"};
constexpr std::string_view kPersonalSelects[] = {"cboGender", "cboMaritalStat"};
constexpr std::string_view kFreeTradeZoneOptions[] = {"optFTZYes", "optFTZNo"};
constexpr std::string_view kCompanyGrey = "#BFBFBF";

std::string WithoutDashes(std::string_view text) { return Replace(text, "-", ""); }

// The lines of an address kept with LF or CR LF line breaks.
std::vector<std::string> AddressLines(std::string_view address) {
  return Split(Replace(Replace(address, "\r\n", "\n"), "\n", "\r\n"), "\r\n");
}

void ShowAddressLines(dom::Document& page, std::string_view address) {
  const std::vector<std::string> lines = AddressLines(address);
  for (std::size_t box = 0; box < std::size(kAddressBoxes); ++box) {
    page.GetElementById(kAddressBoxes[box])->SetValue(box < lines.size() ? lines[box] : "");
  }
}

bool IsShownFor(ShownFor shown_for, bool company) {
  switch (shown_for) {
    case ShownFor::kPersonal:
      return !company;
    case ShownFor::kCompany:
      return company;
    case ShownFor::kEveryClient:
      break;
  }
  return true;
}

void ShowPosition(dom::Document& page, const ClientReplyPosition& row, const std::string& value) {
  dom::Element& element = *page.GetElementById(row.element_id);
  switch (row.shown) {
    case Shown::kValue:
      element.SetValue(value);
      break;
    case Shown::kWithoutDashes:
      element.SetValue(WithoutDashes(value));
      break;
    case Shown::kAddressLines:
      ShowAddressLines(page, value);
      break;
    case Shown::kChecked:
      element.SetChecked(ParseBooleanText(value).value_or(false));
      break;
  }
}

std::string AsReadValue(AsRead as_read, const std::string& value) {
  switch (as_read) {
    case AsRead::kUpperCase:
      return UCase(value);
    case AsRead::kWithoutDashes:
      return WithoutDashes(value);
    case AsRead::kAsIs:
      break;
  }
  return value;
}

// The record follows the client master.
void TakeClientIntoRecord(CoverNoteFields& fields, const std::vector<std::string>& reply) {
  for (const ClientReplyPosition& row : kClientReply) {
    if (row.record_field == nullptr) continue;
    const std::string value = FieldAt(reply, row.position);
    fields.*row.record_field = row.shown == Shown::kWithoutDashes ? WithoutDashes(value) : value;
  }
}

// The client as the master holds it, for the save to tell what the administrator changed.
void KeepClientAsRead(ClientDetails& as_read, const std::vector<std::string>& reply) {
  as_read = ClientDetails();
  for (const ClientReplyPosition& row : kClientReply) {
    if (row.as_read_field == nullptr) continue;
    as_read.*row.as_read_field = AsReadValue(row.as_read, FieldAt(reply, row.position));
  }
  as_read.Key = FieldAt(reply, kClientKeyPosition);
}

}  // namespace

std::string CNAACov::ReadClient(std::string_view client_code) {
  const CommandReply read =
      ServiceGateway(workspace().components).ExecuteCommand(kClientReadCommand, client_code);
  if (read.status == 0) return read.reply;
  window().MessageBox(read.status == kClientNotFound
                          ? "Record Not Found."
                          : "An unknown error has occurred. Please consult your system "
                            "administrator immediately.",
                      dom::message_box::kExclamation, kGetClientTitle);
  Element("txtClientCode").Focus();
  return {};
}

void CNAACov::cmdReadClientCode_onclick() {
  dom::Element& code = Element("txtClientCode");
  code.SetValue(Trim(code.Value()));
  const std::string reply = ReadClient(code.Value());
  if (reply.empty()) return;
  ShowClient(reply);
  // The client read is the client's address as the master holds it.
  Element("chkNewAdd").SetChecked(false);
  workspace().client.NewAddress = false;
}

void CNAACov::cmdReadClientCode_onkeypress() {
  const dom::Event* event = window().CurrentEvent();
  if (event != nullptr && event->KeyCode() == kEnterKey) cmdReadClientCode_onclick();
}

void CNAACov::txtClientCode_onkeypress() {
  const dom::Event* event = window().CurrentEvent();
  if (event != nullptr && event->KeyCode() == kEnterKey) cmdReadClientCode_onclick();
}

void CNAACov::cmdSearchClientCode_onclick() {
  const UserIdentity& identity = workspace().identity;
  const std::string argument = "Client Enquiry" + std::string(DialogArgSeparator) +
                               identity.CurrentAgentCode + std::string(DialogArgSeparator) +
                               identity.CurrentUserId;
  const std::string chosen =
      window().ShowModalDialog("dlgEnq.htm", argument, kClientEnquiryFeatures);
  if (chosen.empty()) return;
  Element("txtClientCode").SetValue(Trim(chosen));
  cmdReadClientCode_onclick();
}

void CNAACov::cmdSearchClientCode_onkeypress() {
  const dom::Event* event = window().CurrentEvent();
  if (event != nullptr && event->KeyCode() == kEnterKey) cmdSearchClientCode_onclick();
}

// The record takes the client first, so that the client type's own handler, which puts the
// record's identity numbers and personal details back into their boxes, shows this client.
void CNAACov::ShowClient(std::string_view reply) {
  Workspace& ws = workspace();
  CoverNoteFields& fields = ws.record.Current;
  const std::vector<std::string> positions = SplitFields(reply);
  const bool company = !FieldAt(positions, kBusinessRegistrationPosition).empty();

  TakeClientIntoRecord(fields, positions);
  for (const ClientReplyPosition& row : kClientReply) {
    if (IsShownFor(row.shown_for, company)) {
      ShowPosition(document(), row, FieldAt(positions, row.position));
    }
  }

  fields.ClientType = company ? "C" : "P";
  Element("optCompanyType").SetChecked(company);
  Element("optPersonalType").SetChecked(!company);
  if (company) {
    optCompanyType_onclick();
  } else {
    optPersonalType_onclick();
  }

  KeepClientAsRead(ws.client.ClientAsRead, positions);
  RefreshClientCopy(ws);
}

void CNAACov::LoadClientAsRead() {
  Workspace& ws = workspace();
  const std::string& client_code = ws.record.Current.ClientCode;
  if (!client_code.empty()) {
    const CommandReply read =
        ServiceGateway(ws.components).ExecuteCommand(kClientReadCommand, client_code);
    KeepClientAsRead(ws.client.ClientAsRead, SplitFields(read.reply));
  }
  RefreshClientCopy(ws);
}

void CNAACov::optPersonalType_onclick() {
  Element("optPersonalType").SetChecked(true);
  ApplyPersonalType();
}

void CNAACov::ApplyPersonalType() {
  Workspace& ws = workspace();
  const CoverNoteFields& fields = ws.record.Current;
  ws.client.ClientTypeIsCompany = false;

  dom::Element& registration = Element("txtBusinessRegistration");
  registration.SetValue("");
  registration.SetDisabled(true);
  // A person's vehicle is never in a free trade zone.
  for (const std::string_view option : kFreeTradeZoneOptions) LockInput(Element(option));

  for (const std::string_view box : kPersonalBoxes) Element(box).SetDisabled(false);
  Element("txtOldNRIC").SetValue(fields.OldNRIC);
  Element("txtNRIC").SetValue(fields.NRIC);
  Element("txtDrivingLicenseNumber").SetValue(fields.DrivingLicenseNo);
  // The licence box holds a date for a new cover note and years of driving otherwise.
  const bool licence_date = Element("cboTransactionType").Value() == "N";
  Element("txtLicenseDate")
      .SetValue(licence_date || fields.LicenseDate.empty()
                    ? fields.LicenseDate
                    : std::to_string(LicenceYears(ws, fields.LicenseDate)));
  Element("txtDOB").SetValue(fields.DateOfBirth);

  for (const std::string_view id : kPersonalSelects) {
    dom::Element& select = Element(id);
    select.SetDisabled(false);
    select.SetStyle(dom::StyleName::kBackgroundColor, "");
  }
  ShowStoredValue(Element("cboGender"), fields.Gender);
  ShowStoredValue(Element("cboMaritalStat"), fields.MaritalStatus);

  // A person pays the default service tax; only a company may be exempt.
  ws.record.Current.ServiceTaxPercentage =
      GetSystemCode(ws.lookup, ws.components, kDefaultServiceTaxRate);
  ws.premium.FactorsChangedNewTariff = true;
}

void CNAACov::optCompanyType_onclick() {
  Workspace& ws = workspace();
  Element("optCompanyType").SetChecked(true);
  ApplyCompanyType();
  ws.premium.FactorsChangedNewTariff = true;
  ws.premium.BasicPremiumEntered = false;
  ws.client.ClientTypeIsCompany = ws.record.Current.ClientType == "C";
  // A company names no drivers of its own.
  ResetNamedDrivers(ws.record.Current);
}

void CNAACov::ApplyCompanyType() {
  for (const std::string_view id : kPersonalBoxes) {
    dom::Element& box = Element(id);
    box.SetValue("");
    box.SetDisabled(true);
  }
  for (const std::string_view id : kPersonalSelects) {
    dom::Element& select = Element(id);
    select.SetSelectedIndex(-1);
    select.SetDisabled(true);
    select.SetStyle(dom::StyleName::kBackgroundColor, kCompanyGrey);
  }
  // A company is identified by its registration and may trade in a free trade zone.
  Element("txtBusinessRegistration").SetDisabled(false);
  for (const std::string_view option : kFreeTradeZoneOptions) UnlockInput(Element(option));
}

// A new address is the address of a new client record: the code and the old address go. Taken
// back, the client's address as read returns.
void CNAACov::chkNewAdd_onclick() {
  Workspace& ws = workspace();
  const bool new_address = Element("chkNewAdd").Checked();
  ws.client.NewAddress = new_address;
  const ClientDetails& as_read = ws.client.ClientAsRead;
  Element("txtClientCode").SetValue(new_address ? "" : as_read.ClientCode);
  ShowAddressLines(document(), new_address ? "" : as_read.Address);
  Element("txtPostal").SetValue(new_address ? "" : as_read.PostalCode);
  Element("txtTown").SetValue(new_address ? "" : as_read.Town);
  Element("cboState").SetValue(new_address ? "" : as_read.StateCode);
}

}  // namespace cn

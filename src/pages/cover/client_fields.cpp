// The Cover tab's client fields as they are left: identity numbers (with the search for a
// client the master already holds), address, postcode, telephones, e-mail and state. While a
// client code is shown, each change goes into the client the save writes back.

#include <string>
#include <string_view>
#include <vector>

#include "base/separators.h"
#include "base/text.h"
#include "dom/events.h"
#include "integration/choose_client.h"
#include "integration/ic_numbers.h"
#include "integration/list_search.h"
#include "integration/postcode.h"
#include "integration/service_gateway.h"
#include "pages/cover/cnaa_cov.h"

namespace cn {
namespace {

constexpr std::string_view kInvalidNumber = "0";
constexpr std::string_view kNoNumber = "-";
constexpr int kSpaceKey = 32;

bool IsFilled(std::string_view text) { return !Trim(text).empty(); }

// Names travel inside a quoted text of the back end: an apostrophe is written twice.
std::string QuotedName(std::string_view name) { return Replace(Trim(name), "'", "''"); }

// A box left with a value updates the client the save writes, while a client is shown.
void CopyToClientCopy(Workspace& workspace, dom::Document& page, std::string_view box_id,
                      std::string ClientDetails::*field, bool upper_case) {
  const std::string value = page.GetElementById(box_id)->Value();
  if (!IsFilled(value) || !IsFilled(page.GetElementById("txtClientCode")->Value())) return;
  workspace.transfer.ClientCopy.*field = upper_case ? UCase(Trim(value)) : Trim(value);
}

}  // namespace

// Only numbers of a client not yet chosen are looked for: a client code on the tab means the
// client is known, and a number the record already holds was looked for when it was read.
void CNAACov::txtNRIC_onblur() {
  Workspace& ws = workspace();
  dom::Element& box = Element("txtNRIC");
  const std::string number = FormatNewIC(ws.components, NormaliseICDashes(box.Value()), true);
  if (number == kInvalidNumber) {
    box.SetValue("");
    return;
  }
  box.SetValue(number);
  const bool client_shown = IsFilled(Element("txtClientCode").Value());
  if (client_shown) ws.transfer.ClientCopy.NRIC = Trim(number);

  const CoverNoteFields& fields = ws.record.Current;
  if (number.empty() || number == kNoNumber || client_shown || number == fields.NRIC ||
      number == fields.OldNRIC) {
    return;
  }
  FindExistingClient(number);
}

void CNAACov::txtOldNRIC_onblur() {
  Workspace& ws = workspace();
  dom::Element& box = Element("txtOldNRIC");
  const std::string number = FormatOldIC(ws.components, NormaliseICDashes(box.Value()));
  if (number == kInvalidNumber) {
    box.SetValue("");
    return;
  }
  box.SetValue(number);
  CopyToClientCopy(ws, document(), "txtOldNRIC", &ClientDetails::OldNRIC, true);
}

void CNAACov::txtOldNRIC_onclick() {
  CopyToClientCopy(workspace(), document(), "txtOldNRIC", &ClientDetails::OldNRIC, true);
}

void CNAACov::txtBusinessRegistration_onblur() {
  Workspace& ws = workspace();
  dom::Element& box = Element("txtBusinessRegistration");
  const std::string number = UCase(NormaliseICDashes(box.Value()));
  box.SetValue(number);
  ws.transfer.ClientCopy.BusinessRegistrationNo = number;

  const CoverNoteFields& fields = ws.record.Current;
  const bool known = Trim(Element("txtName").Value()) == fields.ClientName &&
                     number == fields.BusinessRegistrationNo;
  if (!IsFilled(number) || known || IsFilled(Element("txtClientCode").Value())) return;
  FindExistingClient(number);
}

// One client under that name and number is read and shown; several are offered to choose
// from; none, or a refused look-up, leaves the tab as it is.
void CNAACov::FindExistingClient(std::string_view identity_number) {
  Workspace& ws = workspace();
  const std::string parameters = QuotedName(Element("txtName").Value()) +
                                 std::string(ParamSeparator) + std::string(identity_number);
  const CommandReply found =
      ServiceGateway(ws.components).ExecuteCommand("KivoGlobal.Client.Validate", parameters);
  if (found.status != 0 || found.reply.empty()) return;

  const std::vector<std::string> clients = SplitList(found.reply);
  if (clients.size() == 1) {
    const std::string reply = ReadClient(FieldAt(SplitFields(clients.front()), 0));
    if (!reply.empty()) ShowClient(reply);
    return;
  }
  std::string offered = found.reply;
  const std::string chosen = ChooseClient(document(), ws.identity, offered);
  if (!chosen.empty()) ShowClient(chosen);
}

void CNAACov::txtAddress_onblur() {
  if (Len(Element("txtAddress").Value()) >= 2) return;
  window().MessageBox("Invalid address!\r\nAddress must be at least 2 characters long.",
                      dom::message_box::kCritical, "Invalid Data");
}

// Town and state come with the postcode; a rejected postcode takes them away.
void CNAACov::txtPostal_onblur() {
  dom::Element& postal = Element("txtPostal");
  std::string town;
  std::string state;
  if (ValidatePostcode(workspace().components, window(), postal.Value(), town, state)) {
    Element("txtTown").SetValue(town);
    Element("cboState").SetValue(state);
    return;
  }
  postal.SetValue("");
  Element("txtTown").SetValue("");
  Element("cboState").SetSelectedIndex(0);
  postal.Focus();
}

void CNAACov::txtName_onblur() {
  CopyToClientCopy(workspace(), document(), "txtName", &ClientDetails::ClientName, true);
}
void CNAACov::txtHouseTel_onblur() {
  CopyToClientCopy(workspace(), document(), "txtHouseTel", &ClientDetails::HouseTel, false);
}
void CNAACov::txtBizTel_onblur() {
  CopyToClientCopy(workspace(), document(), "txtBizTel", &ClientDetails::BizTel, false);
}
void CNAACov::txtMobileTel_onblur() {
  CopyToClientCopy(workspace(), document(), "txtMobileTel", &ClientDetails::MobileTel, false);
}
void CNAACov::txtEmail_onblur() {
  CopyToClientCopy(workspace(), document(), "txtEmail", &ClientDetails::Email, false);
}
void CNAACov::cboState_onchange() {
  CopyToClientCopy(workspace(), document(), "cboState", &ClientDetails::StateCode, false);
}

// An e-mail address holds no spaces.
void CNAACov::txtEmail_onkeypress() {
  dom::Event* event = window().CurrentEvent();
  if (event != nullptr && event->KeyCode() == kSpaceKey) event->SetKeyCode(0);
}

}  // namespace cn

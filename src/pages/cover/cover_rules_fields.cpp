// The Cover tab's cover fields as they are typed and left: the period dates, the licence date,
// the vehicle and trailer numbers and the mortgagee.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/date_format.h"
#include "base/date_reader.h"
#include "base/separators.h"
#include "base/text.h"
#include "dom/events.h"
#include "dom/style.h"
#include "integration/list_search.h"
#include "integration/selection_file.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"
#include "pages/cover/cnaa_cov.h"
#include "pages/cover/cover_rules_support.h"
#include "workspace/field_catalogue.h"

namespace cn {
namespace {

constexpr int kEnterKey = 13;

// The local table's list of mortgagees, and the back end's.
constexpr std::int16_t kMortgageeLocalList = 1;
constexpr std::string_view kMortgageeCommand = "KivoInsurance.Find.Browse";
constexpr std::string_view kMortgageeListParameter = "1";

constexpr std::string_view kMortgageeDialogFeatures =
    "status=no; dialogwidth=480px; dialogheight=300px; help: no; resizable: no; center: yes';";

// The date written as the screen writes dates. Whether a typed text is a date at all is the
// date behaviour's business, so a text the reader cannot read stays as it was.
std::string AsDateText(std::string_view text) {
  const std::optional<Date> date = ReadDate(text);
  return date ? FormatDate(*date) : std::string(text);
}

void RewriteAsDate(dom::Element& box) { box.SetValue(AsDateText(box.Value())); }

// Changed period dates change the premium: what was typed on the premium tabs is recomputed.
void ForgetPremiumForNewPeriod(PremiumState& premium) {
  ForgetTypedFigures(premium);
  premium.BasicPremiumEntered = false;
  premium.FactorsChangedNewTariff = true;
}

// "No mortgagee" first, then the mortgagees of the local table or the back end.
std::vector<std::string> BuildMortgageeList(Workspace& workspace) {
  const Components& components = workspace.components;
  EnsureUseLocalTable(workspace.lookup, components);
  std::string reply;
  if (workspace.lookup.UseLocalTable == "1") {
    std::int32_t status = 0;
    components.NewLocalTableService()->GetList(reply, kMortgageeLocalList, status);
  } else {
    reply = ServiceGateway(components)
                .ExecuteCommand(kMortgageeCommand, kMortgageeListParameter)
                .reply;
  }
  std::vector<std::string> list{std::string(FieldSeparator) + "[NONE]"};
  for (std::string& entry : SplitList(reply)) list.push_back(std::move(entry));
  return list;
}

}  // namespace

void CNAACov::txtDateOfIssue_onblur() { RewriteAsDate(Element("txtDateOfIssue")); }
void CNAACov::txtEffectiveDate_onblur() { RewriteAsDate(Element("txtEffectiveDate")); }
void CNAACov::txtExpiryDate_onblur() { RewriteAsDate(Element("txtExpiryDate")); }

void CNAACov::txtEffectiveDate_onkeypress() { ForgetPremiumForNewPeriod(workspace().premium); }
void CNAACov::txtExpiryDate_onkeypress() { ForgetPremiumForNewPeriod(workspace().premium); }

// Only a new cover note's licence field holds a date; otherwise it holds years of driving.
void CNAACov::txtLicenseDate_onblur() {
  if (Element("cboTransactionType").Value() != "N") return;
  dom::Element& licence = Element("txtLicenseDate");
  licence.SetValue(AsDateText(Trim(licence.Value())));
}

void CNAACov::txtVehicleNumber_onkeypress() {
  dom::Event* event = window().CurrentEvent();
  if (event != nullptr) event->SetKeyCode(UpperCaseKey(event->KeyCode()));
}

void CNAACov::txtVehicleNumber_onblur() {
  dom::Element& vehicle = Element("txtVehicleNumber");
  vehicle.SetValue(UCase(vehicle.Value()));
}

// A trailer added or removed is rated again.
void CNAACov::txtTrailerNumber_onblur() {
  const std::string trailer_no = Element("txtTrailerNumber").Value();
  if (trailer_no == last_trailer_no_) return;
  workspace().premium.FactorsChangedNewTariff = true;
  workspace().premium.BasicPremiumEntered = false;
  last_trailer_no_ = trailer_no;
}

void CNAACov::cmdSelectMortgagee_onclick() {
  Workspace& ws = workspace();
  std::vector<std::string>& mortgagees = ws.cover_rules.MortgageeList;
  if (mortgagees.empty()) mortgagees = BuildMortgageeList(ws);
  WriteSelectionFile(ws.components, Join(mortgagees, RecordSeparator));

  const std::string chosen =
      window().ShowModalDialog("dlgSrch.htm", "SearchMortgagee", kMortgageeDialogFeatures);
  const std::vector<std::string> parts = Split(chosen, ";");
  if (parts.empty() || !ParseBooleanText(parts.front()).value_or(false)) return;
  ws.record.Current.MortgageeCode = parts.size() > 1 ? parts[1] : std::string();
  Element("txtMortgagee").SetValue(parts.size() > 2 ? parts[2] : std::string());
}

void CNAACov::cmdSelectMortgagee_onkeypress() {
  const dom::Event* event = window().CurrentEvent();
  if (event != nullptr && event->KeyCode() == kEnterKey) cmdSelectMortgagee_onclick();
}

void CNAACov::cmdSelectMortgagee_onmouseover() {
  Element("cmdSelectMortgagee").SetStyle(dom::StyleName::kCursor, "Hand");
}

// A mortgagee typed by hand is not one of the listed ones: it has no code.
void CNAACov::txtMortgagee_onkeypress() { workspace().record.Current.MortgageeCode.clear(); }

}  // namespace cn

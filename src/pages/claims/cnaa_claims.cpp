#include "pages/claims/cnaa_claims.h"

#include <string>
#include <utility>
#include <vector>

#include "base/date_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "dom/events.h"
#include "integration/conversions.h"
#include "integration/dates.h"
#include "integration/locking.h"
#include "integration/reporting.h"
#include "integration/selection_file.h"
#include "integration/service_gateway.h"
#include "integration/system_codes.h"
#include "tables/claim.h"
#include "workspace/field_catalogue.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

using IdList = std::initializer_list<std::string_view>;

constexpr std::int32_t kPlaceholderVehicleNo = 1031;
constexpr std::int32_t kTrailerClasses = 1040;
constexpr int kEnterKey = 13;
constexpr std::string_view kInsurerListNumber = "6";
constexpr std::string_view kInsurerDialogFeatures =
    "status=no; dialogwidth=500px; dialogheight=200px; help: no; resizable: no; center: yes';";

constexpr std::pair<std::string_view, int> kMaxLengths[] = {
    {"txtExPolicyNo", 20}, {"txtExVehNo", 16}, {"txtNoNCDRemarks", 50}};

constexpr std::string_view kPreviousPolicyBoxes[] = {
    "txtNoNCDRemarks", "txtExInsurerBranch", "txtExPolicyNo",
    "txtExVehNo",      "txtExExpDate",       "txtExEffDate"};

std::string YearBefore(const Workspace& workspace) {
  return FormatDate(SystemDateTime(workspace).date.AddYears(-1));
}

}  // namespace

CNAAClaims::CNAAClaims(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : Page(workspace, std::move(document)) {
  Bind();
}

std::unique_ptr<Page> CNAAClaims::Make(Workspace& workspace,
                                       std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAAClaims>(workspace, std::move(document));
}

void CNAAClaims::Bind() {
  static constexpr auto kHandlers = dom::SortedRows({
      {"lnkAccAdd", "onclick", Handler<&CNAAClaims::lnkAccAdd_onclick>},
      {"lnkAccAdd", "onmouseover", Silent<&CNAAClaims::lnkAccAdd_onmouseover>},
      {"lnkAccDelete", "onclick", Handler<&CNAAClaims::lnkAccDelete_onclick>},
      {"lnkAccDelete", "onmouseover", Silent<&CNAAClaims::lnkAccDelete_onmouseover>},
      {"lnkSearchExInsurer", "onclick", Silent<&CNAAClaims::lnkSearchExInsurer_onclick>},
      {"lnkSearchExInsurer", "onkeypress", Silent<&CNAAClaims::lnkSearchExInsurer_onkeypress>},
      {"optExInsurerNo", "onclick", Handler<&CNAAClaims::optExInsurerNo_onclick>},
      {"optExInsurerYes", "onclick", Silent<&CNAAClaims::optExInsurerYes_onclick>},
      {"txtExEffDate", "onblur", Handler<&CNAAClaims::txtExEffDate_onblur>},
      {"txtExExpDate", "onblur", Handler<&CNAAClaims::txtExExpDate_onblur>},
      {"kvExecuteCommand", "onclick", Silent<&CNAAClaims::kvExecuteCommand_onclick>},
  });
  BindHandlers(kHandlers);
}

void CNAAClaims::DHTMLPage_Load() {
  // The load stops quietly at the first failing call: the tab stays as far as it got.
  IgnoreFailures([this] {
    Workspace& ws = workspace();
    ws.page.CurrentTabId = kNCDTabId;
    loaded_ = true;
    ws.claims.ClaimTable = std::make_shared<Claim>(ws);
    ws.claims.AccDeleteLink = document().GetElementById("lnkAccDelete");

    for (const auto& [id, length] : kMaxLengths) Element(id).SetMaxLength(length);
    LoadInsurerList();
    for (const std::string_view id : IdList{"txtExEffDate", "txtExExpDate"}) {
      Element(id).AddBehavior("Behaviors/EntryDate.htc");
    }
    for (const std::string_view id :
         IdList{"txtExInsurer", "txtExInsurerBranch", "txtExVehNo", "txtNoNCDRemarks"}) {
      Element(id).AddBehavior("Behaviors/EntrySpace.htc");
    }
    LockInputKeepTab(Element("txtExInsurer"));
    LockInput(Element("optExInsurerNo"));
    LockInput(Element("optExInsurerYes"));

    Claim& table = *ws.claims.ClaimTable;
    const std::shared_ptr<dom::Element> command = document().GetElementById("kvExecuteCommand");
    table.BuildHeader(command, document().GetElementById("AccHeaderTbl"));
    table.BuildUI(command, document().GetElementById("AccTbl"));

    // Only a cover note that earns NCD on a new, renewed or re-insured vehicle rests on a
    // previous insurer.
    const CoverNoteFields& current = ws.record.Current;
    const bool earns_ncd = Currency::TryParse(current.NCDPercentage).value_or(Currency()).units() != 0;
    const std::string& type = current.TransactionType;
    if (earns_ncd && (type == "R" || type == "N" || type == "B" || type == "F")) {
      optExInsurerYes_onclick();
    } else {
      optExInsurerNo_onclick();
    }
    ShowRecordOnPage(ws, kNCDTabId, document());
    LockDown();
  });
}

void CNAAClaims::DHTMLPage_Unload() {
  loaded_ = false;
  workspace().claims.AccDeleteLink.reset();
}

void CNAAClaims::LoadInsurerList() {
  Workspace& ws = workspace();
  const CommandReply answer = ServiceGateway(ws.components)
                                  .ExecuteCommand("KivoInsurance.Find.Browse", kInsurerListNumber);
  ws.claims.InsurerList = std::string("000") + std::string(FieldSeparator) + "[NONE]" +
                          std::string(RecordSeparator) + answer.reply;
}

// The tab shows the previous insurance; it is not edited here.
void CNAAClaims::LockDown() {
  LockInput(Element("optExInsurerYes"));
  LockInput(Element("optExInsurerNo"));
  for (const std::string_view id :
       IdList{"txtExEffDate", "txtExExpDate", "txtExInsurer", "txtExInsurerBranch",
              "txtExPolicyNo", "txtExVehNo", "txtNoNCDRemarks"}) {
    LockInputKeepEnabled(Element(id));
  }
  Element("cboExNCD").SetDisabled(true);
  for (const std::string_view id : IdList{"lnkAccAdd", "lnkAccDelete", "lnkSearchExInsurer"}) {
    Element(id).SetStyle("visibility", "hidden");
  }
}

void CNAAClaims::optExInsurerNo_onclick() {
  Element("lnkSearchExInsurer").SetStyle("display", "none");
  for (const std::string_view id :
       IdList{"txtExEffDate", "txtExExpDate", "txtExInsurer", "txtExInsurerBranch",
              "txtExPolicyNo", "txtExVehNo", "txtNoNCDRemarks"}) {
    Element(id).SetValue("");
  }
  for (const std::string_view id : kPreviousPolicyBoxes) LockInputKeepTab(Element(id));
  Element("cboExNCD").SetDisabled(true);
}

void CNAAClaims::optExInsurerYes_onclick() {
  Workspace& ws = workspace();
  Element("lnkSearchExInsurer").SetStyle("display", "");
  Element("txtNoNCDRemarks").SetValue("");
  // A vehicle not registered yet brings no previous policy: its period and number are
  // proposed from today and from the vehicle itself.
  const CoverNoteFields& current = ws.record.Current;
  const std::string placeholder = GetSystemCode(ws.lookup, ws.components, kPlaceholderVehicleNo);
  if (current.VehicleNo == placeholder || current.TrailerNo == placeholder) {
    dom::Element& effective = Element("txtExEffDate");
    if (effective.Value().empty()) effective.SetValue(YearBefore(ws));
    dom::Element& expiry = Element("txtExExpDate");
    if (expiry.Value().empty()) {
      expiry.SetValue(FormatDate(ExpiryFromEffective(RequireDate(effective.Value(), "NCD"))));
    }
    dom::Element& vehicle = Element("txtExVehNo");
    if (vehicle.Value().empty()) {
      const bool trailer_class =
          IsInSystemCodeList(ws.lookup, ws.components, current.ClassCode, kTrailerClasses);
      vehicle.SetValue(trailer_class ? current.TrailerNo : current.VehicleNo);
    }
  }
  for (const std::string_view id : kPreviousPolicyBoxes) UnlockInputKeepTab(Element(id));
  UnlockInputKeepTab(Element("cboExNCD"));
}

void CNAAClaims::lnkSearchExInsurer_onclick() {
  Workspace& ws = workspace();
  WriteSelectionFile(ws.components, ws.claims.InsurerList);
  const std::string chosen =
      window().ShowModalDialog("dlgSrch.htm", "SearchInsurer", kInsurerDialogFeatures);
  const std::vector<std::string> parts = Split(chosen, ";");
  if (parts.empty() || !ParseBooleanText(parts.front()).value_or(false)) return;
  ws.record.Current.ExInsurerCode = parts.size() > 1 ? parts[1] : std::string();
  Element("txtExInsurer").SetValue(parts.size() > 2 ? parts[2] : std::string());
}

void CNAAClaims::lnkSearchExInsurer_onkeypress() {
  const dom::Event* event = window().CurrentEvent();
  if (event != nullptr && event->KeyCode() == kEnterKey) lnkSearchExInsurer_onclick();
}

void CNAAClaims::txtExEffDate_onblur() {
  dom::Element& date = Element("txtExEffDate");
  date.SetValue(Trim(date.Value()));
  if (date.Value().empty()) {
    date.Select();
    window().MessageBox("Value must be date!", dom::message_box::kExclamation, "Invalid Format");
    date.SetValue(YearBefore(workspace()));
    date.Focus();
    date.Select();
    return;
  }
  date.SetValue(FormatDate(RequireDate(date.Value(), "txtExEffDate_onblur")));
}

void CNAAClaims::txtExExpDate_onblur() {
  dom::Element& date = Element("txtExExpDate");
  date.SetValue(Trim(date.Value()));
  if (date.Value().empty()) {
    date.Select();
    date.SetValue(FormatDate(
        ExpiryFromEffective(RequireDate(Element("txtExEffDate").Value(), "txtExExpDate_onblur"))));
    date.Focus();
    date.Select();
    return;
  }
  date.SetValue(FormatDate(RequireDate(date.Value(), "txtExExpDate_onblur")));
}

void CNAAClaims::lnkAccAdd_onclick() {
  if (Claim* table = workspace().claims.ClaimTable.get()) table->Add("", "", "", "", "0");
}

void CNAAClaims::lnkAccAdd_onmouseover() { Element("lnkAccAdd").SetStyle("cursor", "hand"); }

void CNAAClaims::lnkAccDelete_onclick() {
  const int answer = window().MessageBox(
      "This action will remove the highlighted row.\r\nDo you wish to proceed?",
      dom::message_box::kYesNo + dom::message_box::kExclamation, "Remove row");
  if (answer == dom::message_box::kYes) {
    if (Claim* table = workspace().claims.ClaimTable.get()) table->RemoveRow();
  }
  Element("lnkAccDelete").SetStyle("visibility", "hidden");
}

void CNAAClaims::lnkAccDelete_onmouseover() { Element("lnkAccDelete").SetStyle("cursor", "hand"); }

void CNAAClaims::kvExecuteCommand_onclick() {
  if (Claim* table = workspace().claims.ClaimTable.get()) table->EEC_onclick();
}

}  // namespace cn

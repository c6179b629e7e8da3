// The Vehicle tab's load: page set-up, lists, the named-driver table, the record shown
// and the lock-down; and its unload.
#include "pages/vehicle/cnaa_veh.h"

#include <array>
#include <utility>

#include "base/separators.h"
#include "base/text.h"
#include "dom/events.h"
#include "integration/fill_select.h"
#include "integration/list_search.h"
#include "integration/locking.h"
#include "integration/reporting.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"
#include "integration/shell_bridge.h"
#include "tables/driver.h"
#include "workspace/tab_transfer.h"

namespace cn {
namespace {

using IdList = std::initializer_list<std::string_view>;

constexpr std::pair<std::string_view, int> kMaxLengths[] = {
    {"txtYearMade", 4},       {"txtSeatingCapacity", 3}, {"txtCapacity", 4},
    {"txtChassisNumber", 30}, {"txtTrChassisNo", 30},    {"txtEngineNumber", 30},
    {"txtLogBookNumber", 20}, {"txtNoOfClaims", 2},
};

constexpr std::pair<std::string_view, std::string_view> kBehaviours[] = {
    {"txtCapacity", "Behaviors/EntryCur.htc"},
    {"txtSeatingCapacity", "Behaviors/EntryNumber.htc"},
    {"txtYearMade", "Behaviors/EntryNumber.htc"},
    {"txtNoOfClaims", "Behaviors/EntryNumber.htc"},
    {"txtChassisNumber", "Behaviors/EntrySpace.htc"},
    {"txtColor", "Behaviors/EntrySpace.htc"},
    {"txtEngineNumber", "Behaviors/EntrySpace.htc"},
    {"txtLogBookNumber", "Behaviors/EntrySpace.htc"},
    {"txtMaintenanceFrom", "Behaviors/EntryDate.htc"},
    {"txtMaintenanceTo", "Behaviors/EntryDate.htc"},
};

// Fixed lists: code, then text.
constexpr std::pair<std::string_view, std::string_view> kLockTypes[] = {
    {"0", "None"},   {"2", "Immobiliser"}, {"1", "GPS"}, {"3", "Factory Fitted Alarm"},
    {"9", "Others"},
};

constexpr std::pair<std::string_view, std::string_view> kSafetyFeatures[] = {
    {"99", "None Installed"},
    {"01", "Driver's Side Airbags (1)"},
    {"02", "Driver & Passenger Airbags (2)"},
    {"03", "Airbags (more than 2)"},
    {"04", "ABS (No Airbags)"},
    {"05", "ABS & 1 Airbag"},
    {"06", "ABS & 2 Airbags"},
    {"07", "ABS & More than 2 Airbags"},
};

template <std::size_t N>
std::vector<std::string> ListOf(const std::pair<std::string_view, std::string_view> (&entries)[N]) {
  std::vector<std::string> list;
  for (const auto& [code, text] : entries) {
    list.push_back(std::string(code).append(FieldSeparator).append(text));
  }
  return list;
}

constexpr std::string_view kCommercial = "COMMERCIAL";

}  // namespace

CNAAVeh::CNAAVeh(Workspace& workspace, std::shared_ptr<dom::Document> document)
    : Page(workspace, std::move(document)) {
  Bind();
}

std::unique_ptr<Page> CNAAVeh::Make(Workspace& workspace, std::shared_ptr<dom::Document> document) {
  return std::make_unique<CNAAVeh>(workspace, std::move(document));
}

void CNAAVeh::Bind() {
  static constexpr auto kHandlers = dom::SortedRows({
      {"cboVehicleMakeCode", "onchange", Handler<&CNAAVeh::VehicleMake_OnChange>},
      {"cboVehicleUOMCode", "onblur", Handler<&CNAAVeh::cboVehicleUOMCode_onblur>},
      {"cboVehicleUOMCode", "onchange", Handler<&CNAAVeh::cboVehicleUOMCode_onchange>},
      {"cmdSelectBody", "onclick", Silent<&CNAAVeh::cmdSelectBody_onclick>},
      {"cmdSelectBody", "onkeypress", Silent<&CNAAVeh::cmdSelectBody_onkeypress>},
      {"cmdSelectBody", "onmouseover", Handler<&CNAAVeh::cmdSelectBody_onmouseover>},
      {"cmdSelectModel", "onclick", Silent<&CNAAVeh::cmdSelectModel_onclick>},
      {"cmdSelectModel", "onkeypress", Silent<&CNAAVeh::cmdSelectModel_onkeypress>},
      {"cmdSelectModel", "onmouseover", Handler<&CNAAVeh::cmdSelectModel_onmouseover>},
      {"lnkAddNPerson", "onclick", Handler<&CNAAVeh::lnkAddNPerson_onclick>},
      {"lnkAddNPerson", "onkeypress", Handler<&CNAAVeh::lnkAddNPerson_onkeypress>},
      {"lnkAddNPerson", "onmouseover", Handler<&CNAAVeh::lnkAddNPerson_onmouseover>},
      {"lnkDeleteNPerson", "onclick", Handler<&CNAAVeh::lnkDeleteNPerson_onclick>},
      {"lnkDeleteNPerson", "onkeypress", Handler<&CNAAVeh::lnkDeleteNPerson_onkeypress>},
      {"lnkDeleteNPerson", "onmouseover", Handler<&CNAAVeh::lnkDeleteNPerson_onmouseover>},
      {"txtBody", "onkeypress", Silent<&CNAAVeh::txtBody_onkeypress>},
      {"txtCapacity", "onblur", Silent<&CNAAVeh::txtCapacity_onblur>},
      {"txtCapacity", "onkeypress", Silent<&CNAAVeh::txtCapacity_onkeypress>},
      {"txtModel", "onblur", Silent<&CNAAVeh::txtModel_onblur>},
      {"txtModel", "onkeypress", Silent<&CNAAVeh::txtModel_onkeypress>},
      {"txtSeatingCapacity", "onblur", Silent<&CNAAVeh::txtSeatingCapacity_onblur>},
      {"txtYearMade", "onblur", Silent<&CNAAVeh::txtYearMade_onblur>},
      {"txtYearMade", "onkeypress", Silent<&CNAAVeh::txtYearMade_onkeypress>},
      {"kvExecuteCommand", "onclick", Silent<&CNAAVeh::kvExecuteCommand_onclick>},
  });
  BindHandlers(kHandlers);
}

void CNAAVeh::DHTMLPage_Load() {
  // The load stops quietly at the first failing call: the tab stays as far as it got.
  IgnoreFailures([this] {
    Workspace& ws = workspace();
    loaded_ = true;
    ws.vehicle.DriverTable = std::make_shared<Driver>(ws);
    ws.vehicle.DeleteNPersonLink = document().GetElementById("lnkDeleteNPerson");
    ws.page.CurrentTabId = kVehicleTabId;
    ws.page.NamedDriverCountSeen = 1;
    EnableCmdButton(window(), "cmdCalculate", false);
    applied_transaction_type_.clear();

    SetUpPage();
    ApplyTransactionType();

    Driver& table = *ws.vehicle.DriverTable;
    const std::shared_ptr<dom::Element> command = document().GetElementById("kvExecuteCommand");
    table.BuildHeader(command, document().GetElementById("divNPersonHeader"));
    table.BuildUI(command, document().GetElementById("divNPerson"));

    ShowRecordOnPage(ws, kVehicleTabId, document());
    // The drivers the tab shows are the ones seen: only adding or removing one is a change.
    ws.page.NamedDriverCountSeen = table.GetNoOfDrivers();
    accepted_year_made_ = Element("txtYearMade").Value();
    LockDown();
  });
}

void CNAAVeh::DHTMLPage_Unload() {
  if (loaded_) workspace().vehicle.DeleteNPersonLink.reset();
  workspace().vehicle.DriverTable.reset();
}

void CNAAVeh::SetUpPage() {
  const Workspace& ws = workspace();
  for (const auto& [id, length] : kMaxLengths) Element(id).SetMaxLength(length);
  for (const std::string_view id :
       IdList{"txtColor", "txtEngineNumber", "txtChassisNumber", "txtLogBookNumber"}) {
    Element(id).SetStyle("textTransform", "uppercase");
  }
  for (const auto& [id, url] : kBehaviours) Element(id).AddBehavior(url);
  for (const std::string_view id : IdList{"cboSafetyFeature", "cboLockType", "chkGSLock"}) {
    Element(id).SetStyle("visibility", "hidden");
  }

  // Hazardous goods and the commercial block concern commercial vehicles only.
  if (ws.record.Current.CoverType != kCommercial) {
    if (Element("optHazardYes").Checked()) {
      Element("optHazardNo").SetChecked(true);
      Element("optHazardYes").SetChecked(false);
    }
    for (const std::string_view id : IdList{"optHazardYes", "optHazardNo", "lblHazard"}) {
      Element(id).SetStyle("visibility", "hidden");
    }
    Element("tblCommVeh").SetStyle("display", "none");
  } else {
    for (const std::string_view id : IdList{"lblHazard", "optHazardNo", "optHazardYes"}) {
      Element(id).SetStyle("visibility", "visible");
    }
    Element("tblCommVeh").SetStyle("display", "");
  }

  FillSelect(document().GetElementById("cboSecurityDevice"), ws.lists.SecurityDeviceList, 0, 1,
             true, false);
  FillSelect(document().GetElementById("cboLockType"), ListOf(kLockTypes), 0, 1, true, false);
  FillSelect(document().GetElementById("cboSafetyFeature"), ListOf(kSafetyFeatures), 0, 1, true,
             false);
  FillSelect(document().GetElementById("cboVehicleMakeCode"), ws.lists.VehicleMakeList, 0, 1, true,
             false);
  LockInputKeepEnabled(Element("txtModel"));
  LoadUnitList();
}

// The units of capacity depend on the class; they are fetched again only for a new class.
void CNAAVeh::LoadUnitList() {
  Workspace& ws = workspace();
  const std::string& class_code = ws.record.Current.ClassCode;
  if (class_code != ws.vehicle.UnitListClassCode) {
    EnsureUseLocalTable(ws.lookup, ws.components);
    std::string reply;
    if (ws.lookup.UseLocalTable != "1") {
      ServiceGateway gateway(ws.components);
      reply = gateway.ExecuteCommand("Tarvin.Find.BrowseUOM", class_code).reply;
    } else {
      std::int32_t status = 0;
      ws.components.NewLocalTableService()->GetUOMList(reply, class_code, status);
    }
    ws.vehicle.UnitList = Split(reply, RecordSeparator);
    ws.vehicle.UnitListClassCode = class_code;
  }
  FillSelect(document().GetElementById("cboVehicleUOMCode"), ws.vehicle.UnitList, 0, 1, true,
             false);
}

void CNAAVeh::ApplyTransactionType() {
  const std::string& type = workspace().record.Current.TransactionType;
  if (type == applied_transaction_type_) return;
  const IdList links_and_searches = {"lnkAddNPerson", "lnkDeleteNPerson", "cmdSelectModel",
                                     "cmdSelectBody"};
  if (type == "N" || type == "R" || type == "O") {
    for (const std::string_view id :
         IdList{"txtBody", "txtCapacity", "txtSeatingCapacity", "txtYearMade", "txtEngineNumber",
                "txtChassisNumber", "txtLogBookNumber"}) {
      UnlockInput(Element(id));
    }
    Element("cboVehicleMakeCode").SetDisabled(false);
    Element("cboVehicleUOMCode").SetDisabled(false);
    for (const std::string_view id : links_and_searches) Element(id).SetStyle("display", "");
  } else if (type == "E") {
    for (const std::string_view id : links_and_searches) Element(id).SetStyle("display", "none");
  } else if (type == "T") {
    // A transfer may change the drivers but not the vehicle.
    Element("lnkAddNPerson").SetStyle("display", "");
    Element("lnkDeleteNPerson").SetStyle("display", "");
    Element("cmdSelectModel").SetStyle("display", "none");
    Element("cmdSelectBody").SetStyle("display", "none");
  }
  applied_transaction_type_ = type;
}

// The administrator amends premiums only: the vehicle is shown, not edited. The year made,
// which rates the premium, stays open for a cover note that may be amended.
void CNAAVeh::LockDown() {
  for (const std::string_view id : IdList{"cboLockType", "cboSafetyFeature", "cboVehicleMakeCode",
                                          "cboVehicleUOMCode", "cboSecurityDevice", "chkGSLock"}) {
    Element(id).SetDisabled(true);
  }
  for (const std::string_view id : IdList{"optHazardNo", "optHazardYes", "optCGNo", "optCGYes",
                                          "optCPNo", "optCPYes", "optHRNo", "optHRYes"}) {
    LockInput(Element(id));
  }
  for (const std::string_view id :
       IdList{"txtGoodsDescription", "txtMPUW", "txtMPLW", "txtBody", "txtCapacity",
              "txtChassisNumber", "txtColor", "txtEngineNumber", "txtLogBookNumber", "txtModel",
              "txtNoOfClaims", "txtSeatingCapacity", "txtTrChassisNo", "txtMaintenanceFrom",
              "txtMaintenanceTo"}) {
    LockInputKeepEnabled(Element(id));
  }
  if (!workspace().read.ReadOnlyReason.empty()) LockInputKeepEnabled(Element("txtYearMade"));
  for (const std::string_view id :
       IdList{"cmdSelectBody", "cmdSelectModel", "lnkAddNPerson", "lnkDeleteNPerson"}) {
    Element(id).SetStyle("visibility", "hidden");
  }
}

}  // namespace cn

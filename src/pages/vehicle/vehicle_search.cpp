// The Vehicle tab's model and body selection through the search dialog, the keys and
// pointer on its buttons and links, and the named-person links.
#include <cstddef>
#include <vector>

#include "base/currency.h"
#include "base/number_format.h"
#include "base/separators.h"
#include "base/text.h"
#include "integration/list_search.h"
#include "integration/selection_file.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"
#include "pages/vehicle/cnaa_veh.h"
#include "tables/driver.h"

namespace cn {
namespace {

constexpr int kEnterKey = 13;

constexpr std::string_view kSearchDialog = "dlgSrch.htm";
constexpr std::string_view kSearchFeatures =
    "status=no; dialogwidth=480px; dialogheight=300px; help: no; resizable: no; center: yes';";
// The back end's answer when a model search would list too many models.
constexpr std::int32_t kTooManyModels = 2;
constexpr std::string_view kRefineModelSearch =
    "Please refine your select constrains. Tips: use [Iswara 1.3] instead of [Proton].";

constexpr std::string_view kRemoveRowQuestion =
    "This action will remove the highlighted row.\r\nDo you wish to proceed?";

// A model of the search result, field by field: the record field it gives and the
// element that shows it.
struct ModelResultField {
  std::size_t index;
  std::string CoverNoteFields::*field;
  std::string_view element;
  bool capacity = false;
};

constexpr ModelResultField kModelResult[] = {
    {1, &CoverNoteFields::Model, "txtModel"},
    {2, &CoverNoteFields::Capacity, "txtCapacity", true},
    {3, &CoverNoteFields::CapacityUOM, "cboVehicleUOMCode"},
    {4, &CoverNoteFields::Body, "txtBody"},
    {5, &CoverNoteFields::SeatingCapacity, "txtSeatingCapacity"},
};

// The dialog's answer: ";"-separated, field 0 telling whether something was chosen.
std::vector<std::string> DialogChoice(std::string_view result) {
  if (result.empty()) return {};
  std::vector<std::string> fields = Split(result, ";");
  const std::string chosen = Trim(fields.front());
  const std::optional<Currency> number = Currency::TryParse(chosen);
  const bool yes = EqualsIgnoreCase(chosen, "true") || (number && *number != Currency());
  if (!yes) return {};
  return fields;
}

}  // namespace

void CNAAVeh::cmdSelectModel_onclick() {
  Workspace& ws = workspace();
  std::string parameters = Element("cboVehicleMakeCode").Value();
  parameters.append(ParamSeparator).append(Element("txtModel").Value());
  CommandReply found;
  {
    ServiceGateway gateway(ws.components);
    found = gateway.ExecuteCommand("Tarvin.Find.FindVehicleModel", parameters);
  }
  if (found.status == kTooManyModels) {
    window().MessageBox(kRefineModelSearch, dom::message_box::kInformation, "Select Model");
    return;
  }
  WriteSelectionFile(ws.components, found.reply);
  const std::vector<std::string> choice =
      DialogChoice(window().ShowModalDialog(kSearchDialog, "SearchModel", kSearchFeatures));
  if (choice.empty()) return;

  CoverNoteFields& fields = ws.record.Current;
  fields.ModelCode = choice.size() > 1 ? choice[1] : std::string();
  for (const std::string& model : SplitList(found.reply)) {
    const std::vector<std::string> model_fields = SplitFields(model);
    if (FieldAt(model_fields, 0) != fields.ModelCode) continue;
    for (const ModelResultField& entry : kModelResult) {
      std::string value = FieldAt(model_fields, entry.index);
      if (entry.capacity && !value.empty()) value = FormatNumber(value, 2);
      fields.*entry.field = value;
      Element(entry.element).SetValue(value);
    }
    Element("txtBody").Focus();
    return;
  }
}

void CNAAVeh::cmdSelectModel_onkeypress() {
  if (KeyCode() == kEnterKey) cmdSelectModel_onclick();
}

void CNAAVeh::cmdSelectModel_onmouseover() { Element("cmdSelectModel").SetStyle("cursor", "hand"); }

void CNAAVeh::cmdSelectBody_onclick() {
  const Workspace& ws = workspace();
  ReadInstallationPath(ws.components);
  WriteSelectionFile(ws.components, ws.lists.BodyTypeListText);
  const std::vector<std::string> choice =
      DialogChoice(window().ShowModalDialog(kSearchDialog, "SearchBody", kSearchFeatures));
  if (choice.empty()) return;
  Element("txtBody").SetValue(choice.size() > 2 ? choice[2] : std::string());
}

void CNAAVeh::cmdSelectBody_onkeypress() {
  if (KeyCode() == kEnterKey) cmdSelectBody_onclick();
}

void CNAAVeh::cmdSelectBody_onmouseover() { Element("cmdSelectBody").SetStyle("cursor", "hand"); }

void CNAAVeh::txtModel_onkeypress() {
  if (KeyCode() == kEnterKey && !Trim(Element("txtModel").Value()).empty()) {
    cmdSelectModel_onclick();
  }
}

void CNAAVeh::txtBody_onkeypress() {
  if (KeyCode() == kEnterKey && !Trim(Element("txtBody").Value()).empty()) {
    cmdSelectBody_onclick();
  }
}

void CNAAVeh::lnkAddNPerson_onclick() {
  if (Driver* table = workspace().vehicle.DriverTable.get()) table->Add("", "", "", "", "", "", "");
}

void CNAAVeh::lnkAddNPerson_onkeypress() {
  if (KeyCode() == kEnterKey) lnkAddNPerson_onclick();
}

void CNAAVeh::lnkAddNPerson_onmouseover() { Element("lnkAddNPerson").SetStyle("cursor", "hand"); }

void CNAAVeh::lnkDeleteNPerson_onclick() {
  const int answer = window().MessageBox(
      kRemoveRowQuestion, dom::message_box::kYesNo + dom::message_box::kExclamation, "Remove row");
  if (answer == dom::message_box::kYes) {
    if (Driver* table = workspace().vehicle.DriverTable.get()) table->RemoveRow();
  }
  // Shown again when an editable row is highlighted.
  Element("lnkDeleteNPerson").SetStyle("visibility", "hidden");
}

void CNAAVeh::lnkDeleteNPerson_onkeypress() {
  if (KeyCode() == kEnterKey) lnkDeleteNPerson_onclick();
}

void CNAAVeh::lnkDeleteNPerson_onmouseover() {
  Element("lnkDeleteNPerson").SetStyle("cursor", "hand");
}

void CNAAVeh::kvExecuteCommand_onclick() {
  if (Driver* table = workspace().vehicle.DriverTable.get()) table->EEC_onclick();
}

}  // namespace cn

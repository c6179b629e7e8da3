// The lookup lists every tab uses, read once when the screen opens.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dom/document.h"
#include "integration/dates.h"
#include "integration/list_search.h"
#include "integration/motor_lists.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"
#include "integration/system_codes.h"
#include "workspace/cnaa_main.h"

namespace cn {
namespace {

// The system codes the tabs need all the time, in the order they are read.
constexpr std::int32_t kStartupSystemCodes[] = {1011, 1025, 1026, 1031, 1030, 1062, 1034};

// Minimum driving ages, with the ages that apply when the back end has none.
struct DefaultedSystemCode {
  std::int32_t code;
  std::string_view fallback;
};
constexpr DefaultedSystemCode kMinimumDrivingAges[] = {{1098, "17"}, {1097, "16"}};

constexpr std::int32_t kPrivateClassKind = 0;

// A base list: where it comes from in each mode and where it is kept. The body types stay
// one text, because the Vehicle tab writes them to the selection file unchanged.
struct BaseList {
  std::string_view command;
  std::string_view parameter;
  std::optional<std::int16_t> local_list;  // none: the local table has no such list
  StartupList StartupLists::*list;
  std::string StartupLists::*text;
};

// Read in this order in both modes.
constexpr BaseList kBaseLists[] = {
    {"Tarvin.Find.Browse", "3", 5, &StartupLists::MotorCoverCodeList, nullptr},
    {"KivoInsurance.Find.Browse", "3", 8, &StartupLists::StateList, nullptr},
    {"Tarvin.Find.Browse", "1", 3, nullptr, &StartupLists::BodyTypeListText},
    {"Tarvin.Find.Browse", "0", 2, &StartupLists::VehicleMakeList, nullptr},
    {"KivoInsurance.Find.Browse", "0", 0, &StartupLists::OccupationList, nullptr},
    {"Tarvin.Find.Browse", "7", 9, &StartupLists::TariffRegionList, nullptr},
    {"KivoInsurance.Find.Browse", "7", std::nullopt, &StartupLists::SecurityDeviceList, nullptr},
};

// The client lists always come from the back end.
struct ClientList {
  std::string_view parameter;
  StartupList StartupLists::*list;
};
constexpr ClientList kClientLists[] = {
    {"1", &StartupLists::NationalityList},
    {"2", &StartupLists::InsuredOccupationList},
    {"3", &StartupLists::NatureOfBusinessList},
};

void Keep(StartupLists& lists, dom::Document& page, const BaseList& base, std::string reply) {
  if (base.text != nullptr) {
    lists.*base.text = std::move(reply);
  } else {
    lists.*base.list = StartupList(page.SharedList(SplitList(reply)));
  }
}

void LoadBaseListsFromBackEnd(StartupLists& lists, dom::Document& page, ServiceGateway& gateway) {
  for (const BaseList& base : kBaseLists) {
    Keep(lists, page, base, gateway.ExecuteCommand(base.command, base.parameter).reply);
  }
}

void LoadBaseListsFromLocalTable(StartupLists& lists, dom::Document& page,
                                 const Components& components) {
  const std::unique_ptr<LocalTableService> table = components.NewLocalTableService();
  for (const BaseList& base : kBaseLists) {
    if (!base.local_list) continue;
    std::string reply;
    std::int32_t status = 0;
    table->GetList(reply, *base.local_list, status);
    Keep(lists, page, base, std::move(reply));
  }
}

}  // namespace

void CNAAMain::LoadLookupLists() {
  Workspace& ws = workspace();
  const Components& components = ws.components;
  LookupState& lookup = ws.lookup;

  ws.identity = ReadUserIdentity(components);
  for (const std::int32_t code : kStartupSystemCodes) {
    ws.startup.SystemCodes[code] = GetSystemCode(lookup, components, code);
  }
  ws.class_lists.PrivateClassList = GetMotorClassList(lookup, components, kPrivateClassKind);
  for (const DefaultedSystemCode& age : kMinimumDrivingAges) {
    std::string value = GetSystemCode(lookup, components, age.code);
    if (value.empty()) value = age.fallback;
    ws.startup.SystemCodes[age.code] = std::move(value);
  }
  // The reply stays for the codes the tabs look up later; every session reads the same one.
  if (lookup.SystemCodeListText) {
    lookup.SystemCodeListText = document().SharedText(*lookup.SystemCodeListText);
  }
  ReadNewTariffDate(components, ws.startup.NewTariffDate);
  ReadUseLocalTable(lookup, components);

  ServiceGateway gateway(components);
  if (lookup.UseLocalTable == "1") {
    LoadBaseListsFromLocalTable(ws.lists, document(), components);
  } else {
    LoadBaseListsFromBackEnd(ws.lists, document(), gateway);
  }
  for (const ClientList& client : kClientLists) {
    ws.lists.*client.list = StartupList(document().SharedList(
        SplitList(gateway.ExecuteCommand("KivoGlobal.Client.Find", client.parameter).reply)));
  }
  ws.lists.TownList = StartupList(document().SharedList(
      SplitList(gateway.ExecuteCommand("KivoInsurance.Find.Browse", "13").reply)));

  ws.page.ResetInProgress = false;
  ws.startup.AgentTariffRegion =
      gateway
          .ExecuteCommand("Tarvin.Premium.GetMotorTariffRegionByAgentCode",
                          ws.identity.CurrentAgentCode)
          .reply;
  // Motor cover lists are fetched per class code as the Cover tab needs them.
  lookup.MotorCoverListCache = {std::string()};
}

}  // namespace cn

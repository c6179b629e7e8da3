#include "integration/system_codes.h"

#include <algorithm>
#include <vector>

#include "base/text.h"
#include "integration/list_search.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"

namespace cn {
namespace {

constexpr std::int16_t kLocalSystemCodeList = 6;

std::string FetchSystemCodeList(LookupState& state, const Components& components) {
  EnsureUseLocalTable(state, components);
  if (UseLocalTableValue(state, "GetSystemCode") == Currency()) {
    return ServiceGateway(components).ExecuteCommand("KivoInsurance.Find.Browse", "2").reply;
  }
  std::string reply;
  std::int32_t status = 0;
  components.NewLocalTableService()->GetList(reply, kLocalSystemCodeList, status);
  return reply;
}

}  // namespace

std::string GetSystemCode(LookupState& state, const Components& components, std::int32_t code) {
  if (!state.SystemCodeListText || state.SystemCodeListText->empty()) {
    state.SystemCodeListText =
        std::make_shared<const std::string>(FetchSystemCodeList(state, components));
  }
  return FindDescriptionInReply(std::to_string(code), *state.SystemCodeListText);
}

bool IsInSystemCodeList(LookupState& state, const Components& components,
                        std::string_view code_text, std::int32_t system_code) {
  const std::vector<std::string> codes =
      Split(GetSystemCode(state, components, system_code), ";");
  return std::ranges::find(codes, code_text) != codes.end();
}

}  // namespace cn

#include "integration/motor_lists.h"

#include <cstddef>

#include "base/separators.h"
#include "integration/list_search.h"
#include "integration/service_gateway.h"
#include "integration/settings.h"

namespace cn {
namespace {

constexpr std::string_view kCacheSeparator = "|~|";

}  // namespace

std::vector<std::string> GetMotorClassList(LookupState& state, const Components& components,
                                           std::int32_t kind) {
  EnsureUseLocalTable(state, components);
  const bool local = UseLocalTableValue(state, "GetMotorClassList") == Currency::FromWhole(1);
  if (kind < 0 || kind > 2) return {};
  if (local) {
    std::string reply;
    std::int32_t status = 0;
    components.NewLocalTableService()->GetMotorClassList(reply, kind, status);
    return SplitList(reply);
  }
  return SplitList(ServiceGateway(components)
                       .ExecuteCommand("Tarvin.Find.FindMotorClass", std::to_string(kind))
                       .reply);
}

void LoadMotorCoverList(LookupState& state, const Components& components,
                        std::string_view class_code) {
  if (UseLocalTableValue(state, "LoadMotorCoverList") != Currency()) return;

  std::vector<std::string>& cache = state.MotorCoverListCache;
  std::size_t slot = 0;
  for (; slot < cache.size() && !cache[slot].empty(); ++slot) {
    const std::string& entry = cache[slot];
    const std::size_t cut = entry.find(kCacheSeparator);
    if (entry.substr(0, cut) == class_code) {
      state.MotorCoverList = SplitList(
          cut == std::string::npos ? std::string_view() :
                                     std::string_view(entry).substr(cut + kCacheSeparator.size()));
      return;
    }
  }

  const std::string parameters = "6" + std::string(ParamSeparator) + std::string(class_code);
  std::string reply =
      ServiceGateway(components).ExecuteCommand("Tarvin.Find.Browse", parameters).reply;
  std::string entry = std::string(class_code) + std::string(kCacheSeparator) + reply;
  if (slot < cache.size()) {
    cache[slot] = std::move(entry);
  } else {
    cache.push_back(std::move(entry));
  }
  state.MotorCoverList = SplitList(reply);
}

}  // namespace cn

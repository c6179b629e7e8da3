#include "app/play_screen.h"

#include <algorithm>
#include <array>
#include <functional>

#include "workspace/field_catalogue.h"
#include "workspace/screen.h"

namespace cn::app {

namespace {

std::string FlagText(bool flag) { return flag ? "True" : "False"; }

std::string JoinList(const std::vector<std::string>& values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += "\xEF\xBF\xBD";  // U+FFFD, as a list travels inside one field
    text += values[i];
  }
  return text;
}

// The workspace state the transcript shows, by the names the screen's developers use.
struct ItemReader {
  std::string_view name;
  std::string (*read)(const Workspace& workspace);
};
constexpr std::array kWorkspaceItems = {
    ItemReader{"CurrentTabId", [](const Workspace& w) { return w.page.CurrentTabId; }},
    ItemReader{"CurrentPremiumTabId",
               [](const Workspace& w) { return w.page.CurrentPremiumTabId; }},
    ItemReader{"PendingTabCommand", [](const Workspace& w) { return w.page.PendingTabCommand; }},
    ItemReader{"TabSwitchInProgress",
               [](const Workspace& w) { return FlagText(w.page.TabSwitchInProgress); }},
    ItemReader{"ResetInProgress",
               [](const Workspace& w) { return FlagText(w.page.ResetInProgress); }},
    ItemReader{"PageFilling", [](const Workspace& w) { return FlagText(w.page.PageFilling); }},
    ItemReader{"ExtendedCoverDetailsStale",
               [](const Workspace& w) { return FlagText(w.page.ExtendedCoverDetailsStale); }},
    ItemReader{"ExtendedCoverDetails",
               [](const Workspace& w) { return JoinList(w.page.ExtendedCoverDetails); }},
    ItemReader{"SaveButtonId", [](const Workspace& w) { return w.page.SaveButtonId; }},
    ItemReader{"NamedDriverCountSeen",
               [](const Workspace& w) { return std::to_string(w.page.NamedDriverCountSeen); }},
    ItemReader{"CurrentUserId", [](const Workspace& w) { return w.identity.CurrentUserId; }},
    ItemReader{"CurrentAgentType", [](const Workspace& w) { return w.identity.CurrentAgentType; }},
    ItemReader{"CurrentAgentCode", [](const Workspace& w) { return w.identity.CurrentAgentCode; }},
    ItemReader{"UseLocalTable", [](const Workspace& w) { return w.lookup.UseLocalTable; }},
    ItemReader{"AgentTariffRegion", [](const Workspace& w) { return w.startup.AgentTariffRegion; }},
    ItemReader{"NewTariffDate", [](const Workspace& w) { return w.startup.NewTariffDate; }},
    ItemReader{"RecordShown", [](const Workspace& w) { return FlagText(w.read.RecordShown); }},
    ItemReader{"LoadedCoverNoteNo", [](const Workspace& w) { return w.read.LoadedCoverNoteNo; }},
    ItemReader{"FactorsChangedNewTariff",
               [](const Workspace& w) { return FlagText(w.premium.FactorsChangedNewTariff); }},
    ItemReader{"BasicPremiumEntered",
               [](const Workspace& w) { return FlagText(w.premium.BasicPremiumEntered); }},
    ItemReader{"LoadPercentageEntered",
               [](const Workspace& w) { return FlagText(w.premium.LoadPercentageEntered); }},
    ItemReader{"TariffPremiumEntered",
               [](const Workspace& w) { return FlagText(w.premium.TariffPremiumEntered); }},
    ItemReader{"ExcessEntered",
               [](const Workspace& w) { return FlagText(w.premium.ExcessEntered); }},
    ItemReader{"PremiumChangedV10",
               [](const Workspace& w) { return FlagText(w.premium.PremiumChangedV10); }},
    ItemReader{"FactorsChangedV10",
               [](const Workspace& w) { return FlagText(w.premium.FactorsChangedV10); }},
    ItemReader{"PremiumChangedNewTariff",
               [](const Workspace& w) { return FlagText(w.premium.PremiumChangedNewTariff); }},
    ItemReader{"StampDutyEntered",
               [](const Workspace& w) { return FlagText(w.premium.StampDutyEntered); }},
    ItemReader{"ComputeStatus",
               [](const Workspace& w) { return std::to_string(w.premium.ComputeStatus); }},
    ItemReader{"ComputeStatusNewTariff",
               [](const Workspace& w) { return std::to_string(w.premium.ComputeStatusNewTariff); }},
    ItemReader{"NCDList", [](const Workspace& w) { return JoinList(w.premium.NCDList); }},
    ItemReader{"ClassOrCoverChanged",
               [](const Workspace& w) { return FlagText(w.transfer.ClassOrCoverChanged); }},
    ItemReader{"NewAddress", [](const Workspace& w) { return FlagText(w.client.NewAddress); }},
};

class PlayScreen final : public play::ScreenInspector {
 public:
  PlayScreen(const Components& components, const Clock& clock) : screen_(components, clock) {}

  dom::PageFactory PageFactory() override { return screen_.PageFactory(); }
  bool IsOpen() const override { return screen_.workspace() != nullptr; }

  std::vector<std::string> FieldNames() const override {
    std::vector<std::string> names;
    for (const FieldInfo& field : kFieldCatalogue) names.emplace_back(field.name);
    return names;
  }

  std::optional<std::string> Field(play::RecordCopy copy, std::string_view name) const override {
    const FieldInfo* field = FindField(name);
    if (field == nullptr || !IsOpen()) return std::nullopt;
    const Instance instance =
        copy == play::RecordCopy::kPrevious ? Instance::kPrevious : Instance::kCurrent;
    return GetFieldText(screen_.workspace()->record, instance, *field);
  }

  std::vector<std::string> WorkspaceItemNames() const override {
    std::vector<std::string> names;
    for (const ItemReader& item : kWorkspaceItems) names.emplace_back(item.name);
    return names;
  }

  std::optional<std::string> WorkspaceItem(std::string_view name) const override {
    const auto item = std::find_if(kWorkspaceItems.begin(), kWorkspaceItems.end(),
                                   [&](const auto& candidate) { return candidate.name == name; });
    if (item == kWorkspaceItems.end() || !IsOpen()) return std::nullopt;
    return item->read(*screen_.workspace());
  }

 private:
  Screen screen_;
};

}  // namespace

play::ScreenMaker PlayScreenMaker() {
  return [](const Components& components,
            const Clock& clock) -> std::unique_ptr<play::ScreenInspector> {
    return std::make_unique<PlayScreen>(components, clock);
  };
}

}  // namespace cn::app

#include "integration/locking.h"

#include <optional>
#include <string_view>

namespace cn {
namespace {

// One row per routine; an empty optional leaves that property as it is.
struct LockLayout {
  std::optional<bool> read_only;
  std::optional<std::string_view> background_color;
  std::optional<int> tab_index;
  std::optional<bool> disabled;
};

constexpr std::string_view kButtonFace = "buttonface";

//                                        ReadOnly  backgroundColor  TabIndex      disabled
constexpr LockLayout kLockInput{            true,   kButtonFace,     -1,           true};
constexpr LockLayout kUnlockInput{          false,  "",              1,            false};
constexpr LockLayout kLockInputKeepEnabled{ true,   kButtonFace,     -1,           std::nullopt};
constexpr LockLayout kLockInputKeepTab{     true,   kButtonFace,     std::nullopt, true};
constexpr LockLayout kUnlockInputKeepTab{   false,  "",              std::nullopt, false};

void Apply(dom::Element& input, const LockLayout& layout) {
  if (layout.read_only) input.SetReadOnly(*layout.read_only);
  if (layout.background_color) {
    input.SetStyle(dom::StyleName::kBackgroundColor, *layout.background_color);
  }
  if (layout.tab_index) input.SetTabIndex(*layout.tab_index);
  if (layout.disabled) input.SetDisabled(*layout.disabled);
}

}  // namespace

void LockInput(dom::Element& input) { Apply(input, kLockInput); }
void UnlockInput(dom::Element& input) { Apply(input, kUnlockInput); }
void LockInputKeepEnabled(dom::Element& input) { Apply(input, kLockInputKeepEnabled); }
void LockInputKeepTab(dom::Element& input) { Apply(input, kLockInputKeepTab); }
void UnlockInputKeepTab(dom::Element& input) { Apply(input, kUnlockInputKeepTab); }

}  // namespace cn

#include "workspace/named_driver_check.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/currency.h"
#include "base/rounding.h"
#include "base/runtime_failure.h"
#include "base/text.h"
#include "integration/system_codes.h"

namespace cn {
namespace {

constexpr std::int32_t kNamedDriverCoverage = 1008;
constexpr std::int32_t kSecondDriverCoverage = 1021;
constexpr std::int32_t kCatchAllDriver = 1062;
// Each named driver the coverage pays for costs this much premium.
constexpr std::int64_t kPremiumPerDriver = 10;
// The policyholder and one further driver need no coverage.
constexpr std::int64_t kDriversWithoutCoverage = 2;

constexpr std::string_view kTitle = "Incomplete Data";
constexpr std::string_view kRemoveDriver =
    "Please remove the specified named driver at the Vehicle tab or add the associated "
    "extended coverage at Premium tab!";
constexpr std::string_view kIncludeDriver =
    "Please include the specified named driver at the Vehicle tab or remove the associated "
    "extended coverage at Premium tab!";

// The row holding `code`; an empty system code stands for no coverage at all.
std::optional<std::size_t> FindCoverage(const std::vector<std::string>& codes,
                                        std::string_view code) {
  if (code.empty()) return std::nullopt;
  const auto found = std::ranges::find(codes, code);
  if (found == codes.end()) return std::nullopt;
  return static_cast<std::size_t>(found - codes.begin());
}

std::int64_t PaidDrivers(std::string_view premium_text) {
  const std::string trimmed = Trim(premium_text);
  if (trimmed.empty()) return 0;
  const std::optional<Currency> premium = Currency::TryParse(trimmed);
  if (!premium) {
    throw RuntimeFailure(
        failure::kTypeMismatch,
        "Type mismatch: the named-driver premium \"" + trimmed + "\" is not a number",
        "CheckNamedDriverExtCover");
  }
  const std::int64_t whole = DivideRoundingHalfAway(premium->units(), Currency::kScale);
  return DivideRoundingHalfAway(whole, kPremiumPerDriver);
}

// Driver rows; a row for the catch-all driver of system code 1062 names nobody the
// coverage could pay for and is not counted.
std::int64_t DriverRows(const std::vector<std::string>& names, std::string_view catch_all) {
  const std::string catch_all_upper = UCase(catch_all);
  return std::ranges::count_if(names, [&](const std::string& name) {
    return catch_all_upper.empty() || UCase(name) != catch_all_upper;
  });
}

void Check(Workspace& workspace, dom::Window* window) {
  LookupState& lookup = workspace.lookup;
  const Components& components = workspace.components;
  const std::string named_code = GetSystemCode(lookup, components, kNamedDriverCoverage);
  const std::string second_code = GetSystemCode(lookup, components, kSecondDriverCoverage);
  CoverNoteRecord& record = workspace.record;
  CoverNoteFields& current = record.Current;

  std::optional<std::size_t> named = FindCoverage(current.ExtCoverCodes, named_code);
  std::optional<std::size_t> second = FindCoverage(current.ExtCoverCodes, second_code);
  std::int64_t paid = 0;
  if (named) {
    paid = *named < current.ExtCoverPremiums.size() ? PaidDrivers(current.ExtCoverPremiums[*named])
                                                    : 0;
  }

  // Only private covers have named drivers.
  if (current.CoverType != "PRIVATE") {
    ResetNamedDrivers(current);
    std::vector<std::size_t> rows;
    if (named) rows.push_back(*named);
    if (second && second != named) rows.push_back(*second);
    // The later row first, so that the earlier keeps its index.
    std::ranges::sort(rows, std::greater<>());
    for (const std::size_t row : rows) RemoveExtCoverRow(record, row);
    named.reset();
    second.reset();
  }

  const std::int64_t drivers =
      DriverRows(current.DriverNames, GetSystemCode(lookup, components, kCatchAllDriver));

  if (window != nullptr && workspace.page.TabSwitchInProgress) {
    const std::int64_t uncovered = drivers - kDriversWithoutCoverage;
    std::string_view message;
    if (named && paid < uncovered) message = kRemoveDriver;
    if (named && paid > uncovered) message = kIncludeDriver;
    if (!named && uncovered >= 1) message = kRemoveDriver;
    if (!message.empty()) {
      window->MessageBox(message, dom::message_box::kOkOnly | dom::message_box::kExclamation,
                         kTitle);
    }
  }

  if (current.ClientType != "P" && !second && !named && drivers > kDriversWithoutCoverage) {
    ResetNamedDrivers(current);
  }
}

}  // namespace

void CheckNamedDriverExtCover(Workspace& workspace, dom::Window& window) {
  Check(workspace, &window);
}

void CheckNamedDriverExtCoverSilently(Workspace& workspace) { Check(workspace, nullptr); }

}  // namespace cn

// Named drivers against the coverage that pays for them.
#include "workspace/named_driver_check.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "workspace_world.h"

namespace cn {
namespace {

using Texts = std::vector<std::string>;
using Box = testing::ShownBox;
using testing::WorkspaceWorld;

constexpr std::string_view kRemove =
    "Please remove the specified named driver at the Vehicle tab or add the associated "
    "extended coverage at Premium tab!";
constexpr std::string_view kInclude =
    "Please include the specified named driver at the Vehicle tab or remove the associated "
    "extended coverage at Premium tab!";
constexpr int kExclamationOk = dom::message_box::kExclamation | dom::message_box::kOkOnly;

class NamedDriverCheck : public ::testing::Test {
 protected:
  NamedDriverCheck() {
    world_.SetSystemCodes({{"1008", "ND"}, {"1021", "AD"}, {"1062", "ANY DRIVER"}});
    world_.workspace.page.TabSwitchInProgress = true;
    std::tie(Current().CoverType, Current().ClientType) = std::pair("PRIVATE", "P");
    SetDrivers(1);
    SetExtCovers({"PA"}, {"50.00"});
  }

  CoverNoteFields& Current() { return world_.workspace.record.Current; }

  void SetDrivers(int rows) {
    Texts names;
    for (int i = 0; i < rows; ++i) names.push_back(i == 0 ? "INSURED" : "DRIVER " + std::to_string(i));
    SetNames(names);
  }
  void SetNames(const Texts& names) {
    for (const TextArray column : kNamedDriverArrays) Current().*column = Texts(names.size());
    Current().DriverNames = names;
  }
  void SetExtCovers(const Texts& codes, const Texts& premiums) {
    for (const TextArray column : kExtCoverArrays) Current().*column = Texts(codes.size());
    Current().ExtCoverCodes = codes;
    Current().ExtCoverPremiums = premiums;
    world_.workspace.record.ExtUserPremiumMarks.assign(codes.size(), false);
  }

  std::vector<Box> Boxes() const { return world_.dialogs->boxes; }
  static std::vector<Box> Shown(std::string_view prompt) {
    return {{std::string(prompt), kExclamationOk, "Incomplete Data"}};
  }

  WorkspaceWorld world_;
};

TEST_F(NamedDriverCheck, TheCoverageMustPayForAllButTwoDrivers) {
  // `premium` of the named-driver coverage; none when absent.
  struct Case { int drivers; std::optional<std::string> premium; std::string_view message; };
  // Pays for exactly n - 2, fewer, more; 2.5 drivers round up to 3, 2.4 down to 2; no coverage;
  // a coverage that pays for nobody's driver.
  // clang-format off
  const Case cases[] = {
      {4, "20.00", ""}, {4, "10.00", kRemove}, {4, "30.00", kInclude}, {3, "10", ""},
      {5, "25.00", ""}, {5, "24.00", kRemove}, {3, std::nullopt, kRemove}, {2, std::nullopt, ""},
      {1, "0", kInclude}};
  // clang-format on
  for (const Case& c : cases) {
    world_.dialogs->boxes.clear();
    SetDrivers(c.drivers);
    c.premium ? SetExtCovers({"PA", "ND"}, {"50.00", *c.premium}) : SetExtCovers({"PA"}, {"50.00"});
    CheckNamedDriverExtCover(world_.workspace, world_.window());
    EXPECT_EQ(Boxes(), c.message.empty() ? std::vector<Box>() : Shown(c.message))
        << c.drivers << " drivers, premium " << c.premium.value_or("none");
  }
}

TEST_F(NamedDriverCheck, TheSilentVariantShowsNothingAndKeepsAPrivateCoverAsItIs) {
  SetDrivers(4);
  SetExtCovers({"ND"}, {"10.00"});
  const CoverNoteRecord before = world_.workspace.record;
  CheckNamedDriverExtCoverSilently(world_.workspace);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(world_.workspace.record, before);
}

TEST_F(NamedDriverCheck, ACoverThatIsNotPrivateLosesItsDriversAndDriverCoverages) {
  for (const std::string cover_type : {"COMMERCIAL", "MOTORCYCLE"}) {
    Current().CoverType = cover_type;
    SetDrivers(3);
    SetExtCovers({"AD", "PA", "ND"}, {"5.00", "50.00", "10.00"});
    world_.workspace.record.ExtUserPremiumMarks = {false, true, false};

    CheckNamedDriverExtCoverSilently(world_.workspace);

    EXPECT_EQ((std::vector<Texts>{Current().DriverNames, Current().DriverICNos, Current().ExtCoverCodes,
                                  Current().ExtCoverPremiums, Current().ExtCoverMethods}),
              (std::vector<Texts>{{""}, {""}, {"PA"}, {"50.00"}, {""}}));
    EXPECT_EQ(world_.workspace.record.ExtUserPremiumMarks, std::vector<bool>{true});
  }
  // With both coverages gone and one empty driver row, there is nothing to report.
  Current().CoverType = "COMMERCIAL";
  SetDrivers(3);
  SetExtCovers({"ND"}, {"10.00"});
  CheckNamedDriverExtCover(world_.workspace, world_.window());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Current().ExtCoverCodes, Texts{""});
}

TEST_F(NamedDriverCheck, ACompanyNeedsADriverCoverageForThreeOrMoreDrivers) {
  Current().ClientType = "C";
  struct Case { int drivers; Texts codes; bool drivers_kept; };
  const Case cases[] = {{3, {"PA"}, false}, {2, {"PA"}, true}, {3, {"PA", "AD"}, true}, {3, {"ND"}, true}};
  for (const Case& c : cases) {
    SetDrivers(c.drivers);
    SetExtCovers(c.codes, Texts(c.codes.size(), "10.00"));
    CheckNamedDriverExtCoverSilently(world_.workspace);
    EXPECT_EQ(Current().DriverNames.size(), c.drivers_kept ? std::size_t(c.drivers) : 1u) << c.drivers << " drivers";
  }
}

// Not reported: three drivers without a driver coverage outside a tab switch (and kept), two
// drivers besides the catch-all driver, and one driver with an unset coverage code against an
// empty row.
TEST_F(NamedDriverCheck, NothingToReport) {
  // clang-format off
  const std::function<void()> situations[] = {
      [&] { world_.workspace.page.TabSwitchInProgress = false; SetDrivers(3); },
      [&] { SetNames({"INSURED", "DRIVER 1", "any driver"}); },
      [&] { world_.SetSystemCodes({{"1008", ""}, {"1021", ""}}); SetDrivers(1); SetExtCovers({""}, {""}); }};
  // clang-format on
  for (const auto& situation : situations) {
    world_.workspace.page.TabSwitchInProgress = true;
    situation();
    const std::size_t drivers = Current().DriverNames.size();
    CheckNamedDriverExtCover(world_.workspace, world_.window());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(Current().DriverNames.size(), drivers);
  }
}

}  // namespace
}  // namespace cn

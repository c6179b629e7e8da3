// The rating factors sent to the engines: the values derived from the cover note, and the
// positions where the administrator's typed figures, the trailer and the extended covers
// change what is sent.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/runtime_failure.h"
#include "base/separators.h"
#include "base/text.h"
#include "pages/premium/premium_factors.h"
#include "pages/premium/premium_requests.h"
#include "workspace_world.h"

namespace cn {
namespace {

using Texts = std::vector<std::string>;

const Date kToday = *Date::FromYmd(2014, 3, 5);

// A registered vehicle's factors are in every golden premium scenario; these are not.
TEST(PremiumFactors, AVehicleNotYetRegisteredIsRatedFromToday) {
  CoverNoteFields unregistered;
  unregistered.VehicleNo = "TBA";
  CoverNoteFields logbook_pending;
  logbook_pending.VehicleNo = "WXY1";
  logbook_pending.CoverType = "COMMERCIAL";
  logbook_pending.LogBookNo = "tba";

  // Without both dates: a year from today.
  const auto period = PeriodRated(unregistered, "TBA", kToday);
  EXPECT_EQ((Texts{period.start, period.end}), (Texts{"05-Mar-2014", "04-Mar-2015"}));
  // The placeholder is compared as written.
  EXPECT_EQ(PeriodRated(unregistered, "tba", kToday).start, "");
  EXPECT_EQ(YearMadeRated(unregistered, "tba", kToday), "2014");
  EXPECT_EQ(YearMadeRated(logbook_pending, "TBA", kToday), "2014");
  EXPECT_EQ(VehicleAge("", kToday), "");
  EXPECT_EQ(AgeAtCover("", "01-Jan-2014"), "26");
  EXPECT_EQ(DrivingYears("", kToday), "0");
  EXPECT_THROW(PlainAmount("12a"), RuntimeFailure);
  EXPECT_THROW(RatedDate("31-Feb-2014"), RuntimeFailure);
}

class PremiumRequestTest : public ::testing::Test {
 protected:
  PremiumRequestTest() {
    world.workspace.identity.CurrentAgentCode = "AG001";
    world.workspace.startup.SystemCodes = {{1031, "TBA"}, {1026, "10.00"}};
    CoverNoteFields& f = world.workspace.record.Current;
    f.VehicleNo = "WXY1234";
    f.EffectiveDate = "10-Mar-2014";
    f.ExpiryDate = "09-Mar-2015";
    f.YearMade = "2010";
    f.StampDuty = "5.00";
    f.LoadPercentage = "20";
    f.TariffPremium = "1,200.00";
    f.ExcessAmount = "";
    f.DriverNames = {"THE INSURED", "", "AHMAD"};
    f.ExtCoverCodes = {"089", "025"};
    f.ExtCoverMethods = {"S", "P"};
  }
  Texts Build(FactorLayout layout, std::vector<bool> typed = {}) {
    typed_ = std::move(typed);
    const FactorSource source{world.workspace.record.Current, typed_, world.workspace, kToday};
    return Split(BuildFactors(layout, source), FieldSeparator);
  }
  testing::WorkspaceWorld world{dom::Document::Parse("<html></html>"),
                                testing::At(2014, 3, 5, 12)};
  std::vector<bool> typed_;
};

// The factors at `positions`.
Texts At(const Texts& factors, std::initializer_list<std::size_t> positions) {
  Texts picked;
  for (const std::size_t position : positions) picked.push_back(factors.at(position));
  return picked;
}

TEST_F(PremiumRequestTest, WhatTheAdministratorTypedIsSentOnlyWhenTyped) {
  // Agent, start of cover, loading, tariff premium, stamp duty, excess, driver rows, methods,
  // and the count at the end; -1 where nothing was typed, the default stamp duty.
  const std::initializer_list<std::size_t> positions = {2, 8, 14, 21, 32, 42, 22, 24, 50};
  Texts v10 = Build(CurrentEngineFactors());
  ASSERT_EQ(v10.size(), 51u);
  EXPECT_EQ(At(v10, positions), (Texts{"AG001", "10-Mar-2014", "-1", "-1", "10.00", "-1", "3",
                                       "S\xEF\xBF\xBDP", "4"}));

  PremiumState& typed = world.workspace.premium;
  typed.LoadPercentageEntered = typed.TariffPremiumEntered = typed.StampDutyEntered = true;
  typed.ExcessEntered = true;
  v10 = Build(CurrentEngineFactors(), {false, true});
  // The excess typed but empty goes as an empty field.
  EXPECT_EQ(At(v10, {14, 21, 32, 42, 24}),
            (Texts{"20", "1200", "5.00", "", "S\xEF\xBF\xBD-1"}));

  // The amended engine counts only drivers with a name.
  const Texts ex = Build(CurrentEngineAmendedFactors(), {false, true});
  ASSERT_EQ(ex.size(), 45u);
  EXPECT_EQ(At(ex, {7, 16, 19, 24}), (Texts{"2", "0", "0", "1\xEF\xBF\xBD" "0"}));
  EXPECT_EQ(Build(NewTariffFactors()).size(), 44u);
  EXPECT_EQ(Build(NewTariffPreviousFactors()).size(), 51u);
  EXPECT_EQ(Build(CurrentEnginePreviousFactors()).size(), 57u);
}

TEST_F(PremiumRequestTest, TheTrailerFlagDiffersByEngine) {
  CoverNoteFields& f = world.workspace.record.Current;
  for (const auto& [trailer, v10, ex] : {std::tuple{"", "0", "0"}, std::tuple{"TR 1", "-1", "1"},
                                         std::tuple{" ", "0", "1"}}) {
    f.TrailerNo = trailer;
    EXPECT_EQ(Build(CurrentEngineFactors())[6], v10) << "'" << trailer << "'";
    EXPECT_EQ(Build(CurrentEngineAmendedFactors())[8], ex) << "'" << trailer << "'";
  }
}

TEST_F(PremiumRequestTest, AnAmountThatIsNotANumberSendsNothing) {
  world.workspace.record.Current.VehicleSumInsured = "ten thousand";
  EXPECT_THROW(Build(CurrentEngineFactors()), RuntimeFailure);
}

}  // namespace
}  // namespace cn

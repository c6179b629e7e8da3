// Years of driving and the licence date they stand for, on the back end's clock.
#include "workspace/licence.h"

#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "workspace_fixture.h"

namespace cn {
namespace {

using WorkspaceWorld = workspace_testing::CoverCornerWorld;

TEST(Licence, YearsCountCalendarYearsOnTheBackEndClock) {
  WorkspaceWorld world;
  world.SetBackEndNow("2014-01-02 08:00:00");
  world.clock.Set({*Date::FromYmd(2030, 6, 1), Time()});  // not the clock that counts
  EXPECT_EQ(LicenceYears(world.workspace, ""), 0);
  EXPECT_EQ(LicenceYears(world.workspace, "31-12-2013"), 1);  // a day, but another year
  EXPECT_EQ(LicenceYears(world.workspace, "01-Jan-2004"), 10);
  EXPECT_THROW(LicenceYears(world.workspace, "soon"), RuntimeFailure);
}

TEST(Licence, YearsOfDrivingGiveTheFirstOfJanuary) {
  WorkspaceWorld world;
  world.SetBackEndNow("2014-08-20 09:00:00");
  EXPECT_EQ(LicenceDateFromYears(world.workspace, 3), "01-Jan-2011");
  EXPECT_EQ(LicenceDateFromYears(world.workspace, 0), "01-Jan-2014");
  EXPECT_EQ(LicenceDateFromYears(world.workspace, 5), "01-Jan-2009");
  EXPECT_THROW(LicenceDateFromYears(world.workspace, 99999), RuntimeFailure);
}

}  // namespace
}  // namespace cn

// The empty cover note where the golden start-up and reset transcripts do not reach: the
// transaction type the Cover tab shows. The insured as driver and the local clock standing
// in for the back end's are in the golden start-up scenarios. And years of driving with the
// licence date they stand for, on the back end's clock.
#include "workspace/record_defaults.h"

#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "workspace/licence.h"
#include "workspace_world.h"

namespace cn {
namespace {

using testing::CodeList;
using testing::WorkspaceWorld;

TEST(RecordDefaults, KeepsTheTransactionTypeTheCoverTabShows) {
  WorkspaceWorld world;
  world.SetSystemCodes(
      {{"1011", "MC01"}, {"1025", "6"}, {"1030", "INSURED"}, {"1061", "MC09;MC01"}});
  world.SetBackEndNow("2014-03-05 09:30:15");
  world.fakes.backend.AnswerAny("Tarvin.Find.FindMotorClass",
                                CodeList({{"A1", "Private car"}, {"A2", "Private hire"}}));
  world.fakes.backend.AnswerAny("Tarvin.Find.Browse",
                                CodeList({{"U1", "Social"}, {"U2", "Business"}}));
  world.page->GetElementById("cboTransactionType")->SetValue("T");
  const CoverNoteFields& current = world.workspace.record.Current;
  // A transfer carries no service tax; a reset refills the page; another tab shows no type.
  std::string seen;
  for (const auto& [tab, filling] :
       {std::pair{"COVCover", false}, {"COVCover", true}, {"COVVeh", false}}) {
    world.workspace.page.CurrentTabId = tab;
    world.workspace.page.PageFilling = filling;
    SetRecordDefaults(world.workspace, world.page.get(), world.window());
    seen += current.TransactionType + current.ServiceTaxPercentage + " ";
  }
  EXPECT_EQ(seen, "T0 N6 N6 ");
}

TEST(Licence, YearsCountCalendarYearsOnTheBackEndClockAndGiveTheFirstOfJanuary) {
  WorkspaceWorld world;
  world.SetBackEndNow("2014-01-02 08:00:00");
  world.clock.Set({*Date::FromYmd(2030, 6, 1), Time()});  // not the clock that counts
  EXPECT_EQ(LicenceYears(world.workspace, ""), 0);
  EXPECT_EQ(LicenceYears(world.workspace, "31-12-2013"), 1);  // a day, but another year
  EXPECT_EQ(LicenceYears(world.workspace, "01-Jan-2004"), 10);
  EXPECT_THROW(LicenceYears(world.workspace, "soon"), RuntimeFailure);
  world.SetBackEndNow("2014-08-20 09:00:00");
  EXPECT_EQ(LicenceDateFromYears(world.workspace, 3) + LicenceDateFromYears(world.workspace, 0),
            "01-Jan-201101-Jan-2014");
  EXPECT_THROW(LicenceDateFromYears(world.workspace, 99999), RuntimeFailure);
}

}  // namespace
}  // namespace cn

// The empty cover note where the golden start-up and reset transcripts do not reach: the
// transaction type the Cover tab shows. The insured as driver and the local clock standing
// in for the back end's are in the golden start-up scenarios.
#include "workspace/record_defaults.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workspace_fixture.h"

namespace cn {
namespace {

using testing::CodeList;
using WorkspaceWorld = workspace_testing::CoverCornerWorld;

class RecordDefaults : public ::testing::Test {
 protected:
  RecordDefaults() {
    world_.SetSystemCodes(
        {{"1011", "MC01"}, {"1025", "6"}, {"1030", "INSURED"}, {"1061", "MC09;MC01"}});
    world_.SetBackEndNow("2014-03-05 09:30:15");
    world_.fakes.backend.AnswerAny("Tarvin.Find.FindMotorClass",
                                   CodeList({{"A1", "Private car"}, {"A2", "Private hire"}}));
    world_.fakes.backend.AnswerAny("Tarvin.Find.Browse",
                                   CodeList({{"U1", "Social"}, {"U2", "Business"}}));
  }

  void SetDefaults(dom::Document* cover_page = nullptr) {
    SetRecordDefaults(world_.workspace, cover_page, world_.window());
  }
  const CoverNoteFields& Current() const { return world_.workspace.record.Current; }

  WorkspaceWorld world_;
};

TEST_F(RecordDefaults, KeepsTheTransactionTypeTheCoverTabShows) {
  world_.page->GetElementById("cboTransactionType")->SetValue("T");
  world_.workspace.page.CurrentTabId = "COVCover";
  SetDefaults(world_.page.get());
  EXPECT_EQ(Current().TransactionType, "T");
  EXPECT_EQ(Current().ServiceTaxPercentage, "0");  // a transfer carries no service tax

  world_.workspace.page.PageFilling = true;  // a reset refills the page
  SetDefaults(world_.page.get());
  EXPECT_EQ(Current().TransactionType, "N");

  world_.workspace.page.PageFilling = false;
  world_.workspace.page.CurrentTabId = "COVVeh";
  SetDefaults(world_.page.get());
  EXPECT_EQ(Current().TransactionType, "N");
}

}  // namespace
}  // namespace cn

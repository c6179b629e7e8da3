// Which transfer each tab id reaches; any other id reaches none.
#include "workspace/tab_transfer.h"

#include <gtest/gtest.h>

#include "workspace_fixture.h"

namespace cn {
namespace {

using WorkspaceWorld = workspace_testing::CoverCornerWorld;

TEST(TabTransfer, EachTabIdReachesItsTabsTransfer) {
  const struct {
    std::string_view tab_id;
    TabTransferFunction to_page;
    TabTransferFunction to_record;
  } cases[] = {
      {"COVCover", CoverTabRecordToPage, CoverTabPageToRecord},
      {"COVVeh", VehicleTabRecordToPage, VehicleTabPageToRecord},
      {"COVNCD", NCDTabRecordToPage, NCDTabPageToRecord},
      {"COVPrem", PremiumTabRecordToPage, PremiumTabPageToRecord},
      {"COVNPrem", PremiumTabRecordToPage, PremiumTabPageToRecord},
      {"COVOPrem", PremiumTabRecordToPage, PremiumTabPageToRecord},
  };
  for (const auto& c : cases) {
    const TabTransfer* transfer = FindTabTransfer(c.tab_id);
    ASSERT_NE(transfer, nullptr) << c.tab_id;
    EXPECT_EQ(transfer->record_to_page, c.to_page) << c.tab_id;
    EXPECT_EQ(transfer->page_to_record, c.to_record) << c.tab_id;
  }
}

TEST(TabTransfer, AnyOtherIdChangesNothing) {
  WorkspaceWorld world;
  world.workspace.record.Current.ClientName = "TAN";
  const CoverNoteRecord before = world.workspace.record;
  const std::string page_before = world.page->DocumentElement()->OuterHtml();
  for (const std::string_view id : {"", "covcover", "COVCover ", "cmdSave", "COVClaims"}) {
    EXPECT_EQ(FindTabTransfer(id), nullptr) << id;
    ShowRecordOnPage(world.workspace, id, *world.page);
    SavePageToRecord(world.workspace, id, *world.page);
  }
  EXPECT_EQ(world.workspace.record, before);
  EXPECT_EQ(world.page->DocumentElement()->OuterHtml(), page_before);
  EXPECT_TRUE(world.fakes.backend.sent().empty());
}

}  // namespace
}  // namespace cn

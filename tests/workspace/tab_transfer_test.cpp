// An id that names no tab reaches no transfer and changes neither the record nor the page.
#include "workspace/tab_transfer.h"

#include <gtest/gtest.h>

#include "workspace_fixture.h"

namespace cn {
namespace {

using WorkspaceWorld = workspace_testing::CoverCornerWorld;

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

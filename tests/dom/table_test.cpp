// Tables as the row tables build them: head, body rows, cells, and the index rules.
#include <gmock/gmock.h>

#include <array>

#include "../base/failure_text.h"
#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Ids = std::vector<std::string>;

Ids IdsOf(const std::vector<std::shared_ptr<Element>>& elements) {
  Ids ids;
  for (const auto& element : elements) ids.push_back(element->Id());
  return ids;
}

// A page with a body table "t" of rows r0..r(n-1).
std::shared_ptr<Document> BodyTablePage(int rows) {
  auto page = Document::Parse("<table id=t></table>");
  const auto table = page->GetElementById("t");
  for (int i = 0; i < rows; ++i) table->InsertRow()->SetId("r" + std::to_string(i));
  return page;
}

// The rows of r0, r1, r2 after inserting a row "new" at an index, or deleting the one there
// ("" where the index is out of range: the failure, and the table left as it was).
TEST(TableRows, InsertAndDeleteRowIndexRules) {
  struct Case { int index; Ids after_insert, after_delete; };
  const Ids unchanged{"r0", "r1", "r2"};
  const Case cases[] = {
      // clang-format off
      {-2, {}, {}}, {-1, {"r0", "r1", "r2", "new"}, {"r0", "r1"}}, {0, {"new", "r0", "r1", "r2"}, {"r1", "r2"}},
      {2, {"r0", "r1", "new", "r2"}, {"r0", "r1"}}, {3, {"r0", "r1", "r2", "new"}, {}}, {4, {}, {}},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    const auto pages = std::array{BodyTablePage(3), BodyTablePage(3)};
    const auto inserted = pages[0]->GetElementById("t");
    const auto deleted = pages[1]->GetElementById("t");
    EXPECT_EQ(FailureText([&] { inserted->InsertRow(c.index)->SetId("new"); }),
              c.after_insert.empty()
                  ? "9: insertRow(" + std::to_string(c.index) + ") on TABLE 't', which has 3 rows"
                  : "no failure");
    EXPECT_EQ(IdsOf(inserted->Rows()), c.after_insert.empty() ? unchanged : c.after_insert);
    EXPECT_EQ(FailureText([&] { deleted->DeleteRow(c.index); }) == "no failure",
              !c.after_delete.empty());
    EXPECT_EQ(IdsOf(deleted->Rows()), c.after_delete.empty() ? unchanged : c.after_delete);
  }
  // Deleting the last row of an empty table does nothing.
  const auto empty = BodyTablePage(0);
  empty->GetElementById("t")->DeleteRow(-1);
  EXPECT_TRUE(empty->GetElementById("t")->Rows().empty());
}

TEST(TableRows, AppendedRowsGoIntoTheLastBodyWhichIsCreatedWhenMissing) {
  const auto page = Document::Parse("<div id=d></div>");
  const auto table = page->CreateElement("TABLE");
  page->GetElementById("d")->ApplyElement(table, "inside");
  table->CreateTHead()->InsertRow()->SetId("Header");
  table->InsertRow()->SetId("rowDrv0");
  EXPECT_EQ(table->InnerHtml(),
            "<thead><tr id=\"Header\"></tr></thead><tbody><tr id=\"rowDrv0\"></tr></tbody>");
  const auto two_bodies = Document::Parse(
      "<table id=t><tbody id=b1><tr></tr></tbody><tbody id=b2></tbody><tfoot><tr></tr></tfoot>"
      "</table>");
  EXPECT_EQ(two_bodies->GetElementById("t")->InsertRow()->ParentElement()->Id(), "b2");
  const auto foot_only = Document::Parse("<table id=t><tfoot><tr id=f></tr></tfoot></table>");
  foot_only->GetElementById("t")->InsertRow(-1)->SetId("new");
  EXPECT_THAT(IdsOf(foot_only->GetElementById("t")->Rows()), ElementsAre("new", "f"));
}

TEST(TableCells, InsertCellIndexRulesAndCellProperties) {
  const auto page = BodyTablePage(1);
  const auto row = page->GetElementById("t")->Rows()[0];
  row->InsertCell()->SetId("c0");
  row->InsertCell(-1)->SetId("c2");
  row->InsertCell(1)->SetId("c1");
  EXPECT_THAT(IdsOf(row->Cells()), ElementsAre("c0", "c1", "c2"));
  for (const int index : {4, -2}) EXPECT_THROW(row->InsertCell(index), RuntimeFailure) << index;

  const auto cell = row->Cells()[0];
  cell->SetWidth("15%");
  cell->SetNoWrap(true);
  cell->SetStyle("paddingLeft", "5%");
  EXPECT_EQ(cell->OuterHtml(),
            "<td id=\"c0\" width=\"15%\" nowrap=\"\" style=\"padding-left: 5%\"></td>");
  cell->SetNoWrap(false);
  EXPECT_EQ(cell->OuterHtml(), "<td id=\"c0\" width=\"15%\" style=\"padding-left: 5%\"></td>");
}

TEST(TableFailures, TableOperationsOnOtherElementsNameTheElement) {
  const auto page = testing::LoadVehicleTab();
  const auto div = page->GetElementById("divNPerson");
  EXPECT_THAT(FailureText([&] { div->InsertRow(); }),
              AllOf(HasSubstr("insertRow"), HasSubstr("DIV 'divNPerson'")));
  EXPECT_THROW(div->DeleteRow(0), RuntimeFailure);
  EXPECT_THROW(div->CreateTHead(), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("tblVehicle")->InsertCell(), RuntimeFailure);
}

}  // namespace
}  // namespace cn::dom

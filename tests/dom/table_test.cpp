// Tables as the row tables build them: head, body rows, cells, and the index rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> RowIds(const Element& table) {
  std::vector<std::string> ids;
  for (const auto& row : table.Rows()) ids.push_back(row->Id());
  return ids;
}

// A page with a body table "t" of rows r0..r(n-1).
std::shared_ptr<Document> BodyTablePage(int rows) {
  auto page = Document::Parse("<table id=t></table>");
  const auto table = page->GetElementById("t");
  for (int i = 0; i < rows; ++i) table->InsertRow()->SetId("r" + std::to_string(i));
  return page;
}

TEST(TableRows, InsertRowIndexRules) {
  struct Case {
    int index;
    std::vector<std::string> ids;  // after inserting "new" into r0, r1, r2
  };
  const Case cases[] = {
      {-1, {"r0", "r1", "r2", "new"}},
      {3, {"r0", "r1", "r2", "new"}},
      {0, {"new", "r0", "r1", "r2"}},
      {2, {"r0", "r1", "new", "r2"}},
  };
  for (const Case& c : cases) {
    const auto page = BodyTablePage(3);
    const auto table = page->GetElementById("t");
    table->InsertRow(c.index)->SetId("new");
    EXPECT_EQ(RowIds(*table), c.ids) << "index " << c.index;
  }
  for (const int bad : {-2, 4}) {
    const auto page = BodyTablePage(3);
    const auto table = page->GetElementById("t");
    try {
      table->InsertRow(bad);
      ADD_FAILURE() << "no failure for index " << bad;
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.number(), failure::kSubscriptOutOfRange);
      EXPECT_THAT(failure.description(), HasSubstr("insertRow(" + std::to_string(bad) + ") on TABLE 't'"));
    }
    EXPECT_EQ(table->Rows().size(), 3U);
  }
}

TEST(TableRows, AppendedRowsGoIntoTheLastBodyWhichIsCreatedWhenMissing) {
  const auto page = Document::Parse("<div id=d></div>");
  const auto table = page->CreateElement("TABLE");
  page->GetElementById("d")->ApplyElement(table, "inside");
  table->CreateTHead()->InsertRow()->SetId("Header");
  table->InsertRow()->SetId("rowDrv0");
  EXPECT_EQ(table->InnerHtml(),
            "<thead><tr id=\"Header\"></tr></thead><tbody><tr id=\"rowDrv0\"></tr></tbody>");

  const auto two_bodies_page = Document::Parse(
                              "<table id=t><tbody id=b1><tr></tr></tbody><tbody id=b2></tbody>"
                              "<tfoot><tr></tr></tfoot></table>");
  const auto two_bodies = two_bodies_page->GetElementById("t");
  EXPECT_EQ(two_bodies->InsertRow()->ParentElement()->Id(), "b2");

  const auto foot_only_page = Document::Parse("<table id=t><tfoot><tr id=f></tr></tfoot></table>");
  const auto foot_only = foot_only_page->GetElementById("t");
  foot_only->InsertRow(-1)->SetId("new");
  EXPECT_THAT(RowIds(*foot_only), ElementsAre("new", "f"));
}

TEST(TableRows, DeleteRowIndexRules) {
  struct Case {
    int index;
    std::vector<std::string> ids;  // after deleting from r0, r1, r2
  };
  const Case cases[] = {
      {-1, {"r0", "r1"}},
      {0, {"r1", "r2"}},
      {2, {"r0", "r1"}},
  };
  for (const Case& c : cases) {
    const auto page = BodyTablePage(3);
    const auto table = page->GetElementById("t");
    table->DeleteRow(c.index);
    EXPECT_EQ(RowIds(*table), c.ids) << "index " << c.index;
  }
  for (const int bad : {-2, 3}) EXPECT_THROW(BodyTablePage(3)->GetElementById("t")->DeleteRow(bad), RuntimeFailure);
  // Deleting the last row of an empty table does nothing.
  const auto empty_page = BodyTablePage(0);
  const auto empty = empty_page->GetElementById("t");
  empty->DeleteRow(-1);
  EXPECT_TRUE(empty->Rows().empty());
}

TEST(TableCells, InsertCellIndexRulesAndCellProperties) {
  const auto page = BodyTablePage(1);
  const auto row = page->GetElementById("t")->Rows()[0];
  row->InsertCell()->SetId("c0");
  row->InsertCell(-1)->SetId("c2");
  row->InsertCell(1)->SetId("c1");
  std::vector<std::string> ids;
  for (const auto& cell : row->Cells()) ids.push_back(cell->Id());
  EXPECT_THAT(ids, ElementsAre("c0", "c1", "c2"));
  EXPECT_THROW(row->InsertCell(4), RuntimeFailure);
  EXPECT_THROW(row->InsertCell(-2), RuntimeFailure);

  const auto cell = row->Cells()[0];
  cell->SetWidth("15%");
  cell->SetNoWrap(true);
  cell->SetStyle("paddingLeft", "5%");
  EXPECT_EQ(cell->OuterHtml(), "<td id=\"c0\" width=\"15%\" nowrap=\"\" style=\"padding-left: 5%\"></td>");
  cell->SetNoWrap(false);
  EXPECT_FALSE(cell->NoWrap());
}

TEST(TableFailures, TableOperationsOnOtherElementsNameTheElement) {
  const auto page = testing::LoadVehicleTab();
  const auto div = page->GetElementById("divNPerson");
  try {
    div->InsertRow();
    FAIL() << "no failure";
  } catch (const RuntimeFailure& failure) {
    EXPECT_THAT(failure.description(), HasSubstr("insertRow"));
    EXPECT_THAT(failure.description(), HasSubstr("DIV 'divNPerson'"));
  }
  EXPECT_THROW(div->DeleteRow(0), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("tblVehicle")->InsertCell(), RuntimeFailure);
}

}  // namespace
}  // namespace cn::dom

// Lookups by id while the page changes: the document's answer must always be the first element
// in tree order carrying the id, exactly as walking the page finds it.
#include <gtest/gtest.h>

#include <functional>

#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

// The answer by walking the whole page.
std::shared_ptr<Element> FoundByWalking(const Document& page, std::string_view id) {
  const auto root = page.DocumentElement();
  return root->Id() == id ? root : root->FindInAll(id);
}

const std::string kTwoRows =
    "<body><table><tbody>"
    "<tr id=row data-n=r1><td><input id=txtDrv data-n=d1></td></tr>"
    "<tr id=row data-n=r2><td><input id=txtDrv data-n=d2></td></tr>"
    "</tbody></table><div id=tail data-n=t></div></body>";

struct Case {
  std::string name;
  std::function<void(Document&)> change;
  std::string id;               // looked up after the change
  std::string expected_marker;  // the "data-n" of the element found; "" for none
  std::string html = kTwoRows;
};

// clang-format off
std::vector<Case> Cases() {
  const auto unchanged = [](Document&) {};
  return {
      {"RemovingTheFirstDuplicateGivesTheNext", [](Document& p) { p.GetElementById("txtDrv")->Remove(); },
       "txtDrv", "d2"},
      {"DuplicateMovedInFrontOfTheFirst", [](Document& p) {
         const auto first_cell = p.GetElementById("txtDrv")->ParentElement();
         first_cell->InsertBefore(p.AllWithId("txtDrv")[1], first_cell->ChildNodes().front());
       }, "txtDrv", "d2"},
      {"NewDuplicateAddedEarlierInThePage", [](Document& p) {
         const auto input = p.CreateElement("INPUT");
         input->SetId("txtDrv");
         input->SetAttribute("data-n", "new");
         p.Body()->InsertBefore(input, p.Body()->ChildNodes().front());
       }, "txtDrv", "new"},
      {"IdChangedBySetter", [](Document& p) { p.GetElementById("tail")->SetId("txtDrv"); }, "txtDrv", "d1"},
      {"OldIdNoLongerFindsTheElement", [](Document& p) { p.GetElementById("tail")->SetId("other"); }, "tail", ""},
      {"IdSetAsAttributeInAnyCase",
       [](Document& p) { p.GetElementById("txtDrv")->SetAttribute("ID", "first"); }, "txtDrv", "d2"},
      {"DetachedElementIsNotFound", [](Document& p) { p.CreateElement("DIV")->SetId("tail"); }, "tail", "t"},
      {"IdChangedWhileDetachedCountsOnReturn", [](Document& p) {
         const auto tail = p.GetElementById("tail");
         tail->Remove();
         tail->SetId("txtDrv");
         p.Body()->InsertBefore(tail, p.Body()->ChildNodes().front());
       }, "txtDrv", "t"},
      {"ElementsInsideADetachedSubtreeAreNotFound",
       [](Document& p) { p.CreateElement("DIV")->AppendChild(p.GetElementById("row")); }, "txtDrv", "d2"},
      {"InnerHtmlRemovesTheOldContentsIds",
       [](Document& p) { p.Body()->SetInnerHtml("<span id=other></span>"); }, "txtDrv", ""},
      {"InnerHtmlContentIsFound",
       [](Document& p) { p.Body()->SetInnerHtml("<b><span id=txtDrv data-n=inner></span></b>"); }, "txtDrv", "inner"},
      {"DocumentElementById", unchanged, "top", "html", "<html id=top data-n=html><body><p id=top></p></body></html>"},
      {"IdsAreCaseSensitive", unchanged, "TXTDRV", ""},
      {"EmptyIdStillAnswersTheDocumentElement", unchanged, "", "html", "<html data-n=html><p id=''></p></html>"},
  };
}
// clang-format on

TEST(IdLookup, AnswersAsWalkingThePageAfterEachKindOfChange) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    const auto page = Document::Parse(c.html);
    page->FindElementById("warm");  // the lookups after a change, not the first, are under test
    c.change(*page);
    const auto found = page->FindElementById(c.id);
    EXPECT_EQ(found, FoundByWalking(*page, c.id));
    EXPECT_EQ(found ? found->GetAttribute("data-n") : "", c.expected_marker);
  }
}

// Every id of a real page, through a series of row rebuilds, against the walk.
TEST(IdLookupOnAPage, EveryIdAgreesWithTheWalkAfterEachChange) {
  const auto page = testing::LoadVehicleTab();
  std::vector<std::string> ids{"", "missing"};
  for (const auto& element : page->All()) {
    if (element->HasAttribute("id")) ids.push_back(element->Id());
  }
  const auto check = [&](const std::string& when) {
    for (const auto& id : ids) EXPECT_EQ(page->FindElementById(id), FoundByWalking(*page, id)) << when << ": " << id;
  };
  check("loaded");
  for (int i = 0; i < 3; ++i) {
    const auto body = page->Body();
    body->InsertBefore(body->Children().back(), body->ChildNodes().front());
    check("moved " + std::to_string(i));
    body->Children()[1]->SetInnerHtml(body->Children()[2]->OuterHtml());
    check("copied " + std::to_string(i));
  }
}

}  // namespace
}  // namespace cn::dom

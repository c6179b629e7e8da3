// The change record the web layer turns into patches.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// "kind node-id name=value" lines, node ids as element ids where the node has one.
std::vector<std::string> Describe(const Document& page, const std::vector<Mutation>& mutations) {
  std::vector<std::string> lines;
  const auto name_of = [&](NodeId id) -> std::string {
    const auto node = page.FindNode(id);
    if (!node) return "#" + std::to_string(id);
    if (node->IsElement()) {
      const auto& element = static_cast<const Element&>(*node);
      return element.Id().empty() ? element.TagName() : element.Id();
    }
    return "#text";
  };
  for (const Mutation& m : mutations) {
    std::string line = std::string(MutationKindName(m.kind)) + " " + (m.node == 0 ? "window" : name_of(m.node));
    if (m.parent != 0) line += " in " + name_of(m.parent) + "@" + std::to_string(m.index);
    if (!m.name.empty() || !m.value.empty()) line += " " + m.name + "=" + m.value;
    lines.push_back(line);
  }
  return lines;
}

TEST(MutationRecord, OffByDefault) {
  const auto page = testing::LoadVehicleTab();
  EXPECT_FALSE(page->IsRecording());
  page->GetElementById("txtModel")->SetValue("MYVI");
  EXPECT_THAT(page->Mutations(), IsEmpty());
}

TEST(MutationRecord, PropertiesAttributesStylesAndActionsInOrder) {
  const auto page = testing::LoadVehicleTab();
  page->SetRecording(true);
  const auto model = page->GetElementById("txtModel");
  model->SetReadOnly(false);
  model->SetStyle("backgroundColor", "");
  model->SetTabIndex(1);
  model->SetDisabled(false);
  model->SetAttribute("onInpChanged", "s");
  model->RemoveAttribute("oninpchanged");
  model->Focus();
  model->Select();
  model->ScrollIntoView(false);
  const int behavior = model->AddBehavior("Behaviors/EntrySpace.htc");
  model->RemoveBehavior(behavior);
  page->ParentWindow()->SetStatus("Done");
  EXPECT_THAT(Describe(*page, page->TakeMutations()),
              ElementsAre("property txtModel readOnly=false", "style txtModel background-color=",
                          "property txtModel tabIndex=1", "property txtModel disabled=false",
                          "attribute txtModel oninpchanged=s", "attribute-removed txtModel oninpchanged=",
                          "focus txtModel", "select txtModel", "scroll-into-view txtModel =false",
                          "behavior-added txtModel Behaviors/EntrySpace.htc=1",
                          "behavior-removed txtModel Behaviors/EntrySpace.htc=1", "status window =Done"));
  EXPECT_THAT(page->Mutations(), IsEmpty());
}

TEST(MutationRecord, BuildingARowRecordsItsInsertionAndCellContent) {
  const auto page = Document::Parse("<table id=body></table>");
  const auto table = page->GetElementById("body");
  page->SetRecording(true);
  const auto row = table->InsertRow();  // creates the body section first
  row->SetId("rowDrv0");
  const auto cell = row->InsertCell();
  cell->SetWidth("15%");
  cell->SetInnerHtml("<Input tabindex=1 id =txtDrv>");
  row->GetFromAll("txtDrv")->SetValue("AHMAD");

  const std::vector<Mutation> mutations = page->TakeMutations();
  EXPECT_THAT(Describe(*page, mutations),
              ElementsAre("insert TBODY in body@0 TBODY=<tbody></tbody>", "insert rowDrv0 in TBODY@0 TR=<tr></tr>",
                          "property rowDrv0 id=rowDrv0", "insert TD in rowDrv0@0 TD=<td></td>",
                          "property TD width=15%", "insert txtDrv in TD@0 INPUT=<input tabindex=\"1\" id=\"txtDrv\">",
                          "content TD innerHTML=<Input tabindex=1 id =txtDrv>", "property txtDrv value=AHMAD"));
}

TEST(MutationRecord, ContentReplacementRecordsRemovalsThenInsertions) {
  const auto page = testing::LoadVehicleTab();
  const auto message = page->GetElementById("UIF_ID_Msg");
  const auto old_text = message->ChildNodes().at(0);
  page->SetRecording(true);
  message->SetInnerText("COVVeh");
  EXPECT_THAT(Describe(*page, page->TakeMutations()),
              ElementsAre("remove #text in UIF_ID_Msg@0", "insert #text in UIF_ID_Msg@0 #text=COVVeh",
                          "content UIF_ID_Msg innerText=COVVeh"));
}

TEST(MutationRecord, ChangesOutsideTheTreeAreCarriedByTheirInsertion) {
  const auto page = testing::LoadVehicleTab();
  page->SetRecording(true);
  const auto table = page->CreateElement("TABLE");
  table->SetId("NpTbl");
  table->SetStyle("tableLayout", "fixed");
  table->CreateTHead()->InsertRow();
  page->GetElementById("divNPerson")->ApplyElement(table, "inside");
  EXPECT_THAT(Describe(*page, page->TakeMutations()),
              ElementsAre("insert NpTbl in divNPerson@0 TABLE=<table id=\"NpTbl\" style=\"table-layout: fixed\">"
                          "<thead><tr></tr></thead></table>"));
}

TEST(MutationRecord, SelectChangesAreRecordedAsTheSelectedIndex) {
  const auto page = testing::LoadVehicleTab();
  page->SetRecording(true);
  const auto make = page->GetElementById("cboVehicleMakeCode");
  make->SetValue("01");
  make->SetValue("99");
  make->Options().Item(3)->SetSelected(true);
  EXPECT_THAT(Describe(*page, page->TakeMutations()),
              ElementsAre("property cboVehicleMakeCode selectedIndex=1", "property cboVehicleMakeCode selectedIndex=-1",
                          "property cboVehicleMakeCode selectedIndex=3"));
}

TEST(MutationRecord, ListenersHearChangesOfTheirKindEvenWhenNotRecording) {
  const auto page = testing::LoadVehicleTab();
  std::vector<std::string> heard;
  const int id = page->AddChangeListener(MutationKind::kContentSet, [&](const Mutation& m) {
    heard.push_back(std::string(MutationKindName(m.kind)) + " " + m.value);
  });
  const auto message = page->GetElementById("UIF_ID_Msg");
  message->SetClassName("shown");
  message->SetInnerText("cmdSave");
  message->SetInnerText("cmdSave");  // the same message again is a change again
  page->RemoveChangeListener(id);
  message->SetInnerText("cmdReset");
  EXPECT_THAT(heard, ElementsAre("content cmdSave", "content cmdSave"));
  EXPECT_THAT(page->Mutations(), IsEmpty());
}

TEST(MutationRecord, AListenerMayChangeThePageWhileItRuns) {
  const auto page = testing::LoadVehicleTab();
  page->SetRecording(true);
  const auto message = page->GetElementById("UIF_ID_Msg");
  const auto status = page->GetElementById("divNPerson");
  page->AddChangeListener(MutationKind::kContentSet, [&](const Mutation& m) {
    if (m.node == message->node_id()) status->SetClassName("seen");
  });
  message->SetInnerText("COVPrem");
  const auto mutations = page->TakeMutations();
  ASSERT_FALSE(mutations.empty());
  EXPECT_EQ(mutations.back().name, "className");
  EXPECT_EQ(status->ClassName(), "seen");
}

}  // namespace
}  // namespace cn::dom

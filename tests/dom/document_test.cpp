// Loading a page and finding things in it: ids, the all collection, frames, cookies, window;
// and hearing the changes made to it.
#include <gmock/gmock.h>

#include "../base/failure_text.h"
#include "dom/document.h"
#include "fake_ports.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;
using testing::LoadVehicleTab;

// Whitespace a browser never shows (between rows, cells and options) is not kept; text and
// the spaces between inline controls are.
TEST(DocumentLoad, LayoutWhitespaceIsDroppedShownSpacesAreKept) {
  const auto page = Document::Parse(
      "<html>\n<body>\n<table id='t'>\n <tr id='r'>\n  <td id='c'> a <b>b</b> </td>\n </tr>\n</table>\n"
      "<select id='s'>\n <option>x</option>\n</select> <div id='d'><input> <input></div></body></html>");
  const auto kinds = [&](std::string_view id) {
    std::string out;
    for (const auto& child : page->GetElementById(id)->ChildNodes()) out += child->IsElement() ? 'E' : 'T';
    return out;
  };
  EXPECT_EQ(kinds("r") + " " + kinds("s") + " " + kinds("c") + " " + kinds("d"), "E E TET ETE");
  EXPECT_EQ(page->GetElementById("c")->InnerHtml(), " a <b>b</b> ");
  page->GetElementById("r")->SetInnerHtml("\n<td>1</td>\n<td>2</td>\n");
  EXPECT_EQ(kinds("r"), "EE");
}

TEST(DocumentLoad, VeryDeepNestingIsCappedInsteadOfExhaustingTheStack) {
  std::string html;
  for (int i = 0; i < 1500; ++i) html += "<span>";
  html += "<b id=deep>x</b>";
  const auto page = Document::Parse(html);
  // Beyond the cap, content follows its element instead of nesting in it, as browsers do.
  const auto deep = page->GetElementById("deep");
  EXPECT_EQ(deep->ParentElement()->ChildNodes().back()->InnerText(), "x");
  EXPECT_EQ(page->Body()->InnerText(), "x");
}

TEST(DocumentLookup, DuplicateIdsGiveTheFirstOrEveryMatchInTreeOrder) {
  const auto page = Document::Parse(
      "<table id=t><tr id=rowDrv0><td><input id=txtDrv value=A></td></tr>"
      "<tr id=rowDrv1><td><input id=txtDrv value=B></td></tr></table>");
  const auto values = [](const std::vector<std::shared_ptr<Element>>& all) {
    std::vector<std::string> out;
    for (const auto& element : all) out.push_back(element->Value());
    return out;
  };
  EXPECT_EQ(page->GetElementById("txtDrv")->Value(), "A");
  EXPECT_EQ(page->FindInAll("txtDrv")->Value(), "A");
  EXPECT_THAT(values(page->AllWithId("txtDrv")), ElementsAre("A", "B"));
  // A row's own "all" collection reaches only its own controls.
  const auto row = page->GetElementById("rowDrv1");
  EXPECT_EQ(row->GetFromAll("txtDrv")->Value(), "B");
  EXPECT_THAT(values(row->AllWithId("txtDrv")), ElementsAre("B"));
}

TEST(DocumentLookup, MissingElementsAndFilesAreNullWhenFoundAndFailuresWhenRequired) {
  const auto page = LoadVehicleTab();
  EXPECT_TRUE(page->FindElementById("txtNoSuch") == nullptr && page->Body()->FindInAll("txtNoSuch") == nullptr);
  EXPECT_THAT(FailureText([&] { page->GetElementById("txtNoSuch"); }),
              AllOf(StartsWith("424: "), HasSubstr("'txtNoSuch'")));
  EXPECT_THAT(FailureText([] { Document::Load("/nonexistent/CNAAVeh.htm"); }),
              HasSubstr("/nonexistent/CNAAVeh.htm"));
  EXPECT_THROW(page->GetElementById("divNPerson")->GetFromAll("txtDrv"), RuntimeFailure);
  EXPECT_THROW(page->GetFrame("NoFrame"), RuntimeFailure);
}

TEST(DocumentLookup, NodesStayReachableByIdWhileHeldAndIdsAreNeverReused) {
  const auto page = LoadVehicleTab();
  auto removed = page->GetElementById("lnkDeleteNPerson");
  const NodeId id = removed->node_id();
  removed->Remove();
  EXPECT_EQ(page->FindNode(id), removed);
  EXPECT_EQ(removed->Value() + (removed->IsConnected() ? "connected" : ""), "");  // still usable after removal
  removed.reset();
  EXPECT_EQ(page->FindNode(id), nullptr);
  const auto fresh = page->CreateElement("span");
  EXPECT_GT(fresh->node_id(), id);
}

TEST(DocumentCreate, CreateElementTakesAnyCaseAndRefusesNonNames) {
  const auto page = Document::CreateEmpty();
  EXPECT_EQ(page->CreateElement("option")->TagName(), "OPTION");
  // Tags HTML does not define keep their own name, also in a copy of the page.
  const auto own = page->CreateElement("kv-Grid");
  EXPECT_EQ(own->TagName(), "KV-GRID");
  EXPECT_TRUE(own->Is("kv-grid"));
  page->Body()->AppendChild(own);
  EXPECT_THAT(page->Copy()->Body()->InnerHtml(), HasSubstr("<kv-grid"));
  for (const char* tag : {"", "<td>", "a b"}) EXPECT_THROW(page->CreateElement(tag), RuntimeFailure) << tag;
}

TEST(DocumentWindow, PortsFailWhenUnsetAndCarryDialogsWhenSet) {
  const auto page = Document::CreateEmpty("CNAAMain.htm");
  const auto window = page->ParentWindow();
  EXPECT_EQ(window->document(), page);
  EXPECT_THROW(window->ExecScript("ShowTitle('x')"), RuntimeFailure);
  EXPECT_THROW(window->MessageBox("Invalid postcode", message_box::kExclamation, "Invalid Data"), RuntimeFailure);
  EXPECT_THROW(window->ShowModalDialog("dlgEnq.htm", "", ""), RuntimeFailure);
  const auto dialogs = std::make_shared<cn::testing::FakeDialogs>();
  dialogs->dialog_result = "CN001";
  window->SetDialogHost(dialogs);
  EXPECT_EQ(window->ShowModalDialog("dlgEnq.htm", "arg", "status=no"), "CN001");
  EXPECT_EQ(dialogs->dialogs.at(0).argument, "arg");
}

TEST(DocumentCookie, AssignmentsSetReplaceAndDeleteOnePairEach) {
  const auto page = Document::CreateEmpty();
  EXPECT_EQ(page->Cookie(), "");
  page->SetCookie("CNote=2");
  page->SetCookie("CoverNoteNumber=CN123; path=/");
  page->SetCookie("VehicleNumber = WKL1234 ");
  EXPECT_EQ(page->Cookie(), "CNote=2; CoverNoteNumber=CN123; VehicleNumber=WKL1234");
  page->SetCookie("CNote=1");
  EXPECT_EQ(page->Cookie(), "CNote=1; CoverNoteNumber=CN123; VehicleNumber=WKL1234");
  page->SetCookie("CoverNoteNumber=; max-age=0");
  page->DeleteCookie("VehicleNumber");
  EXPECT_EQ(page->Cookie(), "CNote=1");
  page->SetCookie("Odd=a=b");
  EXPECT_EQ(page->Cookie(), "CNote=1; Odd=a=b");
  for (const char* cookie : {"novalue", "=x"}) EXPECT_THROW(page->SetCookie(cookie), RuntimeFailure) << cookie;
}

TEST(DocumentFocus, ActiveElementFollowsFocusAndFallsBackToTheBody) {
  const auto page = LoadVehicleTab();
  EXPECT_EQ(page->ActiveElement(), page->Body());
  const auto vehicle = page->GetElementById("txtVehicleNumber");
  vehicle->Focus();
  EXPECT_EQ(page->ActiveElement(), vehicle);
  // Disabled and hidden elements cannot take the focus, as in a browser.
  for (const char* id : {"txtYearMade", "kvExecuteCommand"}) page->GetElementById(id)->Focus();
  EXPECT_EQ(page->ActiveElement(), vehicle);
  page->GetElementById("tblVehicle")->SetStyle(StyleName::kVisibility, "hidden");
  page->GetElementById("txtModel")->Focus();
  EXPECT_EQ(page->ActiveElement(), vehicle);
  vehicle->Remove();
  EXPECT_EQ(page->ActiveElement(), page->Body());
}

// Change listeners: who hears which change, and changes made while listening.
TEST(MutationRecord, ListenersHearChangesOfTheirKindEvenWhenNotRecordingAndMayChangeThePage) {
  const auto page = testing::LoadVehicleTab();
  const auto message = page->GetElementById("UIF_ID_Msg");
  const auto status = page->GetElementById("divNPerson");
  std::vector<std::string> heard;
  const int id = page->AddChangeListener(MutationKind::kContentSet, [&](const Mutation& m) {
    heard.push_back(std::string(MutationKindName(m.kind)) + " " + m.value);
  });
  message->SetClassName("shown");
  for (int twice = 0; twice < 2; ++twice) message->SetInnerText("cmdSave");  // the same again is a change again
  page->RemoveChangeListener(id);
  message->SetInnerText("cmdReset");
  EXPECT_THAT(heard, ElementsAre("content cmdSave", "content cmdSave"));
  EXPECT_THAT(page->Mutations(), IsEmpty());

  page->SetRecording(true);
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

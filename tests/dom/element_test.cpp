// Element properties by name and by type, attributes, radio groups, applyElement, behaviours.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(ElementProperties, ByNameAsPageLogicSpellsThem) {
  struct Case {
    const char* name;  // spelled as the page logic spells it
    const char* written;
    const char* reads;
    const char* attribute;  // the attribute that reflects it, and its value afterwards
    const char* attribute_value;
  };
  const Case cases[] = {
      {"value", "WXY 99", "WXY 99", "value", "WXY 99"},
      {"ReadOnly", "True", "true", "readonly", ""},
      {"TabIndex", "-1", "-1", "tabindex", "-1"},
      {"MaxLength", "14", "14", "maxlength", "14"},
      {"disabled", "1", "true", "disabled", ""},
      {"className", "clsHighliteRow", "clsHighliteRow", "class", "clsHighliteRow"},
      {"Width", "100%", "100%", "width", "100%"},
  };
  for (const Case& c : cases) {
    const auto input = testing::LoadVehicleTab()->GetElementById("txtVehicleNumber");
    input->SetProperty(c.name, c.written);
    EXPECT_EQ(input->GetProperty(c.name), c.reads) << c.name;
    EXPECT_TRUE(input->HasAttribute(c.attribute)) << c.name;
    EXPECT_EQ(input->GetAttribute(c.attribute), c.attribute_value) << c.name;
  }
}

TEST(ElementProperties, FalseBooleansRemoveTheirAttribute) {
  const auto model = testing::LoadVehicleTab()->GetElementById("txtModel");
  model->SetProperty("readonly", "false");
  EXPECT_FALSE(model->ReadOnly());
  EXPECT_FALSE(model->HasAttribute("readonly"));
  model->SetReadOnly(true);
  model->SetDisabled(true);
  EXPECT_THAT(model->OuterHtml(), HasSubstr("readonly=\"\""));
  model->SetProperty("Disabled", "0");
  EXPECT_FALSE(model->Disabled());
}

TEST(ElementProperties, UnknownNamesAndUnreadableValuesFail) {
  const auto input = testing::LoadVehicleTab()->GetElementById("txtVehicleNumber");
  try {
    input->SetProperty("colour", "red");
    FAIL() << "no failure";
  } catch (const RuntimeFailure& failure) {
    EXPECT_THAT(failure.description(), HasSubstr("colour"));
    EXPECT_THAT(failure.description(), HasSubstr("INPUT 'txtVehicleNumber'"));
  }
  EXPECT_THROW(input->GetProperty("colour"), RuntimeFailure);
  EXPECT_THROW(input->SetProperty("Checked", "yes"), RuntimeFailure);
  EXPECT_THROW(input->SetProperty("TabIndex", "1x"), RuntimeFailure);
  EXPECT_THROW(input->SetProperty("MaxLength", "-3"), RuntimeFailure);
  EXPECT_EQ(input->MaxLength(), 16);  // unchanged
}

TEST(ElementAttributes, NamesAreCaseInsensitiveAndValuesKept) {
  const auto page = testing::LoadVehicleTab();
  const auto row_link = page->GetElementById("lnkDeleteNPerson");
  row_link->SetAttribute("onInpChanged", "x");
  EXPECT_TRUE(row_link->HasAttribute("ONINPCHANGED"));
  EXPECT_EQ(row_link->GetAttribute("oninpchanged"), "x");
  row_link->SetAttribute("OnInpChanged", "y");
  EXPECT_EQ(row_link->Attributes().size(), 3U);  // id, href, oninpchanged
  row_link->RemoveAttribute("ONINPCHANGED");
  EXPECT_FALSE(row_link->HasAttribute("onInpChanged"));
  EXPECT_EQ(row_link->GetAttribute("missing"), "");
  EXPECT_THROW(row_link->SetAttribute("bad name", "v"), RuntimeFailure);
  EXPECT_THROW(row_link->SetAttribute("", "v"), RuntimeFailure);
}

TEST(RadioGroups, CheckingOneClearsTheOthersOfItsNameInItsForm) {
  const auto page = testing::LoadVehicleTab();
  const auto yes = page->GetElementById("optHazardYes");
  const auto no = page->GetElementById("optHazardNo");
  const auto outside = page->GetElementById("optOutsideForm");  // same name, outside the form
  const auto cg_yes = page->GetElementById("optCGYes");          // other group, same form
  yes->SetProperty("Checked", "true");
  EXPECT_TRUE(yes->Checked());
  EXPECT_FALSE(no->Checked());
  EXPECT_TRUE(outside->Checked());
  EXPECT_TRUE(cg_yes->Checked());
  no->SetChecked(true);
  EXPECT_FALSE(yes->Checked());
  // Unchecking leaves the group with none checked.
  no->SetChecked(false);
  EXPECT_FALSE(yes->Checked());
  EXPECT_FALSE(no->Checked());
  // Check boxes of one name are independent.
  const auto boxes = Document::Parse("<input type=checkbox name=c id=a checked><input type=checkbox name=c id=b>");
  boxes->GetElementById("b")->SetChecked(true);
  EXPECT_TRUE(boxes->GetElementById("a")->Checked());
}

TEST(ApplyElement, InsideMovesTheChildrenInOutsideWrapsTheElement) {
  const auto page = Document::Parse("<div id=c>one<b id=two>2</b></div>");
  const auto container = page->GetElementById("c");
  const auto table = page->CreateElement("TABLE");
  container->ApplyElement(table, "Inside");
  ASSERT_EQ(container->ChildNodes().size(), 1U);
  EXPECT_EQ(container->ChildNodes()[0], table);
  EXPECT_EQ(table->InnerHtml(), "one<b id=\"two\">2</b>");
  // Outside wraps the element itself; a detached element cannot be wrapped.
  const auto span = page->CreateElement("SPAN");
  page->GetElementById("two")->ApplyElement(span, "outside");
  EXPECT_EQ(table->InnerHtml(), "one<span><b id=\"two\">2</b></span>");
  EXPECT_THROW(page->CreateElement("P")->ApplyElement(page->CreateElement("DIV"), "outside"), RuntimeFailure);
}

TEST(ApplyElement, ImpossibleRequestsFail) {
  const auto page = Document::Parse("<div id=c><b id=b></b></div>");
  const auto container = page->GetElementById("c");
  EXPECT_THROW(container->ApplyElement(page->CreateElement("P"), "around"), RuntimeFailure);
  EXPECT_THROW(container->ApplyElement(nullptr, "inside"), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("b")->ApplyElement(container, "inside"), RuntimeFailure);
  EXPECT_THROW(container->ApplyElement(container, "inside"), RuntimeFailure);
  EXPECT_EQ(container->InnerHtml(), "<b id=\"b\"></b>");
}

TEST(ElementTree, NodesOfAnotherPageCannotBeInserted) {
  const auto page = Document::Parse("<div id=d></div>");
  const auto other = Document::CreateEmpty();
  EXPECT_THROW(page->GetElementById("d")->AppendChild(other->CreateElement("P")), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("d")->RemoveChild(other->CreateElement("P")), RuntimeFailure);
}

TEST(Behaviours, AttachDetachAndListWithTheStyleOnes) {
  const auto page = Document::Parse(
      "<input id=txtSumInsured style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCurSI.htc')\">");
  const auto input = page->GetElementById("txtSumInsured");
  const int data_entry = input->AddBehavior("./Behaviors/DataEntry.htc");
  const int date_entry = input->AddBehavior("Behaviors/EntryDate.htc");
  EXPECT_NE(data_entry, 0);
  EXPECT_NE(data_entry, date_entry);
  EXPECT_THAT(input->BehaviorUrls(),
              ElementsAre("Behaviors\\EntryCurSI.htc", "./Behaviors/DataEntry.htc", "Behaviors/EntryDate.htc"));
  EXPECT_TRUE(input->RemoveBehavior(date_entry));
  EXPECT_FALSE(input->RemoveBehavior(date_entry));
  EXPECT_THAT(input->Behaviors(), ElementsAre(Behavior{data_entry, "./Behaviors/DataEntry.htc"}));
}

}  // namespace
}  // namespace cn::dom

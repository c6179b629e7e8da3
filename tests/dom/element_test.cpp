// Element properties by name and by type, attributes, radio groups, applyElement, behaviours,
// inline style.
#include <gmock/gmock.h>

#include "../base/failure_text.h"
#include "dom/document.h"
#include "dom/style.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(ElementProperties, ByNameAsPageLogicSpellsThem) {
  // The name as the page logic spells it, and the attribute that reflects it afterwards.
  struct Case { const char *name, *written, *reads, *attribute, *attribute_value; };
  // clang-format off
  const Case cases[] = {
      {"value", "WXY 99", "WXY 99", "value", "WXY 99"}, {"ReadOnly", "True", "true", "readonly", ""},
      {"TabIndex", "-1", "-1", "tabindex", "-1"}, {"MaxLength", "14", "14", "maxlength", "14"},
      {"disabled", "1", "true", "disabled", ""}, {"Width", "100%", "100%", "width", "100%"},
      {"className", "clsHighliteRow", "clsHighliteRow", "class", "clsHighliteRow"}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto input = testing::LoadVehicleTab()->GetElementById("txtVehicleNumber");
    input->SetProperty(c.name, c.written);
    EXPECT_EQ(input->GetProperty(c.name), c.reads);
    EXPECT_TRUE(input->HasAttribute(c.attribute));
    EXPECT_EQ(input->GetAttribute(c.attribute), c.attribute_value);
  }
}

TEST(ElementProperties, FalseBooleansRemoveTheirAttributeAndBadNamesOrValuesFail) {
  const auto page = testing::LoadVehicleTab();
  const auto model = page->GetElementById("txtModel");
  model->SetProperty("readonly", "false");
  EXPECT_FALSE(model->ReadOnly());
  EXPECT_FALSE(model->HasAttribute("readonly"));
  model->SetReadOnly(true);
  model->SetDisabled(true);
  EXPECT_THAT(model->OuterHtml(), HasSubstr("readonly=\"\""));
  model->SetProperty("Disabled", "0");
  EXPECT_FALSE(model->Disabled());

  const auto input = page->GetElementById("txtVehicleNumber");
  EXPECT_THAT(FailureText([&] { input->SetProperty("colour", "red"); }),
              AllOf(HasSubstr("colour"), HasSubstr("INPUT 'txtVehicleNumber'")));
  EXPECT_THROW(input->GetProperty("colour"), RuntimeFailure);
  for (const auto& [name, value] : {std::pair{"Checked", "yes"}, {"TabIndex", "1x"}, {"MaxLength", "-3"}})
    EXPECT_THROW(input->SetProperty(name, value), RuntimeFailure) << name;
  EXPECT_EQ(input->MaxLength(), 16);  // unchanged
}

TEST(ElementAttributes, NamesAreCaseInsensitiveAndValuesKept) {
  const auto row_link = testing::LoadVehicleTab()->GetElementById("lnkDeleteNPerson");
  row_link->SetAttribute("onInpChanged", "x");
  EXPECT_TRUE(row_link->HasAttribute("ONINPCHANGED"));
  EXPECT_EQ(row_link->GetAttribute("oninpchanged"), "x");
  row_link->SetAttribute("OnInpChanged", "y");
  EXPECT_EQ(row_link->Attributes().size(), 3U);  // id, href, oninpchanged
  row_link->RemoveAttribute("ONINPCHANGED");
  EXPECT_FALSE(row_link->HasAttribute("onInpChanged"));
  EXPECT_EQ(row_link->GetAttribute("missing"), "");
  for (const char* name : {"bad name", ""}) EXPECT_THROW(row_link->SetAttribute(name, "v"), RuntimeFailure);
}

TEST(RadioGroups, CheckingOneClearsTheOthersOfItsNameInItsForm) {
  const auto page = testing::LoadVehicleTab();
  // optOutsideForm has the same name outside the form, optCGYes is another group of the form.
  const auto checked = [&] {
    std::string out;
    for (const char* id : {"optHazardYes", "optHazardNo", "optOutsideForm", "optCGYes"})
      out += page->GetElementById(id)->Checked() ? '1' : '0';
    return out;
  };
  page->GetElementById("optHazardYes")->SetProperty("Checked", "true");
  EXPECT_EQ(checked(), "1011");
  page->GetElementById("optHazardNo")->SetChecked(true);
  EXPECT_EQ(checked(), "0111");
  page->GetElementById("optHazardNo")->SetChecked(false);  // leaves the group with none checked
  EXPECT_EQ(checked(), "0011");
  // Check boxes of one name are independent.
  const auto boxes =
      Document::Parse("<input type=checkbox name=c id=a checked><input type=checkbox name=c id=b>");
  boxes->GetElementById("b")->SetChecked(true);
  EXPECT_TRUE(boxes->GetElementById("a")->Checked());
}

TEST(ApplyElement, InsideMovesTheChildrenInOutsideWrapsTheElementAnythingElseFails) {
  const auto page = Document::Parse("<div id=c>one<b id=two>2</b></div>");
  const auto container = page->GetElementById("c");
  const auto table = page->CreateElement("TABLE");
  container->ApplyElement(table, "Inside");
  EXPECT_THAT(container->ChildNodes(), ElementsAre(table));
  EXPECT_EQ(table->InnerHtml(), "one<b id=\"two\">2</b>");
  const auto span = page->CreateElement("SPAN");
  page->GetElementById("two")->ApplyElement(span, "outside");
  EXPECT_EQ(table->InnerHtml(), "one<span><b id=\"two\">2</b></span>");

  const auto detached = page->CreateElement("P");
  EXPECT_THROW(detached->ApplyElement(page->CreateElement("DIV"), "outside"), RuntimeFailure);
  EXPECT_THROW(container->ApplyElement(page->CreateElement("P"), "around"), RuntimeFailure);
  // Nothing, its own ancestor, itself.
  for (const auto& [element, applied] : {std::pair{container, std::shared_ptr<Element>()}, {span, container},
                                         {container, container}})
    EXPECT_THROW(element->ApplyElement(applied, "inside"), RuntimeFailure);
  EXPECT_EQ(container->InnerHtml(), "<table>one<span><b id=\"two\">2</b></span></table>");
  // Nodes of another page cannot be inserted or removed.
  const auto other = Document::CreateEmpty();
  EXPECT_THROW(container->AppendChild(other->CreateElement("P")), RuntimeFailure);
  EXPECT_THROW(container->RemoveChild(other->CreateElement("P")), RuntimeFailure);
}

TEST(Behaviours, AttachDetachAndListWithTheStyleOnes) {
  const auto page = Document::Parse(
      "<input id=txtSumInsured style=\"TEXT-ALIGN: right; BEHAVIOR: "
      "url('Behaviors\\EntryCurSI.htc')\">");
  const auto input = page->GetElementById("txtSumInsured");
  const int data_entry = input->AddBehavior("./Behaviors/DataEntry.htc");
  const int date_entry = input->AddBehavior("Behaviors/EntryDate.htc");
  EXPECT_TRUE(data_entry != 0 && data_entry != date_entry);
  EXPECT_THAT(input->BehaviorUrls(),
              ElementsAre("Behaviors\\EntryCurSI.htc", "./Behaviors/DataEntry.htc", "Behaviors/EntryDate.htc"));
  EXPECT_EQ((std::pair{input->RemoveBehavior(date_entry), input->RemoveBehavior(date_entry)}), std::pair(true, false));
  EXPECT_THAT(input->Behaviors(), ElementsAre(Behavior{data_entry, "./Behaviors/DataEntry.htc"}));
}

// Inline style: names as scripts spell them, the style attribute read and written back.
TEST(StyleNames, ScriptNamesMapToCssNamesWithoutRegardToCase) {
  const std::pair<const char*, const char*> cases[] = {  // "" for a name that is refused
      {"backgroundColor", "background-color"}, {"BackgroundColor", "background-color"},
      {"background-color", "background-color"}, {"Visibility", "visibility"},
      {"TEXT-ALIGN", "text-align"}, {"font-weight", "font-weight"},
      {"fontWeight", ""}, {"", ""}, {"a b", ""},
  };
  for (const auto& [script_name, css_name] : cases)
    EXPECT_EQ(CssNameFor(script_name).value_or(""), css_name) << script_name;
}

TEST(StyleAttribute, IsReadIntoPropertiesAndWrittenBackInOrder) {
  const auto page = Document::Parse(
      "<input id=txtCLAIM style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc');\">");
  const auto input = page->GetElementById("txtCLAIM");
  EXPECT_EQ(input->GetStyle("textAlign"), "right");
  EXPECT_EQ(input->GetStyle(StyleName::kBehavior), "url('Behaviors\\EntryCur.htc')");
  input->SetStyle(StyleName::kBackgroundColor, "buttonface");
  input->SetStyle("textAlign", "left");
  EXPECT_EQ(input->GetAttribute("style"),
            "text-align: left; behavior: url('Behaviors\\EntryCur.htc'); background-color: buttonface");
  // Unlocking empties the colour, which removes the declaration.
  input->SetStyle("backgroundColor", "");
  EXPECT_EQ(input->GetAttribute("style"),
            "text-align: left; behavior: url('Behaviors\\EntryCur.htc')");
  const auto copy = Document::Parse(input->OuterHtml());
  EXPECT_EQ(copy->GetElementById("txtCLAIM")->Style(), input->Style());
}

TEST(StyleAttribute, SetAttributeReplacesTheWholeStyleAndBadDeclarationsAreSkippedOrFail) {
  const auto page = Document::Parse("<div id=d style=\"display:none\"></div>");
  const auto div = page->GetElementById("d");
  div->SetAttribute("STYLE", "visibility : hidden ; cursor:hand");
  EXPECT_EQ(div->Style().Serialize(), "visibility: hidden; cursor: hand");
  EXPECT_EQ(div->GetStyle("display"), "");
  div->RemoveAttribute("style");
  EXPECT_TRUE(div->Style().empty());
  div->SetStyle("display", "");
  EXPECT_FALSE(div->HasAttribute("style"));

  EXPECT_EQ(StyleDeclaration::Parse("color; :x; width: ; a b: 1; height: 2px; content: 'a;b'")
                .Serialize(),
            "height: 2px; content: 'a;b'");
  EXPECT_THROW(div->SetStyle("fontWeight", "bold"), RuntimeFailure);
  EXPECT_THROW(div->GetStyle("colour"), RuntimeFailure);
}

}  // namespace
}  // namespace cn::dom

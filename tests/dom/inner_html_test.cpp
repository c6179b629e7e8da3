// Content as HTML and as text: the row tables' cell markup, read-back, serialising.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/serialize.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct CellCase {
  const char* html;  // opening text + control id + closing text, as the row tables join them
  const char* id;
  const char* tag;
  int tab_index;
  bool read_only;
  int max_length;
  bool disabled;
  const char* text_align;
  std::vector<std::string> behaviors;
};

// Every cell form the named-driver, extended-cover and claims rows write, editable and read-only.
const CellCase kCellCases[] = {
    // Named drivers, editable row.
    {"<Input tabindex=1 id =txtDrv>", "txtDrv", "INPUT", 1, false, kNoMaxLength, false, "", {}},
    {"<Input tabindex=1 id =txtICNo maxlength=14>", "txtICNo", "INPUT", 1, false, 14, false, "", {}},
    {"<Input tabindex=1 id =txtDOB>", "txtDOB", "INPUT", 1, false, kNoMaxLength, false, "", {}},
    {"<Input tabindex=1 id =txtLicenceDate>", "txtLicenceDate", "INPUT", 1, false, kNoMaxLength, false, "", {}},
    {"<Select tabindex=1 id =txtGender></Select>", "txtGender", "SELECT", 1, false, kNoMaxLength, false, "", {}},
    {"<Select tabindex=1 id =cboOccupation></Select>", "cboOccupation", "SELECT", 1, false, kNoMaxLength, false, "", {}},
    {"<Input tabindex=1 id =txtRelationship>", "txtRelationship", "INPUT", 1, false, kNoMaxLength, false, "", {}},
    // Named drivers, read-only row.
    {"<Input tabindex=-1 readonly id =txtDrv>", "txtDrv", "INPUT", -1, true, kNoMaxLength, false, "", {}},
    {"<Input tabindex=1 readonly id =txtICNo>", "txtICNo", "INPUT", 1, true, kNoMaxLength, false, "", {}},
    {"<Input tabindex=1 readonly id =txtDOB>", "txtDOB", "INPUT", 1, true, kNoMaxLength, false, "", {}},
    {"<Select tabindex=1 disabled=true id =txtGender></Select>", "txtGender", "SELECT", 1, false, kNoMaxLength, true, "", {}},
    {"<Select tabindex=1 disabled=true id =cboOccupation></Select>", "cboOccupation", "SELECT", 1, false, kNoMaxLength, true, "", {}},
    // Extended covers, editable row (the drop-down is left unclosed).
    {"<SELECT id=cboExtendedCoverType>", "cboExtendedCoverType", "SELECT", 0, false, kNoMaxLength, false, "", {}},
    {"<INPUT id=txtSumInsured style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCurSI.htc')\">",
     "txtSumInsured", "INPUT", 0, false, kNoMaxLength, false, "right", {"Behaviors\\EntryCurSI.htc"}},
    {"<INPUT id=txtPercentage style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">",
     "txtPercentage", "INPUT", 0, false, kNoMaxLength, false, "right", {"Behaviors\\EntryCur.htc"}},
    {"<INPUT id=txtPremium style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">",
     "txtPremium", "INPUT", 0, false, kNoMaxLength, false, "right", {"Behaviors\\EntryCur.htc"}},
    // Extended covers, read-only row.
    {"<SELECT id=cboExtendedCoverType disabled=true>", "cboExtendedCoverType", "SELECT", 0, false, kNoMaxLength, true, "", {}},
    {"<INPUT id=txtPremium READONLY TABINDEX=-1 style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">",
     "txtPremium", "INPUT", -1, true, kNoMaxLength, false, "right", {"Behaviors\\EntryCur.htc"}},
    // Claims, editable and read-only rows.
    {"<Input id =txtACCDATE style=\"BEHAVIOR: url('Behaviors\\EntryDate.htc')\">",
     "txtACCDATE", "INPUT", 0, false, kNoMaxLength, false, "", {"Behaviors\\EntryDate.htc"}},
    {"<Input id =txtVEHNO>", "txtVEHNO", "INPUT", 0, false, kNoMaxLength, false, "", {}},
    {"<Input id =txtCLAIM style=\"TEXT-ALIGN: right; BEHAVIOR: url('Behaviors\\EntryCur.htc')\">",
     "txtCLAIM", "INPUT", 0, false, kNoMaxLength, false, "right", {"Behaviors\\EntryCur.htc"}},
    {"<Input readonly id =txtINSURER>", "txtINSURER", "INPUT", 0, true, kNoMaxLength, false, "", {}},
};

class RowCellMarkup : public ::testing::TestWithParam<CellCase> {};

TEST_P(RowCellMarkup, CreatesOneControlWithTheWrittenProperties) {
  const CellCase& c = GetParam();
  const auto page = Document::Parse("<table id=body></table>");
  const auto row = page->GetElementById("body")->InsertRow();
  const auto cell = row->InsertCell();
  cell->SetInnerHtml(c.html);

  ASSERT_EQ(cell->ChildNodes().size(), 1U) << cell->InnerHtml();
  const auto control = row->GetFromAll(c.id);
  EXPECT_EQ(control->ParentElement(), cell);
  EXPECT_EQ(control->TagName(), c.tag);
  EXPECT_EQ(control->Id(), c.id);
  EXPECT_EQ(control->TabIndex(), c.tab_index);
  EXPECT_EQ(control->ReadOnly(), c.read_only);
  EXPECT_EQ(control->MaxLength(), c.max_length);
  EXPECT_EQ(control->Disabled(), c.disabled);
  EXPECT_EQ(control->GetStyle(StyleName::kTextAlign), c.text_align);
  EXPECT_EQ(control->BehaviorUrls(), c.behaviors);
  EXPECT_EQ(control->Value(), "");

  // What is written back reads in again as the same control.
  const auto copy_page = Document::Parse("<table><tr><td id=copy></td></tr></table>");
  const auto copy = copy_page->GetElementById("copy");
  copy->SetInnerHtml(cell->InnerHtml());
  EXPECT_EQ(copy->InnerHtml(), cell->InnerHtml());
}

INSTANTIATE_TEST_SUITE_P(AllRowTables, RowCellMarkup, ::testing::ValuesIn(kCellCases));

TEST(InnerHtml, UnclosedSelectInACellTakesOptionsAndValues) {
  const auto page = Document::Parse("<table id=t></table>");
  const auto cell = page->GetElementById("t")->InsertRow()->InsertCell();
  cell->SetInnerHtml("<SELECT id=cboExtendedCoverType>");
  const auto select = cell->GetFromAll("cboExtendedCoverType");
  for (const auto& [code, text] : {std::pair{"", ""}, std::pair{"101", "WINDSCREEN"}, std::pair{"112", "FLOOD"}}) {
    const auto option = page->CreateElement("OPTION");
    option->SetValue(code);
    option->SetText(text);
    select->Options().Add(option);
  }
  select->SetValue("112");
  EXPECT_EQ(select->SelectedIndex(), 2);
  EXPECT_EQ(select->Options().Item(1)->Text(), "WINDSCREEN");
}

TEST(InnerHtml, OptionsWrittenIntoASelectAreParsedInSelectContext) {
  const auto select_page = Document::Parse("<select id=s><option>old</select>");
  const auto select = select_page->GetElementById("s");
  select->SetInnerHtml("<option value=M>MALE<option value=F selected>FEMALE");
  EXPECT_EQ(select->Options().Length(), 2);
  EXPECT_EQ(select->Value(), "F");
}

TEST(InnerHtml, WritingReplacesTheContentAndReadingSerialises) {
  const auto div_page = Document::Parse("<div id=d>old <b>text</b></div>");
  const auto div = div_page->GetElementById("d");
  div->SetInnerHtml("<TABLE rules=rows cellSpacing=0><TR><TD noWrap width=\"15%\">A &amp; B</TD></TR></TABLE><BR><Input id=x disabled>");
  EXPECT_EQ(div->InnerHtml(),
            "<table rules=\"rows\" cellspacing=\"0\"><tbody><tr><td nowrap=\"\" width=\"15%\">A &amp; B</td></tr>"
            "</tbody></table><br><input id=\"x\" disabled=\"\">");
  div->SetInnerHtml("");
  EXPECT_THAT(div->ChildNodes(), IsEmpty());
}

TEST(InnerHtml, SerialisingEscapesTextAndAttributeValues) {
  const auto page = Document::Parse("<div id=d></div>");
  const auto div = page->GetElementById("d");
  div->SetInnerText("<b> & \"quoted\"");
  EXPECT_EQ(div->InnerHtml(), "&lt;b&gt; &amp; \"quoted\"");
  div->SetAttribute("title", "say \"hi\" & <go>");
  EXPECT_EQ(div->OuterHtml(), "<div id=\"d\" title=\"say &quot;hi&quot; &amp; <go>\">&lt;b&gt; &amp; \"quoted\"</div>");
  div->SetInnerHtml("a&nbsp;b");
  EXPECT_EQ(div->InnerText(), "a\xC2\xA0" "b");
  EXPECT_EQ(div->InnerHtml(), "a&nbsp;b");
  div->SetInnerText("caf\xC3\xA9 \xC2\xA9 \xC2\xA0&");  // other characters of the same lead byte stay
  EXPECT_EQ(div->InnerHtml(), "caf\xC3\xA9 \xC2\xA9 &nbsp;&amp;");
}

// Markup for the browser travels inside JSON text, where single quotes need no escaping.
TEST(InnerHtml, AttributesInSingleQuotesEscapeTheirOwnQuoteOnly) {
  const auto page = Document::Parse("<div id=d></div>");
  const auto div = page->GetElementById("d");
  div->SetAttribute("title", "it's \"x\" & <y>");
  const SerializeOptions single{.node_id_attribute = "", .attribute_quote = '\''};
  EXPECT_EQ(SerializeNode(*div, single), "<div id='d' title='it&#39;s \"x\" &amp; <y>'></div>");
  const auto again = Document::Parse(SerializeNode(*div, single));
  EXPECT_EQ(again->GetElementById("d")->GetAttribute("title"), "it's \"x\" & <y>");
}

TEST(InnerHtml, ScriptAttributeOfARowSurvivesARoundTrip) {
  const std::string script =
      "kvExecuteCommand.innerText='cmdHighliteRow{#+#}' + event.srcElement.id + '{#,#}0';kvExecuteCommand.click();";
  const auto page = Document::Parse("<table id=t></table>");
  const auto row = page->GetElementById("t")->InsertRow();
  row->SetAttribute("onClicked", script);
  EXPECT_EQ(row->GetAttribute("onclicked"), script);
  const auto copy = Document::Parse(page->GetElementById("t")->OuterHtml());
  EXPECT_EQ(copy->ElementsByTagName("TR").at(0)->GetAttribute("onClicked"), script);
}

TEST(InnerHtml, VoidElementsTakeNoContent) {
  const auto input_page = Document::Parse("<input id=i>");
  const auto input = input_page->GetElementById("i");
  EXPECT_THROW(input->SetInnerHtml("<b>x</b>"), RuntimeFailure);
  EXPECT_THROW(input->SetInnerText("x"), RuntimeFailure);
}

TEST(InnerHtml, NodeIdsCanBeWrittenForTheWebLayer) {
  const auto page = Document::Parse("<div id=d><span>x</span></div>");
  const auto div = page->GetElementById("d");
  const auto span = div->Children().at(0);
  EXPECT_EQ(SerializeNode(*div, {.node_id_attribute = "data-n"}),
            "<div id=\"d\" data-n=\"" + std::to_string(div->node_id()) + "\"><span data-n=\"" +
                std::to_string(span->node_id()) + "\">x</span></div>");
}

TEST(InnerText, ReadsTextWithLineBreaksAndWritesOneTextNode) {
  const auto page = testing::LoadVehicleTab();
  EXPECT_EQ(page->GetElementById("lnkAddNPerson")->InnerText(), "Add\nNamed Person");
  const auto header = page->GetElementById("divNPersonHeader");
  header->SetInnerText("");
  EXPECT_THAT(header->ChildNodes(), IsEmpty());

  // The shell posts a button's id into the hidden message element; the page reads it back.
  const auto message = page->GetElementById("UIF_ID_Msg");
  EXPECT_EQ(message->InnerHtml(), "COVCover");
  message->SetInnerText("cmdSave");
  ASSERT_EQ(message->ChildNodes().size(), 1U);
  EXPECT_TRUE(message->ChildNodes()[0]->IsText());
  EXPECT_EQ(message->InnerHtml(), "cmdSave");
  EXPECT_EQ(message->GetProperty("innerHTML"), "cmdSave");
  message->SetProperty("innerText", "COVVeh");
  EXPECT_EQ(message->InnerText(), "COVVeh");
}

TEST(InnerText, TextareaValueIsItsText) {
  const auto page = testing::LoadVehicleTab();
  const auto goods = page->GetElementById("txtGoodsDescription");
  goods->SetValue("Timber <logs>");
  EXPECT_EQ(goods->Value(), "Timber <logs>");
  EXPECT_EQ(goods->InnerHtml(), "Timber &lt;logs&gt;");
}

}  // namespace
}  // namespace cn::dom

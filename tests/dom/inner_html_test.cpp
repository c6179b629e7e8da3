// Content as HTML and as text: the row tables' cell markup, read-back, serialising.
#include <gmock/gmock.h>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/serialize.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::IsEmpty;

TEST(InnerHtml, WritingReplacesTheContentParsedInItsContextAndReadingSerialises) {
  const auto page =
      Document::Parse("<div id=d>old <b>text</b></div><select id=s><option>old</select><input id=i>");
  const auto div = page->GetElementById("d");
  div->SetInnerHtml("<TABLE rules=rows cellSpacing=0><TR><TD noWrap width=\"15%\">A &amp; B</TD></TR></TABLE><BR><Input id=x disabled>");
  EXPECT_EQ(div->InnerHtml(),
            "<table rules=\"rows\" cellspacing=\"0\"><tbody><tr><td nowrap=\"\" width=\"15%\">A &amp; B</td></tr>"
            "</tbody></table><br><input id=\"x\" disabled=\"\">");
  div->SetInnerHtml("");
  EXPECT_THAT(div->ChildNodes(), IsEmpty());
  // Options written into a select are parsed in select context.
  const auto select = page->GetElementById("s");
  select->SetInnerHtml("<option value=M>MALE<option value=F selected>FEMALE");
  EXPECT_EQ(std::pair(select->Options().Length(), select->Value()), std::pair(2, std::string("F")));
  // Void elements take no content.
  EXPECT_THROW(page->GetElementById("i")->SetInnerHtml("<b>x</b>"), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("i")->SetInnerText("x"), RuntimeFailure);
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
  // Markup for the browser travels inside JSON text, where single quotes need no escaping.
  div->SetInnerHtml("");
  div->SetAttribute("title", "it's \"x\" & <y>");
  const SerializeOptions single{.node_id_attribute = "", .attribute_quote = '\''};
  EXPECT_EQ(SerializeNode(*div, single), "<div id='d' title='it&#39;s \"x\" &amp; <y>'></div>");
  const auto again = Document::Parse(SerializeNode(*div, single));
  EXPECT_EQ(again->GetElementById("d")->GetAttribute("title"), "it's \"x\" & <y>");
  // Void elements have no end tag, whatever the case of their name.
  div->SetInnerHtml("<BR><img src=x><ins>i</ins><b>b</b><Input value=v>");
  EXPECT_EQ(div->InnerHtml(), "<br><img src=\"x\"><ins>i</ins><b>b</b><input value=\"v\">");
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
  EXPECT_EQ(message->GetProperty("innerHTML"), "cmdSave");
  message->SetProperty("innerText", "COVVeh");
  EXPECT_EQ(message->InnerText(), "COVVeh");
  // A text area's value is its text.
  const auto goods = page->GetElementById("txtGoodsDescription");
  goods->SetValue("Timber <logs>");
  EXPECT_EQ(goods->Value() + " " + goods->InnerHtml(), "Timber <logs> Timber &lt;logs&gt;");
}

}  // namespace
}  // namespace cn::dom

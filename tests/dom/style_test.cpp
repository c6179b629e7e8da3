// Inline style: names as scripts spell them, the style attribute read and written back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "dom/style.h"

namespace cn::dom {
namespace {

TEST(StyleNames, ScriptNamesMapToCssNamesWithoutRegardToCase) {
  struct Case {
    const char* script_name;
    const char* css_name;
  };
  const Case cases[] = {
      {"backgroundColor", "background-color"}, {"BackgroundColor", "background-color"},
      {"background-color", "background-color"}, {"Visibility", "visibility"},
      {"TEXT-ALIGN", "text-align"},             {"font-weight", "font-weight"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(CssNameFor(c.script_name).has_value()) << c.script_name;
    EXPECT_EQ(*CssNameFor(c.script_name), c.css_name) << c.script_name;
  }
  EXPECT_FALSE(CssNameFor("fontWeight").has_value());
  EXPECT_FALSE(CssNameFor("").has_value());
  EXPECT_FALSE(CssNameFor("a b").has_value());
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
  EXPECT_EQ(input->GetAttribute("style"), "text-align: left; behavior: url('Behaviors\\EntryCur.htc')");
  const auto copy_page = Document::Parse(input->OuterHtml());
  const auto copy = copy_page->GetElementById("txtCLAIM");
  EXPECT_EQ(copy->Style(), input->Style());
}

TEST(StyleAttribute, SetAttributeReplacesTheWholeStyle) {
  const auto page = Document::Parse("<div id=d style=\"display:none\"></div>");
  const auto div = page->GetElementById("d");
  div->SetAttribute("STYLE", "visibility : hidden ; cursor:hand");
  EXPECT_EQ(div->GetStyle("display"), "");
  EXPECT_EQ(div->GetStyle("visibility"), "hidden");
  EXPECT_EQ(div->GetStyle("cursor"), "hand");
  div->RemoveAttribute("style");
  EXPECT_TRUE(div->Style().empty());
  div->SetStyle("display", "");
  EXPECT_FALSE(div->HasAttribute("style"));
}

TEST(StyleAttribute, MalformedDeclarationsAreSkipped) {
  const auto style = StyleDeclaration::Parse("color; :x; width: ; a b: 1; height: 2px; content: 'a;b'");
  EXPECT_EQ(style.Serialize(), "height: 2px; content: 'a;b'");
}

TEST(StyleAttribute, UnknownStyleNamesFail) {
  const auto div_page = Document::Parse("<div id=d></div>");
  const auto div = div_page->GetElementById("d");
  EXPECT_THROW(div->SetStyle("fontWeight", "bold"), RuntimeFailure);
  EXPECT_THROW(div->GetStyle("colour"), RuntimeFailure);
}

}  // namespace
}  // namespace cn::dom

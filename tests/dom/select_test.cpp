// Drop-down lists: options, value, selectedIndex, clearing and filling.
#include <gmock/gmock.h>

#include "../base/failure_text.h"
#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Every option as "value=text", "*" after the selected ones.
std::string Listed(const std::shared_ptr<Element>& select) {
  std::string out;
  const auto options = select->Options();
  for (int i = 0; i < options.Length(); ++i) {
    const auto option = options.Item(i);
    out += (i == 0 ? "" : "|") + option->Value() + "=" + option->Text() +
           (option->Selected() ? "*" : "");
  }
  return out;
}

std::shared_ptr<Element> GenderSelect(const std::shared_ptr<Document>& page) {
  const auto select = page->GetElementById("txtGender");
  for (const auto& [value, text] : {std::pair{"M", "MALE"}, {"F", "FEMALE"}, {"C", "COMPANY"}}) {
    const auto option = page->CreateElement("OPTION");
    option->SetValue(value);
    option->SetText(text);
    select->Options().Add(option);
  }
  return select;
}

TEST(SelectOptions, OptionValueFallsBackToItsTextAndWhatIsNoOptionFails) {
  const auto page = testing::LoadVehicleTab();
  const auto make = page->GetElementById("cboVehicleMakeCode");
  EXPECT_EQ(Listed(make), "=|01=PROTON|02=PERODUA*|HONDA=HONDA");
  make->SetValue("HONDA");
  EXPECT_EQ(make->SelectedIndex(), 3);

  EXPECT_THROW(make->Options().Item(-1), RuntimeFailure);
  EXPECT_THAT(FailureText([&] { make->Options().Item(4); }),
              AllOf(StartsWith("9: "), HasSubstr("cboVehicleMakeCode")));
  const auto model = page->GetElementById("txtModel");
  EXPECT_THROW(model->Options(), RuntimeFailure);
  EXPECT_THROW(model->SelectedIndex(), RuntimeFailure);
  EXPECT_THROW(model->Text(), RuntimeFailure);
  EXPECT_THROW(make->Options().Add(page->CreateElement("DIV")), RuntimeFailure);
}

TEST(SelectValue, KnownUnknownAndEmptyValuesAndSelectedIndex) {
  const auto page = Document::Parse("<select id=txtGender></select>");
  const auto gender = GenderSelect(page);
  // A filled drop-down shows its first option until a value is chosen.
  EXPECT_EQ(gender->SelectedIndex(), 0);
  EXPECT_EQ(gender->Value(), "M");
  // No such option, no empty option in this list, values compared exactly: nothing selected.
  struct Case { const char* value; int index; const char* reads; };
  const Case cases[] = {{"F", 1, "F"}, {"X", -1, ""}, {"", -1, ""}, {"f", -1, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    gender->SetValue(c.value);
    EXPECT_EQ(gender->SelectedIndex(), c.index);
    EXPECT_EQ(gender->Value() + "/" + gender->GetProperty("Value"), std::string(c.reads) + "/" + c.reads);
  }
  gender->SetSelectedIndex(2);
  EXPECT_EQ(Listed(gender), "M=MALE|F=FEMALE|C=COMPANY*");
  gender->SetProperty("SelectedIndex", "-1");
  EXPECT_EQ(gender->Value(), "");
  gender->SetSelectedIndex(7);
  EXPECT_EQ(gender->SelectedIndex(), -1);
  gender->Options().Item(1)->SetSelected(true);
  EXPECT_EQ(gender->SelectedIndex(), 1);
  // Adding before an index, and removing.
  const auto empty = page->CreateElement("option");
  gender->Options().Add(empty, 0);
  EXPECT_EQ(Listed(gender), "=|M=MALE|F=FEMALE*|C=COMPANY");
  gender->Options().Remove(0);
  EXPECT_EQ(Listed(gender), "M=MALE|F=FEMALE*|C=COMPANY");
}

}  // namespace
}  // namespace cn::dom

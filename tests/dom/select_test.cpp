// Drop-down lists: options, value, selectedIndex, clearing and filling.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/runtime_failure.h"
#include "dom/document.h"
#include "test_page.h"

namespace cn::dom {
namespace {

using ::testing::HasSubstr;

std::shared_ptr<Element> GenderSelect(const std::shared_ptr<Document>& page) {
  const auto select = page->GetElementById("txtGender");
  for (const auto& [value, text] : {std::pair{"M", "MALE"}, std::pair{"F", "FEMALE"}, std::pair{"C", "COMPANY"}}) {
    const auto option = page->CreateElement("OPTION");
    option->SetValue(value);
    option->SetText(text);
    select->Options().Add(option);
  }
  return select;
}

TEST(SelectOptions, OptionValueFallsBackToItsText) {
  const auto page = testing::LoadVehicleTab();
  const auto make = page->GetElementById("cboVehicleMakeCode");
  const auto options = make->Options();
  ASSERT_EQ(options.Length(), 4);
  EXPECT_EQ(options.Item(0)->Value(), "");
  EXPECT_EQ(options.Item(1)->Value(), "01");
  EXPECT_EQ(options.Item(1)->Text(), "PROTON");
  EXPECT_EQ(options.Item(3)->Value(), "HONDA");  // no value attribute
  make->SetValue("HONDA");
  EXPECT_EQ(make->SelectedIndex(), 3);
}

TEST(SelectOptions, ItemOutsideTheListFailsNamingTheSelect) {
  const auto page = testing::LoadVehicleTab();
  const auto options = page->GetElementById("cboVehicleMakeCode")->Options();
  EXPECT_THROW(options.Item(-1), RuntimeFailure);
  try {
    options.Item(4);
    FAIL() << "no failure";
  } catch (const RuntimeFailure& failure) {
    EXPECT_EQ(failure.number(), failure::kSubscriptOutOfRange);
    EXPECT_THAT(failure.description(), HasSubstr("cboVehicleMakeCode"));
  }
}

TEST(SelectOptions, OptionsOfAnythingButASelectFail) {
  const auto page = testing::LoadVehicleTab();
  EXPECT_THROW(page->GetElementById("txtModel")->Options(), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("txtModel")->SelectedIndex(), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("txtModel")->Text(), RuntimeFailure);
  EXPECT_THROW(page->GetElementById("cboVehicleMakeCode")->Options().Add(page->CreateElement("DIV")), RuntimeFailure);
}

TEST(SelectValue, KnownUnknownAndEmptyValues) {
  const auto page = Document::Parse("<select id=txtGender></select>");
  const auto gender = GenderSelect(page);
  // A filled drop-down shows its first option until a value is chosen.
  EXPECT_EQ(gender->SelectedIndex(), 0);
  EXPECT_EQ(gender->Value(), "M");

  struct Case {
    const char* value;
    int index;
    const char* reads;
  };
  const Case cases[] = {
      {"F", 1, "F"},
      {"X", -1, ""},   // no such option: nothing selected
      {"", -1, ""},    // no empty option in this list
      {"f", -1, ""},   // values compare exactly
  };
  for (const Case& c : cases) {
    gender->SetValue(c.value);
    EXPECT_EQ(gender->SelectedIndex(), c.index) << c.value;
    EXPECT_EQ(gender->Value(), c.reads) << c.value;
    EXPECT_EQ(gender->GetProperty("Value"), c.reads) << c.value;
  }
}

TEST(SelectValue, SelectedIndexSelectsOneOptionOrNone) {
  const auto page = Document::Parse("<select id=txtGender></select>");
  const auto gender = GenderSelect(page);
  gender->SetSelectedIndex(2);
  EXPECT_EQ(gender->Value(), "C");
  EXPECT_TRUE(gender->Options().Item(2)->Selected());
  EXPECT_FALSE(gender->Options().Item(0)->Selected());
  gender->SetProperty("SelectedIndex", "-1");
  EXPECT_EQ(gender->Value(), "");
  gender->SetSelectedIndex(7);
  EXPECT_EQ(gender->SelectedIndex(), -1);
  gender->Options().Item(1)->SetSelected(true);
  EXPECT_EQ(gender->SelectedIndex(), 1);
}

TEST(SelectOptions, AddBeforeAnIndexAndRemove) {
  const auto page = Document::Parse("<select id=txtGender></select>");
  const auto gender = GenderSelect(page);
  const auto empty = page->CreateElement("option");
  gender->Options().Add(empty, 0);
  EXPECT_EQ(gender->Options().Item(0), empty);
  EXPECT_EQ(gender->Options().Length(), 4);
  gender->Options().Remove(0);
  EXPECT_EQ(gender->Options().Item(0)->Text(), "MALE");
}

}  // namespace
}  // namespace cn::dom
